#pragma once

#include <initializer_list>

class CFrameActions;
class QMenu;
class QMenuBar;

// The menu bars of the frame's modes, built in code with their message numbers. Each
// top-level menu is named "menu_<key>" after its message key ("menu_0300" for File),
// each item is the shared action of its command.
constexpr int kMenuStart = 128;      // start and empty modes
constexpr int kMenuLayout = 129;     // layout documents
constexpr int kMenuLinear = 249;     // linear costing
constexpr int kMenuReference = 251;  // costing by reference

// Message numbers of the top-level menus and sub-menus.
constexpr int kMsgMenuFile = 300;
constexpr int kMsgMenuExport = 310;
constexpr int kMsgMenuTools = 314;
constexpr int kMsgMenuView = 340;
constexpr int kMsgMenuHelp = 380;
constexpr int kMsgMenuWindow = 384;
constexpr int kMsgMenuEdit = 520;
constexpr int kMsgMenuViewPresets = 531;
constexpr int kMsgMenuLayers = 547;
constexpr int kMsgMenuDesign = 560;
constexpr int kMsgMenuCatalogue = 580;
constexpr int kMsgMenuRun = 590;
constexpr int kMsgMenuExcel = 720;
constexpr int kMsgMenuXml = 724;
constexpr int kMsgMenuCsv = 725;
constexpr int kMsgMenuLighting = 760;

// Empties the bar and fills it with menu menuId (one of the four above).
void BuildModeMenu(int menuId, QMenuBar& bar, CFrameActions& actions);

// The Window menu of the bar, null when its mode has none.
QMenu* FindWindowMenu(QMenuBar& bar);
// The catalogue menu of the layout menu bar (its fifth menu), null when the bar holds
// none.
QMenu* FindCatalogueMenu(QMenuBar& bar);

// Building steps shared by the menu definitions.
QMenu* AddPopup(QMenuBar& bar, int message);
QMenu* AddPopup(QMenu& menu, int message);
// Adds the commands in order; 0 adds a separator.
void AddCommands(QMenu& menu, CFrameActions& actions, std::initializer_list<int> commandIds);
// Adds a command under the text of message instead of its own (a command number that
// means something else in this mode's menu): an item that follows the command's action
// (enabled, visible) and triggers it.
void AddCommandAs(QMenu& menu, CFrameActions& actions, int commandId, int message);
// The recent files, a separator and Exit: the end of every File menu.
void AddFileMenuTail(QMenu& menu, CFrameActions& actions);
void AddViewBarsCommands(QMenu& menu, CFrameActions& actions);
void AddHelpMenu(QMenuBar& bar, CFrameActions& actions, bool withTroubleshooting);

void BuildLayoutMenu(QMenuBar& bar, CFrameActions& actions);
void BuildLinearMenu(QMenuBar& bar, CFrameActions& actions);
void BuildReferenceMenu(QMenuBar& bar, CFrameActions& actions);
