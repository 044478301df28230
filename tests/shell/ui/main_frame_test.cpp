#include "shell/ui/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

#include "app/ui/command_ids.h"
#include "app/ui/command_texts.h"
#include "app/ui/costing_window.h"
#include "shell/ui/document_commands.h"
#include "shell/ui/frame_actions.h"
#include "shell/ui/frame_status_bar.h"
#include "shell/ui/mode_menus.h"
#include "frame_test_support.h"

namespace {

const QStringList kStartMenus = {"menu_0300", "menu_0340", "menu_0380"};
const QStringList kLayoutMenus = {"menu_0300", "menu_0520", "menu_0340", "menu_0560",
                                  "menu_0580", "menu_0590", "menu_0384", "menu_0380"};
const QStringList kLinearMenus = {"menu_0300", "menu_0340", "menu_0314", "menu_0380"};
const QStringList kReferenceMenus = {"menu_0300", "menu_0340", "menu_0314", "menu_0760",
                                     "menu_0380"};

QAction* Action(CMainFrame& frame, int commandId) { return frame.Actions().Action(commandId); }

bool Enabled(CMainFrame& frame, int commandId) {
  QAction* action = Action(frame, commandId);
  frame.UpdateCommandStates();
  return action->isEnabled();
}

bool DesignBarsVisible(CMainFrame& frame) {
  for (QToolBar* bar : frame.ToolBars().DesignBars())
    if (!bar->isVisible()) return false;
  return true;
}

TEST(MainFrameTest, StartsInStartModeWithTheStartMenu) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  EXPECT_EQ(frame.Mode(), EFrameMode::Start);
  EXPECT_EQ(frame.InstalledMenu(), kMenuStart);
  EXPECT_EQ(MenuTitles(frame), kStartMenus);
  EXPECT_TRUE(DesignBarsVisible(frame));
  EXPECT_FALSE(Action(frame, kIdEditUndo)->isVisible());
  EXPECT_FALSE(Action(frame, kIdLightingCalc)->isVisible());
  EXPECT_TRUE(SaveScreenshot(frame, "main_frame_start"));
}

TEST(MainFrameTest, ModeTransitions) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  frame.FrameStatusBar()->SetPaneText(kPaneDistance, "1250 mm");
  ASSERT_TRUE(frame.EnterEmptyMode());
  EXPECT_EQ(frame.Mode(), EFrameMode::Empty);
  EXPECT_EQ(frame.FrameStatusBar()->PaneText(kPaneDistance), "");
  EXPECT_FALSE(frame.ToolBars().DesignBars()[0]->isVisible());
  EXPECT_TRUE(frame.EnterGraphicalMode());
  EXPECT_EQ(frame.Mode(), EFrameMode::Graphical);
  EXPECT_EQ(MenuTitles(frame), kLayoutMenus);
  EXPECT_TRUE(DesignBarsVisible(frame));  // shown again as they were
  EXPECT_TRUE(Action(frame, kIdEditUndo)->isVisible());
  EXPECT_FALSE(frame.EnterGraphicalMode());        // only from start or empty
  EXPECT_FALSE(frame.EnterLinearMode(QString()));  // not while layout documents work
  EXPECT_FALSE(frame.LeaveLinearMode());
  frame.EnterEmptyMode();
  EXPECT_TRUE(frame.EnterLinearMode(QString()));
  EXPECT_EQ(frame.Mode(), EFrameMode::Linear);
  EXPECT_EQ(frame.InstalledMenu(), kMenuLinear);
  EXPECT_EQ(MenuTitles(frame), kLinearMenus);
  ASSERT_NE(frame.LinearWindow(), nullptr);
  EXPECT_EQ(frame.LinearWindow()->windowTitle(), "Linear costing - Untitled");
  EXPECT_FALSE(frame.EnterRefMode(QString()));
  EXPECT_TRUE(frame.LeaveLinearMode());
  EXPECT_EQ(frame.Mode(), EFrameMode::Empty);
  EXPECT_EQ(frame.InstalledMenu(), kMenuStart);
  EXPECT_EQ(frame.LinearWindow(), nullptr);
  EXPECT_TRUE(frame.EnterRefMode(QString()));
  EXPECT_EQ(frame.ReferenceWindow()->windowTitle(), "Costing by reference - Untitled");
  EXPECT_EQ(MenuTitles(frame), kReferenceMenus);
  EXPECT_TRUE(Action(frame, kIdLightingCalc)->isVisible());
  EXPECT_TRUE(frame.LeaveRefMode());
  EXPECT_FALSE(Action(frame, kIdLightingCalc)->isVisible());
  EXPECT_FALSE(frame.LeaveRefMode());
}

