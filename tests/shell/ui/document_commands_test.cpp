#include "shell/ui/document_commands.h"

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>

#include <optional>

#include "app/ui/command_ids.h"
#include "shell/ui/run_documents.h"
#include "shell/ui/main_frame.h"
#include "frame_test_support.h"

namespace {

QString Title(QMdiSubWindow* document) { return document->widget()->windowTitle(); }

TEST(DocumentCommandsTest, NewFromModelSeedsAPlainDocumentFromTheModelOrReportsADamagedOne) {
  struct Case {
    const char* guards;
    std::optional<std::string> model;  // program/model.run; none: no model
    int messages;
  };
  const Case cases[] = {{"without a model a plain document", std::nullopt, 0},
                        {"the model opened and closed again", LayoutFileBytes(), 0},
                        {"a damaged model is reported, the document stays", "?", 1}};
  for (const Case& c : cases) {
    CFrameFixture fixture({}, true);
    if (c.model) fixture.folder.Write("program/model.run", *c.model);
    fixture.Commands().NewFromModel(false);
    ProcessEvents();
    EXPECT_EQ(fixture.dialogs.messages.size(), c.messages) << c.guards;
    ASSERT_EQ(fixture.Documents().Documents().size(), 1) << c.guards;
    EXPECT_TRUE(Title(fixture.Documents().Documents().front()).startsWith("Untitled")) << c.guards;
    EXPECT_FALSE(fixture.Documents().IsModified(fixture.Documents().Documents().front()))
        << c.guards;
    EXPECT_TRUE(fixture.recent.Entries().empty()) << "the model stays out of the recent files";
  }
}

// The start-up's first document: seeded and let go without a window, the model told as
// New would tell it, the recent files and the untitled numbers as they were.
TEST(DocumentCommandsTest, TheFirstDocumentIsSeededWithoutAWindowOrReportsADamagedModel) {
  struct Case {
    const char* guards;
    std::optional<std::string> model;  // program/model.run; none: no model
    int messages;
  };
  const Case cases[] = {{"without a model nothing to read", std::nullopt, 0},
                        {"the model read and let go", LayoutFileBytes(), 0},
                        {"a damaged model is reported", "?", 1}};
  for (const Case& c : cases) {
    CFrameFixture fixture({}, true);
    if (c.model) fixture.folder.Write("program/model.run", *c.model);
    const QString model = fixture.Commands().DefaultModelPath();  // makes the frame first
    fixture.Documents().MakeFirstDocument(&fixture.Frame(), model);
    fixture.Documents().RestartUntitledNumbers();
    ProcessEvents();
    EXPECT_EQ(fixture.dialogs.messages.size(), c.messages) << c.guards;
    EXPECT_TRUE(fixture.Documents().Documents().isEmpty()) << c.guards;
    EXPECT_TRUE(fixture.recent.Entries().empty()) << c.guards;
    fixture.Commands().NewFromModel(false);
    ASSERT_EQ(fixture.Documents().Documents().size(), 1) << c.guards;
    EXPECT_TRUE(Title(fixture.Documents().Documents().front()).endsWith("1")) << c.guards;
  }
}

TEST(DocumentCommandsTest, AModelThatIsAlreadyOpenStaysOpen) {
  CFrameFixture fixture({}, true);
  QString model =
      QString::fromStdString(fixture.folder.Write("program/model.run", LayoutFileBytes()));
  QString path = model;
  QMdiSubWindow* open = fixture.Frame().OpenAnyFile(path);
  ASSERT_NE(open, nullptr);
  fixture.Commands().NewFromModel(false);
  ASSERT_EQ(fixture.Documents().Documents().size(), 2);
  EXPECT_NE(fixture.Frame().MdiArea()->currentSubWindow(), open);  // the new one is active again
  EXPECT_EQ(fixture.recent.Entries().size(), 1u);
}

TEST(DocumentCommandsTest, TheModelDialogChoosesOrLeavesTheDocumentUnseeded) {
  CFrameFixture fixture({}, true);
  QString other =
      QString::fromStdString(fixture.folder.Write("documents/other.run", LayoutFileBytes()));
  fixture.dialogs.models = {other, QString()};
  fixture.Commands().NewFromModel(true);
  EXPECT_EQ(fixture.dialogs.modelPathsShown, QStringList{QString()});  // no model.run: empty
  EXPECT_EQ(fixture.Documents().Documents().size(), 1);
  fixture.Commands().NewFromModel(true);  // cancelled: no new document
  EXPECT_EQ(fixture.Documents().Documents().size(), 1);
}

TEST(DocumentCommandsTest, ApplicationCommands) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  EXPECT_TRUE(frame.RouteCommand(kIdFilePrintSetup));
  EXPECT_TRUE(frame.RouteCommand(kIdAppAbout));
  EXPECT_EQ(fixture.dialogs.printSetups, 1);
  EXPECT_EQ(fixture.dialogs.aboutBoxes, 1);
  EXPECT_FALSE(frame.RouteCommand(kIdExportDxf));  // nobody handles it without a layout window
}

}  // namespace
