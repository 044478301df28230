#include "model/undo/undo_document_test_base.h"
#include "model/undo/cutting_snapshot_writer.h"

#include "geometry/box.h"
#include "geometry/display_list.h"
#include "model/element/dev.h"
#include "model/props/prop_window_notifier.h"
#include "model/run/run.h"
#include "model/undo/undo_files.h"
#include "model/undo/undo_manager.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

struct EditCase {
  const char* name;
  std::function<void(CDorneDoc&)> edit;
};

// Undo and redo hand a design kept whole its scene back instead of rebuilding it; the
// design and its scene must be those of the step either way.
class UndoKeptSceneTest : public UndoDocumentTestBase {
 protected:
  UndoKeptSceneTest() : UndoDocumentTestBase("undo-kept-scene") {}
  std::unique_ptr<CDorneDoc> Document() { return ThreeRunsApart(); }

  // Edits of several kinds, each as a user's command leaves the design and its scene.
  std::vector<EditCase> Edits() const;
};

// The scene as it stands is the one a whole rebuild makes now.
void ExpectSceneOfAWholeRebuild(CDorneDoc& document, const std::string& what) {
  const CDisplayList& list = document.Projection().GetDisplayList();
  const std::vector<CBox*> shown = list.CollectBoxes();
  document.RebuildScene();
  EXPECT_EQ(shown, list.CollectBoxes()) << what;
  EXPECT_FALSE(shown.empty()) << what;
}

std::vector<EditCase> UndoKeptSceneTest::Edits() const {
  return {{"a run moved",
           [](CDorneDoc& document) {
             document.GetRunAt(1)->GetFirstElement()->Translate(C3DPoint(500, 0, 70), true);
             document.RebuildScene();
           }},
          {"an element's box changed with its run's scene held",
           [](CDorneDoc& document) {
             CRun& run = *document.GetRunAt(2);
             const CSceneHold hold(&document, run);
             CBox* box = run.GetDevices()[1]->GetBox(CDev::kBodySlot);
             box->SetOrigin(box->GetOrigin() + C3DPoint(0, 0, 35));
           }},
          {"an element's length",
           [](CDorneDoc& document) {
             document.GetRunAt(0)->GetDevices()[1]->SetBookedLength(2345);
             document.RebuildScene();
           }},
          {"a run added",
           [this](CDorneDoc& document) {
             BuildChain(AddRun(document, "QPC"));
             document.RebuildScene();
           }},
          {"a run removed",
           [](CDorneDoc& document) {
             document.RemoveRun(document.GetRunAt(1)).reset();
             document.RebuildScene();
           }},
          {"the view turned",
           [](CDorneDoc& document) {
             document.SetViewAngles(300, 20, 5);
             document.RebuildScene();
           }},
          {"a property of the design",
           [](CDorneDoc& document) { document.SetDocPropertyModified("Name", "edited"); }}};
}

TEST_F(UndoKeptSceneTest, EachEditUndoneAndRedoneSavesAsItsStepAndShowsAWholeScene) {
  for (const EditCase& c : Edits()) {
    const auto document = Document();
    CUndoManager& undo = document->GetUndo();
    const std::vector<std::uint8_t> before = Save(*document);
    ASSERT_EQ(undo.SaveUndoState(21069, true), 1) << c.name;
    c.edit(*document);
    const std::vector<std::uint8_t> after = Save(*document);
    ASSERT_NE(before, after) << c.name << ": the edit must change the design";
    const CDisplayList& list = document->Projection().GetDisplayList();
    for (int round = 0; round < 3; ++round) {
      const std::string what = std::string(c.name) + ", round " + std::to_string(round);
      ASSERT_EQ(undo.Undo(), 1) << what;
      EXPECT_EQ(Save(*document), before) << what;
      ExpectSceneOfAWholeRebuild(*document, what + ", undone");
      const std::uint64_t changes = list.Changes();
      ASSERT_EQ(undo.Redo(), 1) << what;
      undo.ReleaseDiscarded();
      EXPECT_EQ(Save(*document), after) << what;
      // The scene came with the kept design: one change (the swap), no insertions.
      EXPECT_EQ(list.Changes(), changes + 1) << what;
      ExpectSceneOfAWholeRebuild(*document, what + ", redone");
    }
  }
}

