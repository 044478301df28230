#include "shell/ui/options_command.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include "app/language_list.h"
#include "app/ui/command_ids.h"
#include "app/ui/draw_tab_ctrl.h"
#include "shell/ui/run_documents.h"
#include "shell/ui/frame_actions.h"
#include "shell/ui/main_frame.h"
#include "frame_test_support.h"
#include "options_ui_test_support.h"

namespace {

class OptionsCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_command = new COptionsCommand(m_fixture.Frame(), [this] {
      COptionsContext context;
      context.app = &m_fixture.app;
      context.languages = BuildLanguageList(ListLanguageFiles(m_fixture.app.CatalogueFolder()));
      return context;
    });
    m_fixture.Frame().AddCommandTarget(m_command);
  }

  // The number of pages of the sheet the command shows; OK or Cancel ends it.
  int RunCommand(bool ok) {
    int pages = -1;
    OnNextOptionsSheet([&pages, ok](COptionsSheet& sheet) {
      pages = sheet.Tabs()->count();
      sheet.findChild<QPushButton*>(QString::fromLatin1(ok ? "1" : "2"))->click();
    });
    EXPECT_TRUE(m_fixture.Frame().RouteCommand(kIdOptions));
    return pages;
  }

  CFrameFixture m_fixture;
  COptionsCommand* m_command = nullptr;
};

TEST_F(OptionsCommandTest, TheSheetFollowsTheFramesMode) {
  CMainFrame& frame = m_fixture.Frame();
  ASSERT_TRUE(frame.EnterEmptyMode());
  ASSERT_TRUE(frame.EnterLinearMode(QString()));
  frame.UpdateCommandStates();
  EXPECT_TRUE(frame.Actions().Action(kIdOptions)->isEnabled());
  EXPECT_EQ(RunCommand(false), 4);
  ASSERT_TRUE(frame.LeaveLinearMode());
  ASSERT_TRUE(frame.EnterRefMode(QString()));
  EXPECT_EQ(RunCommand(false), 5);
  ASSERT_TRUE(frame.LeaveRefMode());
  ASSERT_TRUE(frame.EnterGraphicalMode());
  EXPECT_EQ(RunCommand(false), 5) << "no layout document: no frame pages";
}

TEST_F(OptionsCommandTest, ALayoutDocumentGetsAllPagesAndIsMarkedModifiedByOk) {
  CMainFrame& frame = m_fixture.Frame();
  ASSERT_TRUE(frame.EnterGraphicalMode());
  QMdiSubWindow* document = m_fixture.Documents().NewDocument(*frame.MdiArea());
  ASSERT_NE(document, nullptr);
  frame.MdiArea()->setActiveSubWindow(document);
  EXPECT_EQ(RunCommand(false), 9);
  EXPECT_FALSE(m_fixture.Documents().IsModified(document)) << "Cancel";
  EXPECT_EQ(RunCommand(true), 9);
  EXPECT_TRUE(m_fixture.Documents().IsModified(document));
  EXPECT_EQ(m_command->LastResult(), 0u);
  m_fixture.Documents().SetModified(document, false);
}

}  // namespace
