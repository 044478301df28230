#include "model/undo/undo_document_test_base.h"
#include "model/undo/cutting_snapshot_writer.h"

#include "model/document/doc_file_bytes.h"
#include "model/run/range_rules.h"
#include "model/undo/snapshot_writer.h"
#include "model/undo/undo_manager.h"
#include "platform/archive.h"
#include "support/golden_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The design of the next undo's step, made on the worker after the edit's repaint, is the
// design of the step's file: the undo swaps it in and the document is then as the step.
class UndoDesignAheadTest : public UndoDocumentTestBase {
 public:
  UndoDesignAheadTest() : UndoDocumentTestBase("undo-design-ahead") {}

 protected:
  std::unique_ptr<CDorneDoc> WithUndoFolder() const {
    CDocEnvironment environment;
    environment.settingsFolder = m_folder.Folder();
    return NewDocument(environment);
  }
  // Runs enough that the worker is still reading when the test goes on.
  std::unique_ptr<CDorneDoc> ManyRuns(int count) {
    auto document = WithUndoFolder();
    for (int i = 0; i < count; ++i) {
      CRun& run = AddRun(*document, i % 2 == 0 ? "QDA" : "QPC");
      BuildChain(run);
      run.GetFirstElement()->Translate(C3DPoint(0, 30000.0 * i, 0), true);
    }
    document->RebuildScene();
    return document;
  }
  static std::vector<std::uint8_t> StepFile(CUndoManager& undo) {
    std::vector<std::uint8_t> bytes;
    const CUndoRecord& record = undo.GetRecord(undo.GetLast());
    EXPECT_TRUE(ReadWholeFile(record.path, bytes)) << record.path;
    return bytes;
  }
  // Waits until the worker has ended `count` steps in all, as a moment after the repaint.
  static void WaitForWorker(CUndoManager& undo, int count) {
    auto ended = [&undo] {
      const CUndoDesignAhead::CCounts counts = undo.DesignAheadCounts();
      return counts.read + counts.unread + counts.calledOff;
    };
    for (int i = 0; i < 5000 && ended() < count; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_GE(ended(), count);
  }
  static int SnapshotFiles(const std::string& folder) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
      count += entry.path().filename().string().rfind("Undo_", 0) == 0;
    return count;
  }
};

struct LayoutCase {
  const char* name;
  std::function<std::unique_ptr<CDorneDoc>()> make;
};

class UndoDesignAheadLayoutTest : public UndoDesignAheadTest {
 public:
  std::vector<LayoutCase> Layouts();
};

std::vector<LayoutCase> UndoDesignAheadLayoutTest::Layouts() {
  return {
      {"three runs apart, turned", [this] { return ThreeRunsApart(); }},
      {"runs of five codes (two ranges, renamed, generic, unknown) and every annotation",
       [this] {
         auto document = WithUndoFolder();
         CArchiveReader reader(ReadGoldenBytes("model/rich_document.run"));
         document->Serialize(reader);
         document->RebuildScene();
         return document;
       }},
      {"one generic run and nothing else",
       [this] {
         auto document = WithUndoFolder();
         AddRun(*document, "");
         return document;
       }},
      {"many runs of both test ranges", [this] { return ManyRuns(24); }},
      {"runs enough to be read on several threads", [this] { return ManyRuns(40); }},
  };
}

TEST_F(UndoDesignAheadLayoutTest, TheWorkersDesignIsTheDesignOfTheStepFile) {
  for (const LayoutCase& layout : Layouts()) {
    auto document = layout.make();
    CUndoManager& undo = document->GetUndo();
    const std::vector<std::uint8_t> before = Save(*document);
    ASSERT_EQ(undo.SaveUndoState(21069, true), 1) << layout.name;
    const std::vector<std::uint8_t> file = StepFile(undo);
    document->SetDocPropertyModified("Name", "edited");
    ASSERT_EQ(undo.DesignUndoAhead(), 1) << layout.name;
    EXPECT_EQ(undo.DesignUndoAhead(), 0) << layout.name << ": handed over once";
    ASSERT_EQ(undo.Undo(), 1) << layout.name;
    EXPECT_EQ(undo.StepsDesignedAhead(), 1) << layout.name;
    EXPECT_TRUE(Save(*document) == Save(*Load(file))) << layout.name;
    EXPECT_TRUE(Save(*document) == before) << layout.name;
    EXPECT_TRUE(document->HasWholeScene()) << layout.name << ": the scene came with it";
  }
}

