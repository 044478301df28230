#include "pages/ui/run_ip_page_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgIPList = 2638;
constexpr int kMsgIPFixed = 7635;
constexpr int kMsgSPK = 32411;
constexpr int kMsgGroup = 2758;
constexpr int kMsgSuffix = 2759;
constexpr int kMsgSPKEntries[] = {32009, 32412, 32413};
constexpr int kMostDropLines = 10;

}  // namespace

CRunIPPageDlg::CRunIPPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  BuildControls();
  connect(m_ips, &QComboBox::activated, this, [this] { ApplyPage(); });
}

void CRunIPPageDlg::BuildControls() {
  auto* grid = new QGridLayout(this);
  m_ips = MakeCombo(1020);
  m_ipFixed = MakeLabel(1071, kMsgIPFixed);
  m_spkLabel = MakeLabel(1069, kMsgSPK);
  m_spk = MakeCombo(1021);
  for (int message : kMsgSPKEntries) m_spk->addItem(ResourceQText(message));
  SetComboDropHeight(m_spk, 3);
  m_group = MakeCheck(1603, kMsgGroup);
  m_suffix = MakeCheck(1604, kMsgSuffix);
  grid->addWidget(MakeLabel(1070, kMsgIPList), 0, 0);
  grid->addWidget(m_ips, 0, 1);
  grid->addWidget(m_ipFixed, 0, 1);
  grid->addWidget(m_spkLabel, 1, 0);
  grid->addWidget(m_spk, 1, 1);
  grid->addWidget(m_group, 2, 0, 1, 2);
  grid->addWidget(m_suffix, 3, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(4, 1);
}

void CRunIPPageDlg::ShowValues() {
  {
    const QSignalBlocker blocker(m_ips);
    m_ips->clear();
    for (const std::string& text : m_rules.GetIPTexts())
      m_ips->addItem(QString::fromStdString(text));
    SetComboDropHeight(m_ips, std::min(kMostDropLines, m_ips->count()));
    m_ips->setCurrentIndex(m_rules.GetIPChoice());
  }
  m_ips->setEnabled(m_rules.IsIPEnabled());
  m_ips->setVisible(!m_rules.IsIPHidden());
  m_ipFixed->setVisible(m_rules.IsIPHidden());
  m_spkLabel->setVisible(m_rules.IsSPKShown());
  m_spk->setVisible(m_rules.IsSPKShown());
  m_spk->setCurrentIndex(m_rules.GetSPKChoice());
  m_group->setVisible(m_rules.IsGroupShown());
  m_group->setChecked(m_rules.IsGroupChecked());
  m_suffix->setVisible(m_rules.IsSuffixShown());
  m_suffix->setChecked(m_rules.IsSuffixChecked());
}

void CRunIPPageDlg::StoreValues() {
  m_rules.SetIPChoice(m_ips->currentIndex());
  m_rules.SetSPKChoice(m_spk->currentIndex());
  m_rules.SetGroupChecked(m_group->isChecked());
  m_rules.SetSuffixChecked(m_suffix->isChecked());
}
