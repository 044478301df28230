// A whole scene turned for quick pictures and then settled (at once or aside) paints in the
// order a fresh rebuild at the new angles gives, without being built anew; a scene that was
// not whole, or changed since the turn, is left to the rebuild.

#include "model/document/dorne_doc_test_support.h"

#include "geometry/box.h"
#include "geometry/display_list.h"
#include "model/element/dev.h"
#include "model/run/run.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <string>
#include <vector>

namespace {

class DorneDocTurnedSceneTest : public DorneDocTestBase {
 protected:
  // Runs enough for the list's sort on several threads, crossing one another on screen.
  std::unique_ptr<CDorneDoc> LongDocument() const {
    auto document = NewDocument();
    for (int i = 0; i < 240; ++i) {
      CRun& run = AddRun(*document, "QDA");
      BuildChain(run);
      if (i % 5 != 0) run.SetFlagsWord(1);  // some runs show their start marker
      const C3DPoint shift(700.0 * (i % 7), 900.0 * i, 300.0 * (i % 3));
      for (CDev* element : run.GetDevices()) {
        for (const auto& box : element->GetBoxSlots())
          if (box) box->SetOrigin(box->GetOrigin() + shift);
      }
    }
    document->RebuildScene();
    return document;
  }
};

enum class ESettle { kAtOnce, kAside, kAsideCalledOff };

const char* Name(ESettle settle) {
  switch (settle) {
    case ESettle::kAtOnce: return "settled at once";
    case ESettle::kAside: return "settled aside";
    case ESettle::kAsideCalledOff: return "aside called off, settled";
  }
  return "";
}

// A short list (one run shown) is not sorted aside: SettleView sorts it.
void Settle(CDorneDoc& document, ESettle settle, bool shortList) {
  const std::atomic<bool> go{false}, stop{true};
  switch (settle) {
    case ESettle::kAtOnce: document.SettleView(); break;
    case ESettle::kAside:
      EXPECT_EQ(document.SettleViewAside(go), !shortList);
      document.SettleView();
      break;
    case ESettle::kAsideCalledOff:
      EXPECT_FALSE(document.SettleViewAside(stop));
      document.SettleView();
      break;
  }
}

// The order of a rebuild from an empty list at the document's angles.
std::vector<CBox*> FreshRebuild(CDorneDoc& document) {
  document.Projection().ClearDisplayList();
  document.RebuildScene();
  return document.Projection().GetDisplayList().CollectBoxes();
}

struct TurnCase {
  std::vector<std::array<int, 3>> turns;  // the last one stays
  bool currentRunOnly;
};

TEST_F(DorneDocTurnedSceneTest, AWholeSceneTurnedSettlesInTheOrderOfAFreshRebuild) {
  const auto document = LongDocument();
  const CDisplayList& list = document->Projection().GetDisplayList();
  ASSERT_GE(list.Size(), 2400u);
  const TurnCase turns[] = {
      {{{30, 45, 10}}, false}, {{{300, 20, 200}, {310, 25, 190}, {320, 30, 180}}, false},
      {{{0, 90, 0}}, false},   {{{90, 0, 0}, {180, 270, 45}}, false},
      {{{15, 330, 5}}, true},
  };
  for (const ESettle settle : {ESettle::kAtOnce, ESettle::kAside, ESettle::kAsideCalledOff}) {
    for (const TurnCase& turn : turns) {
      const std::array<int, 3> last = turn.turns.back();
      SCOPED_TRACE(std::string(Name(settle)) + " at " + std::to_string(last[0]) + " " +
                   std::to_string(last[1]) + " " + std::to_string(last[2]));
      document->SetCurrentRunOnly(turn.currentRunOnly);
      document->SetViewAngles(330, 315, 0);
      document->RebuildScene();
      ASSERT_TRUE(document->HasWholeScene());
      for (const auto& angles : turn.turns) document->TurnView(angles[0], angles[1], angles[2]);
      const std::uint64_t changes = list.Changes();
      Settle(*document, settle, turn.currentRunOnly);
      EXPECT_FALSE(list.Unordered());
      // A short list (one run shown) is built anew one box at a time.
      if (!turn.currentRunOnly) {
        EXPECT_LT(list.Changes() - changes, 8u) << "not built anew";
      }
      EXPECT_TRUE(document->HasWholeScene());
      const std::vector<CBox*> settled = list.CollectBoxes();
      EXPECT_EQ(settled, FreshRebuild(*document));
    }
  }
  document->SetCurrentRunOnly(false);
}

struct SpoiltCase {
  const char* name;
  void (*spoil)(CDorneDoc& document, bool beforeTheTurn);
};

// A scene that was not whole when turned, or changed after the turn, is not taken for a
// rebuild's: settling sorts it as before, and a rebuild builds it anew.
TEST_F(DorneDocTurnedSceneTest, ASceneNotWholeOrChangedSinceTheTurnIsBuiltAnew) {
  const auto document = LongDocument();
  const CDisplayList& list = document->Projection().GetDisplayList();
  const SpoiltCase cases[] = {
      {"a box taken out of the scene",
       [](CDorneDoc& d, bool) {
         d.RemoveFromScene(*d.GetRuns()[3]->GetDevices()[2]->GetBox(CDev::kBodySlot));
       }},
      {"a box moved",
       [](CDorneDoc& d, bool) {
         CBox& box = *d.GetRuns()[7]->GetDevices()[1]->GetBox(CDev::kBodySlot);
         box.SetOrigin(box.GetOrigin() + C3DPoint(0, 0, 40));
       }},
      {"only the current run shown", [](CDorneDoc& d, bool) { d.SetCurrentRunOnly(true); }},
  };
  for (const SpoiltCase& c : cases) {
    for (const bool beforeTheTurn : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (beforeTheTurn ? " before the turn" : " after it"));
      document->SetCurrentRunOnly(false);
      document->SetViewAngles(330, 315, 0);
      document->RebuildScene();
      if (beforeTheTurn) c.spoil(*document, true);
      document->TurnView(40, 20, 0);
      if (!beforeTheTurn) c.spoil(*document, false);
      document->SettleView();
      EXPECT_FALSE(document->HasWholeScene()) << "settled, not taken for a rebuild";
      const std::vector<CBox*> settled = list.CollectBoxes();
      const std::uint64_t changes = list.Changes();
      document->RebuildScene();
      EXPECT_GE(list.Changes() - changes, list.Size()) << "built anew";
      EXPECT_TRUE(document->HasWholeScene());
      EXPECT_EQ(list.CollectBoxes(), FreshRebuild(*document));
    }
  }
  document->SetCurrentRunOnly(false);
}

