#include <clocale>
#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTimer>

#include "app/language_mapping.h"
#include "app/ui/whole_titles.h"
#include "shell/ui/application_shell.h"
#include "shell/ui/costing_window_makers.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/ui_script.h"

namespace {

// A hook for the end-to-end test only: when TVR_DUMP_WINDOW_FILE names a file, the
// program writes its main window's title, mode, visibility and menu titles, with the
// object name and title of its first child window and the active one, into it once
// its event loop runs (and, when TVR_SCREENSHOT_FILE names a file, a picture of
// the main window there), then quits. When TVR_SCRIPT_FILE names a file, its user
// actions are run first (see ui_script.h). Nothing else changes.
void ScheduleWindowDump(CApplicationShell& shell) {
  QString path = qEnvironmentVariable("TVR_DUMP_WINDOW_FILE");
  if (path.isEmpty()) return;
  QTimer::singleShot(0, [&shell, path] {
    QStringList menus;
    CMainFrame* frame = shell.Frame();
    QStringList failed;
    if (const QString script = qEnvironmentVariable("TVR_SCRIPT_FILE"); !script.isEmpty())
      failed = RunUiScript(*frame, script);
    for (QAction* action : frame->menuBar()->actions()) menus << action->text();
    QWidget* child = nullptr;
    if (auto* area = frame->findChild<QMdiArea*>(); area && !area->subWindowList().isEmpty())
      child = area->subWindowList().first()->widget();
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
      QMdiSubWindow* active = frame->MdiArea()->currentSubWindow();
      file.write(QStringLiteral(
                     "title=%1\nmode=%2\nvisible=%3\nmenus=%4\nchild=%5\nchildtitle=%6\nactive=%7\n"
                     "layout=%8\nfailed=%9\ndialogs=%10\nstate=%11\n")
                     .arg(frame->windowTitle())
                     .arg(static_cast<int>(frame->Mode()))
                     .arg(frame->isVisible() ? 1 : 0)
                     .arg(menus.join(QLatin1Char('|')))
                     .arg(child ? child->objectName() : QString())
                     .arg(child ? child->windowTitle() : QString())
                     .arg(active != nullptr && active->widget() != nullptr
                              ? active->widget()->objectName()
                              : QString())
                     .arg(ActiveLayoutSummary(*frame))
                     .arg(failed.join(QLatin1Char('|')))
                     .arg(ScriptDialogLog(*frame))
                     .arg(ActiveLayoutState(*frame))
                     .toUtf8());
    }
    const QString screenshot = qEnvironmentVariable("TVR_SCREENSHOT_FILE");
    if (!screenshot.isEmpty()) frame->grab().save(screenshot);
    frame->close();
    // Ends even when a document kept its window open (its question was not answered).
    QApplication::exit(0);
  });
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // QApplication takes the user's locale for the C library too; the program's own texts
  // (stored properties, files, exchange formats) always write and read numbers with a
  // point, and a "%.4g" written as "0,88" would read back as 0. The interface formats
  // numbers through QLocale, which this does not touch.
  std::setlocale(LC_NUMERIC, "C");
  // A window without a title of its own shows the application's name: the program's,
  // not its file's ("tvr").
  QApplication::setApplicationName(QString::fromLatin1(CLanguageMapping::kDefaultApplicationName));
  CWholeTitles::Install();
  RegisterCostingWindows();
  CApplicationShell shell;
  if (!shell.InitInstance(QApplication::arguments())) return shell.ExitCode();
  ScheduleWindowDump(shell);
  return QApplication::exec();
}