TEST(MainFrameTest, EmptyModeTwiceKeepsTheBarsItRemembers) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  frame.ToolBars().DesignBars()[2]->hide();
  frame.EnterEmptyMode();
  frame.EnterEmptyMode();
  frame.EnterGraphicalMode();
  EXPECT_TRUE(frame.ToolBars().DesignBars()[0]->isVisible());
  EXPECT_FALSE(frame.ToolBars().DesignBars()[2]->isVisible());
}

TEST(MainFrameTest, ReferenceMenuOffersEveryExportAndFollowsTheLightingSettings) {
  struct Row {
    const char* settings;
    QList<int> lighting;  // empty: no lighting menu
    bool calcButton, rangeButton;
  };
  const Row rows[] = {
      {"", {33032, 33031}, true, true},
      {"[Ref]\nGDE=0\n", {33032}, false, true},
      {"[Ref]\nGDC=0\n", {33031}, true, false},
      {"[Ref]\nGDE=0\nGDC=-1\n", {}, false, false},
  };
  for (const Row& row : rows) {
    CFrameFixture fixture(row.settings);
    CMainFrame& frame = fixture.Frame();
    frame.EnterRefMode(QString());
    EXPECT_EQ(MenuCommands(frame, "menu_0760"), row.lighting) << row.settings;
    EXPECT_EQ(MenuTitles(frame).contains("menu_0760"), !row.lighting.isEmpty()) << row.settings;
    EXPECT_EQ(Action(frame, kIdLightingCalc)->isVisible(), row.calcButton) << row.settings;
    EXPECT_EQ(Action(frame, kIdLightingRange)->isVisible(), row.rangeButton) << row.settings;
    // Excel, XML and CSV: the order export the window routes is in its menu too.
    EXPECT_EQ(MenuCommands(frame, "menu_0310"), (QList<int>{-1, -1, -1})) << row.settings;
  }
}

TEST(MainFrameTest, CommandStatesFollowTheHandlers) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  frame.EnterEmptyMode();
  EXPECT_TRUE(Enabled(frame, kIdFileNew));
  EXPECT_TRUE(Enabled(frame, kIdFileOpen));
  EXPECT_FALSE(Enabled(frame, kIdFileSave));  // nobody saves in the empty mode
  EXPECT_FALSE(Enabled(frame, kIdFileClose));
  EXPECT_FALSE(Enabled(frame, kIdFileMruFirst));  // the placeholder of an empty list
  EXPECT_FALSE(Enabled(frame, kIdWindowCascade));
  EXPECT_FALSE(Action(frame, kIdToolbarTools)->isChecked());  // hidden by the empty mode
  fixture.app.SetBusy(true);
  EXPECT_FALSE(Enabled(frame, kIdFileNew));  // not while an external program runs
  fixture.app.SetBusy(false);
  frame.EnterLinearMode(QString());
  EXPECT_TRUE(Enabled(frame, kIdFileClose));  // the linear window closes itself
  EXPECT_FALSE(Enabled(frame, kIdExportExcelOpen));
}

TEST(MainFrameTest, CheckedCommands) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  frame.EnterGraphicalMode();
  frame.UpdateCommandStates();
  EXPECT_TRUE(Action(frame, kIdDesignCheck)->isChecked());
  frame.RouteCommand(kIdDesignCheck);
  EXPECT_FALSE(fixture.app.DesignCheck());
  EXPECT_FALSE(Action(frame, kIdDesignCheck)->isChecked());
  EXPECT_TRUE(Action(frame, kIdToolbarZoom)->isChecked());
  frame.RouteCommand(kIdToolbarZoom);
  EXPECT_FALSE(frame.ToolBars().DesignBar(kIdToolbarZoom)->isVisible());
  EXPECT_FALSE(Action(frame, kIdToolbarZoom)->isChecked());
  frame.RouteCommand(kIdViewStatusBar);
  EXPECT_FALSE(frame.statusBar()->isVisible());
  EXPECT_FALSE(Action(frame, kIdViewStatusBar)->isChecked());
}

