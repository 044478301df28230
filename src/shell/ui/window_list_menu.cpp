#include "shell/ui/window_list_menu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

namespace {

const QString kEntryName = QStringLiteral("window_entry");

QString EntryText(int number, const QString& title) {
  QString escaped = title;
  escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
  // Only the first nine get a digit as their mnemonic.
  return number <= 9 ? QStringLiteral("&%1 %2").arg(number).arg(escaped)
                     : QStringLiteral("%1 %2").arg(number).arg(escaped);
}

}  // namespace

void ListChildWindowsInMenu(QMenu& menu, QMdiArea& area) {
  for (QAction* action : menu.actions()) {
    if (action->objectName() != kEntryName) continue;
    menu.removeAction(action);
    action->deleteLater();
  }
  const QList<QMdiSubWindow*> windows = area.subWindowList();
  if (windows.isEmpty()) return;
  QAction* separator = menu.addSeparator();
  separator->setObjectName(kEntryName);
  int number = 0;
  for (QMdiSubWindow* window : windows) {
    QWidget* content = window->widget();
    QAction* entry = menu.addAction(
        EntryText(++number, content ? content->windowTitle() : window->windowTitle()));
    entry->setObjectName(kEntryName);
    entry->setCheckable(true);
    entry->setChecked(window == area.currentSubWindow());
    QPointer<QMdiSubWindow> target = window;
    QObject::connect(entry, &QAction::triggered, &area, [&area, target] {
      if (target) area.setActiveSubWindow(target);
    });
  }
}
