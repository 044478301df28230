// After an edit and the rebuild of the edited run, the scene is the one a whole rebuild
// makes: the same boxes in the same order, each with the projection and the face flags a
// fresh projection and insertion give it. Runs far apart rebuild their own boxes alone;
// runs side by side or over one another meet on screen and make the scene anew.

#include "model/run/scene_twin_support.h"

#include "geometry/box.h"
#include "geometry/display_list.h"
#include "model/element/dev.h"
#include "model/run/run.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// As the move tool does it (CViewTools::MoveRunPress).
void MoveRun(CDorneDoc& document, CRun& run, const C3DPoint& by) { document.MoveRun(run, by); }

// As the delete command does it: the run's last element selected, then deleted.
void DeleteLastElement(CDorneDoc& document, CRun& run) {
  CDev* last = run.GetCurrentElement();
  ASSERT_EQ(last->SelectElement(true, last->GetBox(CDev::kBodySlot)), 1);
  EXPECT_EQ(document.DeleteCurrentElement(), 1);
}

struct Edit {
  const char* name;
  std::function<void(CDorneDoc&, CRun&)> apply;
};

const Edit kEdits[] = {
    {"a straight at the end",
     [](CDorneDoc&, CRun& run) { run.GetCurrentElement()->AddStraightToward(4, 1000); }},
    {"an elbow up at the end",
     [](CDorneDoc&, CRun& run) { run.GetCurrentElement()->AddStraightToward(5, 1500); }},
    {"a branch toward the next run",
     [](CDorneDoc&, CRun& run) { ElementAt(run, 5)->AddStraightToward(2, 2500); }},
    {"a branch down and away",
     [](CDorneDoc&, CRun& run) { ElementAt(run, 7)->AddStraightToward(1, 800); }},
    {"the run moved across",
     [](CDorneDoc& document, CRun& run) { MoveRun(document, run, C3DPoint(0, 700, 0)); }},
    {"the run moved along",
     [](CDorneDoc& document, CRun& run) { MoveRun(document, run, C3DPoint(-3000, 0, 0)); }},
    {"one box grown",
     [](CDorneDoc&, CRun& run) { ElementAt(run, 3)->GetBox(CDev::kBodySlot)->SetExtent1(900); }},
    {"the last element deleted",
     [](CDorneDoc& document, CRun& run) { DeleteLastElement(document, run); }},
};

class RunRebuildSceneTest : public SceneTwinTestBase {};

TEST_F(RunRebuildSceneTest, AnEditedRunRebuiltLeavesTheSceneOfAWholeRebuild) {
  int alone = 0;
  int anew = 0;
  for (const SceneLayout& layout : kSceneLayouts) {
    for (const auto& view : kSceneViews) {
      for (const Edit& edit : kEdits) {
        for (int which : {0, 2, 3}) {
          const std::string what = std::string(layout.name) + ", " + edit.name + ", run " +
                                   std::to_string(which) + ", view " + std::to_string(view[0]);
          const auto document = Document(layout, view);
          CRun& run = *document->GetRuns()[static_cast<std::size_t>(which)];
          document->SetCurrentRun(&run);
          edit.apply(*document, run);
          const CDisplayList& list = document->Projection().GetDisplayList();
          const std::uint64_t changes = list.Changes();
          ASSERT_EQ(run.RebuildParts(0), 1) << what;
          (list.Changes() - changes < list.Size() ? alone : anew) += 1;
          const std::vector<SceneBoxState> rebuilt = SceneState(*document, false);
          EXPECT_EQ(SceneDifference(rebuilt, SceneState(*document, true)), "") << what;
          document->RebuildScene();
          EXPECT_EQ(SceneDifference(rebuilt, SceneState(*document, true)), "")
              << what << ", rebuilt";
        }
      }
    }
  }
  // Both ways of rebuilding a run's scene were taken.
  EXPECT_GT(alone, 0);
  EXPECT_GT(anew, 0);
}

// Edits of one run after another, each run rebuilt as the edit ends, in runs that meet on
// screen: the boxes of the edited run and of those it meets go back into the scene as a
// whole rebuild would insert them, edit after edit, without the scene being made anew;
// the list, the projections, the face flags and what a pick finds are those of a document
// made anew after each edit.
TEST_F(RunRebuildSceneTest, RunsThatMeetGoBackAsAWholeRebuildPutsThemEditAfterEdit) {
  const Edit edits[] = {kEdits[0], kEdits[1], kEdits[2], kEdits[3], kEdits[6]};
  const std::vector<std::vector<int>> orders = {{0, 1, 2, 3}, {3, 3, 1, 0, 2}, {2, 0, 2, 4, 1}};
  for (const SceneLayout& layout : kSceneLayouts) {
    int alone = 0;
    for (const auto& view : kSceneViews) {
      for (std::size_t o = 0; o < orders.size(); ++o) {
        const auto edited = Document(layout, view, 5);
        const auto rebuilt = Document(layout, view, 5);
        for (std::size_t step = 0; step < orders[o].size(); ++step) {
          const auto which = static_cast<std::size_t>(orders[o][step]);
          const Edit& edit = edits[(step + o) % std::size(edits)];
          const std::string what = std::string(layout.name) + ", view " + std::to_string(view[0]) +
                                   ", order " + std::to_string(o) + ", step " +
                                   std::to_string(step) + ", " + edit.name;
          for (CDorneDoc* document : {edited.get(), rebuilt.get()}) {
            CRun& run = *document->GetRuns()[which];
            document->SetCurrentRun(&run);
            edit.apply(*document, run);
          }
          ASSERT_EQ(edited->GetRuns()[which]->RebuildParts(0), 1) << what;
          // Made anew, the scene would be put off until first seen.
          if (!edited->Projection().HasDeferredDisplayList()) ++alone;
          ASSERT_EQ(rebuilt->GetRuns()[which]->RebuildParts(0), 1) << what;
          rebuilt->RebuildScene();
          EXPECT_EQ(SceneDifference(*edited, *rebuilt), "") << what;
          EXPECT_EQ(PickDifference(*edited, *rebuilt), "") << what;
        }
      }
    }
    // Every edit went back without the scene made anew but those that re-file a box of
    // the run after its rebuild (one box grown).
    EXPECT_GE(alone, 36) << layout.name;
  }
}

