#pragma once

#include "pages/element_name_page.h"
#include "pages/ui/prop_page_dialog.h"

// The element name page's window: the reference edit 1073 with its explanation 1070,
// the replace-all box 1072 and, for a tap-off unit, button 1374 that starts the choice
// of the unit.
class CElementNamePageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  static constexpr int kTapOffCommand = 33030;

  explicit CElementNamePageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }
  CElementNamePage& NameRules() { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override;
  void FocusField(int field) override;

 private:
  void StartTapOffChoice();

  CElementNamePage m_rules;
  QLineEdit* m_reference = nullptr;
  QCheckBox* m_replaceAll = nullptr;
  QPushButton* m_tapOff = nullptr;
};
