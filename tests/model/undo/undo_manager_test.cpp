#include "app/current_language.h"
#include "model/document/dorne_doc_test_support.h"
#include "model/undo/cutting_snapshot_writer.h"

#include "platform/archive.h"
#include "platform/utf8_text.h"
#include "model/undo/undo_actions.h"
#include "model/undo/undo_files.h"
#include "model/undo/undo_manager.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

int SnapshotCount(const std::string& folder) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(folder))
    count += entry.path().filename().string().rfind("Undo_", 0) == 0;
  return count;
}

class UndoManagerTest : public DorneDocTestBase {
 protected:
  void SetUp() override {
    DorneDocTestBase::SetUp();
    CUndoFiles::ResetForTests();
    CDocEnvironment environment;
    environment.settingsFolder = m_folder.Folder();
    m_document = NewDocument(environment);
    for (const char* code : {"QDA", "QPC"}) BuildChain(AddRun(*m_document, code));
  }
  void TearDown() override {
    m_document.reset();
    CUndoFiles::ResetForTests();
    DorneDocTestBase::TearDown();
  }
  CUndoManager& Undo() { return m_document->GetUndo(); }
  // An edit as the property pages make it: the step first, then the change.
  void EditName(const std::string& name, int action = 17520, bool noCoalescing = false) {
    ASSERT_EQ(Undo().SaveUndoState(action, noCoalescing), 1);
    m_document->SetDocPropertyModified("Name", name);
  }

  CTempFolder m_folder{"undo"};
  std::unique_ptr<CDorneDoc> m_document;
};

TEST_F(UndoManagerTest, UndoAndRedoGiveBackEachState) {
  std::vector<std::vector<std::uint8_t>> states = {Save(*m_document)};
  EditName("one", 21069);
  states.push_back(Save(*m_document));
  EditName("two", 21070);
  states.push_back(Save(*m_document));
  ASSERT_EQ(Undo().SaveUndoState(undo_actions::kDeleteRun), 1);
  m_document->RemoveRun(m_document->GetRunAt(0)).reset();
  states.push_back(Save(*m_document));
  for (int step = 3; step > 0; --step) {
    ASSERT_EQ(Undo().Undo(), 1) << step;
    EXPECT_EQ(Save(*m_document), states[static_cast<std::size_t>(step - 1)]) << step;
  }
  EXPECT_EQ(Undo().Undo(), 0);
  for (int step = 1; step <= 3; ++step) {
    ASSERT_EQ(Undo().Redo(), 1) << step;
    EXPECT_EQ(Save(*m_document), states[static_cast<std::size_t>(step)]) << step;
  }
  EXPECT_EQ(Undo().Redo(), 0);
  EXPECT_EQ(m_document->GetRunCount(), 1);
}

TEST_F(UndoManagerTest, RepeatedEditsOfOneKindMakeOneStep) {
  struct Row {
    const char* guards;
    std::vector<int> actions;
    bool noCoalescing;
    int steps;
    int files;
  };
  const Row rows[] = {
      {"two property edits of one element", {17520, 17520}, false, 1, 1},
      {"the same without coalescing", {17520, 17520}, true, 2, 2},
      {"different actions", {17520, 21069}, false, 2, 2},
      {"zoom then pan keep one file", {23083, 23085}, true, 2, 1},
  };
  for (const Row& row : rows) {
    SetUp();
    for (int action : row.actions) EditName("x" + std::to_string(action), action, row.noCoalescing);
    EXPECT_EQ(Undo().GetLast(), row.steps) << row.guards;
    EXPECT_EQ(SnapshotCount(m_folder.Path()), row.files) << row.guards;
    TearDown();
  }
}

