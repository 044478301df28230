#pragma once

#include <QDialog>

#include <array>

#include "linear/tap_off_dialog_rules.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The tap-off device dialog: a function button, a sub-function, a row and a device
// button choose the unit that the tap-off tool places. exec() gives 1 (OK), 6 (OK with
// automatic distribution) or 0.
class CTapOffDlg : public QDialog {
  Q_OBJECT
 public:
  CTapOffDlg(const CRefCoffTable& table, const std::string& productCode, QWidget* parent);

  static constexpr std::array<int, 8> kFunctionIds{1628, 1629, 1107, 1108, 1109, 1631, 1632, 1633};
  static constexpr std::array<int, 10> kDeviceIds{1110, 1113, 1115, 1117, 1119,
                                                  1112, 1114, 1116, 1118, 1120};
  const CTapOffDialogRules& Rules() const { return m_rules; }
  void SelectFunction(int function);

 private:
  void BuildWidgets();
  void FillSubFunctions();
  void FillRows();
  void FillDevices();
  void AcceptChoice();

  CTapOffDialogRules m_rules;
  int m_function = 0;
  std::array<QRadioButton*, 8> m_functions{};
  std::array<QRadioButton*, 10> m_devices{};
  std::array<int, 10> m_deviceRows{};
  // Two groups, so that choosing a device leaves the function chosen.
  QButtonGroup* m_functionGroup = nullptr;
  QButtonGroup* m_deviceGroup = nullptr;
  QComboBox* m_subFunctions = nullptr;
  QComboBox* m_rows = nullptr;
  QCheckBox* m_distribute = nullptr;
  QLabel* m_note = nullptr;
  QPushButton* m_ok = nullptr;
};