TEST(MainFrameTest, HoveredCommandsShowTheirPromptThenTheIdlePromptComesBack) {
  struct Row {
    const char* language;
    const char* open;  // the prompt of File Open
    const char* idle;
  };
  const Row rows[] = {
      {"044", "Open an existing layout, linear or reference project", "Ready"},
      {"033", "Ouvrir un projet d'implantation, linéaire ou par référence existant", "Prêt"}};
  for (const Row& row : rows) {
    CFrameFixture fixture;
    UseProgramLanguage(row.language);
    CMainFrame& frame = fixture.Frame();
    frame.EnterGraphicalMode();
    for (auto& [commandId, action] : frame.Actions().All())
      if (CommandTextMessage(commandId) != 0) {
        EXPECT_FALSE(action->statusTip().isEmpty())
            << row.language << " has no prompt for " << commandId;
      }
    QStatusBar* bar = frame.statusBar();
    Action(frame, kIdFileOpen)->showStatusText(frame.menuBar());  // a menu item is hovered
    EXPECT_EQ(bar->currentMessage(), QString::fromUtf8(row.open));
    QStatusTipEvent none{QString()};  // the menu closed
    QApplication::sendEvent(frame.menuBar(), &none);
    EXPECT_EQ(bar->currentMessage(), QString::fromUtf8(row.idle));
    QToolBar* zoom = frame.ToolBars().DesignBar(kIdToolbarZoom);
    auto* button = qobject_cast<QToolButton*>(zoom->widgetForAction(Action(frame, kIdZoomIn)));
    ASSERT_NE(button, nullptr);
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    QApplication::sendEvent(button, &enter);
    EXPECT_EQ(bar->currentMessage(), Action(frame, kIdZoomIn)->statusTip());
    EXPECT_FALSE(bar->currentMessage().isEmpty());
    QApplication::sendEvent(button, &leave);
    EXPECT_EQ(bar->currentMessage(), QString::fromUtf8(row.idle));
  }
}

// The idle time that follows a new or opened layout shows the idle text only where no
// tool explains itself: a tool chosen before it came keeps its prompt.
TEST(MainFrameTest, TheIdleTimeAfterALayoutOpensKeepsTheToolsPrompt) {
  CFrameFixture fixture;
  UseProgramLanguage("044");
  CMainFrame& frame = fixture.Frame();
  frame.EnterGraphicalMode();
  QStatusBar* bar = frame.statusBar();
  fixture.Commands().NewFromModel(false);  // the idle text is due
  ASSERT_TRUE(frame.RouteCommand(kIdToolSelect));
  const QString prompt = bar->currentMessage();
  ASSERT_FALSE(prompt.isEmpty());
  ASSERT_NE(prompt, QStringLiteral("Ready"));
  frame.OnIdle();
  EXPECT_EQ(bar->currentMessage(), prompt);
}

// Each layout keeps its own tool: bringing another window forward shows its prompt.
TEST(MainFrameTest, TheStatusLineShowsThePromptOfTheLayoutBroughtForward) {
  CFrameFixture fixture;
  UseProgramLanguage("044");
  CMainFrame& frame = fixture.Frame();
  frame.EnterGraphicalMode();
  QStatusBar* bar = frame.statusBar();
  fixture.Commands().NewFromModel(false);
  fixture.Commands().NewFromModel(false);
  const QList<QMdiSubWindow*> windows = frame.MdiArea()->subWindowList();
  ASSERT_EQ(windows.size(), 2);
  frame.MdiArea()->setActiveSubWindow(windows.back());
  ASSERT_TRUE(frame.RouteCommand(kIdToolMode2));
  const QString toolPrompt = bar->currentMessage();
  ASSERT_NE(toolPrompt, QStringLiteral("Ready"));
  frame.MdiArea()->setActiveSubWindow(windows.front());
  const QString firstPrompt = bar->currentMessage();
  EXPECT_NE(firstPrompt, toolPrompt);
  frame.MdiArea()->setActiveSubWindow(windows.back());
  EXPECT_EQ(bar->currentMessage(), toolPrompt);
}