// An undo before the edit's repaint, the step's bytes not yet handed to the worker: the
// step is read from them while its file is written, and is the design of the file.
TEST_F(UndoDesignAheadLayoutTest, AnUndoBeforeTheRepaintReadsTheStepFromItsBytes) {
  for (const LayoutCase& layout : Layouts()) {
    auto document = layout.make();
    CUndoManager& undo = document->GetUndo();
    const std::vector<std::uint8_t> before = Save(*document);
    ASSERT_EQ(undo.SaveUndoState(21069, true), 1) << layout.name;
    const std::string path = undo.GetRecord(undo.GetLast()).path;
    document->SetDocPropertyModified("Name", "edited");
    const std::vector<std::uint8_t> edited = Save(*document);
    ASSERT_EQ(undo.Undo(), 1) << layout.name;
    EXPECT_EQ(undo.StepsReadFromBytes(), 1) << layout.name;
    EXPECT_EQ(undo.DesignAheadCounts().given, 0) << layout.name;
    std::vector<std::uint8_t> file;
    ASSERT_TRUE(ReadWholeFile(path, file)) << layout.name;
    EXPECT_TRUE(Save(*document) == Save(*Load(file))) << layout.name;
    EXPECT_TRUE(Save(*document) == before) << layout.name;
    // The bytes were let go: the same step again comes from its file.
    ASSERT_EQ(undo.Redo(), 1) << layout.name;
    EXPECT_TRUE(Save(*document) == edited) << layout.name;
    ASSERT_EQ(undo.Undo(), 1) << layout.name;
    EXPECT_EQ(undo.StepsReadFromBytes(), 1) << layout.name;
    EXPECT_TRUE(Save(*document) == before) << layout.name;
  }
}

