// The turn and move tools and Delete make the scene again after their edits at the cost of
// the edited run (and what it meets on screen) rather than the design's: the scene each
// leaves, and the one an undo of it leaves, must be the one a whole rebuild makes, box for
// box: the same order, projections, face flags and picks as a twin document whose scene is
// made anew after the same edits.

#include "model/run/scene_twin_support.h"

#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/display_list.h"
#include "model/element/dev.h"
#include "model/element/dev_placement_support.h"
#include "model/run/run.h"
#include "model/undo/undo_files.h"
#include "model/undo/undo_manager.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kUndoEdit = 21069;

// The document's mode while the turn tool is chosen.
constexpr int kTurnToolMode = 3;

// The turn tool's click toward the first face of those given that the current element
// may turn to and that the view does not see end on, as the view hands it over; false when
// there is none.
bool TurnToward(CDorneDoc& document, std::initializer_list<int> faces) {
  const C3DProjection& projection = document.Projection();
  for (const int face : faces) {
    const int bit = FaceIndexToBit(face);
    const C3DPoint toward = document.GetCursorPoint() + dev_placement::Along(face, 3000);
    const CPoint click = projection.ProjectPoint(toward);
    if ((bit & document.GetFreeFaceMask()) == 0 ||
        projection.FindAxisTowardPoint(document.GetCursorPoint(), click) != bit)
      continue;
    return document.ToolTurnAtFace(click) == 1;
  }
  return false;
}

// A straight ending the run grown into an elbow, and placing taken back to the elbow with
// the turn tool chosen, as the turn tool finds it.
void PlaceAtAnElbow(CDorneDoc& document, CRun& run) {
  CDev* elbow = nullptr;
  for (CDev* element : run.GetDevices()) {
    if (element->GetKind() == CDev::kStraight && element->ForwardFaces().empty()) elbow = element;
  }
  ASSERT_NE(elbow, nullptr);
  bool grown = false;
  for (const int face : {5, 2, 1, 3})
    grown = grown || elbow->AddStraightToward(face, 1500) != nullptr;
  ASSERT_TRUE(grown);
  run.SetCurrentElement(elbow);
  document.SetToolMode(kTurnToolMode);
  document.SetCursorPoint(elbow->GetPosition());
  document.SetFreeFaceMask(elbow->GetFreeFaceMask());
}

struct ToolEdit {
  const char* name;
  // Made in both documents before the scenes are made whole.
  std::function<void(CDorneDoc&, CRun&)> prepare;
  // The tool's edit, with the scene it makes; false when the view leaves the tool nothing
  // to click (an axis seen end on).
  std::function<bool(CDorneDoc&, CRun&)> edit;
};

const ToolEdit kToolEdits[] = {
    {"the elbow's branch turned across", PlaceAtAnElbow,
     [](CDorneDoc& document, CRun&) {
       return TurnToward(document, {2, 3, 1, 5});
     }},
    {"the elbow made a bend straight on", PlaceAtAnElbow,
     [](CDorneDoc& document, CRun& run) {
       return TurnToward(document, {run.GetCurrentElement()->GetDirection()});
     }},
    {"the run moved across", nullptr,
     [](CDorneDoc& document, CRun& run) {
       document.MoveRun(run, C3DPoint(0, 700, 0));
       return true;
     }},
    {"the run moved along", nullptr,
     [](CDorneDoc& document, CRun& run) {
       document.MoveRun(run, C3DPoint(-3000, 0, 0));
       return true;
     }},
    {"the run moved up", nullptr,
     [](CDorneDoc& document, CRun& run) {
       document.MoveRun(run, C3DPoint(0, 0, 400));
       return true;
     }},
    {"the element being placed deleted", nullptr,
     [](CDorneDoc& document, CRun& run) {
       CDev* placing = run.GetCurrentElement();
       bool removed = false;
       return placing->SelectElement(true, placing->GetBox(CDev::kBodySlot)) == 1 &&
              document.DeleteCurrentElement(&removed) == 1 && removed;
     }},
    {"a selected element in the middle deleted", nullptr,
     [](CDorneDoc& document, CRun& run) {
       CDev* element = ElementAt(run, 6);
       bool removed = false;
       return element->SelectElement(true, element->GetBox(CDev::kBodySlot)) == 1 &&
              document.DeleteCurrentElement(&removed) == 1 && removed;
     }},
};

