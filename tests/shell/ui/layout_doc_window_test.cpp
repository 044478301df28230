#include "shell/ui/layout_doc_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include "app/ui/command_ids.h"
#include "shell/ui/document_commands.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/run_documents.h"
#include "model/document/doc_file_bytes.h"
#include "model/document/dorne_doc.h"
#include "model/undo/undo_manager.h"
#include "platform/archive.h"
#include "frame_test_support.h"
#include "support/environment_guard.h"

namespace {

class LayoutDocWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CMainFrame& frame = m_fixture.Frame();
    frame.EnterGraphicalMode();
    m_fixture.Commands().NewFromModel(false);
    m_window = frame.MdiArea()->subWindowList().value(0);
    ASSERT_NE(m_window, nullptr);
    m_document = m_fixture.Documents().DocumentOf(m_window);
    m_view = qobject_cast<CLayoutDocWindow*>(m_window->widget());
  }

  CFrameFixture m_fixture;
  QMdiSubWindow* m_window = nullptr;
  CDorneDoc* m_document = nullptr;
  CLayoutDocWindow* m_view = nullptr;
};

TEST_F(LayoutDocWindowTest, SaveProposesTheJobNumberAndPutsBackOnCancel) {
  m_document->GetProps().SetPropValue("NumAff", "42");
  m_document->GetProps().SetPropValue("ModificationDate", "old date");
  ASSERT_TRUE(m_view->OnCommand(kIdFileSave));  // the Save As dialog is cancelled
  EXPECT_TRUE(m_fixture.dialogs.saveSuggestions.value(0).endsWith("42_Untitled1.run"));
  EXPECT_EQ(m_view->windowTitle(), "Untitled1");
  EXPECT_EQ(m_document->GetDocProperty("ModificationDate"), "old date");
  const QString path = QString::fromStdString(m_fixture.folder.Path("documents/plan.run"));
  m_fixture.dialogs.filesToSave = {path};
  ASSERT_TRUE(m_view->OnCommand(kIdFileSave));
  EXPECT_TRUE(QFile::exists(path));
  EXPECT_EQ(m_view->windowTitle(), "plan.run");
  EXPECT_NE(m_document->GetDocProperty("ModificationDate"), "old date");
  EXPECT_FALSE(m_document->IsModified());
}

// Save As wrote today's date as the design's last change: a copy under another name is
// the same design, changed when it was changed. A design never saved gets its first date.
TEST_F(LayoutDocWindowTest, SaveAsKeepsTheDateOfTheLastChange) {
  const struct {
    const char* name;
    const char* date;  // before Save As
    bool kept;
  } rows[] = {{"dated", "01/02/2003", true}, {"never saved", "", false}};
  for (const auto& row : rows) {
    m_document->GetProps().SetPropValue("ModificationDate", row.date);
    const QString path = QString::fromStdString(
        m_fixture.folder.Path(std::string("documents/") + row.name + ".run"));
    m_fixture.dialogs.filesToSave = {path};
    ASSERT_TRUE(m_view->OnCommand(kIdFileSaveAs)) << row.name;
    EXPECT_TRUE(QFile::exists(path)) << row.name;
    const std::string date = m_document->GetDocProperty("ModificationDate");
    if (row.kept) EXPECT_EQ(date, row.date) << row.name;
    else EXPECT_FALSE(date.empty()) << row.name;
  }
}

TEST_F(LayoutDocWindowTest, UndoAndRedoNameTheStepInTheMenu) {
  CCommandState state;
  ASSERT_TRUE(m_view->UpdateCommand(kIdEditUndo, state));
  EXPECT_FALSE(state.enabled);
  m_document->GetUndo().SaveUndoState(21060);
  m_document->SetDocPropertyModified("Name", "changed");
  ASSERT_TRUE(m_view->UpdateCommand(kIdEditUndo, state));
  EXPECT_TRUE(state.enabled);
  ASSERT_TRUE(state.text.has_value());
  EXPECT_TRUE(state.text->startsWith("Undo: ")) << state.text->toStdString();
  EXPECT_LE(state.text->size(), 75);
  ASSERT_TRUE(m_view->OnCommand(kIdEditUndo));
  EXPECT_EQ(m_document->GetDocProperty("Name"), "");
  ASSERT_TRUE(m_view->OnCommand(kIdEditRedo));
  EXPECT_EQ(m_document->GetDocProperty("Name"), "changed");
}

std::vector<std::uint8_t> SaveBytes(CDorneDoc& document) {
  CArchiveWriter writer;
  document.Serialize(writer);
  return writer.TakeBytes();
}

