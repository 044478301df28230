#include "app/ui/save_modified.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <filesystem>
#include <optional>

#include "app/message_box_codes.h"
#include "shell/ui/document_commands.h"
#include "shell/ui/run_documents.h"
#include "shell/ui/main_frame.h"
#include "frame_test_support.h"

namespace {

namespace fs = std::filesystem;

enum class ECloseBy { CloseCommand, Exit, OpenLinear };

struct SaveCase {
  const char* guards;
  bool opened;                    // read from a file, else a new document
  int answer;                     // to "save changes?"
  std::optional<QString> saveAs;  // the file chosen in Save As; none: cancelled
  bool folderGone;                // the document's folder vanished before the save
  bool closes;
  int messages;
  bool fileWritten;
};

const SaveCase kCases[] = {
    {"Yes writes an opened document's file, then it closes", true, kIdYes, std::nullopt, false,
     true, 1, true},
    {"a failed save is told and the document stays open", true, kIdYes, std::nullopt, true, false,
     2, false},
    {"No closes without writing", true, kIdNo, std::nullopt, false, true, 1, false},
    {"Cancel keeps the document", true, kIdCancel, std::nullopt, false, false, 1, false},
    {"a new document whose Save As was cancelled stays open", false, kIdYes, std::nullopt, false,
     false, 1, false},
    {"a new document is written to the file chosen in Save As, then it closes", false, kIdYes,
     QString("new.run"), false, true, 1, false},
};

class SaveModifiedTest : public ::testing::TestWithParam<ECloseBy> {};

// Closes the way the user chose; true when the frame went on (or closed, on Exit).
void CloseDocuments(CFrameFixture& fixture, QMdiSubWindow* document, ECloseBy by) {
  if (by == ECloseBy::CloseCommand) document->close();
  if (by == ECloseBy::Exit) fixture.Frame().close();
  if (by == ECloseBy::OpenLinear) {
    QString linear = QString::fromStdString(fixture.folder.Write("documents/l.lin", "any"));
    fixture.Frame().OpenAnyFile(linear);
  }
  ProcessEvents();
}

TEST_P(SaveModifiedTest, YesSavesAndClosesOnlyWhenTheSaveSucceeded) {
  for (const SaveCase& c : kCases) {
    CFrameFixture fixture;
    CMainFrame& frame = fixture.Frame();
    const std::string file = fixture.folder.Write("documents/work/a.run", LayoutFileBytes());
    QMdiSubWindow* document = nullptr;
    if (c.opened) {
      QString path = QString::fromStdString(file);
      document = frame.OpenAnyFile(path);
    } else {
      frame.EnterGraphicalMode();
      fixture.Commands().NewFromModel(false);
      document = frame.MdiArea()->subWindowList().value(0);
    }
    ASSERT_NE(document, nullptr) << c.guards;
    fixture.Documents().SetModified(document, true);
    fs::remove(file);
    if (c.folderGone) fs::remove_all(fs::path(file).parent_path());
    fixture.dialogs.answers = {c.answer};
    QString chosen = c.saveAs
                         ? QString::fromStdString(fixture.folder.Path("documents/")) + *c.saveAs
                         : QString();
    if (c.saveAs) fixture.dialogs.filesToSave = {chosen};
    CloseDocuments(fixture, document, GetParam());
    EXPECT_EQ(fixture.Documents().Documents().isEmpty(), c.closes) << c.guards;
    EXPECT_EQ(fixture.dialogs.messages.size(), c.messages) << c.guards;
    EXPECT_EQ(fs::exists(file), c.fileWritten) << c.guards;
    if (c.fileWritten) {
      EXPECT_EQ(QFile(QString::fromStdString(file)).size(), qint64(LayoutFileBytes().size()))
          << c.guards;
    }
    if (!chosen.isEmpty()) {
      EXPECT_EQ(QFile::exists(chosen), c.closes) << c.guards;
    }
    if (!c.closes) {
      EXPECT_TRUE(fixture.Documents().IsModified(document)) << c.guards;
    }
    if (!c.opened && c.answer == kIdYes) {  // Save As offers the title in the projects folder
      EXPECT_TRUE(fixture.dialogs.saveSuggestions.value(0).endsWith("documents/Untitled1.run"))
          << c.guards;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(CloseWays, SaveModifiedTest,
                         ::testing::Values(ECloseBy::CloseCommand, ECloseBy::Exit,
                                           ECloseBy::OpenLinear));

}  // namespace
