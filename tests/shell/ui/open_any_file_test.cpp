#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/message_box_codes.h"
#include "app/ui/command_ids.h"
#include "app/ui/costing_window.h"
#include "shell/ui/document_commands.h"
#include "shell/ui/file_checks.h"
#include "shell/ui/run_documents.h"
#include "shell/ui/frame_actions.h"
#include <QAction>
#include "shell/ui/main_frame.h"
#include "frame_test_support.h"

namespace {

// A costing window that keeps its unsaved work: closing is refused until allowed.
class CStubbornWindow : public CCostingWindow {
 public:
  bool CheckConfig() override { return true; }
  bool LoadFile(const QString&) override { return true; }
  bool UpdateCommand(int, CCommandState&) override { return false; }
  bool OnCommand(int) override { return false; }
  bool allowClose = false;
  int prompts = 0;

 protected:
  bool PromptToClose() override {
    ++prompts;
    return allowClose;
  }
};

QString Write(CFrameFixture& fixture, const std::string& name, const std::string& bytes) {
  return QString::fromStdString(fixture.folder.Write("documents/" + name, bytes));
}

TEST(OpenAnyFileTest, DispatchByExtension) {
  struct Row {
    const char* name;
    EFrameMode mode;
    bool document;
    bool pathEmptied;
  };
  const Row rows[] = {{"a.run", EFrameMode::Graphical, true, false},
                      {"b.lin", EFrameMode::Linear, false, true},
                      {"c.REF", EFrameMode::Reference, false, true},
                      {"d.Lin", EFrameMode::Linear, false, true},
                      {"e.txt", EFrameMode::Graphical, true, false}};
  for (const Row& row : rows) {
    CFrameFixture fixture;
    CMainFrame& frame = fixture.Frame();
    frame.EnterEmptyMode();
    QString path = Write(fixture, row.name, LayoutFileBytes());
    QMdiSubWindow* document = frame.OpenAnyFile(path);
    EXPECT_EQ(frame.Mode(), row.mode) << row.name;
    EXPECT_EQ(document != nullptr, row.document) << row.name;
    EXPECT_EQ(path.isEmpty(), row.pathEmptied) << row.name;
    EXPECT_TRUE(fixture.dialogs.messages.isEmpty()) << row.name;
    ASSERT_EQ(fixture.recent.Entries().size(), 1u) << row.name;  // every opened file is listed
    EXPECT_TRUE(fixture.recent.Entry(0).ends_with(row.name));
  }
}

TEST(OpenAnyFileTest, ASingleLayoutDocumentIsMaximisedWithItsCatalogueMenu) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  QString path = Write(fixture, "one.run", LayoutFileBytes());
  QMdiSubWindow* document = frame.OpenAnyFile(path);
  ASSERT_NE(document, nullptr);
  EXPECT_TRUE(document->isMaximized());
  EXPECT_FALSE(MenuCommands(frame, "menu_0580").isEmpty());
  QString again = path;
  EXPECT_EQ(frame.OpenAnyFile(again), document);  // an open document is not opened twice
  EXPECT_EQ(frame.MdiArea()->subWindowList().size(), 1);
}

TEST(OpenAnyFileTest, MissingAndDamagedFilesAreReported) {
  struct Row {
    const char* name;
    std::string bytes;  // empty: no file at all
    const char* expected;
  };
  const Row rows[] = {{"missing.run", "", "Cannot find this file"},
                      {"short.run", "x", "Unexpected file format"},
                      {"future.run", LayoutFileBytes(9999), "format 99.99, newer than format 6.23"},
                      {"zero.run", LayoutFileBytes(0), "format 0.0, older than any format"},
                      {"notes.run", "Notes: call the site on Monday\n", "not a layout document"},
                      {"cut.run", LayoutFileBytes().substr(0, 300), "Unexpected file format"},
                      {"missing.lin", "", "Cannot find this file"},
                      {"missing.ref", "", "Cannot find this file"}};
  for (const Row& row : rows) {
    CFrameFixture fixture;
    CMainFrame& frame = fixture.Frame();
    frame.EnterEmptyMode();
    QString path = row.bytes.empty() ? QString::fromStdString(fixture.folder.Path(row.name))
                                     : Write(fixture, row.name, row.bytes);
    EXPECT_EQ(frame.OpenAnyFile(path), nullptr) << row.name;
    ASSERT_EQ(fixture.dialogs.messages.size(), 1) << row.name;
    EXPECT_TRUE(fixture.dialogs.messages[0].contains(row.expected))
        << fixture.dialogs.messages[0].toStdString();
    EXPECT_EQ(frame.Mode(), EFrameMode::Empty) << row.name;  // usable as before
    EXPECT_TRUE(fixture.recent.Entries().empty()) << row.name;
    EXPECT_TRUE(frame.MdiArea()->subWindowList().isEmpty() || frame.LinearWindow() ||
                frame.ReferenceWindow());
  }
}

