#include "pages/ui/dimension_entry_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

#include "app/message_text.h"
#include "app/ui/element_pictures.h"
#include "app/ui/window_translation.h"
#include "model/props/dimension.h"
#include "pages/ui/prop_page_dialog.h"
#include "platform/text_conversions.h"

namespace {

constexpr int kDialogId = 30754;
constexpr int kMsgCaption = 2743;
constexpr int kMsgOk = 2623;
constexpr int kMsgCancel = 2624;
constexpr int kMsgClear = 2750;
constexpr int kMsgOutOfRange = 61714;
constexpr int kWidthControl = 1490;
// Labels of the fields in the dialog's order; the fixed field and Y have their own.
constexpr std::array<int, kParamFieldCount> kLabelIds = {1696, 1697, 1698, 1699,
                                                         1700, 1701, 1702, 1707};
constexpr std::size_t kFixedField = 6;
constexpr std::size_t kYField = 7;

}  // namespace

CDimensionEntryDlg::CDimensionEntryDlg(const CDimension& units, EParamMode mode, bool rangeQM,
                                       std::string parameters, QWidget* parent)
    : QDialog(parent),
      m_units(units),
      m_mode(mode),
      m_rangeQM(rangeQM),
      m_parameters(std::move(parameters)) {
  setObjectName(QString::number(kDialogId));
  setWindowTitle(ResourceQText(kMsgCaption));
  BuildFields();
  ShowValues();
}

void CDimensionEntryDlg::BuildFields() {
  auto* grid = new QGridLayout(this);
  const auto& fields = ParamFields(m_mode);
  const bool clinq = m_mode == EParamMode::kClinq;
  m_picture = new QLabel(this);
  m_picture->setObjectName(QString::number(clinq ? (m_rangeQM ? 1705 : 1704) : 1703));
  m_picture->setPixmap(QPixmap::fromImage(DrawElementPicture(clinq ? "CLQQG_YC2" : "BARS_QG")));
  grid->addWidget(m_picture, 0, 0, 5, 1);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    m_labels[i] = new QLabel(QString(QChar::fromLatin1(static_cast<char>(
                                 std::toupper(fields[i].key != 0 ? fields[i].key : 'k')))) +
                                 QStringLiteral("="),
                             this);
    m_labels[i]->setObjectName(QString::number(kLabelIds[i]));
    m_edits[i] = new QLineEdit(this);
    m_edits[i]->setObjectName(QString::number(fields[i].control));
    const int row = static_cast<int>(i % 4), column = 1 + 2 * static_cast<int>(i / 4);
    grid->addWidget(m_labels[i], row, column);
    grid->addWidget(m_edits[i], row, column + 1);
  }
  const bool withY = clinq && m_rangeQM;
  m_edits[kYField]->setVisible(withY);
  m_labels[kYField]->setVisible(withY);
  if (clinq) {
    m_labels[kFixedField]->setVisible(false);
    m_edits[kFixedField]->setEnabled(false);
  }
  m_widthLabel = new QLabel(QStringLiteral("W="), this);
  m_widthLabel->setObjectName(QStringLiteral("1491"));
  m_width = new QLineEdit(this);
  m_width->setObjectName(QString::number(kWidthControl));
  m_width->setEnabled(false);
  m_widthLabel->setVisible(withY);
  m_width->setVisible(withY);
  grid->addWidget(m_widthLabel, 4, 1);
  grid->addWidget(m_width, 4, 2);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(ResourceQText(kMsgOk), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton(ResourceQText(kMsgCancel), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("2"));
  QPushButton* clear = buttons->addButton(ResourceQText(kMsgClear), QDialogButtonBox::ResetRole);
  clear->setObjectName(QStringLiteral("3"));
  connect(ok, &QPushButton::clicked, this, &CDimensionEntryDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CDimensionEntryDlg::reject);
  connect(clear, &QPushButton::clicked, this, &CDimensionEntryDlg::OnClear);
  grid->addWidget(buttons, 5, 0, 1, 5);
}

void CDimensionEntryDlg::SetWidth(int width) {
  m_width->setText(QString::fromStdString(m_units.FormatLength(width)));
}

std::string CDimensionEntryDlg::FormatField(std::size_t index, std::int64_t value) const {
  const CParamField& field = ParamFields(m_mode)[index];
  return field.length ? m_units.FormatLength(static_cast<double>(value)) : std::to_string(value);
}

void CDimensionEntryDlg::ShowValues() {
  const CParamValues values = ReadParamValues(m_parameters, m_mode, m_rangeQM);
  for (std::size_t i = 0; i < kParamFieldCount; ++i) {
    const std::int64_t value = values.values[i];
    m_edits[i]->setText(value != 0 ? QString::fromStdString(FormatField(i, value)) : QString());
  }
}

std::int64_t CDimensionEntryDlg::ReadField(std::size_t index) const {
  const std::string text = m_edits[index]->text().toStdString();
  if (!ParamFields(m_mode)[index].length) return TextToInt(text);
  const std::optional<double> parsed = m_units.TryParse(text);
  if (!parsed || !std::isfinite(*parsed) || std::fabs(*parsed) >= 1e9) return 0;
  return static_cast<std::int64_t>(*parsed);
}

void CDimensionEntryDlg::accept() {
  CParamValues values;
  values.mode = m_mode;
  values.withY = m_mode == EParamMode::kClinq && m_rangeQM;
  for (std::size_t i = 0; i < kParamFieldCount; ++i) values.values[i] = ReadField(i);
  if (m_mode == EParamMode::kClinq) values.values[kFixedField] = 14;
  const CParamResult result = BuildParamText(values);
  if (result.refusal) {
    Refuse(result.refusal->field);
    return;
  }
  m_parameters = result.text;
  QDialog::accept();
}

void CDimensionEntryDlg::Refuse(std::size_t index) {
  const CParamField& field = ParamFields(m_mode)[index];
  ShowPageMessage(this, QString::fromStdString(
                            FormatMessageTextSS(kMsgOutOfRange, FormatField(index, field.lowest),
                                                FormatField(index, field.highest))));
  m_edits[index]->setFocus();
  m_edits[index]->selectAll();
}

void CDimensionEntryDlg::OnClear() {
  for (std::size_t i = 0; i < kFixedField; ++i) m_edits[i]->clear();
  m_edits[m_mode == EParamMode::kClinq ? kYField : kFixedField]->clear();
}
