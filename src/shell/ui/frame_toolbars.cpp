#include "shell/ui/frame_toolbars.h"

#include <QAction>
#include <QMainWindow>
#include <QToolBar>

#include "app/ui/command_ids.h"
#include "app/ui/command_texts.h"
#include "shell/ui/frame_actions.h"

namespace {

constexpr int kMsgMainBarTitle = 349;
constexpr int kMsgToolsBarTitle = 352;
constexpr int kMsgZoomBarTitle = 353;
constexpr int kMsgDisplayBarTitle = 354;
constexpr int kMsgViewsBarTitle = 355;

int TitleMessage(int barId) {
  switch (barId) {
    case kIdToolbarTools: return kMsgToolsBarTitle;
    case kIdToolbarZoom: return kMsgZoomBarTitle;
    case kIdToolbarDisplay: return kMsgDisplayBarTitle;
    case kIdToolbarViews: return kMsgViewsBarTitle;
    default: return kMsgMainBarTitle;
  }
}

QToolBar* MakeBar(QMainWindow& window, CFrameActions& actions, int barId,
                  const std::vector<int>& buttons) {
  auto* bar = new QToolBar(PlainMessageText(TitleMessage(barId)), &window);
  bar->setObjectName(QStringLiteral("toolbar_%1").arg(barId));
  bar->setIconSize(QSize(16, 16));
  for (int commandId : buttons) {
    if (commandId == 0) bar->addSeparator();
    else bar->addAction(actions.Action(commandId));
  }
  return bar;
}

}  // namespace

const std::vector<int>& CFrameToolBars::MainButtons() {
  static const std::vector<int> buttons = {
      kIdFileNew,       kIdFileOpen, kIdFileSave, 0, kIdExportExcelOpen, 0, kIdLightingCalc,
      kIdLightingRange, kIdEditUndo, kIdEditRedo, 0, kIdHelpIndex};
  return buttons;
}

const std::vector<int>& CFrameToolBars::DesignButtons(int commandId) {
  static const std::vector<int> tools = {kIdToolSelect,
                                         kIdToolMode1,
                                         kIdToolMode3,
                                         kIdToolMode2,
                                         kIdToolMode4,
                                         kIdToolMode5,
                                         kIdToolMode6,
                                         kIdToolTapOff,
                                         kIdNewRun,
                                         0,
                                         kIdRotateRunForward,
                                         kIdRotateRunBackward,
                                         0,
                                         kIdRebuildParts,
                                         kIdRebuildBom,
                                         kIdHelpTroubleshooting,
                                         kIdUpdatePrices};
  static const std::vector<int> zoom = {kIdZoomRect, kIdZoomIn, kIdZoomOut,      kIdZoomAll,
                                        kIdPan,      0,         kIdPictureRegion};
  static const std::vector<int> display = {kIdLayerBranch,  kIdLayerDimension, kIdLayerPosition,
                                           kIdLayerBom,     kIdLayerRun,       kIdSupports,
                                           kIdLayerBusbar,  kIdLayerCartouche, 0,
                                           kIdNewTextLabel, kIdNewImageLabel,  kIdDimension};
  static const std::vector<int> views = {33016, 33017, 33018, 33019, 0, 33006,         33007,
                                         33008, 33009, 33010, 33011, 0, kIdViewAngles, kIdOrbit};
  static const std::vector<int> none;
  switch (commandId) {
    case kIdToolbarTools: return tools;
    case kIdToolbarZoom: return zoom;
    case kIdToolbarDisplay: return display;
    case kIdToolbarViews: return views;
    default: return none;
  }
}

void CFrameToolBars::Create(QMainWindow& window, CFrameActions& actions) {
  m_mainBar = MakeBar(window, actions, 128, MainButtons());
  window.addToolBar(Qt::TopToolBarArea, m_mainBar);
  for (int commandId : {kIdLightingRange, kIdLightingCalc, kIdEditUndo, kIdEditRedo})
    actions.Action(commandId)->setVisible(false);
  for (std::size_t index = 0; index < kDesignBars.size(); ++index) {
    int barId = kDesignBars[index];
    m_designBars[index] = MakeBar(window, actions, barId, DesignButtons(barId));
    m_designBars[index]->setAllowedAreas(Qt::AllToolBarAreas);
    if (index > 0) window.addToolBarBreak(Qt::LeftToolBarArea);  // one column each: they are long
    window.addToolBar(Qt::LeftToolBarArea, m_designBars[index]);
  }
}

QToolBar* CFrameToolBars::DesignBar(int commandId) const {
  for (std::size_t index = 0; index < kDesignBars.size(); ++index)
    if (kDesignBars[index] == commandId) return m_designBars[index];
  return nullptr;
}