TEST(OpenAnyFileTest, ModifiedLayoutDocumentIsAskedAboutFirst) {
  for (int answer : {kIdCancel, kIdNo}) {
    CFrameFixture fixture;
    CMainFrame& frame = fixture.Frame();
    QString layout = Write(fixture, "a.run", LayoutFileBytes());
    QMdiSubWindow* document = frame.OpenAnyFile(layout);
    ASSERT_NE(document, nullptr);
    fixture.Documents().SetModified(document, true);
    QString reference = Write(fixture, "b.ref", "any");
    fixture.dialogs.answers = {answer};
    frame.OpenAnyFile(reference);
    ASSERT_EQ(fixture.dialogs.messages.size(), 1);
    if (answer == kIdCancel) {
      EXPECT_EQ(frame.Mode(), EFrameMode::Graphical);
      EXPECT_EQ(fixture.Documents().Documents().size(), 1);
      EXPECT_TRUE(reference.isEmpty());  // refused: nothing opened
    } else {
      EXPECT_EQ(frame.Mode(), EFrameMode::Reference);
      EXPECT_TRUE(fixture.Documents().Documents().isEmpty());
    }
  }
}

// A file that can never be opened is refused, naming it, before the open work of any
// mode is asked about or closed: the mode, the documents and their changes stay.
TEST(OpenAnyFileTest, AFileThatCannotBeOpenedClosesNothing) {
  struct Row {
    EFrameMode mode;  // the work open: a modified layout or a costing window with work
    const char* name;
    std::string bytes;
    const char* reason;
  };
  const std::string text = "Notes: call the site on Monday\n";
  const Row rows[] = {
      {EFrameMode::Graphical, "notes.lin", text, "Unexpected file format"},
      {EFrameMode::Graphical, "notes.REF", text, "Unexpected file format"},
      {EFrameMode::Graphical, "empty.lin", "", "Unexpected file format"},
      {EFrameMode::Graphical, "missing.ref", "-", "Cannot find this file"},
      {EFrameMode::Linear, "empty.lin", "", "Unexpected file format"},
      {EFrameMode::Linear, "notes.run", text, "not a layout document"},
      {EFrameMode::Linear, "layout.ref", LayoutFileBytes(), "Unexpected file format"},
      {EFrameMode::Reference, "notes.lin", text, "Unexpected file format"},
      {EFrameMode::Reference, "cut.run", LayoutFileBytes().substr(0, 300),
       "Unexpected file format"},
  };
  for (const Row& row : rows) {
    CFrameFixture fixture;
    fixture.fileProblem = [&fixture](const QString& path, EFileKind kind) {
      return OpenFileProblem(fixture.Documents(), path, kind);
    };
    CStubbornWindow* window = nullptr;
    fixture.makeLinear = [&window] { return window = new CStubbornWindow; };
    fixture.makeReference = fixture.makeLinear;
    CMainFrame& frame = fixture.Frame();
    if (row.mode == EFrameMode::Graphical) {
      QString layout = Write(fixture, "work.run", LayoutFileBytes());
      ASSERT_NE(frame.OpenAnyFile(layout), nullptr);
      fixture.Documents().SetModified(fixture.Documents().Documents().front(), true);
    } else {
      ASSERT_TRUE(row.mode == EFrameMode::Linear ? frame.EnterLinearMode(QString())
                                                 : frame.EnterRefMode(QString()));
      window->allowClose = true;  // it would close if it were asked
    }
    const std::size_t recent = fixture.recent.Entries().size();
    QString path = row.bytes == "-" ? QString::fromStdString(fixture.folder.Path(row.name))
                                    : Write(fixture, row.name, row.bytes);
    EXPECT_EQ(frame.OpenAnyFile(path), nullptr) << row.name;
    ASSERT_EQ(fixture.dialogs.messages.size(), 1) << row.name;  // the refusal, no question
    EXPECT_TRUE(fixture.dialogs.messages[0].startsWith(path)) << row.name;
    EXPECT_TRUE(fixture.dialogs.messages[0].contains(row.reason))
        << fixture.dialogs.messages[0].toStdString();
    EXPECT_FALSE(path.isEmpty()) << row.name;  // not opened elsewhere: a recent entry goes
    EXPECT_EQ(frame.Mode(), row.mode) << row.name;
    EXPECT_EQ(fixture.recent.Entries().size(), recent) << row.name;
    if (row.mode == EFrameMode::Graphical) {
      ASSERT_EQ(fixture.Documents().Documents().size(), 1) << row.name;
      EXPECT_TRUE(fixture.Documents().IsModified(fixture.Documents().Documents().front()));
    } else {
      EXPECT_EQ(window->prompts, 0) << row.name;
      EXPECT_TRUE(frame.LinearWindow() == window || frame.ReferenceWindow() == window);
    }
  }
}

