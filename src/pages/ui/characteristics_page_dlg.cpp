#include "pages/ui/characteristics_page_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QPushButton>
#include <QStyle>

#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgFaceOption = 2534;
constexpr int kMsgBitOption = 2535;
constexpr int kMsgPolarityCaption = 30171;
constexpr int kMsgOptionBox = 30058;
constexpr int kMostListLines = 10;
constexpr int kWarningSize = 16;

}  // namespace

CCharacteristicsPageDlg::CCharacteristicsPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  QGridLayout* grid = MakeGrid();
  m_note = MakeLabel(1080);
  m_note->setAlignment(Qt::AlignCenter);
  m_note->setWordWrap(true);
  m_warning = MakeLabel(1688);
  m_warning->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(kWarningSize));
  m_variants = MakeCombo(1020);
  // Long catalogue texts must not widen the page beyond its area.
  m_variants->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  m_variants->setMinimumContentsLength(20);
  m_option = MakeCheck(1603, kMsgOptionBox);
  m_faceButton = MakeButton(1478, kMsgFaceOption);
  m_bitButton = MakeButton(1479, kMsgBitOption);
  m_polarityCaption = MakeLabel(1098, kMsgPolarityCaption);
  m_polarity = MakeCombo(1024);
  m_polarity->addItem(QStringLiteral("3L+N+PE"), 4);
  m_polarity->addItem(QStringLiteral("3L+PEN"), 5);
  grid->addWidget(m_warning, 0, 0);
  grid->addWidget(m_note, 0, 1);
  grid->addWidget(m_variants, 1, 0, 1, 2);
  grid->addWidget(m_option, 2, 0, 1, 2);
  grid->addWidget(m_faceButton, 3, 0, 1, 2);
  grid->addWidget(m_bitButton, 4, 0, 1, 2);
  grid->addWidget(m_polarityCaption, 5, 0);
  grid->addWidget(m_polarity, 5, 1);
  m_kitBefore = MakeEdit(1679);
  m_kitAfter = MakeEdit(1678);
  m_kit = new QScrollBar(Qt::Horizontal, this);
  m_kit->setObjectName(QStringLiteral("1292"));
  m_kit->setSingleStep(1);
  auto* kitRow = new QHBoxLayout;
  kitRow->addWidget(m_kitBefore);
  kitRow->addWidget(m_kit, 1);
  kitRow->addWidget(m_kitAfter);
  grid->addLayout(kitRow, 6, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(7, 1);
  connect(m_kit, &QScrollBar::actionTriggered, this, &CCharacteristicsPageDlg::OnKitAction);
  connect(m_kit, &QScrollBar::valueChanged, this, [this](int value) {
    ShowOutcome(m_rules.SetKitPosition(value));
    ShowKit();
  });
  connect(m_variants, &QComboBox::activated, this, &CCharacteristicsPageDlg::OnVariantChosen);
  connect(m_option, &QCheckBox::clicked, this, [this](bool checked) {
    m_rules.SetOptionChecked(checked);
    ShowOptions();
  });
  connect(m_polarity, &QComboBox::activated, this, [this](int index) {
    m_rules.ChoosePolarity(index);
    ShowOptions();
  });
  connect(m_bitButton, &QPushButton::clicked, this, [this] { m_rules.ToggleOptionBit(); });
  connect(m_faceButton, &QPushButton::clicked, this, [this] { m_rules.ToggleFaceOption(); });
}

void CCharacteristicsPageDlg::FillVariants() {
  const QSignalBlocker blocker(m_variants);
  m_variants->clear();
  for (const CCharacteristicsPage::CEntry& entry : m_rules.GetEntries()) {
    QString text = QString::fromStdString(entry.text);
    if (entry.code < 0) text = StringQText(entry.suffixMessage);
    else if (entry.suffixMessage == CCharacteristicsPage::kMsgUnitSuffix)
      text += QStringLiteral("  -  ") + StringQText(entry.suffixMessage);
    else if (entry.suffixMessage != 0) text += QLatin1Char(' ') + StringQText(entry.suffixMessage);
    m_variants->addItem(text, entry.code);
  }
  SetComboDropHeight(m_variants, std::min(m_variants->count(), kMostListLines));
  m_variants->setCurrentIndex(m_rules.GetChoice());
  m_variants->setEnabled(m_rules.IsListEnabled());
}

