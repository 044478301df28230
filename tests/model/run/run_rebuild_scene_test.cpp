// After an edit and the rebuild of the edited run, the scene is the one a whole rebuild
// makes: the same boxes in the same order, each with the projection and the face flags a
// fresh projection and insertion give it. Runs far apart rebuild their own boxes alone;
// runs side by side or over one another meet on screen and make the scene anew.

#include "model/document/dorne_doc_test_support.h"

#include "geometry/box.h"
#include "geometry/display_list.h"
#include "geometry/element_pick.h"
#include "model/element/dev.h"
#include "model/run/run.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// What the picture and the depth order read of a listed box.
struct BoxState {
  CBox* box = nullptr;
  C3DPoint low, high;
  std::uint32_t attributes = 0;
  bool finite = false;
};

bool SameBits(const C3DPoint& a, const C3DPoint& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Empty when the scenes are the same, else where they first differ.
std::string Difference(const std::vector<BoxState>& a, const std::vector<BoxState>& b) {
  if (a.size() != b.size())
    return std::to_string(a.size()) + " boxes against " + std::to_string(b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    const std::string at = "at " + std::to_string(i) + " of " + std::to_string(a.size()) + ": ";
    if (a[i].box != b[i].box) return at + "another box";
    if (!SameBits(a[i].low, b[i].low) || !SameBits(a[i].high, b[i].high))
      return at + "another projection";
    if (a[i].attributes != b[i].attributes) return at + "other face flags";
    if (a[i].finite != b[i].finite) return at + "finite or not";
  }
  return {};
}

// The listed boxes in order; each box's bounds are those of a fresh projection of a copy.
std::vector<BoxState> SceneState(CDorneDoc& document, bool freshProjection) {
  std::vector<BoxState> states;
  for (CBox* box : document.Projection().GetDisplayList().CollectBoxes()) {
    CBox copy = *box;
    copy.SetListed(false);
    if (freshProjection) document.Projection().ProjectBox(copy);
    states.push_back({box, copy.GetProjectedMin(), copy.GetProjectedMax(), box->GetAttributes(),
                      copy.HasFiniteProjection()});
  }
  return states;
}

constexpr int kElements = 12;

// A straight run along x at the height and depth given, its elements placed where their
// boxes stand; the start is placed, so that no start marker enters the scene.
void BuildStraightRun(CRun& run, const C3DPoint& origin) {
  run.SetFlagsWord(1);
  CChainBuilder builder(run);
  CDev* last = builder.Start(4);
  last->SetPosition(origin);
  for (int i = 1; i < kElements; ++i) {
    last = builder.Add(last, 4, CDev::kStraight, 1000);
    last->SetPosition(origin + C3DPoint(1000.0 * i, 0, 0));
    last->MakeBox(CDev::kBodySlot)->SetPlacement(last->GetPosition(), 100, 1000, 100);
    for (int face = 0; face < CDev::kFaceCount; ++face)
      last->SetFreeFace(face, face == CDev::OppositeDirection(4) ? 0 : 1);
  }
  run.SetCurrentElement(last);
}

CDev* ElementAt(CRun& run, int index) {
  return run.GetDevices()[static_cast<std::size_t>(index) % run.GetDevices().size()];
}

// As the move tool does it (CViewTools::MoveRunPress), making the scene anew.
void MoveRun(CDorneDoc& document, CRun& run, const C3DPoint& by) {
  run.GetFirstElement()->Translate(by, true);
  document.SetModifiedFlag(true);
  document.RebuildScene();
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
     [](CDorneDoc& document, CRun&) { EXPECT_EQ(document.DeleteCurrentElement(), 1); }},
};

struct Layout {
  const char* name;
  C3DPoint step;  // from one run to the next
};

const Layout kLayouts[] = {
    {"far apart", C3DPoint(0, 300000, 300000)},
    {"side by side", C3DPoint(0, 2000, 0)},
    {"one above the other", C3DPoint(0, 0, 400)},
    {"over one another", C3DPoint(0, 0, 0)},
};

const std::array<int, 3> kViews[] = {{30, 45, 10}, {330, 315, 0}, {90, 0, 0}};

class RunRebuildSceneTest : public DorneDocTestBase {
 protected:
  std::unique_ptr<CDorneDoc> Document(const Layout& layout, const std::array<int, 3>& view,
                                      int runs = 4) {
    auto document = NewDocument();
    for (int i = 0; i < runs; ++i)
      BuildStraightRun(AddRun(*document, "QDA"), layout.step * static_cast<double>(i));
    document->SetViewAngles(view[0], view[1], view[2]);
    document->RebuildScene();
    return document;
  }
};

// The window point at the middle of a box's projected bounds.
CPoint MiddleOf(const CBox& box) {
  const C3DPoint middle = (box.GetProjectedMin() + box.GetProjectedMax()) * 0.5;
  return CPoint{static_cast<std::int32_t>(middle.x), static_cast<std::int32_t>(middle.y)};
}

// What a pick at the middle of every run's bodies finds, front to back.
std::vector<const CBox*> PicksOverBodies(CDorneDoc& document, const std::vector<CPoint>& points) {
  std::vector<const CBox*> picked;
  for (const CPoint point : points)
    picked.push_back(HitTestElements(document.Projection(), point).box);
  return picked;
}

