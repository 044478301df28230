#include "shell/ui/work_status_notifier.h"

#include <QApplication>
#include <QStatusBar>

#include "app/message_text.h"
#include "app/ui/message_box.h"

CWorkStatusNotifier::CWorkStatusNotifier(QStatusBar* statusBar) : m_statusBar(statusBar) {}

CWorkStatusNotifier::~CWorkStatusNotifier() {
  if (m_cursorShown) QApplication::restoreOverrideCursor();
}

void CWorkStatusNotifier::SetWaitCursor(bool on) {
  if (on == m_cursorShown) return;
  m_cursorShown = on;
  if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
  else QApplication::restoreOverrideCursor();
}

void CWorkStatusNotifier::ShowStatusMessage(int message) {
  if (m_statusBar == nullptr) return;
  m_statusBar->showMessage(QString::fromStdString(LookupText(message)));
  // The status bar shows the text while the work goes on without returning to the loop.
  m_statusBar->repaint();
}

void CWorkStatusNotifier::ShowMessage(int message) { MessageBoxById(message); }

void CWorkStatusNotifier::ReportProblem(const std::string& text) {
  TranslatedMessageBox(QString::fromStdString(text), kMbOk | kMbIconExclamation);
}
