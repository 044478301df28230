#include "shell/ui/wait_observer.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

#include "app/dorne_app.h"
#include "shell/ui/main_frame.h"

namespace {

// How long the event loop runs between two looks at the child.
constexpr int kSliceMs = 20;

}  // namespace

CUiWaitObserver::CUiWaitObserver(CDorneApp& app, CMainFrame* frame) : m_app(app), m_frame(frame) {}

void CUiWaitObserver::BeginWait() {
  m_app.SetBusy(true);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  m_activeWindow = QApplication::activeWindow();
  if (m_frame) m_frame->SetWaiting(true);
}

bool CUiWaitObserver::Pump() {
  QEventLoop loop;
  QTimer::singleShot(kSliceMs, &loop, &QEventLoop::quit);
  loop.exec();
  return !(m_frame && m_frame->QuitRequested());
}

void CUiWaitObserver::EndWait(int) {
  if (m_frame) {
    if (m_frame->isMinimized()) m_frame->showNormal();
    m_frame->raise();
    m_frame->activateWindow();
  }
  if (m_activeWindow) m_activeWindow->activateWindow();
  m_app.SetBusy(false);
  QApplication::restoreOverrideCursor();
  if (m_frame) m_frame->SetWaiting(false);  // closes the frame when that was asked
}

int RunProgramAndWait(CDorneApp& app, CMainFrame* frame, const QString& program,
                      const QStringList& arguments, const QString& startFolder) {
  std::vector<std::string> texts;
  for (const QString& argument : arguments) texts.push_back(argument.toStdString());
  CUiWaitObserver observer(app, frame);
  return WaitWithMessages(program.toStdString(), texts, startFolder.toStdString(), observer);
}

bool LaunchAssociatedApp(const QString& filePath) {
  if (QFileInfo(filePath).suffix().isEmpty()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(filePath).absoluteFilePath()));
}
