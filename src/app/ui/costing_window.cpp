#include "app/ui/costing_window.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

bool CCostingWindow::CloseWithPrompt() {
  if (!m_closing && !PromptToClose()) return false;
  m_closing = true;
  if (auto* container = qobject_cast<QMdiSubWindow*>(parentWidget())) container->close();
  else close();
  return true;
}

void CCostingWindow::closeEvent(QCloseEvent* event) {
  if (!m_closing && !PromptToClose()) {
    event->ignore();
    return;
  }
  m_closing = true;
  event->accept();
  if (!m_announced) {
    m_announced = true;
    emit Closing();
  }
}
