#pragma once

#include "pages/length_page.h"
#include "pages/ui/prop_page_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QScrollBar;

// The length page's window (control numbers as object names): edits 1006 and 1017 with
// their value labels 1070 and 1069, the "same" box 1019, and in variant mode scroll bar
// 1046 between labels 1097 (minimum) and 1096 (maximum).
class CLengthPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CLengthPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }
  CLengthPage& LengthRules() { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override;
  void FocusField(int field) override;

 private:
  void BuildControls();
  void OnSameClicked();
  void OnScroll(int action);

  CLengthPage m_rules;
  QLabel* m_caption1 = nullptr;
  QLineEdit* m_edit1 = nullptr;
  QLabel* m_value1 = nullptr;
  QLabel* m_sameLabel = nullptr;
  QCheckBox* m_same = nullptr;
  QLabel* m_caption2 = nullptr;
  QLineEdit* m_edit2 = nullptr;
  QLabel* m_value2 = nullptr;
  QScrollBar* m_scroll = nullptr;
  QLabel* m_minimum = nullptr;
  QLabel* m_maximum = nullptr;
};