// Every run rebuilt in turn, in any order, with nothing looking at the scene in between:
// the first look (a pick, or the list itself, or a box asking whether it is listed) finds
// the scene a whole rebuild makes, whether the runs were built before or not and however
// they are laid out.
TEST_F(RunRebuildSceneTest, EveryRunRebuiltInTurnLeavesTheSceneOfAWholeRebuild) {
  const std::vector<std::vector<int>> orders = {{0, 1, 2, 3, 4}, {4, 3, 2, 1, 0}, {2, 4, 0, 3, 1}};
  for (const SceneLayout& layout : kSceneLayouts) {
    for (const auto& view : kSceneViews) {
      for (const bool builtBefore : {false, true}) {
        for (std::size_t o = 0; o < orders.size(); ++o) {
          const std::string what = std::string(layout.name) + ", view " + std::to_string(view[0]) +
                                   (builtBefore ? ", built" : "") + ", order " + std::to_string(o);
          const auto document = Document(layout, view, 5);
          const std::vector<CRun*> runs = document->GetRuns();
          if (builtBefore) {
            for (CRun* run : runs) ASSERT_EQ(run->RebuildParts(0), 1) << what;
          }
          std::vector<CPoint> points;
          for (CRun* run : runs) {
            run->GetCurrentElement()->AddStraightToward(4, 1000);
            points.push_back(MiddleOf(*ElementAt(*run, 4)->GetBox(CDev::kBodySlot)));
          }
          for (const int which : orders[o]) {
            ASSERT_EQ(runs[static_cast<std::size_t>(which)]->RebuildParts(0), 1) << what;
          }
          const std::vector<const CBox*> picks = PicksAt(*document, points);
          const std::vector<SceneBoxState> rebuilt = SceneState(*document, false);
          EXPECT_EQ(SceneDifference(rebuilt, SceneState(*document, true)), "") << what;
          document->RebuildScene();
          EXPECT_EQ(SceneDifference(rebuilt, SceneState(*document, true)), "")
              << what << ", rebuilt";
          EXPECT_EQ(picks, PicksAt(*document, points)) << what;
          EXPECT_NE(picks.front(), nullptr) << what;
        }
      }
    }
  }
}

// The scene of runs rebuilt in turn is made before any other use sees it: a box asking
// whether it is listed, a list held from before, a turn of the view, and an element or a
// run deleted meanwhile each find or leave what the scene made at once would.
TEST_F(RunRebuildSceneTest, AnyUseOfAPutOffSceneFindsItMade) {
  struct Use {
    const char* name;
    std::function<void(CDorneDoc&)> apply;
  };
  const Use uses[] = {
      {"nothing", [](CDorneDoc&) {}},
      {"a box asks",
       [](CDorneDoc& document) {
         EXPECT_TRUE(ElementAt(*document.GetRuns()[2], 3)->GetBox(CDev::kBodySlot)->IsListed());
       }},
      {"the view turned", [](CDorneDoc& document) { document.SetViewAngles(300, 20, 200); }},
      {"the last element deleted",
       [](CDorneDoc& document) {
         document.SetCurrentRun(document.GetRuns()[1]);
         DeleteLastElement(document, *document.GetRuns()[1]);
       }},
      {"a run removed", [](CDorneDoc& document) { document.RemoveRun(document.GetRuns()[3]); }},
      {"a run rebuilt after the turn",
       [](CDorneDoc& document) {
         document.SetViewAngles(90, 0, 0);
         ASSERT_EQ(document.GetRuns()[0]->RebuildParts(0), 1);
       }},
  };
  for (const Use& use : uses) {
    // The same uses with the scene made at once after each rebuild, for comparison.
    std::vector<std::vector<SceneBoxState>> scenes;
    for (const bool lookBetween : {false, true}) {
      const auto document = Document(kSceneLayouts[3], kSceneViews[0]);
      const CDisplayList& list = document->Projection().GetDisplayList();
      for (CRun* run : document->GetRuns()) {
        ASSERT_EQ(run->RebuildParts(0), 1) << use.name;
        if (lookBetween) {
          EXPECT_GT(list.Size(), 0u) << use.name;
        }
      }
      use.apply(*document);
      scenes.push_back(SceneState(*document, false));
      EXPECT_EQ(SceneDifference(scenes.back(), SceneState(*document, true)), "") << use.name;
    }
    ASSERT_EQ(scenes[0].size(), scenes[1].size()) << use.name;
    for (std::size_t i = 0; i < scenes[0].size(); ++i) {
      // Two documents: the boxes compare by what they hold.
      scenes[0][i].box = scenes[1][i].box = nullptr;
    }
    EXPECT_EQ(SceneDifference(scenes[0], scenes[1]), "") << use.name;
  }
}

}  // namespace