void CCharacteristicsPageDlg::ShowValues() {
  FillVariants();
  ShowOptions();
}

void CCharacteristicsPageDlg::ShowOptions() {
  const int note = m_rules.GetNoteMessage();
  if (note != 0) SetMessageText(m_note, note);
  else m_note->clear();
  m_note->setStyleSheet(m_rules.IsNoteRed() ? QStringLiteral("color: red") : QString());
  m_warning->setVisible(m_rules.IsNoteRed());
  const bool option = m_rules.GetOptionBox() != CCharacteristicsPage::EOptionBox::kNone;
  m_option->setVisible(option);
  if (option) SetMessageText(m_option, m_rules.GetOptionMessage());
  m_option->setChecked(m_rules.IsOptionChecked());
  m_option->setEnabled(m_rules.IsOptionEnabled());
  m_faceButton->setVisible(m_rules.IsFaceButtonShown());
  m_bitButton->setVisible(m_rules.IsBitButtonShown());
  SetMessageText(m_bitButton, m_rules.GetBitButtonMessage() != 0 ? m_rules.GetBitButtonMessage()
                                                                 : kMsgBitOption);
  m_polarityCaption->setVisible(m_rules.IsPolarityShown() && m_rules.GetPolarityCaption() != 0);
  m_polarity->setVisible(m_rules.IsPolarityShown());
  m_polarity->setEnabled(m_rules.IsPolarityEnabled());
  m_polarity->setCurrentIndex(m_rules.GetPolarityIndex());
  ShowKit();
}

void CCharacteristicsPageDlg::ShowKit() {
  const bool shown = m_rules.IsKitShown();
  for (QWidget* control : {static_cast<QWidget*>(m_kit), static_cast<QWidget*>(m_kitBefore),
                           static_cast<QWidget*>(m_kitAfter)})
    control->setVisible(shown);
  if (!shown) return;
  const QSignalBlocker blocker(m_kit);
  const auto limit = static_cast<int>(m_rules.GetKitLimit());
  m_kit->setRange(-limit, limit);
  m_kit->setValue(static_cast<int>(m_rules.GetKitPosition()));
  m_kit->setEnabled(m_rules.IsKitEnabled());
  m_kitBefore->setText(QString::fromStdString(m_rules.GetKitDistanceText(false)));
  m_kitAfter->setText(QString::fromStdString(m_rules.GetKitDistanceText(true)));
  m_kitBefore->setReadOnly(!m_rules.IsKitEnabled());
  m_kitAfter->setReadOnly(!m_rules.IsKitEnabled());
}

// Home and End go to the far limit, or back to the middle from the other side.
void CCharacteristicsPageDlg::OnKitAction(int action) {
  const std::int64_t position = m_rules.GetKitPosition();
  if (action == QAbstractSlider::SliderToMinimum)
    m_kit->setSliderPosition(static_cast<int>(
        std::max<std::int64_t>(CCharacteristicsPage::KitHomeTarget(position), m_kit->minimum())));
  else if (action == QAbstractSlider::SliderToMaximum)
    m_kit->setSliderPosition(static_cast<int>(
        std::min<std::int64_t>(CCharacteristicsPage::KitEndTarget(position), m_kit->maximum())));
}

void CCharacteristicsPageDlg::StoreValues() {
  m_rules.SetChoice(m_variants->currentIndex());
  if (m_rules.IsKitShown())
    m_rules.SetTypedKitDistances(m_kitBefore->text().toStdString(),
                                 m_kitAfter->text().toStdString());
}

void CCharacteristicsPageDlg::OnVariantChosen(int index) {
  if (index < 0) return;
  // The window stays while the page re-lists the element's pages.
  const int marker = ModalMarker();
  SetModalMarker(kModalMarker);
  ApplyPage();
  SetModalMarker(marker);
}
