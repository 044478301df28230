#pragma once

#include "pages/phase_order_page.h"
#include "pages/ui/prop_page_dialog.h"

class QCheckBox;
class QComboBox;

// The phase-order page's window: the order at the element (combo box 1637), the user's
// choice box 1638 and the display box 1639. Each control writes at once.
class CPhaseOrderPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CPhaseOrderPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }
  CPhaseOrderPage& PhaseRules() { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override {}

 private:
  void BuildControls();

  CPhaseOrderPage m_rules;
  QComboBox* m_orders = nullptr;
  QCheckBox* m_userOrder = nullptr;
  QCheckBox* m_display = nullptr;
};
