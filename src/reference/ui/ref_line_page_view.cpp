#include "reference/ui/ref_line_page_view.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include "app/message_text.h"
#include "app/typed_field.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgRating = 2562;
constexpr int kMsgConductors = 2732;
constexpr int kMsgLength = 30152;
constexpr int kMsgConnections = 32001;
constexpr int kMsgLuminaires = 32004;
constexpr int kMsgLuminaireCount = 32190;
constexpr int kMsgStandardBoxes = 31109;
constexpr int kMsgLightingBoxes = 31110;
constexpr int kMsgOutletCount = 31115;
constexpr int kMsgSections = 32192;
constexpr int kTapOffBoxes = 3;
constexpr int kLuminaireModeButton = 1201, kSpacingButton = 1205, kExtraCodeButton = 1206,
              kItemTabsButton = 1371;

}  // namespace

CRefLinePageView::CRefLinePageView(char decimal, QWidget* parent)
    : QWidget(parent), m_decimal(decimal) {
  setObjectName(QStringLiteral("ref_line_page"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  m_title = new QLabel;
  m_title->setObjectName(QStringLiteral("ref_line_title"));
  m_title->setStyleSheet(QStringLiteral("background: white; border-radius: 8px; padding: 3px;"));
  layout->addWidget(m_title);
  m_fields = new QWidget;
  auto* form = new QHBoxLayout(m_fields);
  form->setContentsMargins(0, 0, 0, 0);
  m_rating = new QComboBox, m_rating->setObjectName(QStringLiteral("ref_rating"));
  m_conductors = new QComboBox, m_conductors->setObjectName(QStringLiteral("ref_conductors"));
  m_connection = new QComboBox, m_connection->setObjectName(QStringLiteral("ref_connection"));
  m_length = new QLineEdit, m_length->setObjectName(QStringLiteral("ref_length"));
  m_count = new QLineEdit, m_count->setObjectName(QStringLiteral("ref_count"));
  m_boxes = new QComboBox, m_boxes->setObjectName(QStringLiteral("ref_boxes"));
  m_connectionCount = new QLineEdit;
  m_connectionCount->setObjectName(QStringLiteral("ref_connection_count"));
  const QString dots = QStringLiteral("...");
  form->addWidget(Row(kMsgRating, m_rating));
  form->addWidget(Row(kMsgConductors, WithButton(m_conductors, kExtraCodeButton, dots)));
  form->addWidget(Row(kMsgConnections, m_connection, &m_connectionLabel));
  m_connectionCountRow = Row(kMsgOutletCount, m_connectionCount);
  form->addWidget(m_connectionCountRow);
  form->addWidget(Row(kMsgLength, WithButton(m_length, kSpacingButton, dots)));
  m_countRow = Row(kMsgLuminaires,
                   WithButton(WithButton(m_count, kLuminaireModeButton, dots), kItemTabsButton,
                              StringQText(kMsgSections) + QStringLiteral(" ...")),
                   &m_countLabel);
  form->addWidget(m_countRow);
  m_boxRow = Row(0, m_boxes);
  form->addWidget(m_boxRow);
  form->addStretch();
  layout->addWidget(m_fields);
  for (QLineEdit* edit : {m_length, m_count, m_connectionCount})
    edit->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12);
  connect(m_length, &QLineEdit::textEdited, this, [this] { FilterLength(); });
  // Validation follows every change of the numbers, typed or filled in.
  connect(m_length, &QLineEdit::textChanged, this, &CRefLinePageView::NumbersEdited);
  connect(m_count, &QLineEdit::textChanged, this, &CRefLinePageView::NumbersEdited);
  m_connectionCountRow->hide();
  for (QComboBox* combo : {m_rating, m_conductors, m_connection, m_boxes})
    connect(combo, &QComboBox::activated, this, &CRefLinePageView::ChoiceChanged);
}

QWidget* CRefLinePageView::Row(int labelMessage, QWidget* field, QLabel** label) {
  auto* row = new QWidget;
  auto* layout = new QVBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* text = new QLabel(labelMessage ? StringQText(labelMessage) : QString());
  layout->addWidget(text);
  layout->addWidget(field);
  if (label) *label = text;
  return row;
}

// A field with a button at its right; the button asks for the option it names.
QWidget* CRefLinePageView::WithButton(QWidget* field, int control, const QString& text) {
  auto* box = new QWidget;
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  auto* button = new QPushButton(text);
  button->setObjectName(control == kItemTabsButton ? QStringLiteral("ref_item_tabs")
                                                   : QStringLiteral("ref_choose_%1").arg(control));
  if (control != kItemTabsButton)
    button->setMaximumWidth(fontMetrics().horizontalAdvance(text) + 14);
  button->hide();
  m_options[control] = button;
  layout->addWidget(field);
  layout->addWidget(button);
  layout->addStretch(1);  // the button stays beside its field
  connect(button, &QPushButton::clicked, this, [this, control] { emit OptionRequested(control); });
  return box;
}

QPushButton* CRefLinePageView::OptionButton(int control) const {
  const auto found = m_options.find(control);
  return found != m_options.end() ? found->second : nullptr;
}

void CRefLinePageView::ShowOptionControls(const CRefLineControls& controls, bool optionsEnabled) {
  const std::map<int, bool> shown = {{kLuminaireModeButton, controls.luminaireMode},
                                     {kSpacingButton, controls.spacing},
                                     {kExtraCodeButton, controls.extraCode},
                                     {kItemTabsButton, controls.itemTabs}};
  for (const auto& [control, visible] : shown) {
    m_options[control]->setVisible(visible);
    m_options[control]->setEnabled(optionsEnabled);
  }
  m_connectionCountRow->setVisible(controls.connectionCount && !m_fields->isHidden());
}

int CRefLinePageView::ConnectionChosen() const {
  return m_connection->currentData().isValid() ? m_connection->currentData().toInt() : -1;
}

void CRefLinePageView::RefillConnections(CRefLineEditContext& context) {
  const int chosen = ConnectionChosen();
  FillCombo(m_connection, RefConnectionEntries(context));
  if (const int index = m_connection->findData(chosen); index >= 0)
    m_connection->setCurrentIndex(index);
  m_connection->setEnabled(m_rating->isEnabled() || m_conductors->isEnabled() ||
                           m_connection->count() > 1);
}

void CRefLinePageView::FillCombo(QComboBox* combo, const CRefComboFill& fill) {
  combo->clear();
  for (const CRefComboEntry& entry : fill.entries)
    combo->addItem(QString::fromStdString(entry.text), entry.data);
  combo->setCurrentIndex(fill.selected);
}

bool CRefLinePageView::FillLinePage(CRefLineEditContext& context, int mode) {
  const CRefLine& line = context.Line();
  m_title->setText(QString::fromStdString(RefLinePageTitle(line)));
  const CRefComboFill ratings = RefRatingEntries(context);
  const CRefComboFill conductors = RefConductorEntries(context);
  const CRefComboFill connections = RefConnectionEntries(context);
  FillCombo(m_rating, ratings);
  FillCombo(m_conductors, conductors);
  FillCombo(m_connection, connections);
  const int kind = line.productKind;
  m_connectionLabel->setText(StringQText(RefConnectionLabelMessage(context)));
  m_qyx = kind == kRefProductQYX;
  QString length = QString::number(line.length);
  if (m_qyx && line.components[36] > 100)
    length += QLatin1Char(m_decimal) + QString::number(line.components[36]).mid(1);
  m_length->setText(length);
  m_count->setText(QString::number(line.count));
  m_connectionCount->setText(QString::number(line.count));
  m_countLabel->setText(
      StringQText(kind == 0 && line.lineMode >= 10 ? kMsgLuminaireCount : kMsgLuminaires));
  m_boxes->clear();
  // Editing offers the box kinds the catalogue has; the read-only display shows the
  // combo only for a line that is on the tap-off boxes.
  m_boxKindOffered =
      mode == kFillEdit ? RefBoxKindOffered(line, context.Config()) : line.lineMode == 3;
  if (kind == 1 || kind == 2) {
    m_boxes->addItem(StringQText(kMsgStandardBoxes), kTapOffBoxes);
    m_boxes->addItem(StringQText(kMsgLightingBoxes), 0);
    m_boxes->setCurrentIndex(RefBoxKindEntry(line, context.Config()));
  }
  const bool edit = mode == kFillEdit;
  m_rating->setEnabled(edit && m_rating->count() > 1);
  m_conductors->setEnabled(edit && m_conductors->count() > 1);
  m_connection->setEnabled(edit && m_connection->count() > 1);
  for (QWidget* widget :
       std::initializer_list<QWidget*>{m_length, m_count, m_boxes, m_connectionCount})
    widget->setEnabled(edit);
  return !(ratings.failed || conductors.failed || connections.failed);
}

void CRefLinePageView::ShowTitleOnly(const QString& title) {
  m_title->setText(title);
  m_fields->hide();
  show();
}

void CRefLinePageView::ShowLineControls(int mode, const CRefLine& line) {
  const bool show = mode == 5;
  setVisible(show);
  m_fields->setVisible(show);
  m_countRow->setVisible(show && line.group == 3 && line.productKind != kRefProductQYX);
  m_boxRow->setVisible(show && m_boxKindOffered &&
                       (line.productKind == 1 || line.productKind == 2));
  if (!show) {
    m_connectionCountRow->hide();
    for (auto& [control, button] : m_options) button->hide();
  }
}

void CRefLinePageView::SetHeaderEnabled(bool enabled) {
  for (QComboBox* combo : {m_rating, m_conductors, m_connection})
    combo->setEnabled(enabled && combo->count() > 1);
  for (QWidget* widget :
       std::initializer_list<QWidget*>{m_length, m_count, m_boxes, m_connectionCount})
    widget->setEnabled(enabled);
}

// Letters never reach the field; a decimal mark does, for every product, so that the
// check of the length sees what was typed and a "30,5" is not read as 305.
void CRefLinePageView::FilterLength() {
  if (m_filtering) return;
  m_filtering = true;
  QString text = m_length->text();
  int caret = m_length->cursorPosition();
  QString kept;
  for (int i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char(',')) kept += c;
    else if (i < caret) --caret;
  }
  if (kept != text) {
    m_length->setText(kept);
    m_length->setCursorPosition(caret);
  }
  m_filtering = false;
}

