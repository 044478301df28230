#include "model/undo/undo_document_test_base.h"

#include "geometry/box.h"
#include "geometry/display_list.h"
#include "model/annotation/annotation_label.h"
#include "model/element/dev.h"
#include "model/document/doc_file_bytes.h"
#include "model/run/run.h"
#include "model/undo/undo_files.h"
#include "model/undo/undo_manager.h"
#include "platform/archive.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

struct ChangeCase {
  const char* name;
  std::function<void(CDorneDoc&)> change;
};

// A snapshot made while the window is idle stands for the next edit's only while the
// document is as it was then; whatever changed in between, the step holds the document as
// it stood at the edit.
class UndoMadeAheadTest : public UndoDocumentTestBase {
 public:
  UndoMadeAheadTest() : UndoDocumentTestBase("undo-made-ahead") {}
  using DorneDocTestBase::Save;
  static void MakeAhead(CUndoManager& undo) {
    int calls = 0;
    while (undo.PrepareSnapshot() != 0) ASSERT_LT(++calls, 3) << "bytes, then the design";
    ASSERT_EQ(calls, 2);
  }
  // The bytes of the snapshot file of the step last committed.
  static std::vector<std::uint8_t> StepFile(CUndoManager& undo) {
    std::vector<std::uint8_t> bytes;
    const CUndoRecord& record = undo.GetRecord(undo.GetLast());
    EXPECT_TRUE(ReadWholeFile(record.path, bytes)) << record.path;
    return bytes;
  }

 protected:
  std::unique_ptr<CDorneDoc> Document() {
    auto document = ThreeRunsApart();
    auto label = std::make_unique<CAnnotationLabel>(CAnnotation::kText);
    label->SetOwnerElement(document->GetRunAt(1)->GetFirstElement());
    label->SetText("as painted first");
    document->Annotations().Append(std::move(label));
    // Edited once already: made ahead only after a first snapshot.
    EXPECT_EQ(document->GetUndo().SaveUndoState(21060, true), 1);
    return document;
  }
  static std::vector<std::uint8_t> SnapshotNow(CDorneDoc& document) {
    CArchiveWriter writer;
    document.SetSnapshotMarker(CDorneDoc::kSnapshotMarker);
    document.Serialize(writer);
    document.SetSnapshotMarker(0);
    return writer.TakeBytes();
  }

  // Changes between the idle moment and the edit: edits as the program's commands leave
  // the document (marked modified), and changes of what the file keeps that no command
  // marks.
  std::vector<ChangeCase> Changes() const;
};