TEST(MainFrameTest, TheWindowMenuListsTheOpenDocumentsAndActivatesTheChosenOne) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  frame.EnterGraphicalMode();
  fixture.Commands().NewFromModel(false);
  fixture.Commands().NewFromModel(false);
  QMenu* windows = FindWindowMenu(*frame.menuBar());
  ASSERT_NE(windows, nullptr);
  for (int round = 0; round < 2; ++round) {  // opened twice: listed once
    emit windows->aboutToShow();
    QStringList listed;
    QList<bool> checked;
    for (QAction* action : windows->actions()) {
      if (action->objectName() != "window_entry" || action->isSeparator()) continue;
      listed << action->text();
      checked << action->isChecked();
    }
    EXPECT_EQ(listed, (QStringList{"&1 Untitled1", "&2 Untitled2"}));
    EXPECT_EQ(checked, (QList<bool>{false, true}));
  }
  for (QAction* action : windows->actions())
    if (action->text() == "&1 Untitled1") action->trigger();
  EXPECT_EQ(frame.MdiArea()->currentSubWindow(), frame.MdiArea()->subWindowList().front());
}

TEST(MainFrameTest, StartModeChoiceTable) {
  struct Row {
    int choice;
    EFrameMode mode;
    int windows;
  };
  const Row rows[] = {{kStartLinear, EFrameMode::Linear, 1},
                      {kStartReference, EFrameMode::Reference, 1},
                      {kStartGraphical, EFrameMode::Graphical, 1},
                      {0, EFrameMode::Empty, 0}};
  for (const Row& row : rows) {
    CFrameFixture fixture;
    CMainFrame& frame = fixture.Frame();
    frame.EnterEmptyMode();
    fixture.dialogs.startModes = {row.choice};
    frame.ChooseStartMode();
    EXPECT_EQ(frame.Mode(), row.mode) << row.choice;
    EXPECT_EQ(frame.MdiArea()->subWindowList().size(), row.windows) << row.choice;
    EXPECT_EQ(fixture.dialogs.offeredModes, QStringList{"LRG"});
  }
}

TEST(MainFrameTest, StartModeOffersFollowTheSettings) {
  const std::pair<const char*, const char*> rows[] = {{"NoML=1\n", "-RG"},
                                                      {"NoRF=1\n", "L-G"},
                                                      {"No3D=1\n", "LR-"},
                                                      {"NoDRNE=1\n", "LR-"},
                                                      {"NoML=1\nNoRF=1\nNo3D=1\n", "--G"}};
  for (const auto& [settings, offered] : rows) {
    CFrameFixture fixture(settings);
    fixture.Frame().ChooseStartMode();
    EXPECT_EQ(fixture.dialogs.offeredModes, QStringList{offered}) << settings;
  }
}

TEST(MainFrameTest, FileNewInAWorkingModeStartsAnotherProjectOfThatMode) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  frame.EnterLinearMode(QString());
  CCostingWindow* first = frame.LinearWindow();
  frame.RouteCommand(kIdFileNew);
  EXPECT_EQ(frame.Mode(), EFrameMode::Linear);
  EXPECT_NE(frame.LinearWindow(), first);
  EXPECT_TRUE(fixture.dialogs.offeredModes.isEmpty());
  frame.LeaveLinearMode();
  frame.EnterGraphicalMode();
  fixture.dialogs.models = {QStringLiteral("")};  // OK without a model
  frame.RouteCommand(kIdFileNew);
  EXPECT_EQ(fixture.dialogs.modelPathsShown.size(), 1);  // the model dialog asked
  EXPECT_EQ(frame.MdiArea()->subWindowList().size(), 1);
}

TEST(MainFrameTest, ClosingTheCostingWindowLeavesTheMode) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  frame.EnterRefMode(QString());
  ASSERT_NE(frame.ReferenceWindow(), nullptr);
  frame.MdiArea()->subWindowList().front()->close();
  EXPECT_EQ(frame.Mode(), EFrameMode::Empty);
  EXPECT_EQ(frame.InstalledMenu(), kMenuStart);
  ProcessEvents();
  EXPECT_TRUE(frame.MdiArea()->subWindowList().isEmpty());
}