TEST_F(UndoManagerTest, TheTwelfthStepDropsTheOldestAndItsFile) {
  for (int step = 0; step < 12; ++step) EditName("n" + std::to_string(step), 21069 + step % 2);
  EXPECT_EQ(Undo().GetLast(), CUndoManager::kMaxSteps);
  EXPECT_EQ(SnapshotCount(m_folder.Path()), CUndoManager::kMaxSteps);
  for (int step = 1; step <= CUndoManager::kMaxSteps; ++step)
    EXPECT_FALSE(Undo().GetRecord(step).path.empty());
}

TEST_F(UndoManagerTest, UndoAtTheTopSavesTheCurrentStateOnce) {
  EditName("one", 21069);
  ASSERT_EQ(Undo().Undo(), 1);
  EXPECT_EQ(Undo().GetRecord(Undo().GetLast()).action, undo_actions::kCurrentState);
  ASSERT_EQ(Undo().Redo(), 1);
  ASSERT_EQ(Undo().Undo(), 1);
  EXPECT_EQ(Undo().GetLast(), 2);  // replaced, not added
  EXPECT_EQ(m_document->GetDocProperty("Name"), "");
}

TEST_F(UndoManagerTest, MenuTextsNameTheStepWithinSeventyFiveCharacters) {
  EditName("one", 21060);
  auto names = [](int command) {
    return command == 32879 ? std::string("Delete Run...") : std::string();
  };
  const auto [possible, text] = Undo().GetUndoMenuText(false, "Undo", names);
  EXPECT_TRUE(possible);
  EXPECT_EQ(text, "Undo : Delete Run");
  EXPECT_FALSE(Undo().GetUndoMenuText(true, "Redo", names).first);
  const std::string longName(100, 'n');
  EXPECT_EQ(CharacterCount(undo_actions::MenuText("Undo", 21060, [&](int) { return longName; })),
            75u);
  EXPECT_EQ(undo_actions::MenuText("", 21060, names), "");
}

TEST_F(UndoManagerTest, ThePartNumberImportIsNamedByItsCommand) {
  const auto names = [](int command) {
    return command == 32878 ? std::string("Import part numbers...") : std::string();
  };
  EXPECT_EQ(undo_actions::MenuText("Undo", 32878, names), "Undo : Import part numbers");
}

// The step follows the undo text as the language sets texts apart: no blank before the
// colon in English, one in French.
TEST(UndoMenuTextTest, TheStepIsSetApartAsTheLanguageWrites) {
  const struct {
    const char* language;
    const char* base;
    const char* expected;
  } rows[] = {{"044", "Undo", "Undo: Delete Run"}, {"033", "Annuler", "Annuler : Delete Run"}};
  auto names = [](int command) { return command == 32879 ? "Delete Run..." : std::string(); };
  for (const auto& row : rows) {
    CCurrentLanguage& language = CCurrentLanguage::Instance();
    language.Reset();
    CLanguageSetup setup;
    setup.catalogueFolder = std::string(TVR_PROGRAM_DIR) + "/DBF/";
    language.SetSetup(setup);
    language.LoadLanguage(row.language);
    EXPECT_EQ(undo_actions::MenuText(row.base, 21060, names), row.expected) << row.language;
    language.Reset();
  }
}

TEST_F(UndoManagerTest, ASnapshotThatCannotBeReadIsDroppedAndTheDocumentKept) {
  EditName("one", 21069);
  EditName("two", 21070);
  const std::vector<std::uint8_t> current = Save(*m_document);
  fs::resize_file(Undo().GetRecord(2).path, 40);  // the step before "two"
  EXPECT_EQ(Undo().Undo(), 0);
  EXPECT_TRUE(Undo().LastRestoreFailed());
  EXPECT_EQ(Save(*m_document), current);
  ASSERT_EQ(Undo().Undo(), 1);  // the older step still restores
  EXPECT_EQ(m_document->GetDocProperty("Name"), "");
}