// Left idle after an edit, the window reads the step the undo needs ahead; the undo gives
// back the design as the step's file has it, and the redo the edited one.
TEST_F(LayoutDocWindowTest, AnIdleWindowReadsTheNextUndoAhead) {
  const std::vector<std::uint8_t> before = SaveBytes(*m_document);
  CUndoManager& undo = m_document->GetUndo();
  ASSERT_EQ(undo.SaveUndoState(21069, true), 1);
  m_document->SetDocPropertyModified("Name", "changed");
  QElapsedTimer waited;
  waited.start();
  while (undo.GetRecord(undo.GetLast()).state == nullptr && waited.elapsed() < 10000)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  ASSERT_NE(undo.GetRecord(undo.GetLast()).state, nullptr) << "read ahead while idle";
  // The view has its size by now: the edited design as the redo gives it back.
  const std::vector<std::uint8_t> edited = SaveBytes(*m_document);
  ASSERT_TRUE(m_view->OnCommand(kIdEditUndo));
  EXPECT_EQ(SaveBytes(*m_document), before);
  ASSERT_TRUE(m_view->OnCommand(kIdEditRedo));
  EXPECT_EQ(SaveBytes(*m_document), edited);
}

// Left idle after an edit, the window also makes the next edit's snapshot ahead: the next
// step takes it, and an undo pressed at once gives back the design as it stood.
TEST_F(LayoutDocWindowTest, AnIdleWindowMakesTheNextSnapshotAhead) {
  CUndoManager& undo = m_document->GetUndo();
  ASSERT_EQ(undo.SaveUndoState(21069, true), 1);
  m_document->SetDocPropertyModified("Name", "changed");
  QElapsedTimer waited;
  waited.start();
  while (!undo.HasSnapshotMadeAhead() && waited.elapsed() < 10000)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  ASSERT_TRUE(undo.HasSnapshotMadeAhead()) << "made ahead while idle";
  const std::vector<std::uint8_t> before = SaveBytes(*m_document);
  ASSERT_EQ(undo.SaveUndoState(21070, true), 1);
  EXPECT_NE(undo.GetRecord(undo.GetLast()).state, nullptr) << "the step took it";
  EXPECT_FALSE(undo.HasSnapshotMadeAhead());
  m_document->SetDocPropertyModified("Name", "changed again");
  const std::vector<std::uint8_t> edited = SaveBytes(*m_document);
  ASSERT_TRUE(m_view->OnCommand(kIdEditUndo));
  EXPECT_EQ(SaveBytes(*m_document), before);
  ASSERT_TRUE(m_view->OnCommand(kIdEditRedo));
  EXPECT_EQ(SaveBytes(*m_document), edited);
}

