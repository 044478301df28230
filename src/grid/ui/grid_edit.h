#pragma once

#include <QTextEdit>

// The multi-line edit of the pop-up cell editor: Enter ends the editor with OK,
// Ctrl+Enter starts a new line, every other key edits as usual.
class CGridEdit : public QTextEdit {
  Q_OBJECT

 public:
  explicit CGridEdit(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};
