#include "shell/ui/mode_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/ui/command_ids.h"
#include "app/ui/command_texts.h"
#include "shell/ui/frame_actions.h"

namespace {

void BuildStartMenu(QMenuBar& bar, CFrameActions& actions) {
  QMenu* file = AddPopup(bar, kMsgMenuFile);
  AddCommands(*file, actions, {kIdFileNew, kIdFileOpen, 0, kIdFilePrintSetup});
  AddFileMenuTail(*file, actions);
  AddViewBarsCommands(*AddPopup(bar, kMsgMenuView), actions);
  AddHelpMenu(bar, actions, false);
}

// The menus of the previous mode go away with their bar entries; they may still be on
// the call stack (a mode change started from a menu command), hence the deferred delete.
void ClearMenuBar(QMenuBar& bar) {
  for (QMenu* menu : bar.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) {
    menu->setObjectName(QString());
    menu->deleteLater();
  }
  bar.clear();
}

QString MenuObjectName(int message) {
  return QStringLiteral("menu_%1").arg(message, 4, 10, QLatin1Char('0'));
}

}  // namespace

QMenu* AddPopup(QMenuBar& bar, int message) {
  QMenu* menu = bar.addMenu(MessageText(message));
  menu->setObjectName(MenuObjectName(message));
  return menu;
}

QMenu* AddPopup(QMenu& parent, int message) {
  QMenu* menu = parent.addMenu(MessageText(message));
  menu->setObjectName(MenuObjectName(message));
  return menu;
}

void AddCommands(QMenu& menu, CFrameActions& actions, std::initializer_list<int> commandIds) {
  for (int commandId : commandIds) {
    if (commandId == 0) menu.addSeparator();
    else menu.addAction(actions.Action(commandId));
  }
}

void AddCommandAs(QMenu& menu, CFrameActions& actions, int commandId, int message) {
  QAction* command = actions.Action(commandId);
  auto* item = new QAction(MessageText(message), &menu);
  item->setObjectName(CFrameActions::ObjectName(commandId));
  item->setData(commandId);
  auto follow = [item, command] {
    item->setEnabled(command->isEnabled());
    item->setVisible(command->isVisible());
  };
  follow();
  QObject::connect(command, &QAction::changed, item, follow);
  QObject::connect(item, &QAction::triggered, command, &QAction::trigger);
  menu.addAction(item);
}

void AddFileMenuTail(QMenu& menu, CFrameActions& actions) {
  menu.addSeparator();
  for (int index = 0; index < 5; ++index) menu.addAction(actions.Action(kIdFileMruFirst + index));
  menu.addSeparator();
  menu.addAction(actions.Action(kIdAppExit));
}

void AddViewBarsCommands(QMenu& menu, CFrameActions& actions) {
  AddCommands(menu, actions, {kIdViewToolbar, kIdViewStatusBar});
}

void AddHelpMenu(QMenuBar& bar, CFrameActions& actions, bool withTroubleshooting) {
  QMenu* help = AddPopup(bar, kMsgMenuHelp);
  AddCommands(*help, actions, {kIdHelpIndex, kIdHelpTutorial});
  if (withTroubleshooting) help->addAction(actions.Action(kIdHelpTroubleshooting));
  AddCommands(*help, actions, {kIdWebPage, 0, kIdAppAbout});
}

void BuildModeMenu(int menuId, QMenuBar& bar, CFrameActions& actions) {
  ClearMenuBar(bar);
  bar.setProperty("menuId", menuId);
  switch (menuId) {
    case kMenuLayout: BuildLayoutMenu(bar, actions); break;
    case kMenuLinear: BuildLinearMenu(bar, actions); break;
    case kMenuReference: BuildReferenceMenu(bar, actions); break;
    default: BuildStartMenu(bar, actions); break;
  }
}

QMenu* FindWindowMenu(QMenuBar& bar) {
  return bar.findChild<QMenu*>(MenuObjectName(kMsgMenuWindow), Qt::FindDirectChildrenOnly);
}

QMenu* FindCatalogueMenu(QMenuBar& bar) {
  return bar.findChild<QMenu*>(MenuObjectName(kMsgMenuCatalogue), Qt::FindDirectChildrenOnly);
}