// A scene counts as whole only when a rebuild now would make the same one.
TEST_F(UndoKeptSceneTest, ASceneIsWholeOnlyAsARebuildWouldMakeIt) {
  const struct {
    const char* name;
    std::function<void(CDorneDoc&)> change;
    bool whole;
  } rows[] = {
      {"just rebuilt", [](CDorneDoc&) {}, true},
      {"one run put back alone",
       [](CDorneDoc& document) {
         CRun& run = *document.GetRunAt(0);
         const CSceneHold hold(&document, run);
         CBox* box = run.GetDevices()[1]->GetBox(CDev::kBodySlot);
         box->SetOrigin(box->GetOrigin() + C3DPoint(0, 0, 35));
       },
       true},
      {"a box made and not listed",
       [](CDorneDoc& document) {
         CRun& run = *document.GetRunAt(0);
         CDev* element = run.NewElement();
         element->MakeBox(CDev::kBodySlot)->SetPlacement(C3DPoint(-9000, 0, 0), 100, 100, 100);
         run.AddDevice(element);
       },
       false},
      {"a box taken out",
       [](CDorneDoc& document) {
         document.RemoveFromScene(*document.GetRunAt(1)->GetDevices()[2]->GetBox(CDev::kBodySlot));
       },
       false},
      {"the angles set without a resort",
       [](CDorneDoc& document) { document.Projection().SetViewAngles(10, 20, 30, false, false); },
       false},
      {"turned for a quick picture", [](CDorneDoc& document) { document.TurnView(10, 20, 30); },
       false},
      {"held", [](CDorneDoc& document) { document.HoldScene(true); }, false},
      {"the list emptied", [](CDorneDoc& document) { document.Projection().ClearDisplayList(); },
       false},
  };
  for (const auto& row : rows) {
    const auto document = Document();
    row.change(*document);
    EXPECT_EQ(document->HasWholeScene(), row.whole) << row.name;
    if (row.whole) ExpectSceneOfAWholeRebuild(*document, row.name);
  }
}

// A swap hands a whole scene over with its design and empties one that is not; the
// scene that arrives is the one a rebuild makes, and a rebuild follows when it is not.
TEST_F(UndoKeptSceneTest, ASwapCarriesAWholeSceneOnlyWithItsDesign) {
  for (const bool wholeBefore : {true, false}) {
    const auto document = Document();
    const auto other = Document();
    other->GetRunAt(0)->GetFirstElement()->Translate(C3DPoint(0, 0, 400), true);
    other->RebuildScene();
    if (!wholeBefore)
      other->RemoveFromScene(*other->GetRunAt(0)->GetDevices()[2]->GetBox(CDev::kBodySlot));
    const std::vector<CBox*> own = document->Projection().GetDisplayList().CollectBoxes();
    document->SwapContent(*other);
    EXPECT_EQ(other->Projection().GetDisplayList().CollectBoxes(), own) << wholeBefore;
    EXPECT_TRUE(other->HasWholeScene()) << wholeBefore;
    EXPECT_EQ(document->Projection().GetDisplayList().Size() > 0, wholeBefore) << wholeBefore;
    document->RebuildSceneUnlessKept();
    ExpectSceneOfAWholeRebuild(*document, wholeBefore ? "kept" : "rebuilt");
    ExpectSceneOfAWholeRebuild(*other, "given away");
  }
}

}  // namespace

namespace {

// The step read ahead while the window is idle restores as its file does, scene and all,
// after an edit, after a redo and in the middle of the history.
TEST_F(UndoKeptSceneTest, AStepReadAheadRestoresAsItsFile) {
  for (const EditCase& c : Edits()) {
    const auto document = Document();
    CUndoManager& undo = document->GetUndo();
    std::vector<std::vector<std::uint8_t>> states = {Save(*document)};
    ASSERT_EQ(undo.SaveUndoState(21070, true), 1) << c.name;
    document->SetDocPropertyModified("Name", "first");
    states.push_back(Save(*document));
    ASSERT_EQ(undo.SaveUndoState(21069, true), 1) << c.name;
    c.edit(*document);
    states.push_back(Save(*document));
    const CDisplayList& list = document->Projection().GetDisplayList();
    auto undoReadAhead = [&](std::size_t expected, const std::string& what) {
      ASSERT_EQ(undo.PrepareUndo(), 1) << what;
      const std::uint64_t changes = list.Changes();
      ASSERT_EQ(undo.Undo(), 1) << what;
      EXPECT_EQ(Save(*document), states[expected]) << what;
      EXPECT_EQ(list.Changes(), changes + 1) << what << ": the scene came with the step";
      ExpectSceneOfAWholeRebuild(*document, what);
    };
    for (int round = 0; round < 2; ++round) {
      const std::string what = std::string(c.name) + ", round " + std::to_string(round);
      undoReadAhead(1, what + ", after the edit");
      undoReadAhead(0, what + ", in the middle");
      EXPECT_EQ(undo.PrepareUndo(), 0) << what << ": nothing left to undo";
      ASSERT_EQ(undo.Redo(), 1) << what;
      EXPECT_EQ(Save(*document), states[1]) << what;
      ASSERT_EQ(undo.Redo(), 1) << what;
      EXPECT_EQ(Save(*document), states[2]) << what;
      ExpectSceneOfAWholeRebuild(*document, what + ", redone");
    }
  }
}

// Only the next undo's step stays read: every other holds a whole design.
TEST_F(UndoKeptSceneTest, OnlyTheNextStepStaysReadAhead) {
  const auto document = Document();
  CUndoManager& undo = document->GetUndo();
  for (int step = 1; step <= 3; ++step) {
    ASSERT_EQ(undo.SaveUndoState(21069, true), 1);
    document->SetDocPropertyModified("Name", "edit " + std::to_string(step));
    ASSERT_EQ(undo.PrepareUndo(), 1) << step;
    EXPECT_EQ(undo.PrepareUndo(), 0) << step << ": read already";
    for (int index = 1; index <= undo.GetLast(); ++index)
      EXPECT_EQ(undo.GetRecord(index).state != nullptr, index == step) << step << " " << index;
  }
}

// Records what reaches the property window, and from which thread.
class PropWindowSpy : public CPropWindowNotifier {
 public:
  PropWindowSpy() : m_previous(SetPropWindowNotifier(this)) {}
  ~PropWindowSpy() override { SetPropWindowNotifier(m_previous); }
  bool PropWindowExists() const override { return true; }
  void SendPropMessage(int message, CObjWithProp* object) override {
    const std::lock_guard lock(m_mutex);
    sent.emplace_back(message, object);
    offThread = offThread || std::this_thread::get_id() != m_thread;
  }
  void PostPropMessage(int message, CObjHandle object) override {
    SendPropMessage(message, object.Get());
  }
  void OpenPropDialog() override {}
  void ClosePropDialog() override {}