class DorneDocToolSceneTest : public SceneTwinTestBase {
 protected:
  void SetUp() override {
    SceneTwinTestBase::SetUp();
    CUndoFiles::ResetForTests();
  }
  void TearDown() override {
    CUndoFiles::ResetForTests();
    SceneTwinTestBase::TearDown();
  }
  std::unique_ptr<CDorneDoc> UndoableDocument(const SceneLayout& layout,
                                              const std::array<int, 3>& view,
                                              const CTempFolder& folder) {
    CDocEnvironment environment;
    environment.settingsFolder = folder.Folder();
    return Document(layout, view, 5, environment);
  }

  CTempFolder m_editedFolder{"tool-scene-edited"};
  CTempFolder m_twinFolder{"tool-scene-twin"};
};

// Each tool's edit of one run after another, each followed by the next edit or by an undo
// of it, in runs far apart, side by side, stacked and laid over one another, from three
// views, the scene whole before the edit or sorted as a turn of the view leaves it: the
// edited document's scene is always the twin's, whose edit is made with its scene held and
// whose scene is then made anew. The runs that meet few others on screen go back without
// the scene being made anew.
TEST_F(DorneDocToolSceneTest, EveryToolsEditAndItsUndoLeaveTheSceneOfAWholeRebuild) {
  const std::vector<std::vector<int>> orders = {{0, 1, 2, 3}, {4, 4, 1, 2}, {2, 0, 3, 2}};
  for (const SceneLayout& layout : kSceneLayouts) {
    int edits = 0;
    int unmade = 0;
    int afterWhole = 0;
    int alone = 0;
    for (const auto& view : kSceneViews) {
      for (std::size_t o = 0; o < orders.size(); ++o) {
        for (std::size_t first = 0; first < std::size(kToolEdits); ++first) {
          const auto edited = UndoableDocument(layout, view, m_editedFolder);
          const auto twin = UndoableDocument(layout, view, m_twinFolder);
          for (std::size_t step = 0; step < orders[o].size(); ++step) {
            const auto which = static_cast<std::size_t>(orders[o][step]);
            const ToolEdit& tool = kToolEdits[(first + step) % std::size(kToolEdits)];
            const bool undo = (step + o) % 3 == 2;
            // The scene made whole before the edit, or sorted again since as a turn of the
            // view sorts it (not in the order a whole rebuild inserts its boxes).
            const bool sorted = (first + step) % 2 == 1;
            const std::string what = std::string(layout.name) + ", view " +
                                     std::to_string(view[0]) + ", order " + std::to_string(o) +
                                     ", step " + std::to_string(step) + ", " + tool.name +
                                     (sorted ? ", sorted before" : "") + (undo ? ", undone" : "");
            SCOPED_TRACE(what);
            for (CDorneDoc* document : {edited.get(), twin.get()}) {
              CRun& run = *document->GetRuns()[which];
              document->SetCurrentRun(&run);
              if (tool.prepare) tool.prepare(*document, run);
              document->RebuildScene();
              if (sorted) document->SetViewAngles(view[0], view[1], view[2]);
            }
            const CDisplayList& list = edited->Projection().GetDisplayList();
            const std::uint64_t changes = list.Changes();
            bool made[2] = {};
            for (int d = 0; d < 2; ++d) {
              CDorneDoc& document = d == 0 ? *edited : *twin;
              ASSERT_EQ(document.GetUndo().SaveUndoState(kUndoEdit, true), 1);
              // The twin's edit never meets its scene, which is made anew afterwards.
              if (d == 1) document.HoldScene(true);
              made[d] = tool.edit(document, *document.GetRuns()[which]);
              if (d == 1) document.HoldScene(false);
            }
            ASSERT_EQ(made[0], made[1]);
            if (!made[0]) {
              ++unmade;
              continue;
            }
            ++edits;
            if (!sorted) ++afterWhole;
            if (list.Changes() - changes < list.Size()) ++alone;
            twin->RebuildScene();
            EXPECT_EQ(SceneDifference(*edited, *twin), "");
            EXPECT_EQ(PickDifference(*edited, *twin), "");
            if (!undo) continue;
            for (CDorneDoc* document : {edited.get(), twin.get()})
              ASSERT_EQ(document->GetUndo().Undo(), 1);
            twin->RebuildScene();
            EXPECT_EQ(SceneDifference(*edited, *twin), "");
            EXPECT_EQ(PickDifference(*edited, *twin), "");
          }
        }
      }
    }
    // After a whole scene, edits of runs far apart go back alone, and most of those of runs
    // side by side; only turns the view sees end on are left unmade.
    if (&layout == &kSceneLayouts[0]) {
      EXPECT_EQ(alone, afterWhole);
    }
    if (&layout == &kSceneLayouts[1]) {
      EXPECT_GT(2 * alone, afterWhole);
    }
    EXPECT_LT(unmade * 10, edits) << layout.name;
  }
}

}  // namespace
