#pragma once

#include "pages/option_check_page.h"
#include "pages/ui/prop_page_dialog.h"

// The option check page's window: box 1019 and its explanation 1070.
class COptionCheckPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit COptionCheckPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override {}

 private:
  COptionCheckPage m_rules;
  QCheckBox* m_box = nullptr;
};
