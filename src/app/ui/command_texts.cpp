#include "app/ui/command_texts.h"

#include <unordered_map>

#include "app/message_text.h"
#include "app/ui/command_ids.h"

namespace {

// Menu texts of the framework and frame commands.
constexpr int kMsgFileNew = 301;
constexpr int kMsgFileOpen = 302;
constexpr int kMsgFileClose = 303;
constexpr int kMsgFileSave = 304;
constexpr int kMsgFileSaveAs = 305;
constexpr int kMsgPrintSetup = 306;
constexpr int kMsgExit = 308;
constexpr int kMsgProjectInfo = 309;
constexpr int kMsgPrint = 311;
constexpr int kMsgPrintPreview = 312;
constexpr int kMsgOptions = 313;
constexpr int kMsgViewToolbar = 341;
constexpr int kMsgViewStatusBar = 342;
constexpr int kMsgToolbarTools = 352;
constexpr int kMsgToolbarZoom = 353;
constexpr int kMsgToolbarDisplay = 354;
constexpr int kMsgToolbarViews = 355;
constexpr int kMsgHelpIndex = 381;
constexpr int kMsgAbout = 382;
constexpr int kMsgWindowCascade = 385;
constexpr int kMsgWindowTile = 386;
constexpr int kMsgWindowArrange = 387;
constexpr int kMsgTroubleshooting = 7632;
constexpr int kMsgTutorial = 32226;
constexpr int kMsgWebPage = 32225;
constexpr int kMsgDesignCheck = 2700;

// Menu texts of the layout document and view commands.
constexpr int kMsgUndo = 521;
constexpr int kMsgRedo = 522;
constexpr int kMsgDeleteElement = 523;
constexpr int kMsgElementProperties = 524;
constexpr int kMsgExportCsv = 503;
constexpr int kMsgExportCsvDetailed = 504;
constexpr int kMsgExportExcel = 505;
constexpr int kMsgExportExcelOpen = 506;
constexpr int kMsgExportExcelBom = 507;
constexpr int kMsgExportExcelBomOpen = 508;
constexpr int kMsgExportPicture = 509;
constexpr int kMsgExportDxf = 510;
constexpr int kMsgExport3D = 511;
constexpr int kMsgImportPartNumbers = 512;
constexpr int kMsgRefresh = 530;
constexpr int kMsgViewAngles = 546;
constexpr int kMsgLayerBranch = 548;
constexpr int kMsgLayerDimension = 549;
constexpr int kMsgLayerPosition = 550;
constexpr int kMsgLayerBom = 551;
constexpr int kMsgLayerRun = 552;
constexpr int kMsgLayerBusbar = 553;
constexpr int kMsgLayerCartouche = 554;
constexpr int kMsgSupports = 555;
constexpr int kMsgToolSelect = 561;
constexpr int kMsgToolMode1 = 562;
constexpr int kMsgToolMode2 = 563;
constexpr int kMsgToolMode3 = 564;
constexpr int kMsgToolMode4 = 565;
constexpr int kMsgToolMode5 = 566;
constexpr int kMsgToolMode6 = 567;
constexpr int kMsgToolTapOff = 568;
constexpr int kMsgZoomRect = 569;
constexpr int kMsgPictureRegion = 570;
constexpr int kMsgPan = 571;
constexpr int kMsgOrbit = 572;
constexpr int kMsgDimension = 573;
constexpr int kMsgZoomIn = 574;
constexpr int kMsgZoomOut = 575;
constexpr int kMsgZoomAll = 576;
constexpr int kMsgNewTextLabel = 577;
constexpr int kMsgNewImageLabel = 578;
constexpr int kMsgNewRun = 591;
constexpr int kMsgRunPages = 592;
constexpr int kMsgDeleteRun = 593;
constexpr int kMsgRotateForward = 594;
constexpr int kMsgRotateBackward = 595;
constexpr int kMsgRunOption = 596;
constexpr int kMsgUpdateRun = 597;
constexpr int kMsgMoveRun = 598;
constexpr int kMsgCopyRun = 599;
constexpr int kMsgRebuildParts = 600;
constexpr int kMsgRebuildBom = 601;
constexpr int kMsgUpdatePrices = 602;
// The fourteen view presets, 33016..33023 then 33006..33011.
constexpr int kMsgViewPreset0 = 532;
constexpr int kMsgViewPreset1 = 533;
constexpr int kMsgViewPreset2 = 534;
constexpr int kMsgViewPreset3 = 535;
constexpr int kMsgViewPreset4 = 536;
constexpr int kMsgViewPreset5 = 537;
constexpr int kMsgViewPreset6 = 538;
constexpr int kMsgViewPreset7 = 539;
constexpr int kMsgViewPreset8 = 540;
constexpr int kMsgViewPreset9 = 541;
constexpr int kMsgViewPreset10 = 542;
constexpr int kMsgViewPreset11 = 543;
constexpr int kMsgViewPreset12 = 544;
constexpr int kMsgViewPreset13 = 545;

// Linear and reference windows.
constexpr int kMsgLinearExcelSummary = 701;
constexpr int kMsgLinearExcelSummaryOpen = 702;
constexpr int kMsgRefExcelPlain = 721;
constexpr int kMsgRefXml = 722;
constexpr int kMsgRefXmlSummary = 723;
constexpr int kMsgLightingRange = 761;
constexpr int kMsgLightingCalc = 762;

const std::unordered_map<int, int>& CommandMessages() {
  static const std::unordered_map<int, int> table = {
      {kIdFileNew, kMsgFileNew},
      {kIdFileOpen, kMsgFileOpen},
      {kIdFileClose, kMsgFileClose},
      {kIdFileSave, kMsgFileSave},
      {kIdFileSaveAs, kMsgFileSaveAs},
      {kIdFilePrintSetup, kMsgPrintSetup},
      {kIdAppExit, kMsgExit},
      {kIdProjectInfo, kMsgProjectInfo},
      {kIdPrint, kMsgPrint},
      {kIdPrintPreview, kMsgPrintPreview},
      {kIdOptions, kMsgOptions},
      {kIdViewToolbar, kMsgViewToolbar},
      {kIdViewStatusBar, kMsgViewStatusBar},
      {kIdToolbarTools, kMsgToolbarTools},
      {kIdToolbarZoom, kMsgToolbarZoom},
      {kIdToolbarDisplay, kMsgToolbarDisplay},
      {kIdToolbarViews, kMsgToolbarViews},
      {kIdHelpIndex, kMsgHelpIndex},
      {kIdAppAbout, kMsgAbout},
      {kIdWindowCascade, kMsgWindowCascade},
      {kIdWindowTile, kMsgWindowTile},
      {kIdWindowArrange, kMsgWindowArrange},
      {kIdHelpTroubleshooting, kMsgTroubleshooting},
      {kIdHelpTutorial, kMsgTutorial},
      {kIdWebPage, kMsgWebPage},
      {kIdDesignCheck, kMsgDesignCheck},
      {kIdEditUndo, kMsgUndo},
      {kIdEditRedo, kMsgRedo},
      {kIdDeleteElement, kMsgDeleteElement},
      {kIdElementProperties, kMsgElementProperties},
      {kIdExportCsv, kMsgExportCsv},
      {kIdExportCsvDetailed, kMsgExportCsvDetailed},
      {kIdExportExcel, kMsgExportExcel},
      {kIdExportExcelOpen, kMsgExportExcelOpen},
      {kIdExportExcelBom, kMsgExportExcelBom},
      {kIdExportExcelBomOpen, kMsgExportExcelBomOpen},
      {kIdExportPicture, kMsgExportPicture},
      {kIdExportDxf, kMsgExportDxf},
      {kIdExport3D, kMsgExport3D},
      {kIdImportPartNumbers, kMsgImportPartNumbers},
      {kIdRefresh, kMsgRefresh},
      {kIdViewAngles, kMsgViewAngles},
      {kIdLayerBranch, kMsgLayerBranch},
      {kIdLayerDimension, kMsgLayerDimension},
      {kIdLayerPosition, kMsgLayerPosition},
      {kIdLayerBom, kMsgLayerBom},
      {kIdLayerRun, kMsgLayerRun},
      {kIdLayerBusbar, kMsgLayerBusbar},
      {kIdLayerCartouche, kMsgLayerCartouche},
      {kIdSupports, kMsgSupports},
      {kIdToolSelect, kMsgToolSelect},
      {kIdToolMode1, kMsgToolMode1},
      {kIdToolMode2, kMsgToolMode2},
      {kIdToolMode3, kMsgToolMode3},
      {kIdToolMode4, kMsgToolMode4},
      {kIdToolMode5, kMsgToolMode5},
      {kIdToolMode6, kMsgToolMode6},
      {kIdToolTapOff, kMsgToolTapOff},
      {kIdZoomRect, kMsgZoomRect},
      {kIdPictureRegion, kMsgPictureRegion},
      {kIdPan, kMsgPan},
      {kIdOrbit, kMsgOrbit},
      {kIdDimension, kMsgDimension},
      {kIdZoomIn, kMsgZoomIn},
      {kIdZoomOut, kMsgZoomOut},
      {kIdZoomAll, kMsgZoomAll},
      {kIdNewTextLabel, kMsgNewTextLabel},
      {kIdNewImageLabel, kMsgNewImageLabel},
      {kIdNewRun, kMsgNewRun},
      {kIdRunPages, kMsgRunPages},
      {kIdDeleteRun, kMsgDeleteRun},
      {kIdRotateRunForward, kMsgRotateForward},
      {kIdRotateRunBackward, kMsgRotateBackward},
      {kIdRunOption, kMsgRunOption},
      {kIdUpdateRun, kMsgUpdateRun},
      {kIdMoveRun, kMsgMoveRun},
      {kIdCopyRun, kMsgCopyRun},
      {kIdRebuildParts, kMsgRebuildParts},
      {kIdRebuildBom, kMsgRebuildBom},
      {kIdUpdatePrices, kMsgUpdatePrices},
      {kIdLinearExcelSummary, kMsgLinearExcelSummary},
      {kIdLinearExcelSummaryOpen, kMsgLinearExcelSummaryOpen},
      {kIdRefExcelPlain, kMsgRefExcelPlain},
      {kIdRefXml, kMsgRefXml},
      {kIdRefXmlSummary, kMsgRefXmlSummary},
      {kIdLightingRange, kMsgLightingRange},
      {kIdLightingCalc, kMsgLightingCalc},
      // view presets 0..7, then 8..13
      {33016, kMsgViewPreset0},
      {33017, kMsgViewPreset1},
      {33018, kMsgViewPreset2},
      {33019, kMsgViewPreset3},
      {33020, kMsgViewPreset4},
      {33021, kMsgViewPreset5},
      {33022, kMsgViewPreset6},
      {33023, kMsgViewPreset7},
      {33006, kMsgViewPreset8},
      {33007, kMsgViewPreset9},
      {33008, kMsgViewPreset10},
      {33009, kMsgViewPreset11},
      {33010, kMsgViewPreset12},
      {33011, kMsgViewPreset13},
  };
  return table;
}

}  // namespace

