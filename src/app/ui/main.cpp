#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QMainWindow frame;
  frame.setWindowTitle(QStringLiteral("Tavrilon"));
  frame.resize(1024, 768);
  frame.show();
  return application.exec();
}
