#pragma once

#include "pages/shape_dimensions_page.h"
#include "pages/ui/prop_page_dialog.h"

// The shape dimensions page's window: U in edit 1685 with its range 1624, the sizes V in
// combo 1627, T in the read-only edit 1626, beside the picture of the bars.
class CShapeDimensionsPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CShapeDimensionsPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }
  CShapeDimensionsPage& ShapeRules() { return m_rules; }

 protected:
  // What the end piece decides may have changed while another page showed.
  void showEvent(QShowEvent* event) override;
  void ShowValues() override;
  void StoreValues() override;
  void FocusField(int field) override;

 private:
  void OnSizeChange(int index);

  CShapeDimensionsPage m_rules;
  QLineEdit* m_u = nullptr;
  QLabel* m_range = nullptr;
  QComboBox* m_sizes = nullptr;
  QLineEdit* m_t = nullptr;
};