TEST_F(RunRebuildSceneTest, AnEditedRunRebuiltLeavesTheSceneOfAWholeRebuild) {
  int alone = 0;
  int anew = 0;
  for (const Layout& layout : kLayouts) {
    for (const auto& view : kViews) {
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
          const std::vector<BoxState> rebuilt = SceneState(*document, false);
          EXPECT_EQ(Difference(rebuilt, SceneState(*document, true)), "") << what;
          document->RebuildScene();
          EXPECT_EQ(Difference(rebuilt, SceneState(*document, true)), "") << what << ", rebuilt";
        }
      }
    }
  }
  // Both ways of rebuilding a run's scene were taken.
  EXPECT_GT(alone, 0);
  EXPECT_GT(anew, 0);
}

// A box of the document by where it stands: run, element and slot (the same in two
// documents built alike).
std::string NameOf(CDorneDoc& document, const CBox* box) {
  const std::vector<CRun*> runs = document.GetRuns();
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const std::vector<CDev*>& elements = runs[r]->GetDevices();
    for (std::size_t e = 0; e < elements.size(); ++e) {
      const int slot = elements[e]->GetBoxSlot(*box);
      if (slot >= 0) {
        return std::to_string(r) + "/" + std::to_string(e) + "/" + std::to_string(slot);
      }
    }
  }
  return "another box";
}

// The scene of one document against the same scene of another: the boxes by name.
std::string Difference(CDorneDoc& a, CDorneDoc& b) {
  std::vector<BoxState> states[] = {SceneState(a, false), SceneState(b, false)};
  CDorneDoc* documents[] = {&a, &b};
  for (std::size_t i = 0; i < states[0].size() && i < states[1].size(); ++i) {
    const std::string names[] = {NameOf(a, states[0][i].box), NameOf(b, states[1][i].box)};
    if (names[0] != names[1])
      return "at " + std::to_string(i) + ": " + names[0] + " against " + names[1];
  }
  for (int d = 0; d < 2; ++d) {
    EXPECT_EQ(Difference(states[d], SceneState(*documents[d], true)), "");
    for (BoxState& state : states[d]) state.box = nullptr;
  }
  return Difference(states[0], states[1]);
}

// Edits of one run after another, each run rebuilt as the edit ends, in runs that meet on
// screen: the boxes of the edited run and of those it meets go back into the scene as a
// whole rebuild would insert them, edit after edit, without the scene being made anew;
// the list, the projections, the face flags and what a pick finds are those of a document
// made anew after each edit.
TEST_F(RunRebuildSceneTest, RunsThatMeetGoBackAsAWholeRebuildPutsThemEditAfterEdit) {
  const Edit edits[] = {kEdits[0], kEdits[1], kEdits[2], kEdits[3], kEdits[6]};
  const std::vector<std::vector<int>> orders = {{0, 1, 2, 3}, {3, 3, 1, 0, 2}, {2, 0, 2, 4, 1}};
  for (const Layout& layout : kLayouts) {
    int alone = 0;
    for (const auto& view : kViews) {
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
          EXPECT_EQ(Difference(*edited, *rebuilt), "") << what;
          std::vector<CPoint> points;
          for (CRun* run : rebuilt->GetRuns()) {
            for (int e : {2, 4, 5, 7})
              points.push_back(MiddleOf(*ElementAt(*run, e)->GetBox(CDev::kBodySlot)));
          }
          const std::vector<const CBox*> picks[] = {PicksOverBodies(*edited, points),
                                                    PicksOverBodies(*rebuilt, points)};
          for (std::size_t p = 0; p < points.size(); ++p) {
            ASSERT_NE(picks[1][p], nullptr) << what;
            EXPECT_EQ(NameOf(*edited, picks[0][p]), NameOf(*rebuilt, picks[1][p])) << what;
          }
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
  for (const Layout& layout : kLayouts) {
    for (const auto& view : kViews) {
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
          const std::vector<const CBox*> picks = PicksOverBodies(*document, points);
          const std::vector<BoxState> rebuilt = SceneState(*document, false);
          EXPECT_EQ(Difference(rebuilt, SceneState(*document, true)), "") << what;
          document->RebuildScene();
          EXPECT_EQ(Difference(rebuilt, SceneState(*document, true)), "") << what << ", rebuilt";
          EXPECT_EQ(picks, PicksOverBodies(*document, points)) << what;
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
         EXPECT_EQ(document.DeleteCurrentElement(), 1);
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
    std::vector<std::vector<BoxState>> scenes;
    for (const bool lookBetween : {false, true}) {
      const auto document = Document(kLayouts[3], kViews[0]);
      const CDisplayList& list = document->Projection().GetDisplayList();
      for (CRun* run : document->GetRuns()) {
        ASSERT_EQ(run->RebuildParts(0), 1) << use.name;
        if (lookBetween) {
          EXPECT_GT(list.Size(), 0u) << use.name;
        }
      }
      use.apply(*document);
      scenes.push_back(SceneState(*document, false));
      EXPECT_EQ(Difference(scenes.back(), SceneState(*document, true)), "") << use.name;
    }
    ASSERT_EQ(scenes[0].size(), scenes[1].size()) << use.name;
    for (std::size_t i = 0; i < scenes[0].size(); ++i) {
      // Two documents: the boxes compare by what they hold.
      scenes[0][i].box = scenes[1][i].box = nullptr;
    }
    EXPECT_EQ(Difference(scenes[0], scenes[1]), "") << use.name;
  }
}

}  // namespace