std::vector<ChangeCase> UndoMadeAheadTest::Changes() const {
  return {
      {"a run moved",
       [](CDorneDoc& document) {
         document.GetRunAt(1)->GetFirstElement()->Translate(C3DPoint(500, 0, 70), true);
         document.RebuildScene();
         document.SetModifiedFlag(true);
       }},
      {"a run moved and rebuilt, not marked modified",
       [](CDorneDoc& document) {
         document.GetRunAt(0)->GetFirstElement()->Translate(C3DPoint(0, 800, 0), true);
         document.RebuildScene();
       }},
      {"an element's box changed with its run's scene held",
       [](CDorneDoc& document) {
         CRun& run = *document.GetRunAt(2);
         const CSceneHold hold(&document, run);
         CBox* box = run.GetDevices()[1]->GetBox(CDev::kBodySlot);
         box->SetOrigin(box->GetOrigin() + C3DPoint(0, 0, 35));
         document.SetModifiedFlag(true);
       }},
      {"an element's length",
       [](CDorneDoc& document) {
         document.GetRunAt(0)->GetDevices()[1]->SetBookedLength(2345);
         document.RebuildScene();
         document.SetModifiedFlag(true);
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
       [](CDorneDoc& document) { document.SetDocPropertyModified("Name", "edited"); }},
      {"the view moved", [](CDorneDoc& document) { document.SetViewCentre(1234, -567); }},
      {"the view zoomed", [](CDorneDoc& document) { document.SetViewSize(4000, 3000); }},
      {"the cursor moved",
       [](CDorneDoc& document) { document.SetCursorPoint(C3DPoint(10, 20, 30)); }},
      {"another current run",
       [](CDorneDoc& document) { document.SetCurrentRun(document.GetRunAt(0)); }},
      {"another current element",
       [](CDorneDoc& document) {
         CRun& run = *document.GetCurrentRun();
         run.SetCurrentElement(run.GetDevices()[2]);
       }},
      {"another tool", [](CDorneDoc& document) { document.SetToolMode(5); }},
      {"the free faces", [](CDorneDoc& document) { document.SetFreeFaceMask(12); }},
      {"only the current run shown", [](CDorneDoc& document) { document.SetCurrentRunOnly(true); }},
      {"another bill page", [](CDorneDoc& document) { document.SetBomPage(2); }},
      // As the views refresh annotations when they paint: no notice, nothing marked.
      {"an annotation added without a notice",
       [](CDorneDoc& document) {
         auto title = std::make_unique<CAnnotationLabel>(CAnnotation::kTitleBlock);
         title->SetOwnerDocument();
         title->SetText("Name: refreshed");
         document.Annotations().Append(std::move(title));
       }},
      {"an annotation's text refreshed without a notice",
       [](CDorneDoc& document) { document.Annotations().At(0)->SetText("refreshed"); }}};
}

// What an edit's step gives: its file, the document after its undo and after the redo,
// whether the undo found the design in memory and brought its scene, and whether the
// scene after the undo is that of a whole rebuild.
struct Outcome {
  std::vector<std::uint8_t> stepFile;
  std::vector<std::uint8_t> undone;
  std::vector<std::uint8_t> redone;
  bool designTaken = false;
  bool sceneCame = false;
  bool sceneWhole = false;
};

// The change, an idle moment before it or after it (made: the snapshot made ahead then,
// whole or its bytes alone, as right after a repaint) or none, then an edit and its undo
// and redo.
enum class Idle { kNone, kBeforeChange, kAfterChange, kBytesBeforeChange, kBytesAfterChange };

void IdleMoment(CUndoManager& undo, bool bytesOnly) {
  if (!bytesOnly) return UndoMadeAheadTest::MakeAhead(undo);
  EXPECT_EQ(undo.PrepareSnapshotBytes(), 1);
  EXPECT_TRUE(undo.HasSnapshotBytesAhead());
}

Outcome EditUndoRedo(CDorneDoc& document, const ChangeCase& c, Idle idle) {
  CUndoManager& undo = document.GetUndo();
  if (idle == Idle::kBeforeChange || idle == Idle::kBytesBeforeChange)
    IdleMoment(undo, idle == Idle::kBytesBeforeChange);
  c.change(document);
  if (idle == Idle::kAfterChange || idle == Idle::kBytesAfterChange)
    IdleMoment(undo, idle == Idle::kBytesAfterChange);
  Outcome outcome;
  EXPECT_EQ(undo.SaveUndoState(21069, true), 1) << c.name;
  outcome.designTaken = undo.GetRecord(undo.GetLast()).state != nullptr;
  document.GetRunAt(0)->GetFirstElement()->Translate(C3DPoint(0, 0, 900), true);
  document.RebuildScene();
  document.SetModifiedFlag(true);
  outcome.stepFile = UndoMadeAheadTest::StepFile(undo);
  const CDisplayList& list = document.Projection().GetDisplayList();
  const std::uint64_t changes = list.Changes();
  EXPECT_EQ(undo.Undo(), 1) << c.name;
  outcome.sceneCame = list.Changes() == changes + 1;
  outcome.undone = UndoMadeAheadTest::Save(document);
  const std::vector<CBox*> shown = list.CollectBoxes();
  document.RebuildScene();
  outcome.sceneWhole = !shown.empty() && list.CollectBoxes() == shown;
  EXPECT_EQ(undo.Redo(), 1) << c.name;
  outcome.redone = UndoMadeAheadTest::Save(document);
  return outcome;
}

void ExpectSameStep(const Outcome& made, const Outcome& reference, const std::string& what) {
  EXPECT_EQ(made.stepFile, reference.stepFile) << what;
  EXPECT_EQ(made.undone, reference.undone) << what;
  EXPECT_EQ(made.redone, reference.redone) << what;
  EXPECT_TRUE(made.sceneWhole) << what;
  EXPECT_TRUE(reference.sceneWhole) << what;
}

// Whatever changed after the snapshot was made ahead, the step is the document at the
// edit: its file, its undo and its redo are those of a step written at the edit.
TEST_F(UndoMadeAheadTest, AChangeAfterTheSnapshotWasMadeAheadIsInTheStep) {
  for (const ChangeCase& c : Changes()) {
    const auto reference = Document();
    const Outcome written = EditUndoRedo(*reference, c, Idle::kNone);
    for (const Idle idle : {Idle::kBeforeChange, Idle::kBytesBeforeChange}) {
      const auto document = Document();
      const Outcome made = EditUndoRedo(*document, c, idle);
      EXPECT_FALSE(made.designTaken) << c.name << ": made anew";
      ExpectSameStep(made, written, c.name);
    }
  }
}

// Bytes alone made ahead after the change (the idle moment right after an edit's repaint)
// give the step at the edit as well; its undo reads the file.
TEST_F(UndoMadeAheadTest, BytesMadeAheadOfAnUnchangedDocumentAreItsStep) {
  for (const ChangeCase& c : Changes()) {
    const auto reference = Document();
    const Outcome written = EditUndoRedo(*reference, c, Idle::kNone);
    const auto document = Document();
    const Outcome made = EditUndoRedo(*document, c, Idle::kBytesAfterChange);
    EXPECT_FALSE(made.designTaken) << c.name;
    EXPECT_FALSE(document->GetUndo().HasSnapshotBytesAhead()) << c.name << ": used up";
    ExpectSameStep(made, written, c.name);
  }
}

// The window makes the bytes at its first idle moment after a step was written or one
// was restored, once.
TEST_F(UndoMadeAheadTest, EveryWrittenStepAsksForTheNextBytesOnce) {
  const auto document = Document();
  CUndoManager& undo = document->GetUndo();
  EXPECT_TRUE(undo.WantsSnapshotBytes()) << "the first step was written";
  EXPECT_EQ(undo.PrepareSnapshotBytes(), 1);
  EXPECT_FALSE(undo.WantsSnapshotBytes());
  EXPECT_EQ(undo.PrepareSnapshotBytes(), 0) << "made already";
  ASSERT_EQ(undo.SaveUndoState(21069, true), 1);
  EXPECT_FALSE(undo.HasSnapshotBytesAhead()) << "taken by the step";
  EXPECT_TRUE(undo.WantsSnapshotBytes());
  EXPECT_EQ(undo.PrepareSnapshotBytes(), 1);
  document->SetDocPropertyModified("Name", "edited");
  EXPECT_EQ(undo.PrepareSnapshotBytes(), 1) << "no longer held: made anew";
  ASSERT_EQ(undo.Undo(), 1);
  EXPECT_TRUE(undo.WantsSnapshotBytes()) << "another design shown";
  EXPECT_EQ(undo.PrepareSnapshotBytes(), 1);
  ASSERT_EQ(undo.Redo(), 1);
  EXPECT_TRUE(undo.WantsSnapshotBytes());
}

// Unchanged since, the document's step is the one made ahead: the same file, undo and redo
// as a snapshot taken at the edit, and the undo swaps its design in with its scene.
TEST_F(UndoMadeAheadTest, AnUnchangedDocumentTakesTheSnapshotMadeAhead) {
  for (const ChangeCase& c : Changes()) {
    const auto reference = Document();
    const Outcome written = EditUndoRedo(*reference, c, Idle::kNone);
    const auto document = Document();
    const Outcome made = EditUndoRedo(*document, c, Idle::kAfterChange);
    EXPECT_TRUE(made.designTaken) << c.name;
    EXPECT_TRUE(made.sceneCame) << c.name << ": the scene came with the step";
    EXPECT_FALSE(written.sceneCame) << c.name << ": read from the file and rebuilt";
    ExpectSameStep(made, written, c.name);
  }
}

// A snapshot made ahead serves one step only: the next one is written anew.
TEST_F(UndoMadeAheadTest, ASnapshotMadeAheadServesOneStep) {
  const auto document = Document();
  CUndoManager& undo = document->GetUndo();
  MakeAhead(undo);
  ASSERT_EQ(undo.SaveUndoState(21069, true), 1);
  EXPECT_NE(undo.GetRecord(undo.GetLast()).state, nullptr);
  const std::vector<std::uint8_t> second = SnapshotNow(*document);
  ASSERT_EQ(undo.SaveUndoState(21070, true), 1);
  EXPECT_EQ(undo.GetRecord(undo.GetLast()).state, nullptr);
  EXPECT_EQ(StepFile(undo), second);
  EXPECT_EQ(undo.GetLast(), 3);
}

// The work is split over idle moments and not made again while it holds; the bytes alone,
// without their design, serve as well.
TEST_F(UndoMadeAheadTest, IdleMomentsMakeTheBytesThenTheDesignOnce) {
  const auto document = Document();
  CUndoManager& undo = document->GetUndo();
  EXPECT_EQ(undo.PrepareSnapshot(), 1) << "the bytes";
  const std::vector<std::uint8_t> bytes = SnapshotNow(*document);
  ASSERT_EQ(undo.SaveUndoState(21069, true), 1);
  EXPECT_EQ(undo.GetRecord(undo.GetLast()).state, nullptr) << "no design made yet";
  EXPECT_EQ(StepFile(undo), bytes);
  EXPECT_EQ(undo.PrepareSnapshot(), 1) << "used up: made again";
  EXPECT_EQ(undo.PrepareSnapshot(), 1) << "the design";
  EXPECT_EQ(undo.PrepareSnapshot(), 0) << "nothing left to make";
  document->SetDocPropertyModified("Name", "edited");
  EXPECT_EQ(undo.PrepareSnapshot(), 1) << "no longer holds";
}

// Without a folder for the files, or a run, no snapshot would be taken: none is made.
TEST_F(UndoMadeAheadTest, NothingIsMadeAheadWhereNoSnapshotWouldBeTaken) {
  const auto noFolder = NewDocument();
  AddRun(*noFolder, "QDA");
  EXPECT_EQ(noFolder->GetUndo().SaveUndoState(21060, true), 0);
  EXPECT_EQ(noFolder->GetUndo().PrepareSnapshot(), 0);
  CDocEnvironment environment;
  environment.settingsFolder = m_folder.Folder();
  const auto noRun = NewDocument(environment);
  EXPECT_EQ(noRun->GetUndo().PrepareSnapshot(), 0);
}

// Before the first snapshot the document's first writing is still to come: the first edit
// makes it, as it always did, so that the file is the same whether the window was idle.
TEST_F(UndoMadeAheadTest, NothingIsMadeAheadBeforeTheFirstSnapshot) {
  CDocEnvironment environment;
  environment.settingsFolder = m_folder.Folder();
  const auto fresh = NewDocument(environment);
  BuildChain(AddRun(*fresh, "QDA"));
  const auto idle = NewDocument(environment);
  BuildChain(AddRun(*idle, "QDA"));
  EXPECT_EQ(idle->GetUndo().PrepareSnapshot(), 0);
  for (CDorneDoc* document : {fresh.get(), idle.get()}) {
    document->SetDocPropertyModified("Name", "edited");
    ASSERT_EQ(document->GetUndo().SaveUndoState(21069, true), 1);
  }
  EXPECT_EQ(StepFile(idle->GetUndo()), StepFile(fresh->GetUndo()));
  EXPECT_EQ(idle->GetUndo().PrepareSnapshot(), 1) << "after it";
}

}  // namespace
