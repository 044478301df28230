#pragma once

#include "pages/elbow_page.h"
#include "pages/ui/prop_page_dialog.h"

// The elbow page's window: the special-angle box 1019, the angle edit 1006 with its
// caption 1114, and the special-length box 1020.
class CElbowPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CElbowPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }
  CElbowPage& ElbowRules() { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override;
  void FocusField(int field) override;

 private:
  CElbowPage m_rules;
  QCheckBox* m_special = nullptr;
  QLabel* m_angleCaption = nullptr;
  QLineEdit* m_angle = nullptr;
  QLabel* m_extension = nullptr;
  QCheckBox* m_length = nullptr;
  QString m_specialText;
};
