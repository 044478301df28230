#pragma once

#include "pages/position_page.h"
#include "pages/ui/prop_page_dialog.h"

class QLabel;
class QLineEdit;
class QScrollBar;

// The position page's window: edits 1006 (first length), 1017 (second) and 1018 (total)
// with their value labels 1070, 1069 and 1071, and scroll bar 1046 for the joint.
class CPositionPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CPositionPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }
  CPositionPage& PositionRules() { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override;
  void FocusField(int field) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  void OnScroll(int action);

  CPositionPage m_rules;
  QLineEdit* m_edits[3] = {};
  QLabel* m_values[3] = {};
  QScrollBar* m_scroll = nullptr;
};