TEST(OpenAnyFileTest, ACostingWindowThatKeepsItsWorkStopsTheOpen) {
  CFrameFixture fixture;
  CStubbornWindow* window = nullptr;
  fixture.makeLinear = [&window] { return window = new CStubbornWindow; };
  CMainFrame& frame = fixture.Frame();
  ASSERT_TRUE(frame.EnterLinearMode(QString()));
  QString path = Write(fixture, "a.run", LayoutFileBytes());
  EXPECT_EQ(frame.OpenAnyFile(path), nullptr);
  EXPECT_TRUE(path.isEmpty());
  EXPECT_EQ(frame.Mode(), EFrameMode::Linear);
  EXPECT_FALSE(frame.close());  // nor does the program close
  window->allowClose = true;
  path = Write(fixture, "a.run", LayoutFileBytes());
  EXPECT_NE(frame.OpenAnyFile(path), nullptr);
  EXPECT_EQ(frame.Mode(), EFrameMode::Graphical);
}

TEST(OpenAnyFileTest, FileOpenAsksInTheProjectsFolderWithTheFiltersOfTheMode) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  frame.EnterEmptyMode();
  QString chosen = Write(fixture, "chosen.lin", "x");
  fixture.dialogs.filesToOpen = {chosen};
  frame.RouteCommand(kIdFileOpen);
  EXPECT_EQ(frame.Mode(), EFrameMode::Linear);
  ASSERT_EQ(fixture.dialogs.openFolders.size(), 1);
  EXPECT_EQ(fixture.dialogs.openFolders[0].toStdString(), fixture.app.ProjectsFolder());
  EXPECT_TRUE(fixture.dialogs.openFilters[0].startsWith("Tavrilon"))
      << fixture.dialogs.openFilters[0].toStdString();
  EXPECT_TRUE(fixture.dialogs.openFilters[0].contains("*.run;*.ref;*.lin"));
  frame.RouteCommand(kIdFileOpen);  // cancelled in the linear mode: the linear filter first
  EXPECT_TRUE(fixture.dialogs.openFilters[1].contains("(*.lin)|*.lin|"));
  EXPECT_EQ(frame.Mode(), EFrameMode::Linear);
}

TEST(OpenAnyFileTest, LayoutFilesOpenNothingWithoutGraphicalWork) {
  CFrameFixture fixture("No3D=1\n");
  CMainFrame& frame = fixture.Frame();
  frame.EnterEmptyMode();
  QString path = Write(fixture, "a.run", LayoutFileBytes());
  EXPECT_EQ(frame.OpenAnyFile(path), nullptr);
  EXPECT_EQ(frame.Mode(), EFrameMode::Empty);
  EXPECT_TRUE(frame.MdiArea()->subWindowList().isEmpty());
}

TEST(OpenAnyFileTest, RecentFilesOpenAndUnreadableOnesLeaveTheList) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  frame.EnterEmptyMode();
  QString good = Write(fixture, "good.run", LayoutFileBytes());
  fixture.recent.Add(fixture.folder.Path("gone.run"));
  fixture.recent.Add(good.toStdString());
  frame.RefreshRecentFiles();
  frame.UpdateCommandStates();
  EXPECT_TRUE(frame.Actions().Action(kIdFileMruFirst + 1)->isEnabled());
  EXPECT_TRUE(frame.Actions().Action(kIdFileMruFirst + 1)->text().startsWith("&2 "));
  EXPECT_FALSE(frame.Actions().Action(kIdFileMruFirst + 2)->isVisible());
  frame.RouteCommand(kIdFileMruFirst + 1);  // gone.run
  EXPECT_EQ(fixture.dialogs.messages.size(), 1);
  EXPECT_EQ(fixture.recent.Entries(), std::vector<std::string>{good.toStdString()});
  CRecentFileList stored;
  stored.ReadFrom(fixture.app.Profile());
  EXPECT_EQ(stored.Entries(), fixture.recent.Entries());
  frame.RouteCommand(kIdFileMruFirst);
  EXPECT_EQ(frame.Mode(), EFrameMode::Graphical);
  EXPECT_EQ(fixture.recent.Entries().size(), 1u);
}

}  // namespace
