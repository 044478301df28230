#pragma once

#include "pages/run_support_page.h"
#include "pages/ui/prop_page_dialog.h"

// The support page's window: automatic 1068, spacing 1066 with its label 1071, extra
// supports 1067 and the riser fixing group 1096 (radios 1105, 1106).
class CRunSupportPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CRunSupportPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override;
  void FocusField(int field) override;

 private:
  void BuildControls();

  CRunSupportPage m_rules;
  QCheckBox* m_automatic = nullptr;
  QLabel* m_spacingCaption = nullptr;
  QLineEdit* m_spacing = nullptr;
  QLabel* m_spacingLabel = nullptr;
  QLabel* m_extraCaption = nullptr;
  QLineEdit* m_extra = nullptr;
  QGroupBox* m_fixing = nullptr;
  QRadioButton* m_plain = nullptr;
  QRadioButton* m_springs = nullptr;
};
