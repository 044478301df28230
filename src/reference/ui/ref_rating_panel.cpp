#include "reference/ui/ref_rating_panel.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/message_text.h"
#include "app/typed_field.h"
#include "app/ui/window_translation.h"
#include "reference/ui/ref_ok_cancel.h"

namespace {

constexpr int kMsgPitch = 32065;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString MetresText(int centimetres) {
  return QString::fromStdString(RefPitchText(centimetres, '.'));
}

}  // namespace

CRefRatingPanel::CRefRatingPanel(CRefLineEditContext& context, int kind, const CRefCoffTable* table,
                                 Teller tell, QWidget* parent)
    : QDialog(parent), m_context(context), m_kind(kind), m_table(table), m_tell(std::move(tell)) {
  setObjectName(QStringLiteral("ref_rating_panel"));
  auto* layout = new QVBoxLayout(this);
  if (kind >= 20) BuildRatings();
  else BuildOptions();
  auto* buttons =
      MakeRefOkCancelRow(this, QStringLiteral("ref_panel_ok"), QStringLiteral("ref_panel_cancel"));
  layout->addStretch();
  layout->addLayout(buttons);
  TranslateWindow(this);
}

void CRefRatingPanel::BuildOptions() {
  auto* layout = static_cast<QVBoxLayout*>(this->layout());
  m_view = RefChoicePanelFor(m_context, m_kind);
  QString title = StringQText(m_view.titleMessage);
  if (m_view.titleMessage == 32044)
    title = Q(FormatMessageTextD(32044, m_kind == 2 && m_context.Line().productKind == 1 ? 2 : 3));
  SetRefDialogTitle(this, title);
  m_boxes = new QButtonGroup(this);
  for (const CRefChoiceOption& option : m_view.options) {
    // The options exclude each other: radio buttons, not check boxes.
    auto* box = new QRadioButton(Q(option.caption));
    box->setObjectName(QStringLiteral("ref_choice_box_%1").arg(option.box));
    box->setChecked(option.checked);
    m_boxes->addButton(box, option.box);
    layout->addWidget(box);
    if (m_kind == 4 && m_view.pitch.shown)
      connect(box, &QRadioButton::clicked, this, [this, option] {
        const bool two = option.box == 1 && m_context.Line().productKind == 3;
        m_pitch->setText(QString::number(two ? 2 : 3));
      });
  }
  if (m_view.poleCombo) {
    m_pole = new QComboBox;
    m_pole->setObjectName(QStringLiteral("ref_pole"));
    m_pole->addItems({QStringLiteral("2"), QStringLiteral("4")});
    m_pole->setCurrentIndex(m_view.pole);
    layout->addWidget(m_pole);
    connect(m_pole, &QComboBox::activated, this, [this](int pole) { OnPoleChange(pole); });
  }
  if (!m_view.pitch.shown) return;
  auto* row = new QHBoxLayout;
  auto* caption = new QLabel;
  SetMessageText(caption, kMsgPitch);
  m_pitch = new QLineEdit(MetresText(m_context.Line().fixingSpacing)
                              .replace(QLatin1Char('.'), QLatin1Char(m_context.decimalSeparator)));
  m_pitch->setObjectName(QStringLiteral("ref_pitch"));
  m_pitch->setReadOnly(m_view.pitch.readOnly);
  m_pitchSpin = new QSpinBox;
  m_pitchSpin->setObjectName(QStringLiteral("ref_pitch_spin"));
  m_pitchSpin->setRange(m_view.pitch.spinMin, m_view.pitch.spinMax);
  m_pitchSpin->setValue(
      std::clamp(m_context.Line().fixingSpacing / 100, m_view.pitch.spinMin, m_view.pitch.spinMax));
  m_pitchSpin->setVisible(!m_view.pitch.readOnly);
  connect(m_pitchSpin, &QSpinBox::valueChanged, this,
          [this](int metres) { m_pitch->setText(QString::number(metres)); });
  row->addWidget(caption);
  row->addWidget(m_pitch);
  row->addWidget(m_pitchSpin);
  layout->addLayout(row);
  m_boxes->setExclusive(true);
}

// The straight members' captions name the lengths of the pole count shown; the line
// itself takes the pole count only on OK.
void CRefRatingPanel::OnPoleChange(int pole) {
  CRefLine& line = m_context.Line();
  const std::int32_t kept = line.components[8];
  line.components[8] = pole == 1 ? 1 : 0;
  m_context.ApplyLineDefaults(line);
  const CRefChoicePanelView view = RefChoicePanelFor(m_context, m_kind);
  line.components[8] = kept;
  m_context.ApplyLineDefaults(line);
  for (const CRefChoiceOption& option : view.options)
    if (QAbstractButton* box = m_boxes->button(option.box)) box->setText(Q(option.caption));
}

void CRefRatingPanel::accept() {
  if (m_kind >= 20) {
    std::vector<int> values;
    if (!ReadRowValues(values)) return;
    RefStoreRatingEntries(m_entries, m_shown, values, m_setup.family, m_context.Line());
    m_member = m_kind;
    done(QDialog::Accepted);  // a rating table always counts as changed
    return;
  }
  CRefChoicePanelInput input;
  input.box = m_boxes->checkedId();
  if (m_pole) input.pole = m_pole->currentIndex();
  if (m_pitch) {
    const auto pitch = RefParsePitch(m_pitch->text().toStdString(), m_view.pitch);
    if (!pitch) {
      if (m_tell)
        m_tell(
            Q(FieldRangeMessage(StringText(kMsgPitch), MetresText(m_view.pitch.minCm).toStdString(),
                                MetresText(m_view.pitch.maxCm).toStdString(), false)));
      m_pitch->setFocus();
      return;
    }
    input.pitchCm = *pitch;
  }
  const bool changed = RefChoicePanelStore(m_context, m_kind, input, m_member);
  done(changed ? QDialog::Accepted : QDialog::Rejected);
}
