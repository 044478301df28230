#include <QMenu>
#include <QMenuBar>

#include "app/ui/command_ids.h"
#include "shell/ui/frame_actions.h"
#include "shell/ui/mode_menus.h"

// The menu bars of the linear and the reference costing windows. The lighting menu of
// the reference bar is its fourth menu: entering the reference mode edits it by position.

namespace {

constexpr int kMsgWorkbookSaveAs = 505;

void AddCostingFileHead(QMenu& file, CFrameActions& actions) {
  AddCommands(file, actions,
              {kIdFileNew, kIdFileOpen, kIdFileClose, 0, kIdFileSave, kIdFileSaveAs, 0,
               kIdProjectInfo, kIdFilePrintSetup, 0});
}

void AddToolsMenu(QMenuBar& bar, CFrameActions& actions) {
  QMenu* tools = AddPopup(bar, kMsgMenuTools);
  AddCommands(*tools, actions, {kIdOptions});
}

}  // namespace

void BuildLinearMenu(QMenuBar& bar, CFrameActions& actions) {
  QMenu* file = AddPopup(bar, kMsgMenuFile);
  AddCostingFileHead(*file, actions);
  QMenu* exports = AddPopup(*file, kMsgMenuExport);
  // The project's workbook is opened (32974) or saved under a name (32976, the layout's
  // "bill of materials, open" command); the summary likewise (32963, 32964).
  AddCommands(*exports, actions, {kIdExportExcelOpen});
  AddCommandAs(*exports, actions, kIdExportExcelBomOpen, kMsgWorkbookSaveAs);
  AddCommands(*exports, actions, {0, kIdLinearExcelSummaryOpen, kIdLinearExcelSummary});
  AddFileMenuTail(*file, actions);
  AddViewBarsCommands(*AddPopup(bar, kMsgMenuView), actions);
  AddToolsMenu(bar, actions);
  AddHelpMenu(bar, actions, false);
}

void BuildReferenceMenu(QMenuBar& bar, CFrameActions& actions) {
  QMenu* file = AddPopup(bar, kMsgMenuFile);
  AddCostingFileHead(*file, actions);
  QMenu* exports = AddPopup(*file, kMsgMenuExport);
  QMenu* excel = AddPopup(*exports, kMsgMenuExcel);
  AddCommands(*excel, actions,
              {kIdRefExcelPlain, kIdExportExcelOpen, kIdExportExcel, 0, kIdExportExcelBomOpen,
               kIdExportExcelBom});
  QMenu* xml = AddPopup(*exports, kMsgMenuXml);
  AddCommands(*xml, actions, {kIdRefXml, kIdRefXmlSummary});
  QMenu* csv = AddPopup(*exports, kMsgMenuCsv);
  AddCommands(*csv, actions, {kIdExportCsvDetailed, kIdExportCsv});
  AddFileMenuTail(*file, actions);
  AddViewBarsCommands(*AddPopup(bar, kMsgMenuView), actions);
  AddToolsMenu(bar, actions);
  QMenu* lighting = AddPopup(bar, kMsgMenuLighting);  // the fourth menu of the bar
  AddCommands(*lighting, actions, {kIdLightingRange, kIdLightingCalc});
  AddHelpMenu(bar, actions, false);
}