  std::vector<std::pair<int, CObjWithProp*>> sent;
  bool offThread = false;

 private:
  CPropWindowNotifier* m_previous;
  std::mutex m_mutex;
  std::thread::id m_thread = std::this_thread::get_id();
};

// A step read ahead (while the window is idle, or on the worker after a repaint) is read
// into a design of its own: the property window, showing what the user works on, heard of
// that design's current run and showed it. The window hears only of the undo itself, and
// then of the run the document now has.
TEST_F(UndoKeptSceneTest, AStepReadAheadLeavesThePropertyWindowToTheShownDesign) {
  const struct {
    const char* name;
    std::function<void(CUndoManager&)> ahead;
  } ways[] = {{"read when idle", [](CUndoManager& undo) { ASSERT_EQ(undo.PrepareUndo(), 1); }},
              {"made on the worker", [](CUndoManager& undo) { undo.AfterEditShown(); }},
              {"the next snapshot made when idle",
               [](CUndoManager& undo) {
                 undo.PrepareSnapshot();
                 undo.PrepareSnapshot();
               }},
              {"read at the undo", [](CUndoManager&) {}}};
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    const auto document = Document();
    CUndoManager& undo = document->GetUndo();
    ASSERT_EQ(undo.SaveUndoState(21069, true), 1);
    document->SetCurrentRun(document->GetRunAt(2));
    document->SetDocPropertyModified("Name", "edited");
    PropWindowSpy window;
    way.ahead(undo);
    EXPECT_TRUE(window.sent.empty()) << "heard " << window.sent.size() << " messages";
    ASSERT_EQ(undo.Undo(), 1);
    EXPECT_FALSE(window.offThread);
    ASSERT_FALSE(window.sent.empty());
    EXPECT_EQ(
        window.sent.back(),
        std::make_pair(kPropMsgShowObject, static_cast<CObjWithProp*>(document->GetCurrentRun())));
    for (const auto& [message, object] : window.sent) {
      const auto* run = dynamic_cast<const CRun*>(object);
      ASSERT_NE(run, nullptr);
      EXPECT_EQ(run->GetDocument(), document.get()) << "a run of a design read aside";
    }
  }
}

// A step whose file was cut is not read ahead, and its undo fails as before.
TEST_F(UndoKeptSceneTest, AStepCutWhileWrittenIsNotReadAhead) {
  const auto document = Document();
  CUndoManager& undo = document->GetUndo();
  undo.UseWriter(std::make_unique<CCuttingSnapshotWriter>());
  ASSERT_EQ(undo.SaveUndoState(21069, true), 1);
  document->SetDocPropertyModified("Name", "edited");
  const std::vector<std::uint8_t> current = Save(*document);
  EXPECT_EQ(undo.PrepareUndo(), 0);
  EXPECT_EQ(undo.Undo(), 0);
  EXPECT_TRUE(undo.LastRestoreFailed());
  EXPECT_EQ(Save(*document), current);
}

}  // namespace