// Two edits in quick succession: right after the first one's repaint the window makes the
// second one's snapshot bytes (no 300 ms wait), the second step takes them, and undoing
// both and redoing both give back each design as it stood.
TEST_F(LayoutDocWindowTest, TwoQuickEditsTakeTheBytesMadeAfterTheFirstAndUndoToEach) {
  CUndoManager& undo = m_document->GetUndo();
  // The window shown and painted, as a user finds it.
  QElapsedTimer shown;
  shown.start();
  while (shown.elapsed() < 100) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  const std::vector<std::uint8_t> atFirst = SaveBytes(*m_document);
  ASSERT_EQ(undo.SaveUndoState(21069, true), 1);
  m_document->SetDocPropertyModified("Name", "first");
  EXPECT_TRUE(undo.WantsSnapshotBytes());
  QElapsedTimer waited;
  waited.start();
  while (!undo.HasSnapshotBytesAhead() && waited.elapsed() < 10000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  ASSERT_TRUE(undo.HasSnapshotBytesAhead()) << "made once the window was idle";
  EXPECT_FALSE(undo.WantsSnapshotBytes());
  const std::vector<std::uint8_t> atSecond = SaveBytes(*m_document);
  const int taken = undo.StepsTakenAhead();
  ASSERT_EQ(undo.SaveUndoState(21070, true), 1);
  EXPECT_EQ(undo.StepsTakenAhead(), taken + 1) << "the step took them";
  EXPECT_FALSE(undo.HasSnapshotBytesAhead());
  m_document->SetDocPropertyModified("Name", "second");
  const std::vector<std::uint8_t> edited = SaveBytes(*m_document);
  ASSERT_TRUE(m_view->OnCommand(kIdEditUndo));
  EXPECT_EQ(SaveBytes(*m_document), atSecond);
  ASSERT_TRUE(m_view->OnCommand(kIdEditUndo));
  EXPECT_EQ(SaveBytes(*m_document), atFirst);
  ASSERT_TRUE(m_view->OnCommand(kIdEditRedo));
  EXPECT_EQ(SaveBytes(*m_document), atSecond);
  ASSERT_TRUE(m_view->OnCommand(kIdEditRedo));
  EXPECT_EQ(SaveBytes(*m_document), edited);
}

// An undo soon after an edit's repaint, long before the window has been idle for its
// read-ahead: right after the repaint the window handed the step to the worker, and the
// undo swaps in the design made there, which is the step's file byte for byte.
TEST_F(LayoutDocWindowTest, AnUndoSoonAfterTheRepaintSwapsInTheDesignMadeOnTheWorker) {
  CUndoManager& undo = m_document->GetUndo();
  // An idle tick falling between the edit and the repaint's call would read the step on
  // this thread instead (as it should), and the worker would then have nothing to do.
  auto* readAhead = m_view->findChild<QTimer*>(QStringLiteral("undo_read_ahead"));
  ASSERT_NE(readAhead, nullptr);
  readAhead->stop();
  QElapsedTimer shown;
  shown.start();
  while (shown.elapsed() < 100) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  const std::vector<std::uint8_t> before = SaveBytes(*m_document);
  ASSERT_EQ(undo.SaveUndoState(21069, true), 1);
  std::vector<std::uint8_t> file;
  ASSERT_TRUE(ReadWholeFile(undo.GetRecord(undo.GetLast()).path, file));
  m_document->SetDocPropertyModified("Name", "changed");  // the window repaints
  QElapsedTimer waited;
  waited.start();
  while (undo.WantsSnapshotBytes() && waited.elapsed() < 10000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  ASSERT_FALSE(undo.WantsSnapshotBytes()) << "the window's after-repaint call came";
  ASSERT_TRUE(m_view->OnCommand(kIdEditUndo));
  EXPECT_EQ(undo.StepsDesignedAhead(), 1);
  EXPECT_EQ(SaveBytes(*m_document), before);
  CDorneDoc fromFile;
  CArchiveReader reader(file);
  fromFile.Serialize(reader);
  EXPECT_EQ(SaveBytes(*m_document), SaveBytes(fromFile));
}

}  // namespace

namespace {

// The layout's workbook export asks for its model every time, in the program folder's
// MODELS, listing .xlsx beside .xls. Cancel ends the export; an Excel 97-2003 model is
// refused by its name at once; a damaged one is told by its name once the helper ends,
// and no workbook is written.
TEST(LayoutWorkbookModelTest, TheModelIsAskedEveryTimeAndAnUnreadableOneIsToldByName) {
  CFrameFixture fixture({}, true);
  CMainFrame& frame = fixture.Frame();
  frame.EnterGraphicalMode();
  fixture.Commands().NewFromModel(false);
  QMdiSubWindow* window = frame.MdiArea()->subWindowList().value(0);
  ASSERT_NE(window, nullptr);
  auto* layout = qobject_cast<CLayoutDocWindow*>(window->widget());
  ASSERT_NE(layout, nullptr);
  const QString old = QString::fromStdString(fixture.folder.Write("program/MODELS/old.XLS", "x"));
  const QString damaged =
      QString::fromStdString(fixture.folder.Write("program/MODELS/damaged.xlsx", "no zip"));
  const QString target = QString::fromStdString(fixture.folder.Path("documents/bill.xlsx"));
  // The program's spreadsheet helper, found on the path as beside a program.
  const CEnvironmentGuard guard{"PATH"};
  guard.Set("PATH", std::string(TVR_PROGRAM_DIR) + ":" + qgetenv("PATH").toStdString());
  struct Case {
    QString model;  // empty: the dialog is cancelled
    bool toldAtOnce;
    bool toldByTheHelper;
  };
  const Case cases[] = {{QString(), false, false}, {old, true, false}, {damaged, false, true}};
  for (const Case& c : cases) {
    fixture.dialogs.openFolders.clear();
    fixture.dialogs.openFilters.clear();
    fixture.dialogs.messages.clear();
    fixture.dialogs.filesToOpen = {c.model};
    fixture.dialogs.filesToSave = {target};
    ASSERT_TRUE(layout->OnCommand(kIdExportExcelBomOpen));
    ASSERT_EQ(fixture.dialogs.openFolders.size(), 1) << c.model.toStdString();
    EXPECT_TRUE(fixture.dialogs.openFolders.front().endsWith("program/MODELS/"))
        << fixture.dialogs.openFolders.front().toStdString();
    const QString filter = fixture.dialogs.openFilters.front();
    EXPECT_TRUE(filter.contains("*.xlsx") && filter.contains("*.xls;")) << filter.toStdString();
    EXPECT_EQ(fixture.dialogs.filesToSave.empty(), c.toldByTheHelper)
        << "only a readable choice goes on to the workbook's name";
    if (c.toldByTheHelper) {
      QElapsedTimer waited;
      waited.start();
      while (fixture.dialogs.messages.isEmpty() && waited.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    ASSERT_EQ(fixture.dialogs.messages.size(), c.toldAtOnce || c.toldByTheHelper ? 1 : 0)
        << c.model.toStdString();
    if (!fixture.dialogs.messages.isEmpty()) {
      EXPECT_TRUE(fixture.dialogs.messages.front().contains(c.model))
          << fixture.dialogs.messages.front().toStdString();
    }
    EXPECT_FALSE(QFile::exists(target)) << "nothing half-written";
  }
}

}  // namespace
