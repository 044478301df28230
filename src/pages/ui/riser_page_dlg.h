#pragma once

#include "pages/riser_page.h"
#include "pages/ui/prop_page_dialog.h"

// The riser page's window: the spacing 1066 (value 1070), the plug length 1067 (value
// 1096, captions 1097 and 1098), the count 1071, the box 1068 that lengthens the next
// element, and the insert button 1074.
class CRiserPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CRiserPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }
  CRiserPage& RiserRules() { return m_rules; }

  // The question after an insertion on a QP rise (the program shows a box; tests answer).
  using CQuestion = std::function<bool(QWidget* page, const QString& text)>;
  static CQuestion SetSupportsQuestion(CQuestion question);

 protected:
  void ShowValues() override;
  void StoreValues() override;
  void FocusField(int field) override;

 private:
  void OnInsert();
  void AskForSupports();

  CRiserPage m_rules;
  QLineEdit* m_spacing = nullptr;
  QLabel* m_spacingValue = nullptr;
  QLabel* m_plugCaption = nullptr;
  QLineEdit* m_plug = nullptr;
  QLabel* m_plugValue = nullptr;
  QLineEdit* m_count = nullptr;
  QCheckBox* m_withLength = nullptr;
};
