#pragma once

#include "pages/mounting_page.h"
#include "pages/ui/prop_page_dialog.h"

#include <array>

// The mounting page's window: radios 1640 (side 1) and 1641 (side 0) that only hold the
// state, radio 1642 for the third position, the flip button 1643 with its caption 1070,
// and the conductor arrangement 1166 with its caption 1069.
class CMountingPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CMountingPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }
  CMountingPage& MountingRules() { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override {}

 private:
  void OnSideClicked();

  CMountingPage m_rules;
  std::array<QRadioButton*, 3> m_sides{};  // by side 0, 1, 2
  QPushButton* m_flip = nullptr;
  QLabel* m_polarityCaption = nullptr;
  QComboBox* m_polarity = nullptr;
};
