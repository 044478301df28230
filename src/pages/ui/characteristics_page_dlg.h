#pragma once

#include "pages/characteristics_page.h"
#include "pages/ui/prop_page_dialog.h"

class QScrollBar;

// The characteristics page's window: the note 1080 (in red with the warning icon 1688
// for a few units), the variant list 1020, the option box 1603, the option buttons 1478
// (with picture 1474) and 1479 (with picture 1562), and the polarity 1024 with its
// caption 1098, and the kit position: the scroll bar 1292 between the two distances 1679
// and 1678.
class CCharacteristicsPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CCharacteristicsPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }
  CCharacteristicsPage& CharacteristicsRules() { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override;

 private:
  void FillVariants();
  void OnVariantChosen(int index);
  void ShowOptions();
  void ShowKit();
  void OnKitAction(int action);

  CCharacteristicsPage m_rules;
  QLabel* m_note = nullptr;
  QLabel* m_warning = nullptr;
  QComboBox* m_variants = nullptr;
  QCheckBox* m_option = nullptr;
  QPushButton* m_faceButton = nullptr;
  QPushButton* m_bitButton = nullptr;
  QLabel* m_polarityCaption = nullptr;
  QComboBox* m_polarity = nullptr;
  QScrollBar* m_kit = nullptr;
  QLineEdit* m_kitBefore = nullptr;
  QLineEdit* m_kitAfter = nullptr;
};
