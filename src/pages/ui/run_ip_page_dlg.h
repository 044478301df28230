#pragma once

#include "pages/run_ip_page.h"
#include "pages/ui/prop_page_dialog.h"

// The protection page's window: the IP list 1020 (label 1071 instead for the "Qp"
// catalogues), the "SPK" list 1021 of catalogue "QPA", the group-index boxes 1603, 1604.
class CRunIPPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CRunIPPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }
  CRunIPPage& IPRules() { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override;

 private:
  void BuildControls();

  CRunIPPage m_rules;
  QComboBox* m_ips = nullptr;
  QLabel* m_ipFixed = nullptr;
  QLabel* m_spkLabel = nullptr;
  QComboBox* m_spk = nullptr;
  QCheckBox* m_group = nullptr;
  QCheckBox* m_suffix = nullptr;
};
