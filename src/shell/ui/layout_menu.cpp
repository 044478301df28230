#include <QMenu>
#include <QMenuBar>

#include "app/ui/command_ids.h"
#include "shell/ui/frame_actions.h"
#include "shell/ui/mode_menus.h"

// The menu bar of layout documents. The catalogue menu must stay the fifth menu: the
// catalogue commands are put into it by position.

namespace {

void AddLayoutFileMenu(QMenuBar& bar, CFrameActions& actions) {
  QMenu* file = AddPopup(bar, kMsgMenuFile);
  AddCommands(
      *file, actions,
      {kIdFileNew, kIdFileOpen, kIdFileClose, 0, kIdFileSave, kIdFileSaveAs, 0, kIdProjectInfo, 0});
  QMenu* exports = AddPopup(*file, kMsgMenuExport);
  AddCommands(*exports, actions,
              {kIdExportExcel, kIdExportExcelOpen, kIdExportExcelBom, kIdExportExcelBomOpen, 0,
               kIdExportCsv, kIdExportCsvDetailed, 0, kIdExportPicture, kIdExportDxf, kIdExport3D});
  AddCommands(*file, actions,
              {kIdImportPartNumbers, 0, kIdPrint, kIdPrintPreview, kIdFilePrintSetup});
  AddFileMenuTail(*file, actions);
}

void AddLayoutEditMenu(QMenuBar& bar, CFrameActions& actions) {
  QMenu* edit = AddPopup(bar, kMsgMenuEdit);
  AddCommands(*edit, actions,
              {kIdEditUndo, kIdEditRedo, 0, kIdDeleteElement, kIdElementProperties, 0, kIdOptions});
}

void AddLayoutViewMenu(QMenuBar& bar, CFrameActions& actions) {
  QMenu* view = AddPopup(bar, kMsgMenuView);
  AddViewBarsCommands(*view, actions);
  AddCommands(*view, actions,
              {kIdToolbarTools, kIdToolbarZoom, kIdToolbarDisplay, kIdToolbarViews, 0, kIdRefresh,
               kIdZoomIn, kIdZoomOut, kIdZoomAll, kIdZoomRect, kIdPan, kIdOrbit, 0});
  QMenu* presets = AddPopup(*view, kMsgMenuViewPresets);
  for (int id = kIdViewPresetFirst; id <= kIdViewPresetLast; ++id)
    presets->addAction(actions.Action(id));
  presets->addSeparator();
  for (int id = kIdViewOrthoFirst; id <= kIdViewOrthoLast; ++id)
    presets->addAction(actions.Action(id));
  AddCommands(*presets, actions, {0, kIdViewAngles});
  QMenu* layers = AddPopup(*view, kMsgMenuLayers);
  AddCommands(*layers, actions,
              {kIdLayerBranch, kIdLayerDimension, kIdLayerPosition, kIdLayerBom, kIdLayerRun,
               kIdLayerBusbar, kIdLayerCartouche, kIdSupports});
}

void AddLayoutDesignMenu(QMenuBar& bar, CFrameActions& actions) {
  QMenu* design = AddPopup(bar, kMsgMenuDesign);
  AddCommands(*design, actions,
              {kIdToolSelect, kIdToolMode1, kIdToolMode2, kIdToolMode3, kIdToolMode4, kIdToolMode5,
               kIdToolMode6, kIdToolTapOff, 0, kIdDimension, kIdPictureRegion, 0, kIdNewTextLabel,
               kIdNewImageLabel, 0, kIdDesignCheck});
}

void AddLayoutRunMenu(QMenuBar& bar, CFrameActions& actions) {
  QMenu* run = AddPopup(bar, kMsgMenuRun);
  AddCommands(*run, actions,
              {kIdNewRun, kIdRunPages, kIdDeleteRun, 0, kIdRotateRunForward, kIdRotateRunBackward,
               kIdRunOption, kIdUpdateRun, kIdMoveRun, kIdCopyRun, 0, kIdRebuildParts,
               kIdRebuildBom, kIdUpdatePrices});
}

void AddWindowMenu(QMenuBar& bar, CFrameActions& actions) {
  QMenu* window = AddPopup(bar, kMsgMenuWindow);
  AddCommands(*window, actions, {kIdWindowCascade, kIdWindowTile, kIdWindowArrange});
}

}  // namespace

void BuildLayoutMenu(QMenuBar& bar, CFrameActions& actions) {
  AddLayoutFileMenu(bar, actions);
  AddLayoutEditMenu(bar, actions);
  AddLayoutViewMenu(bar, actions);
  AddLayoutDesignMenu(bar, actions);
  AddPopup(bar, kMsgMenuCatalogue);  // filled by the catalogue menu
  AddLayoutRunMenu(bar, actions);
  AddWindowMenu(bar, actions);
  AddHelpMenu(bar, actions, true);
}