// However the step's file ends up unlike its bytes (cut while written, shortened or gone
// before the undo), the step read from its bytes is not restored: the document stays, the
// step is dropped and the one before still restores.
TEST_F(UndoDesignAheadTest, AStepReadFromItsBytesIsRestoredOnlyWhenItsFileIsWhole) {
  const struct {
    const char* guards;
    bool cutWhileWritten;
    std::function<void(const std::string&)> afterwards;
  } rows[] = {
      {"cut while written", true, [](const std::string&) {}},
      {"shortened after", false, [](const std::string& path) { fs::resize_file(path, 40); }},
      {"longer after", false,
       [](const std::string& path) { fs::resize_file(path, fs::file_size(path) + 1); }},
      {"deleted after", false, [](const std::string& path) { fs::remove(path); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    CUndoFiles::ResetForTests();
    auto document = ThreeRunsApart();
    CUndoManager& undo = document->GetUndo();
    ASSERT_EQ(undo.SaveUndoState(21069, true), 1);
    document->SetDocPropertyModified("Name", "one");
    if (row.cutWhileWritten) undo.UseWriter(std::make_unique<CCuttingSnapshotWriter>());
    ASSERT_EQ(undo.SaveUndoState(21070, true), 1);
    document->SetDocPropertyModified("Name", "two");
    if (row.cutWhileWritten) undo.UseWriter(std::make_unique<CSnapshotWriter>());
    else row.afterwards(undo.GetRecord(undo.GetLast()).path);
    const std::vector<std::uint8_t> current = Save(*document);
    EXPECT_EQ(undo.Undo(), 0);
    EXPECT_TRUE(undo.LastRestoreFailed());
    EXPECT_EQ(undo.StepsReadFromBytes(), 0);
    EXPECT_TRUE(Save(*document) == current);
    ASSERT_EQ(undo.Undo(), 1);  // the older, whole step still restores
    EXPECT_EQ(document->GetDocProperty("Name"), "");
  }
}

// Edits, hand-overs, undos and redos in any order: after each, the document is the state
// the history says, never the design of a step that is no longer the next undo's.
// e: an edit (a step of its own), a: the window's after-repaint call, w: a moment's wait
// for the worker, u: undo, r: redo, i: the idle read-ahead.
TEST_F(UndoDesignAheadTest, EveryStepRestoresItsOwnStateWhateverTheWorkerIsDoing) {
  const struct {
    const char* guards;
    const char* steps;
  } rows[] = {
      {"an edit while the worker reads the step before", "eaeuu"},
      {"each edit handed over, undone to the start", "eaeaeauuu"},
      {"an undo before the worker is done", "eau"},
      {"a finished design of a step an edit replaced", "eaweuu"},
      {"undo, redo, then an edit handed over", "eauraeauu"},
      {"handed over twice for one step", "eaau"},
      {"the idle read-ahead while the worker reads", "eaiu"},
      {"redone past a step handed over", "eaeauurr"},
  };
  for (const auto& row : rows) {
    auto document = ManyRuns(12);
    CUndoManager& undo = document->GetUndo();
    std::vector<std::vector<std::uint8_t>> history = {Save(*document)};
    std::size_t at = 0;
    int edits = 0;
    int handed = 0;
    for (const char* step = row.steps; *step != '\0'; ++step) {
      switch (*step) {
        case 'e':
          ASSERT_EQ(undo.SaveUndoState(21060 + edits, true), 1) << row.guards;
          document->SetDocPropertyModified("Name", "edit " + std::to_string(++edits));
          history.resize(at + 1);
          history.push_back(Save(*document));
          ++at;
          break;
        case 'a': handed += undo.DesignUndoAhead(); break;
        case 'w': WaitForWorker(undo, handed); break;
        case 'i': undo.PrepareUndo(); break;
        case 'u':
          ASSERT_EQ(undo.Undo(), 1) << row.guards;
          --at;
          break;
        case 'r':
          ASSERT_EQ(undo.Redo(), 1) << row.guards;
          ++at;
          break;
      }
      ASSERT_TRUE(Save(*document) == history[at])
          << row.guards << " after " << *step << " at " << step - row.steps;
    }
  }
}

// The worker reads the step's bytes in memory, whole; the file was cut all the same, and a
// step without its file is never restored.
TEST_F(UndoDesignAheadTest, AStepWhoseFileWasCutIsNeverRestoredFromTheWorkersDesign) {
  auto document = ThreeRunsApart();
  CUndoManager& undo = document->GetUndo();
  ASSERT_EQ(undo.SaveUndoState(21069, true), 1);
  document->SetDocPropertyModified("Name", "one");
  undo.UseWriter(std::make_unique<CCuttingSnapshotWriter>());
  ASSERT_EQ(undo.SaveUndoState(21070, true), 1);
  document->SetDocPropertyModified("Name", "two");
  ASSERT_EQ(undo.DesignUndoAhead(), 1);
  undo.UseWriter(std::make_unique<CSnapshotWriter>());
  WaitForWorker(undo, 1);
  EXPECT_EQ(undo.DesignAheadCounts().read, 1) << "the bytes themselves were whole";
  const std::vector<std::uint8_t> current = Save(*document);
  EXPECT_EQ(undo.Undo(), 0);
  EXPECT_TRUE(undo.LastRestoreFailed());
  EXPECT_EQ(undo.StepsDesignedAhead(), 0);
  EXPECT_TRUE(Save(*document) == current);
  ASSERT_EQ(undo.Undo(), 1);  // the older, whole step still restores
  EXPECT_EQ(document->GetDocProperty("Name"), "");
}

// Closing the document at any moment of the worker's work ends it cleanly: every design it
// made or was making is freed (each run counts one user of the catalogue list) and every
// snapshot file goes.
TEST_F(UndoDesignAheadTest, ClosingTheDocumentWhileTheWorkerWorksFreesEverything) {
  const struct {
    const char* guards;
    const char* steps;
  } rows[] = {
      {"closed right after the hand-over", "ea"},
      {"closed once the worker is done", "eaw"},
      {"closed after an edit called the worker off", "eae"},
      {"closed after the undo took the design", "eau"},
      {"closed with a finished design of a step left behind", "eawe"},
  };
  for (const auto& row : rows) {
    {
      auto document = ManyRuns(16);
      CUndoManager& undo = document->GetUndo();
      int handed = 0;
      for (const char* step = row.steps; *step != '\0'; ++step) {
        if (*step == 'e') {
          ASSERT_EQ(undo.SaveUndoState(21060, true), 1) << row.guards;
        }
        if (*step == 'a') handed += undo.DesignUndoAhead();
        if (*step == 'w') WaitForWorker(undo, handed);
        if (*step == 'u') {
          ASSERT_EQ(undo.Undo(), 1) << row.guards;
        }
      }
    }
    EXPECT_EQ(CRangeTableCache::Instance().CatalogueUsers(), 0) << row.guards;
    EXPECT_EQ(SnapshotFiles(m_folder.Path()), 0) << row.guards;
  }
}

// The designs the worker leaves (called off, or done and replaced by an edit's step) it
// frees itself, so that the window thread never pays for a design it did not use: once
// the worker is idle, only the live document counts as a user of the catalogue list.
TEST_F(UndoDesignAheadTest, TheWorkerFreesTheDesignsItLeaves) {
  const struct {
    const char* guards;
    const char* steps;
    int freed;
  } rows[] = {
      {"a finished design of a step an edit replaced", "eawe", 1},
      {"a design being read when an edit came", "eae", 1},
      {"two steps replaced in turn", "eaweawe", 2},
      {"the design the undo took is the window's", "eawu", 0},
  };
  for (const auto& row : rows) {
    auto document = ManyRuns(8);
    const int liveUsers = CRangeTableCache::Instance().CatalogueUsers();
    CUndoManager& undo = document->GetUndo();
    int handed = 0;
    int edits = 0;
    for (const char* step = row.steps; *step != '\0'; ++step) {
      if (*step == 'e') {
        ASSERT_EQ(undo.SaveUndoState(21060 + edits, true), 1) << row.guards;
        document->SetDocPropertyModified("Name", "edit " + std::to_string(++edits));
      }
      if (*step == 'a') handed += undo.DesignUndoAhead();
      if (*step == 'w') WaitForWorker(undo, handed);
      if (*step == 'u') {
        ASSERT_EQ(undo.Undo(), 1) << row.guards;
        undo.ReleaseDiscarded();
      }
    }
    for (int i = 0; i < 5000 && undo.DesignAheadCounts().freed < row.freed; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(undo.DesignAheadCounts().freed, row.freed) << row.guards;
    if (row.freed > 0) {
      EXPECT_EQ(CRangeTableCache::Instance().CatalogueUsers(), liveUsers) << row.guards;
    }
  }
}

// Only the thread that refuses fills is refused them, and only while the refusal lives: a
// flag of the whole process would stop the window thread from ever filling a set.
TEST(RangeFillRefusalTest, HoldsForItsOwnThreadWhileItLives) {
  const struct {
    const char* guards;
    bool refusing;     // a refusal lives on the asking thread
    bool otherThread;  // asked from a thread other than the one refusing
    bool expected;
  } rows[] = {
      {"no refusal anywhere", false, false, false},
      {"the refusing thread", true, false, true},
      {"another thread while one refuses", true, true, false},
  };
  for (const auto& row : rows) {
    bool refused = false;
    auto ask = [&] {
      if (!row.refusing) {
        refused = CRangeTableCache::FillsRefused();
        return;
      }
      const CRangeTableCache::CFillRefusal refusal;
      if (!row.otherThread) {
        refused = CRangeTableCache::FillsRefused();
        return;
      }
      std::thread other([&] { refused = CRangeTableCache::FillsRefused(); });
      other.join();
    };
    std::thread asking(ask);
    asking.join();
    EXPECT_EQ(refused, row.expected) << row.guards;
  }
  {
    const CRangeTableCache::CFillRefusal outer;
    { const CRangeTableCache::CFillRefusal inner; }
    EXPECT_TRUE(CRangeTableCache::FillsRefused()) << "a nested refusal ends without the outer";
  }
  EXPECT_FALSE(CRangeTableCache::FillsRefused()) << "ended with the refusal";
}

}  // namespace
