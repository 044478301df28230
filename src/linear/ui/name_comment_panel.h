#pragma once

#include <QWidget>

#include <string>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Who lays an edit panel over its line list: told when the panel closes, with its
// change code, and when a change needs saving although the code says nothing.
class CEditPanelOwner {
 public:
  static constexpr int kPanelNothing = 0, kPanelRecompute = 1, kPanelRenamed = 10,
                       kPanelDelete = 11;

  virtual ~CEditPanelOwner() = default;
  virtual void ShowEditPanel(bool show, int applyCode) = 0;
  virtual void MarkModified() = 0;
};

// The panel over the line list in which the user renames the current line, edits its
// comment or deletes it. It reports to its owner with a change code: 0 nothing, 10 a
// new name, 11 delete the line. The name and comment are the line's own texts.
class CNameCommentPanel : public QWidget {
  Q_OBJECT

 public:
  CNameCommentPanel(QObject& context, CEditPanelOwner& owner, std::string& name,
                    std::string& comment, bool editable = true);

  void OnNameChange();
  void OnDeleteCheck();
  void OnApply();
  void OnCancel();

  QLineEdit* NameEdit() const { return m_nameEdit; }
  QPlainTextEdit* CommentEdit() const { return m_commentEdit; }
  QCheckBox* DeleteBox() const { return m_delete; }
  QPushButton* ApplyButton() const { return m_apply; }

 private:
  void Close(int code);

  QObject& m_context;
  CEditPanelOwner& m_owner;
  std::string& m_name;
  std::string& m_comment;
  bool m_editable;
  QLineEdit* m_nameEdit = nullptr;
  QPlainTextEdit* m_commentEdit = nullptr;
  QCheckBox* m_delete = nullptr;
  QPushButton* m_apply = nullptr;
};
