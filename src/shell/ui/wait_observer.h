#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

#include "app/external_process.h"

class CDorneApp;
class CMainFrame;
class QWidget;

// The window side of WaitWithMessages: the program is marked busy with the wait
// cursor while the child runs, the event loop keeps running in short slices, a close
// of the main window during the wait ends the wait (the frame closes afterwards), and
// the main window and the window that was active come back at the end.
class CUiWaitObserver : public CWaitObserver {
 public:
  CUiWaitObserver(CDorneApp& app, CMainFrame* frame);

  void BeginWait() override;
  bool Pump() override;
  void EndWait(int result) override;

 private:
  CDorneApp& m_app;
  QPointer<CMainFrame> m_frame;
  QPointer<QWidget> m_activeWindow;
};

// Runs a program to its end with the user interface alive (WaitWithMessages); the
// program's exit code, its start error, or -1 when the user closed the program.
int RunProgramAndWait(CDorneApp& app, CMainFrame* frame, const QString& program,
                      const QStringList& arguments, const QString& startFolder = {});

// Opens a file with the program the desktop associates with its type; nothing happens
// for a name without an extension. False when nothing was started.
bool LaunchAssociatedApp(const QString& filePath);
