#pragma once

#include "pages/entrax_page.h"
#include "pages/ui/prop_page_dialog.h"

class QListWidget;

// The centre distance page's window: the shape pictures 1003 with the code 1326, the
// standard radio 1465 with its distance 1463, and the custom radio 1106 with edit 1254
// and the range 1464.
class CEntraxPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CEntraxPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }
  CEntraxPage& EntraxRules() { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override;
  void FocusField(int field) override;

 private:
  void FillPictures();
  void OnShapeChosen(int row);

  CEntraxPage m_rules;
  QListWidget* m_shapes = nullptr;
  QLabel* m_code = nullptr;
  QRadioButton* m_standard = nullptr;
  QLabel* m_standardValue = nullptr;
  QRadioButton* m_custom = nullptr;
  QLineEdit* m_customEdit = nullptr;
  QLabel* m_range = nullptr;
};