TEST(MainFrameTest, LastLayoutDocumentClosedEmptiesTheFrame) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  fixture.dialogs.startModes = {kStartGraphical};
  frame.ChooseStartMode();
  ASSERT_EQ(frame.Mode(), EFrameMode::Graphical);
  EXPECT_TRUE(frame.MdiArea()->subWindowList().front()->isMaximized());
  frame.RouteCommand(kIdFileClose);
  EXPECT_EQ(frame.Mode(), EFrameMode::Empty);
  EXPECT_EQ(frame.InstalledMenu(), kMenuStart);
}

TEST(MainFrameTest, HelpPagesByModeAndTheWebPage) {
  CFrameFixture fixture("[Language]\nWeb=https://example.org/tvr\n");
  CMainFrame& frame = fixture.Frame();
  frame.EnterGraphicalMode();
  frame.RouteCommand(kIdHelpIndex);  // the help pages are not installed: said so
  ASSERT_EQ(fixture.dialogs.messages.size(), 1);
  EXPECT_TRUE(fixture.dialogs.messages[0].contains("INDEX_2.htm"))
      << fixture.dialogs.messages[0].toStdString();
  frame.EnterEmptyMode();
  frame.EnterLinearMode(QString());
  frame.RouteCommand(kIdHelpTutorial);
  EXPECT_TRUE(fixture.dialogs.messages.last().contains("DIDAC_1.htm"));
  frame.RouteCommand(kIdWebPage);
  ASSERT_EQ(fixture.urlsOpened.size(), 1);
  EXPECT_EQ(fixture.urlsOpened[0], QUrl("https://example.org/tvr"));
}

TEST(MainFrameTest, AWebAddressThatIsNoneIsReported) {
  CFrameFixture fixture("[Language]\nWeb=not an address\n");
  fixture.Frame().RouteCommand(kIdWebPage);
  EXPECT_TRUE(fixture.urlsOpened.isEmpty());
  ASSERT_EQ(fixture.dialogs.messages.size(), 1);
  EXPECT_TRUE(fixture.dialogs.messages[0].contains("not an address"));
}

}  // namespace

TEST(MainFrameTest, TheFrameDoesNotRetitleItselfWhileItIsDestroyed) {
  bool destroying = false;
  QStringList titlesWhileDestroyed;
  {
    CFrameFixture fixture;
    CMainFrame& frame = fixture.Frame();
    fixture.dialogs.startModes = {kStartGraphical};
    frame.ChooseStartMode();
    ASSERT_EQ(frame.Mode(), EFrameMode::Graphical);
    ASSERT_FALSE(frame.MdiArea()->subWindowList().isEmpty());
    QObject::connect(&frame, &QWidget::windowTitleChanged, [&](const QString& title) {
      if (destroying) titlesWhileDestroyed << title;
    });
    destroying = true;
  }
  EXPECT_TRUE(titlesWhileDestroyed.isEmpty()) << titlesWhileDestroyed.join(" | ").toStdString();
}

namespace {

// The linear export menu: each workbook is offered to open (", Open") or to save under a
// name ("..."), and each command does what its text says.
TEST(MainFrameTest, TheLinearExportMenuSaysWhichCommandAsksForAName) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  ASSERT_TRUE(frame.EnterLinearMode(QString()));
  QMenu* exports = frame.menuBar()->findChild<QMenu*>(QStringLiteral("menu_0310"));
  ASSERT_NE(exports, nullptr);
  QStringList shown;
  for (QAction* action : exports->actions())
    if (!action->isSeparator())
      shown << QStringLiteral("%1 %2").arg(action->data().toInt()).arg(action->text());
  EXPECT_EQ(shown.join(QStringLiteral(" | ")).toStdString(),
            "32974 Excel Workbook, &Open | 32976 &Excel Workbook... | "
            "32963 Summary to Excel, O&pen | 32964 &Summary to Excel...");
  // The renamed item follows its command.
  QAction* save = exports->actions()[1];
  frame.findChild<QAction*>(QStringLiteral("cmd_32976"))->setEnabled(false);
  EXPECT_FALSE(save->isEnabled());
}

}  // namespace
