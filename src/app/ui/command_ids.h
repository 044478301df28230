#pragma once

// Command numbers of the menus and toolbars. Every command keeps its number as the id
// of its action (object name "cmd_<number>", data the number), so tests and other
// windows find it.

// Framework commands.
constexpr int kIdFileNew = 57600;
constexpr int kIdFileOpen = 57601;
constexpr int kIdFileClose = 57602;
constexpr int kIdFileSave = 57603;
constexpr int kIdFileSaveAs = 57604;
constexpr int kIdFilePrintSetup = 57606;
constexpr int kIdFilePrint = 57607;
constexpr int kIdFilePrintPreview = 57609;
constexpr int kIdFileMruFirst = 57616;  // 57616..57620: the five recent files
constexpr int kIdFileMruLast = 57631;
constexpr int kIdEditUndo = 57643;
constexpr int kIdEditRedo = 57644;
constexpr int kIdWindowArrange = 57649;
constexpr int kIdWindowCascade = 57650;
constexpr int kIdWindowTile = 57651;
constexpr int kIdAppAbout = 57664;
constexpr int kIdAppExit = 57665;
constexpr int kIdViewToolbar = 59392;
constexpr int kIdViewStatusBar = 59393;
constexpr int kIdIdleMessage = 57345;

// Frame commands.
constexpr int kIdToolbarTools = 32872;
constexpr int kIdToolbarZoom = 32873;
constexpr int kIdToolbarDisplay = 32993;
constexpr int kIdToolbarViews = 33015;
constexpr int kIdHelpTroubleshooting = 32889;
constexpr int kIdHelpIndex = 32967;
constexpr int kIdHelpTutorial = 32970;
constexpr int kIdWebPage = 32969;
constexpr int kIdDesignCheck = 32949;
constexpr int kIdOptions = 32772;

// Layout document and view commands (handled by the layout windows).
constexpr int kIdProjectInfo = 32863;
constexpr int kIdRunPages = 32792;
constexpr int kIdPrint = 32860;
constexpr int kIdPrintPreview = 32864;
constexpr int kIdDeleteRun = 32879;
constexpr int kIdRotateRunBackward = 32951;
constexpr int kIdRotateRunForward = 32950;
constexpr int kIdRunOption = 33037;
constexpr int kIdUpdateRun = 33064;
constexpr int kIdUpdatePrices = 32875;
constexpr int kIdImportPartNumbers = 32878;
constexpr int kIdExportCsvDetailed = 32882;
constexpr int kIdExportCsv = 32881;
constexpr int kIdExportExcel = 32973;
constexpr int kIdExportExcelOpen = 32974;
constexpr int kIdExportExcelBom = 32975;
constexpr int kIdExportExcelBomOpen = 32976;
constexpr int kIdExportPicture = 32953;
constexpr int kIdExportDxf = 33004;
constexpr int kIdExport3D = 32985;
constexpr int kIdRefresh = 32788;
constexpr int kIdDeleteElement = 32862;
constexpr int kIdElementProperties = 32861;
constexpr int kIdNewRun = 32789;
constexpr int kIdRebuildParts = 32790;
constexpr int kIdRebuildBom = 32791;
constexpr int kIdMoveRun = 32988;
constexpr int kIdCopyRun = 33029;
constexpr int kIdNewTextLabel = 32999;
constexpr int kIdNewImageLabel = 33000;
constexpr int kIdToolSelect = 32780;
constexpr int kIdToolMode1 = 32781;
constexpr int kIdToolMode2 = 32776;
constexpr int kIdToolMode3 = 32782;
constexpr int kIdToolMode4 = 32777;
constexpr int kIdToolMode5 = 32844;
constexpr int kIdToolMode6 = 32779;
constexpr int kIdToolTapOff = 33030;
constexpr int kIdZoomRect = 32858;
constexpr int kIdPictureRegion = 33061;
constexpr int kIdZoomIn = 32783;
constexpr int kIdZoomOut = 32784;
constexpr int kIdZoomAll = 32785;
constexpr int kIdPan = 32786;
constexpr int kIdOrbit = 33024;
constexpr int kIdDimension = 33028;
constexpr int kIdLayerBranch = 32994;
constexpr int kIdLayerDimension = 32995;
constexpr int kIdLayerPosition = 32996;
constexpr int kIdLayerBom = 32997;
constexpr int kIdLayerRun = 32998;
constexpr int kIdLayerBusbar = 32992;
constexpr int kIdLayerCartouche = 33001;
constexpr int kIdSupports = 33063;
constexpr int kIdViewPresetFirst = 33016;  // 33016..33023: presets 0..7
constexpr int kIdViewPresetLast = 33023;
constexpr int kIdViewOrthoFirst = 33006;  // 33006..33011: presets 8..13
constexpr int kIdViewOrthoLast = 33011;
constexpr int kIdViewAngles = 33025;

// Linear and reference windows.
constexpr int kIdLinearExcelSummaryOpen = 32963;
constexpr int kIdLinearExcelSummary = 32964;
constexpr int kIdRefExcelPlain = 32977;
constexpr int kIdRefXml = 32986;
constexpr int kIdRefXmlSummary = 32987;
constexpr int kIdLightingCalc = 33031;
constexpr int kIdLightingRange = 33032;

// Status-bar panes.
constexpr int kPaneDistance = 513;
constexpr int kPaneIcon = 514;