TEST_F(UndoManagerTest, ASnapshotThatCannotBeWrittenRecordsNothing) {
  EditName("one", 21069);
  // The files written so far are finished before their folder goes (reading a record
  // waits for its file).
  for (int index = 0; index <= Undo().GetLast(); ++index) Undo().GetRecord(index);
  fs::remove_all(m_folder.Path());
  EXPECT_EQ(Undo().SaveUndoState(21070), 0);
  EXPECT_EQ(Undo().GetLast(), 1);
  EXPECT_TRUE(Undo().GetRecord(0).path.empty());
  fs::create_directories(m_folder.Path());
}

TEST_F(UndoManagerTest, StartUpDeletesOnlySnapshotsOfProcessesThatAreGone) {
  EditName("one", 21069);
  const std::string mine = fs::path(Undo().GetRecord(1).path).filename().string();
  char self[32];
  std::snprintf(self, sizeof self, "%lx", static_cast<unsigned long>(getpid()));
  EXPECT_EQ(mine.rfind(std::string("Undo_") + self + "_", 0), 0u) << mine;
  const std::string running = m_folder.WriteFile("Undo_1_1_00.tmp", "x");  // process 1 always runs
  const std::string gone = m_folder.WriteFile("Undo_3ffffe_1_00.tmp", "x");   // no such process
  const std::string older = m_folder.WriteFile("Undo_55d0c1a8_03.tmp", "x");  // the older naming
  const std::string other = m_folder.WriteFile("Undo_notes.txt", "x");
  EXPECT_EQ(CUndoFiles::CleanUp(m_folder.Path()), 2);
  EXPECT_TRUE(fs::exists(running));
  EXPECT_FALSE(fs::exists(gone));
  EXPECT_FALSE(fs::exists(older));
  EXPECT_TRUE(fs::exists(other));
  EXPECT_TRUE(fs::exists(m_folder.File(mine)));  // this process still runs
}

TEST_F(UndoManagerTest, DeletingARunIsOneStepAndAsksFirst) {
  struct CPrompter : CDocPrompter {
    bool AskOkCancel(int message, const std::string& parameter) override {
      asked = std::to_string(message) + " " + parameter;
      return answer;
    }
    void Beep() override {}
    bool answer = false;
    std::string asked;
  } prompter;
  m_document->SetPrompter(&prompter);
  const std::string name = m_document->GetCurrentRun()->GetPropText("Name");
  EXPECT_EQ(m_document->DeleteCurrentRun(), 0);
  EXPECT_EQ(prompter.asked, "61452 " + name);
  EXPECT_EQ(m_document->GetRunCount(), 2);
  prompter.answer = true;
  ASSERT_EQ(m_document->DeleteCurrentRun(), 1);
  EXPECT_EQ(m_document->GetRunCount(), 1);
  EXPECT_EQ(m_document->GetCurrentRun(), m_document->GetRunAt(0));
  ASSERT_EQ(Undo().Undo(), 1);
  EXPECT_EQ(m_document->GetRunCount(), 2);
  EXPECT_EQ(m_document->GetCurrentRun()->GetPropText("Name"), name);
}

}  // namespace

namespace {

// Reordering the runs by their tabs is a design change: modified, and one undo step.
TEST_F(UndoManagerTest, MovingARunMarksModifiedAndUndoes) {
  BuildChain(AddRun(*m_document, "QDA"));
  std::vector<std::string> before;  // undo gives back copies of the runs: compared by name
  for (CRun* run : m_document->GetRuns()) before.push_back(run->GetPropText("Name"));
  ASSERT_EQ(std::set<std::string>(before.begin(), before.end()).size(), 3u);
  struct Row {
    int from, to;
    bool ok;
    std::vector<int> order;  // indexes into before
  };
  const Row rows[] = {{2, 0, true, {2, 0, 1}},
                      {0, 2, true, {1, 2, 0}},
                      {1, 1, true, {0, 1, 2}},
                      {3, 0, false, {0, 1, 2}},
                      {0, -1, false, {0, 1, 2}}};
  for (const Row& row : rows) {
    m_document->SetModifiedFlag(false);
    const std::vector<std::uint8_t> saved = Save(*m_document);
    const int steps = Undo().GetLast();
    EXPECT_EQ(m_document->MoveRun(row.from, row.to), row.ok) << row.from << row.to;
    for (std::size_t i = 0; i < row.order.size(); ++i) {
      EXPECT_EQ(m_document->GetRunAt(static_cast<int>(i))->GetPropText("Name"),
                before[static_cast<std::size_t>(row.order[i])]);
    }
    const bool moved = row.ok && row.from != row.to;
    EXPECT_EQ(m_document->IsModified(), moved);
    if (!moved) {
      EXPECT_EQ(Undo().GetLast(), steps);
      continue;
    }
    ASSERT_EQ(Undo().Undo(), 1);
    EXPECT_EQ(Save(*m_document), saved);
    for (std::size_t i = 0; i < before.size(); ++i) {
      EXPECT_EQ(m_document->GetRunAt(static_cast<int>(i))->GetPropText("Name"), before[i]);
    }
  }
}

}  // namespace