int CRefLinePageView::LengthTyped() const {
  return RefTypedAmount(
      m_length->text().section(QRegularExpression(QStringLiteral("[.,]")), 0, 0).toStdString());
}

std::string CRefLinePageView::CountCaption() const { return m_countLabel->text().toStdString(); }

int CRefLinePageView::CountTyped() const { return RefTypedAmount(m_count->text().toStdString()); }

bool CRefLinePageView::ReadInput(const CRefLine& line, CRefLinePageInput& input,
                                 std::string& problem) const {
  input.rating = m_rating->currentData().isValid() ? m_rating->currentData().toInt() : -1;
  input.conductors =
      m_conductors->currentData().isValid() ? m_conductors->currentData().toInt() : -1;
  input.connection =
      m_connection->currentData().isValid() ? m_connection->currentData().toInt() : -1;
  const bool boxKind = !m_boxRow->isHidden() && m_boxes->count() > 0;
  input.tapOffBoxes = boxKind && m_boxes->currentData().toInt() == kTapOffBoxes;
  input.luminaireBoxes = boxKind && m_boxes->currentData().toInt() != kTapOffBoxes;
  const auto length =
      ReadRefLength(line, m_length->text().toStdString(), StringText(kMsgLength), problem);
  if (!length) return false;
  input.length = *length;
  input.count = line.count;
  if (!m_connectionCountRow->isHidden()) {
    const CRefFieldLimit countLimit = RefConnectionCountLimit(input.length);
    const auto count =
        ReadWholeField(m_connectionCount->text().toStdString(), StringText(kMsgOutletCount),
                       countLimit.min, countLimit.max, problem);
    if (!count) return false;
    input.count = *count;
  } else if (m_countRow->isVisible()) {
    const CRefFieldLimit countLimit = RefCountLimit(line);
    const auto count = ReadWholeField(m_count->text().toStdString(), CountCaption(), countLimit.min,
                                      countLimit.max, problem);
    if (!count) return false;
    input.count = *count;
  }
  return true;
}
