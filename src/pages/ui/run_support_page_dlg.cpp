#include "pages/ui/run_support_page_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

constexpr int kMsgAutomatic = 2651;
constexpr int kMsgSpacing = 2652;
constexpr int kMsgExtra = 2653;
constexpr int kMsgFixing = 2718;
constexpr int kMsgFixingPlain = 2721;
constexpr int kMsgFixingSprings = 2722;

}  // namespace

CRunSupportPageDlg::CRunSupportPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  BuildControls();
  connect(m_automatic, &QCheckBox::clicked, this, [this](bool checked) {
    StoreValues();
    const CApplyOutcome outcome = m_rules.OnAutomaticClick(checked);
    ShowValues();
    ShowOutcome(outcome);
  });
}

void CRunSupportPageDlg::BuildControls() {
  auto* grid = new QGridLayout(this);
  m_automatic = MakeCheck(1068);
  m_spacingCaption = MakeLabel(1070, kMsgSpacing);
  m_spacing = MakeEdit(1066);
  m_spacingLabel = MakeValueLabel(1071);
  m_spacingLabel->hide();
  m_extraCaption = MakeLabel(1069, kMsgExtra);
  m_extra = MakeEdit(1067);
  m_fixing = MakeGroup(1096, kMsgFixing);
  auto* radios = new QHBoxLayout(m_fixing);
  m_plain = MakeRadio(1105, kMsgFixingPlain);
  m_springs = MakeRadio(1106, kMsgFixingSprings);
  radios->addWidget(m_plain);
  radios->addWidget(m_springs);
  radios->addStretch(1);
  grid->addWidget(MakeLabel(1095, kMsgAutomatic), 0, 0);
  grid->addWidget(m_automatic, 0, 1);
  grid->addWidget(m_spacingCaption, 1, 0);
  grid->addWidget(m_spacing, 1, 1);
  grid->addWidget(m_extraCaption, 2, 0);
  grid->addWidget(m_extra, 2, 1);
  grid->addWidget(m_fixing, 3, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(4, 1);
}

void CRunSupportPageDlg::ShowValues() {
  m_automatic->setChecked(m_rules.IsAutomatic());
  m_spacing->setText(QString::fromStdString(m_rules.GetSpacingText()));
  m_spacingLabel->setText(QString::fromStdString(m_rules.GetSpacingLabel()));
  m_extra->setText(QString::number(m_rules.GetExtra()));
  m_fixing->setVisible(m_rules.IsRiserFixingOffered());
  m_plain->setVisible(m_rules.IsPlainFixingShown());
  (m_rules.IsSprings() ? m_springs : m_plain)->setChecked(true);
  const bool automatic = m_rules.IsAutomatic();
  for (QWidget* widget : {static_cast<QWidget*>(m_spacingCaption), static_cast<QWidget*>(m_spacing),
                          static_cast<QWidget*>(m_extraCaption), static_cast<QWidget*>(m_extra),
                          static_cast<QWidget*>(m_fixing)})
    widget->setEnabled(automatic);
}

void CRunSupportPageDlg::StoreValues() {
  m_rules.SetSpacingText(m_spacing->text().toStdString());
  m_rules.SetExtraText(m_extra->text().toStdString());
  m_rules.SetSprings(m_springs->isChecked());
}

void CRunSupportPageDlg::FocusField(int field) {
  (void)field;
  m_spacing->selectAll();
  m_spacing->setFocus();
}
