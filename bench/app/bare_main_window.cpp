// The yardstick of the program's start-up: a bare Qt main window with a menu bar, shown;
// as soon as its event loop runs it writes the file TVR_DUMP_WINDOW_FILE names, closes and
// ends, as the program's window-dump hook does.

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QMainWindow window;
  window.menuBar()->addMenu(QStringLiteral("File"));
  window.resize(800, 600);
  window.show();
  QTimer::singleShot(0, [&window] {
    QFile file(qEnvironmentVariable("TVR_DUMP_WINDOW_FILE"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
      file.write(QByteArrayLiteral("visible=1\n"));
    file.close();
    window.close();
    QApplication::exit(0);
  });
  return QApplication::exec();
}
