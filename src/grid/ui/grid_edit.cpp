#include "grid/ui/grid_edit.h"

#include <QDialog>
#include <QKeyEvent>

CGridEdit::CGridEdit(QWidget* parent) : QTextEdit(parent) {
  setAcceptRichText(false);
  setLineWrapMode(QTextEdit::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFrameShape(QFrame::NoFrame);
  setTabChangesFocus(true);
}

void CGridEdit::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && !(event->modifiers() & Qt::ControlModifier)) {
    for (QWidget* widget = parentWidget(); widget; widget = widget->parentWidget()) {
      if (auto* dialog = qobject_cast<QDialog*>(widget)) {
        dialog->accept();
        return;
      }
    }
    return;
  }
  if (enter) {
    textCursor().insertBlock();
    ensureCursorVisible();
    return;
  }
  QTextEdit::keyPressEvent(event);
}
