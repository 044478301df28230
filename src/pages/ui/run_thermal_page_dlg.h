#pragma once

#include "pages/run_thermal_page.h"
#include "pages/ui/prop_page_dialog.h"

#include <array>

// The thermal page's window: the choice 1059 and, with choice 2, the values 1704-1706.
class CRunThermalPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CRunThermalPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override;

 private:
  CRunThermalPage m_rules;
  QComboBox* m_choices = nullptr;
  std::array<QLabel*, 2> m_valueLabels{};
  std::array<QLineEdit*, 3> m_values{};
};
