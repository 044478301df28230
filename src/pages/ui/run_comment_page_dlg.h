#pragma once

#include "pages/run_comment_page.h"
#include "pages/ui/prop_page_dialog.h"

class QPlainTextEdit;

// The comment page's window: the name (edit 1006) and the comment of several lines
// (edit 1017, where Enter makes a new line).
class CRunCommentPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CRunCommentPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override;

 private:
  CRunCommentPage m_rules;
  QLineEdit* m_name = nullptr;
  QPlainTextEdit* m_comment = nullptr;
};