int CommandTextMessage(int commandId) {
  auto found = CommandMessages().find(commandId);
  return found == CommandMessages().end() ? 0 : found->second;
}

QString CommandText(int commandId) {
  int number = CommandTextMessage(commandId);
  return number == 0 ? QString() : MessageText(number);
}

int CommandPromptMessage(int commandId) {
  switch (commandId) {
    case kIdToolTapOff: return 5092;
    case kIdRotateRunForward: return 5093;
    case kIdRotateRunBackward: return 5094;
    default: return commandId;
  }
}

QString CommandPrompt(int commandId) {
  // "prompt\ntool tip", as string-table texts of commands are written.
  std::string text = UnescapeText(LookupText(CommandPromptMessage(commandId)));
  return QString::fromStdString(text).section(QLatin1Char('\n'), 0, 0);
}

QString CommandToolTip(int commandId) {
  const std::string text = UnescapeText(LookupText(CommandPromptMessage(commandId)));
  const QString tip = QString::fromStdString(text).section(QLatin1Char('\n'), 1, 1);
  return tip.isEmpty() ? CommandPrompt(commandId) : tip;
}

QString MessageText(int number) { return QString::fromStdString(ResourceText(number)); }

QString PlainMessageText(int number) {
  QString text = MessageText(number);
  int tab = text.indexOf(QLatin1Char('\t'));
  if (tab >= 0) text.truncate(tab);
  text.remove(QLatin1Char('&'));
  return text;
}
