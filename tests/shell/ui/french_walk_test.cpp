// Walks the menus and toolbars of every mode and the dialogs of the bill of materials
// in French, and fails on a text that the French language file does not hold (an
// English or raw text left in the interface). Screenshots of the dialogs are kept.

#include <gtest/gtest.h>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QToolBar>

#include "app/current_language.h"
#include "app/message_box_codes.h"
#include "app/options_rules.h"
#include "shell/ui/document_commands.h"
#include "shell/ui/layout_doc_window.h"
#include "shell/ui/main_frame.h"
#include "view/ui/child_frame.h"
#include "view/ui/view_angle_dlg.h"
#include "app/ui/info_dlg.h"
#include "app/ui/message_dlg.h"
#include "model/ui/project_info_dlg.h"
#include "app/ui/start_mode_dlg.h"
#include "options_ui_test_support.h"
#include "app/ui/model_dlg.h"
#include "model/bom/bom_cell_props.h"
#include "model/bom/bom_column.h"
#include "frame_test_support.h"
#include "shell_test_support.h"
#include "support/language_walk.h"
#include "view/ui/cell_props_dlg.h"
#include "view/ui/column_dlg.h"

namespace {

std::string Joined(const QStringList& texts) {
  return texts.join(QStringLiteral("\n")).toStdString();
}

// The French language for the life of the object.
struct CFrenchLanguage {
  CFrenchLanguage() { UseProgramLanguage("033"); }
  ~CFrenchLanguage() { CCurrentLanguage::Instance().Reset(); }
};

TEST(FrenchWalkTest, EveryModesMenusAndToolbarsAreFrench) {
  CFrameFixture fixture;
  UseProgramLanguage("033");
  const CLanguageWords words;
  CMainFrame& frame = fixture.Frame();
  const std::vector<std::pair<const char*, std::function<bool()>>> modes = {
      {"empty", [&] { return frame.EnterEmptyMode(); }},
      {"graphical", [&] { return frame.EnterGraphicalMode(); }},
      {"linear", [&] { return frame.EnterEmptyMode() && frame.EnterLinearMode(QString()); }},
      {"reference", [&] { return frame.LeaveLinearMode() && frame.EnterRefMode(QString()); }}};
  for (const auto& [name, enter] : modes) {
    ASSERT_TRUE(enter()) << name;
    EXPECT_EQ(Joined(words.ForeignMenuTexts(*frame.menuBar())), "") << name;
    for (QToolBar* bar : frame.findChildren<QToolBar*>())
      EXPECT_EQ(Joined(words.ForeignTexts(*bar)), "") << name;
  }
  // Every command the frame made, shown or not: its text and its tool tip. (The MDI
  // children's system menus are Qt's, translated by Qt's own catalogue at start-up.)
  QStringList foreign;
  for (QAction* action : frame.findChildren<QAction*>())
    if (action->objectName().startsWith(QLatin1String("cmd_")) &&
        (!words.Knows(action->text()) || !words.Knows(action->toolTip())))
      foreign << action->objectName() + QStringLiteral(": ") + action->toolTip();
  EXPECT_EQ(Joined(foreign), "");
}

TEST(FrenchWalkTest, TheViewPresetButtonsSayWhatTheyShow) {
  CFrameFixture fixture;
  UseProgramLanguage("033");
  CMainFrame& frame = fixture.Frame();
  ASSERT_TRUE(frame.EnterGraphicalMode());
  for (int command = 33006; command <= 33011; ++command) {
    QAction* action = frame.findChild<QAction*>(QStringLiteral("cmd_%1").arg(command));
    ASSERT_NE(action, nullptr) << command;
    EXPECT_TRUE(action->toolTip().startsWith(QStringLiteral("Afficher l'implantation vue")))
        << command << ": " << action->toolTip().toStdString();
  }
}

TEST(FrenchWalkTest, TheBillOfMaterialsDialogsAreFrench) {
  const CFrenchLanguage french;
  const CLanguageWords words;
  CBOMCellProps props;
  props.rowHeight = "20";
  CCellPropsDlg properties(nullptr, CBOMCellProps::kColumn, props);
  properties.show();
  EXPECT_EQ(Joined(words.ForeignTexts(properties)), "");
  EXPECT_TRUE(SaveScreenshot(properties, QStringLiteral("fr_bom_properties")));
  CBOMColumn column;
  column.exportWidth = 150;
  CColumnDlg options(nullptr, column);
  options.show();
  EXPECT_EQ(Joined(words.ForeignTexts(options)), "");
  EXPECT_TRUE(SaveScreenshot(options, QStringLiteral("fr_bom_export_options")));
  CModelDlg model(QStringLiteral("/tmp/model.run"));
  EXPECT_EQ(Joined(words.ForeignTexts(model)), "");
}

TEST(FrenchWalkTest, TheOptionsSheetOfEachWindowIsFrench) {
  COptionsFixture fixture;
  const CFrenchLanguage french;
  const CLanguageWords words;
  CRecordingOptionsFrame frame;
  for (int kind : {kOptionsFromLinear, kOptionsFromReference, kOptionsFromLayout}) {
    OnNextOptionsSheet([&](COptionsSheet& sheet) {
      EXPECT_EQ(Joined(words.ForeignTexts(sheet)), "") << "options of window kind " << kind;
      if (kind == kOptionsFromLayout) {
        EXPECT_TRUE(SaveScreenshot(sheet, QStringLiteral("fr_options_sheet")));
      }
      sheet.reject();
    });
    RunOptionsSheet(kind == kOptionsFromLayout ? &frame : nullptr, kind, fixture.Context());
  }
}

TEST(FrenchWalkTest, TheShellsOwnDialogsAreFrench) {
  CFrameFixture fixture;
  const CFrenchLanguage french;
  const CLanguageWords words;
  CStartModeDlg start;
  EXPECT_EQ(Joined(words.ForeignTexts(start)), "");
  CProjectInfoDlg information(fixture.dialogs);
  EXPECT_EQ(Joined(words.ForeignTexts(information)), "");
  EXPECT_TRUE(SaveScreenshot(information, QStringLiteral("fr_project_info")));
  CMessageDlg question(QStringLiteral("Enregistrer ?"), QStringLiteral("Tavrilon"),
                       kMbYesNoCancel | kMbIconQuestion);
  EXPECT_EQ(Joined(words.ForeignTexts(question)), "");
  for (EInfoMode mode : {EInfoMode::Startup, EInfoMode::About}) {
    CInfoDlg::Setup setup;
    setup.mode = mode;
    setup.applicationName = "Tavrilon";
    setup.version = "7.3";
    CInfoDlg info(setup, fixture.app.Profile());
    EXPECT_EQ(Joined(words.ForeignTexts(info)), "") << static_cast<int>(mode);
  }
  // (The label font dialog is Qt's font dialog, which Qt's own French catalogue
  // translates at start-up.)
}

// The layout window in French: its bill-of-materials panes, its view and the view angle
// dialog.
TEST(FrenchWalkTest, TheLayoutWindowAndItsViewAngleDialogAreFrench) {
  CFrameFixture fixture;
  const CFrenchLanguage french;
  const CLanguageWords words;
  CMainFrame& frame = fixture.Frame();
  ASSERT_TRUE(frame.EnterGraphicalMode());
  fixture.Commands().NewFromModel(false);
  QMdiSubWindow* sub = frame.MdiArea()->subWindowList().value(0);
  ASSERT_NE(sub, nullptr);
  auto* layout = qobject_cast<CLayoutDocWindow*>(sub->widget());
  ASSERT_NE(layout, nullptr);
  EXPECT_EQ(Joined(words.ForeignTexts(*layout)), "");
  CViewAngleDlg angles(layout->Frame()->View());
  EXPECT_EQ(Joined(words.ForeignTexts(angles)), "");
  EXPECT_TRUE(SaveScreenshot(angles, QStringLiteral("fr_view_angles")));
}

}  // namespace
