#pragma once

#include <QWidget>

class CLinearDlg;
class CLinearLine;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The panel over the line list in which the user renames the current line, edits its
// comment or deletes it. It reports to the main dialog with a change code: 0 nothing,
// 10 a new name, 11 delete the line.
class CNameCommentPanel : public QWidget {
  Q_OBJECT

 public:
  CNameCommentPanel(CLinearDlg& owner, CLinearLine& line, bool editable = true);

  void OnNameChange();
  void OnDeleteCheck();
  void OnApply();
  void OnCancel();

  QLineEdit* NameEdit() const { return m_name; }
  QPlainTextEdit* CommentEdit() const { return m_comment; }
  QCheckBox* DeleteBox() const { return m_delete; }
  QPushButton* ApplyButton() const { return m_apply; }

 private:
  void Close(int code);

  CLinearDlg& m_owner;
  CLinearLine& m_line;
  bool m_editable;
  QLineEdit* m_name = nullptr;
  QPlainTextEdit* m_comment = nullptr;
  QCheckBox* m_delete = nullptr;
  QPushButton* m_apply = nullptr;
};
