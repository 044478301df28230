#include "pages/ui/length_page_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgLengthLabel = 2530;
constexpr int kMsgSameLabel = 2531;
constexpr int kMsgDrawnLabel = 2532;
constexpr int kMsgHousingLength = 61995;

}  // namespace

CLengthPageDlg::CLengthPageDlg(QWidget* parent) : CPropPageDialog(parent) { BuildControls(); }

void CLengthPageDlg::BuildControls() {
  auto* grid = new QGridLayout(this);
  m_caption1 = MakeLabel(1071, kMsgLengthLabel);
  m_edit1 = MakeEdit(1006);
  m_value1 = MakeValueLabel(1070);
  m_sameLabel = MakeLabel(1095, kMsgSameLabel);
  m_same = new QCheckBox(this);
  m_same->setObjectName(QStringLiteral("1019"));
  m_same->setTristate(true);
  m_caption2 = MakeLabel(1050, kMsgDrawnLabel);
  m_edit2 = MakeEdit(1017);
  m_value2 = MakeValueLabel(1069);
  m_scroll = new QScrollBar(Qt::Horizontal, this);
  m_scroll->setObjectName(QStringLiteral("1046"));
  m_minimum = MakeLabel(1097);
  m_maximum = MakeLabel(1096);
  grid->addWidget(m_caption1, 0, 0);
  grid->addWidget(m_edit1, 0, 1);
  grid->addWidget(m_value1, 0, 2);
  grid->addWidget(m_sameLabel, 1, 0);
  grid->addWidget(m_same, 1, 1);
  grid->addWidget(m_caption2, 2, 0);
  grid->addWidget(m_edit2, 2, 1);
  grid->addWidget(m_value2, 2, 2);
  grid->addWidget(m_minimum, 3, 0);
  grid->addWidget(m_scroll, 3, 1);
  grid->addWidget(m_maximum, 3, 2);
  grid->setRowStretch(4, 1);
  connect(m_same, &QCheckBox::clicked, this, &CLengthPageDlg::OnSameClicked);
  connect(m_scroll, &QScrollBar::actionTriggered, this, &CLengthPageDlg::OnScroll);
  connect(m_scroll, &QScrollBar::sliderReleased, this,
          [this] { OnScroll(QAbstractSlider::SliderMove); });
}

void CLengthPageDlg::ShowValues() {
  const bool face = m_rules.GetMode() == CLengthPage::EMode::kFace;
  const bool variant = m_rules.GetMode() == CLengthPage::EMode::kVariant;
  SetMessageText(m_caption1, m_rules.IsHousingLength() ? kMsgHousingLength : kMsgLengthLabel);
  m_edit1->setText(QString::fromStdString(m_rules.GetText1()));
  m_edit2->setText(QString::fromStdString(m_rules.GetText2()));
  m_value1->setText(QString::fromStdString(m_rules.GetLabel1()));
  m_value2->setText(QString::fromStdString(m_rules.GetLabel2()));
  const int same = m_rules.GetSame();
  m_same->setCheckState(same == 2 ? Qt::PartiallyChecked : (same ? Qt::Checked : Qt::Unchecked));
  m_same->setEnabled(face);
  for (QWidget* widget : {static_cast<QWidget*>(m_sameLabel), static_cast<QWidget*>(m_same),
                          static_cast<QWidget*>(m_caption2), static_cast<QWidget*>(m_edit2),
                          static_cast<QWidget*>(m_value2)})
    widget->setVisible(!variant);
  for (QWidget* widget : {static_cast<QWidget*>(m_edit2), static_cast<QWidget*>(m_caption2),
                          static_cast<QWidget*>(m_value2)})
    widget->setEnabled(m_rules.IsSecondEditable());
  for (QWidget* widget : {static_cast<QWidget*>(m_scroll), static_cast<QWidget*>(m_minimum),
                          static_cast<QWidget*>(m_maximum)})
    widget->setVisible(variant);
  if (!variant) return;
  const QSignalBlocker blocker(m_scroll);
  m_scroll->setRange(static_cast<int>(m_rules.GetMinimum()),
                     static_cast<int>(m_rules.GetMaximum()));
  m_scroll->setPageStep(static_cast<int>(std::max<std::int64_t>(1, m_rules.GetPageStep())));
  m_scroll->setValue(static_cast<int>(m_rules.GetValue()));
  m_minimum->setText(QString::fromStdString(m_rules.GetMinimumLabel()));
  m_maximum->setText(QString::fromStdString(m_rules.GetMaximumLabel()));
}

void CLengthPageDlg::StoreValues() {
  m_rules.SetText1(m_edit1->text().toStdString());
  m_rules.SetText2(m_edit2->text().toStdString());
}

void CLengthPageDlg::FocusField(int field) {
  QLineEdit* edit = field == 1 && m_rules.IsSecondEditable() ? m_edit2 : m_edit1;
  edit->selectAll();
  edit->setFocus();
}

void CLengthPageDlg::OnSameClicked() {
  StoreValues();
  if (m_rules.ToggleSame()) {
    ApplyPage();
  } else {
    ShowValues();
  }
}

void CLengthPageDlg::OnScroll(int action) {
  // The thumb applies once released; every other action steps and applies at once.
  if (action == QAbstractSlider::SliderMove && m_scroll->isSliderDown()) return;
  const int step =
      action == QAbstractSlider::SliderToMinimum || action == QAbstractSlider::SliderToMaximum
          ? m_scroll->pageStep()
          : 0;
  int position = m_scroll->sliderPosition();
  if (action == QAbstractSlider::SliderToMinimum) position = m_scroll->value() - step;
  if (action == QAbstractSlider::SliderToMaximum) position = m_scroll->value() + step;
  m_rules.ScrollTo(position);
  m_edit1->setText(QString::fromStdString(m_rules.GetText1()));
  StoreValues();
  ApplyPage();
}
