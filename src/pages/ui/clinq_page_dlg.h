#pragma once

#include "pages/clinq_page.h"
#include "pages/ui/prop_page_dialog.h"

class QListWidget;
class QListWidgetItem;
class QSpinBox;

// The CLINQ page's window: the pictures 1003 with the caption 1326, the second text 1327
// or the type list 1017, L in edit 1492 with its spin 1706 and range 1624, the part
// combinations 1625 and the dimensions button 1690.
class CClinqPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CClinqPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }
  CClinqPage& ClinqRules() { return m_rules; }

 protected:
  // What the end piece decides may have changed while another page showed.
  void showEvent(QShowEvent* event) override;
  void ShowValues() override;
  void StoreValues() override;
  void FocusField(int field) override;

 private:
  void FillPictures();
  void OnShapeChosen(QListWidgetItem* item);
  void OnDimensions();

  CClinqPage m_rules;
  QListWidget* m_shapes = nullptr;
  QLabel* m_caption = nullptr;
  QLabel* m_second = nullptr;
  QLabel* m_typeLabel = nullptr;
  QComboBox* m_types = nullptr;
  QLabel* m_lengthLabel = nullptr;
  QLineEdit* m_length = nullptr;
  QPushButton* m_spin = nullptr;
  QLabel* m_range = nullptr;
  QLabel* m_combinationLabel = nullptr;
  QComboBox* m_combinations = nullptr;
  QPushButton* m_dimensions = nullptr;
};
