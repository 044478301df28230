#pragma once

#include "pages/run_lengths_page.h"
#include "pages/ui/prop_page_dialog.h"

#include <array>

// The lengths page's window: the four length boxes 1019-1022 in group 1070, the riser
// group 1069 (radios 1105, 1106), the elbow group 1071 (radios 1107, 1108) and the step
// box 1607.
class CRunLengthsPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CRunLengthsPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override;

 private:
  QGroupBox* BuildLengths();
  QGroupBox* BuildRadios(int id, int message, QRadioButton*& first, int firstId, int firstMessage,
                         QRadioButton*& second, int secondId, int secondMessage);

  CRunLengthsPage m_rules;
  std::array<QCheckBox*, CRunLengthsPage::kLengths> m_lengths{};
  QGroupBox* m_riserGroup = nullptr;
  QRadioButton* m_riserNone = nullptr;
  QRadioButton* m_riserSol2 = nullptr;
  QGroupBox* m_elbowGroup = nullptr;
  QRadioButton* m_elbowJunction = nullptr;
  QRadioButton* m_elbowStandard = nullptr;
  QCheckBox* m_step = nullptr;
};
