#pragma once

#include "pages/feed_unit_page.h"
#include "pages/ui/prop_page_dialog.h"

class QListWidget;

// The feed unit page's window: the picture list 1003, the type 1017 under its caption
// 1326, the rating 1473, the option 1466 (caption 1468), the protection 1467 or breaker
// mounting with the breaker frame 1675 (caption 1469), the package box 1603, the turn
// button 1470 and the dimensions button 1472.
class CFeedUnitPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CFeedUnitPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }
  CFeedUnitPage& FeedRules() { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override {}

 private:
  void FillPictures();
  void OpenDimensions();
  // A choice of a list applied, then the page shown anew.
  void Choose(CApplyOutcome outcome);

  CFeedUnitPage m_rules;
  QListWidget* m_pictures = nullptr;
  QLabel* m_typeCaption = nullptr;
  QComboBox* m_type = nullptr;
  QComboBox* m_rating = nullptr;
  QLabel* m_optionCaption = nullptr;
  QComboBox* m_option = nullptr;
  QLabel* m_protectionCaption = nullptr;
  QComboBox* m_protection = nullptr;
  QComboBox* m_breaker = nullptr;
  QCheckBox* m_package = nullptr;
  QPushButton* m_turn = nullptr;
  QPushButton* m_dimensions = nullptr;
};