namespace {

TEST_F(UndoManagerTest, UndoGivesBackAViewOfOddSizeWhole) {
  const struct {
    std::int32_t x, y, width, height;
  } views[] = {{24048, 12557, 12557, 9001}, {-5, -7, 3, 1}, {100, 100, 400, 300}};
  for (const auto& view : views) {
    m_document->SetViewCentre(view.x, view.y);
    m_document->SetViewSize(view.width, view.height);
    const std::vector<std::uint8_t> before = Save(*m_document);
    EditName("view " + std::to_string(view.width), 21069, true);
    ASSERT_EQ(Undo().Undo(), 1);
    EXPECT_EQ(m_document->GetViewCentre(), (std::array<std::int32_t, 2>{view.x, view.y}));
    EXPECT_EQ(m_document->GetViewSize(), (std::array<std::int32_t, 2>{view.width, view.height}));
    EXPECT_TRUE(Save(*m_document) == before) << view.width;
  }
}

}  // namespace

namespace {

TEST_F(UndoManagerTest, ASnapshotCutWhileWrittenIsNeverRestored) {
  EditName("one", 21069);
  Undo().UseWriter(std::make_unique<CCuttingSnapshotWriter>());
  EditName("two", 21070);  // the file of the step before "two" is cut
  const std::string cut = Undo().GetRecord(2).path;
  EXPECT_FALSE(fs::exists(cut));
  Undo().UseWriter(std::make_unique<CSnapshotWriter>());
  const std::vector<std::uint8_t> current = Save(*m_document);
  EXPECT_EQ(Undo().Undo(), 0);
  EXPECT_TRUE(Undo().LastRestoreFailed());
  EXPECT_EQ(Save(*m_document), current);
  ASSERT_EQ(Undo().Undo(), 1);  // the older, whole step still restores
  EXPECT_EQ(m_document->GetDocProperty("Name"), "");
  ASSERT_EQ(Undo().Redo(), 1);
  EXPECT_EQ(Save(*m_document), current);
}

// Undoing from the top keeps the design as it was for the redo, without writing it,
// unless the step undone has no file of its own to swap it out with.
TEST_F(UndoManagerTest, UndoAtTheTopKeepsTheCurrentStateForTheRedo) {
  const struct {
    const char* guards;
    std::vector<int> actions;
    std::size_t undoneState;  // a view step gives back the view only
    int filesAfterUndo;
  } rows[] = {
      {"an edit", {21069}, 0, 1},
      {"two edits", {21069, 21070}, 1, 2},
      {"a pan after a zoom has no file to swap with", {21069, 23083, 23085}, 3, 3},
  };
  for (const auto& row : rows) {
    SetUp();
    std::vector<std::vector<std::uint8_t>> states = {Save(*m_document)};
    for (int action : row.actions) {
      EditName("a" + std::to_string(action), action, true);
      states.push_back(Save(*m_document));
    }
    for (int round = 0; round < 2; ++round) {
      ASSERT_EQ(Undo().Undo(), 1) << row.guards;
      EXPECT_EQ(Save(*m_document), states[row.undoneState]) << row.guards;
      EXPECT_EQ(SnapshotCount(m_folder.Path()), row.filesAfterUndo) << row.guards;
      ASSERT_EQ(Undo().Redo(), 1) << row.guards;
      EXPECT_EQ(Save(*m_document), states.back()) << row.guards << round;
    }
    TearDown();
  }
}

// Steps follow one another faster than their files are written: every undo and redo
// still gives back the very bytes of its state.
TEST_F(UndoManagerTest, StepsInQuickSuccessionGiveBackEveryStateExactly) {
  const struct {
    const char* guards;
    int edits;  // then undo all the way, redo all the way
    int undoThenEdit;
  } rows[] = {
      {"three steps", 3, 0},
      {"more steps than the history keeps", 14, 0},
      {"an edit after undoing drops the redo branch", 6, 2},
  };
  for (const auto& row : rows) {
    SetUp();
    std::vector<std::vector<std::uint8_t>> states = {Save(*m_document)};
    for (int i = 0; i < row.edits; ++i) {
      EditName("edit " + std::to_string(i), 21069 + i % 2);
      states.push_back(Save(*m_document));
    }
    for (int i = 0; i < row.undoThenEdit; ++i) {
      ASSERT_EQ(Undo().Undo(), 1) << row.guards;
      states.pop_back();
      EXPECT_EQ(Save(*m_document), states.back()) << row.guards;
    }
    if (row.undoThenEdit > 0) {
      EditName("after undo", 21060);
      states.push_back(Save(*m_document));
    }
    // Undoing from the top keeps the current state as a step of its own.
    const int steps = std::min(static_cast<int>(states.size()) - 1, CUndoManager::kMaxSteps - 1);
    const std::size_t top = states.size() - 1;
    for (int step = 1; step <= steps; ++step) {
      ASSERT_EQ(Undo().Undo(), 1) << row.guards << step;
      EXPECT_EQ(Save(*m_document), states[top - static_cast<std::size_t>(step)])
          << row.guards << step;
    }
    EXPECT_EQ(Undo().Undo(), 0) << row.guards;
    for (int step = steps - 1; step >= 0; --step) {
      ASSERT_EQ(Undo().Redo(), 1) << row.guards << step;
      EXPECT_EQ(Save(*m_document), states[top - static_cast<std::size_t>(step)])
          << row.guards << step;
    }
    EXPECT_EQ(Undo().Redo(), 0) << row.guards;
    TearDown();
  }
}

// Each snapshot is written into the memory of one before it: its file holds its own bytes
// and nothing left of a longer one.
TEST_F(UndoManagerTest, EachSnapshotFileHoldsItsOwnBytesOnly) {
  const struct {
    const char* guards;
    std::vector<std::string> names;
  } rows[] = {
      {"shorter snapshots after a longer one", {std::string(40000, 'x'), "a", "b", "c"}},
      {"a longer snapshot after shorter ones", {"a", "b", std::string(40000, 'y'), "c"}},
  };
  for (const auto& row : rows) {
    SetUp();
    std::vector<std::string> snapshots;
    for (const std::string& name : row.names) {
      CArchiveWriter writer;
      m_document->SetSnapshotMarker(CDorneDoc::kSnapshotMarker);
      m_document->Serialize(writer);
      m_document->SetSnapshotMarker(0);
      snapshots.emplace_back(writer.Bytes().begin(), writer.Bytes().end());
      EditName(name, 21069, true);
    }
    for (std::size_t i = 0; i < snapshots.size(); ++i) {
      const std::string& path = Undo().GetRecord(static_cast<int>(i) + 1).path;
      EXPECT_TRUE(ReadWholeFile(path) == snapshots[i]) << row.guards << " " << i;
    }
    TearDown();
  }
}

}  // namespace
