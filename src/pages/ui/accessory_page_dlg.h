#pragma once

#include "pages/accessory_page.h"
#include "pages/ui/prop_page_dialog.h"

// The accessory page's window: the caption 1070, the adapter or catalogue list 1167
// under its label 1069, and the side or conductor arrangement list 1168.
class CAccessoryPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CAccessoryPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }
  CAccessoryPage& AccessoryRules() { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override {}

 private:
  CAccessoryPage m_rules;
  QLabel* m_caption = nullptr;
  QComboBox* m_accessory = nullptr;
  QComboBox* m_choice = nullptr;
};