// A scene found not whole as the turn began is not looked over again at each frame of the
// turn; whatever comes between the frames and changes the scene has it looked over anew.
TEST_F(DorneDocTurnedSceneTest, ASceneNotWholeAtTheTurnStaysSoThroughItsFramesUntilItChanges) {
  const auto document = LongDocument();
  const CDisplayList& list = document->Projection().GetDisplayList();
  const struct {
    const char* name;
    int framesBefore;       // turned that many frames not whole
    bool rebuiltAmid;       // then built anew, and turned on
    bool settledAsRebuilt;  // the settle gives the rebuild's order without building
  } cases[] = {
      {"one frame", 1, false, false},
      {"five frames", 5, false, false},
      {"built anew after a frame, turned on", 1, true, true},
      {"built anew after four frames, turned on", 4, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    document->SetViewAngles(330, 315, 0);
    document->RebuildScene();
    document->RemoveFromScene(*document->GetRuns()[5]->GetDevices()[1]->GetBox(CDev::kBodySlot));
    ASSERT_FALSE(document->HasWholeScene());
    for (int frame = 0; frame < c.framesBefore; ++frame) document->TurnView(40 + frame, 20, 0);
    if (c.rebuiltAmid) {
      document->RebuildScene();
      document->TurnView(60, 25, 0);
      document->TurnView(61, 26, 0);
    }
    const std::uint64_t changes = list.Changes();
    document->SettleView();
    EXPECT_FALSE(list.Unordered());
    EXPECT_EQ(document->HasWholeScene(), c.settledAsRebuilt);
    if (c.settledAsRebuilt) {
      EXPECT_LT(list.Changes() - changes, 8u) << "not built anew";
      EXPECT_EQ(list.CollectBoxes(), FreshRebuild(*document));
    }
  }
}

// Where the boxes of a list stand, head to tail: the lists of two documents built alike
// compare by it.
std::vector<std::array<double, 6>> Placements(const CDisplayList& list) {
  std::vector<std::array<double, 6>> placements;
  for (const CBox* box : list.CollectBoxes()) {
    const C3DPoint at = box->GetOrigin();
    placements.push_back({at.x, at.y, at.z, double(box->GetExtent(0)), double(box->GetExtent(1)),
                          double(box->GetExtent(2))});
  }
  return placements;
}

// Turned on after a settle gave it its rebuild's order, as the frames of a drag are, a
// scene settles again in the order of a fresh rebuild; changed between the settle and the
// turn, it is not taken for a rebuild's.
TEST_F(DorneDocTurnedSceneTest, ASceneTurnedAgainAfterEachSettleSettlesAsAFreshRebuild) {
  const auto document = LongDocument();
  const auto fresh = LongDocument();
  const CDisplayList& list = document->Projection().GetDisplayList();
  const std::array<int, 3> frames[] = {{30, 45, 10}, {31, 46, 10}, {32, 46, 11}, {120, 60, 0}};
  for (const ESettle settle : {ESettle::kAtOnce, ESettle::kAside}) {
    SCOPED_TRACE(Name(settle));
    document->SetViewAngles(330, 315, 0);
    document->RebuildScene();
    for (const auto& angles : frames) {
      SCOPED_TRACE(std::to_string(angles[0]));
      document->TurnView(angles[0], angles[1], angles[2]);
      const std::uint64_t changes = list.Changes();
      Settle(*document, settle, false);
      EXPECT_LT(list.Changes() - changes, 8u) << "not built anew";
      EXPECT_TRUE(document->HasWholeScene());
      fresh->SetViewAngles(angles[0], angles[1], angles[2]);
      FreshRebuild(*fresh);
      EXPECT_EQ(Placements(list), Placements(fresh->Projection().GetDisplayList()));
    }
    document->RemoveFromScene(*document->GetRuns()[4]->GetDevices()[1]->GetBox(CDev::kBodySlot));
    document->TurnView(40, 50, 0);
    document->SettleView();
    EXPECT_FALSE(document->HasWholeScene()) << "changed after the settle";
  }
}

// Settling a turn projects the boxes out of the scene (every run but the current one) with
// the new angles, the runs on several threads: each such box holds what projecting it
// alone gives, and the scene's boxes stay listed once each.
TEST_F(DorneDocTurnedSceneTest, BoxesOutOfTheSceneHoldTheProjectionOfTheSettledAngles) {
  const auto document = LongDocument();
  const CDisplayList& list = document->Projection().GetDisplayList();
  document->SetCurrentRunOnly(true);
  for (const ESettle settle : {ESettle::kAtOnce, ESettle::kAside, ESettle::kAsideCalledOff}) {
    for (const std::array<int, 3>& angles :
         {std::array<int, 3>{30, 45, 10}, std::array<int, 3>{300, 20, 200}}) {
      SCOPED_TRACE(std::string(Name(settle)) + " at " + std::to_string(angles[0]));
      document->SetViewAngles(330, 315, 0);
      document->RebuildScene();
      document->TurnView(angles[0], angles[1], angles[2]);
      Settle(*document, settle, true);
      std::size_t outside = 0, runIndex = 0;
      for (const CRun* run : document->GetRuns()) {
        ++runIndex;
        for (const CDev* element : run->GetDevices()) {
          for (const auto& box : element->GetBoxSlots()) {
            if (!box || box->IsListed()) continue;
            ++outside;
            const C3DPoint low = box->GetProjectedMin(), high = box->GetProjectedMax();
            document->Projection().ProjectBox(*box);
            ASSERT_TRUE(low == box->GetProjectedMin() && high == box->GetProjectedMax())
                << "run " << runIndex;
          }
        }
      }
      EXPECT_GT(outside, list.BoxCount());
    }
  }
  document->SetCurrentRunOnly(false);
}

}  // namespace
