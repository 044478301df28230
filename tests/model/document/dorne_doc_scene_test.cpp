#include "model/document/dorne_doc_test_support.h"

#include "geometry/box.h"
#include "geometry/display_list.h"
#include "model/element/dev.h"
#include "model/run/run.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <vector>

namespace {

using DorneDocSceneTest = DorneDocTestBase;

// The boxes in the order a rebuild inserts them: runs from the last, each with its
// elements' boxes by slot and then its start marker's two boxes; the extra boxes last.
std::vector<CBox*> InsertionOrder(CDorneDoc& document) {
  std::vector<CBox*> boxes;
  const std::vector<CRun*>& runs = document.GetRuns();
  for (std::size_t i = runs.size(); i-- > 0;) {
    for (CDev* element : runs[i]->GetDevices()) {
      for (const auto& box : element->GetBoxSlots())
        if (box) boxes.push_back(box.get());
    }
    if (CDev* marker = runs[i]->GetStartMarker(); marker && runs[i]->GetFlagsWord() == 0) {
      boxes.push_back(marker->GetBox(CDev::kBodySlot));
      boxes.push_back(marker->GetBox(CDev::kBodySlot + 1));
    }
  }
  for (const CBox* box : document.GetExtraBoxes()) boxes.push_back(const_cast<CBox*>(box));
  return boxes;
}

// A scene rebuilt at once (the screen cells laid out for all its boxes first) paints in
// the order of the same boxes inserted one by one into an empty list, at several angles.
TEST_F(DorneDocSceneTest, RebuildPaintsInTheOrderOfInsertingOneByOne) {
  const auto document = RichDocument();
  for (const std::array<int, 3> angles :
       {std::array{0, 0, 0}, std::array{30, 45, 10}, std::array{300, 20, 200}}) {
    document->SetViewAngles(angles[0], angles[1], angles[2]);
    document->RebuildScene();
    const std::vector<CBox*> rebuilt = document->Projection().GetDisplayList().CollectBoxes();
    ASSERT_GT(rebuilt.size(), 20u);
    document->Projection().ClearDisplayList();
    for (CBox* box : InsertionOrder(*document)) {
      if (!box->IsListed()) document->Projection().InsertInDisplayList(*box);
    }
    EXPECT_EQ(document->Projection().GetDisplayList().CollectBoxes(), rebuilt);
  }
}

}  // namespace

namespace {

using CProjectedBox = std::array<std::int32_t, 2 * CBox::kCornerCount + CBox::kFaceCount>;

void AddProjected(const CDev& element, std::vector<CProjectedBox>& all) {
  for (const auto& box : element.GetBoxSlots()) {
    if (!box) continue;
    CProjectedBox& entry = all.emplace_back();
    for (int n = 0; n < CBox::kCornerCount; ++n) {
      entry[static_cast<std::size_t>(2 * n)] = box->GetWindowCorners()[n].x;
      entry[static_cast<std::size_t>(2 * n + 1)] = box->GetWindowCorners()[n].y;
    }
    for (int f = 0; f < CBox::kFaceCount; ++f)
      entry[static_cast<std::size_t>(2 * CBox::kCornerCount + f)] =
          static_cast<std::int32_t>(box->GetFaceFlags(f));
  }
}

// Every box's window corners and face flags: each run's elements, length records and
// start marker, by slot.
std::vector<CProjectedBox> Projected(CDorneDoc& document) {
  std::vector<CProjectedBox> all;
  for (CRun* run : document.GetRuns()) {
    for (const CDev* element : run->GetDevices()) AddProjected(*element, all);
    for (const CDev* element : run->GetLengthRecords()) AddProjected(*element, all);
    if (const CDev* marker = run->GetStartMarker()) AddProjected(*marker, all);
  }
  return all;
}

// A view turned for quick pictures (the order left as it was) and then settled is the
// view turned at once: the same painting order, corners and faces, boxes out of the
// scene included.
TEST_F(DorneDocSceneTest, ATurnSettledIsTheTurnMadeAtOnce) {
  const auto document = RichDocument();
  const CDisplayList& list = document->Projection().GetDisplayList();
  const std::array<int, 3> start{330, 315, 0};
  const struct {
    std::array<int, 3> via, to;
  } turns[] = {
      {{340, 300, 0}, {30, 45, 10}}, {{0, 0, 0}, {300, 20, 200}}, {{90, 0, 0}, {0, 90, 0}}};
  // A box out of the scene is projected all the same.
  document->RebuildScene();
  ASSERT_NE(list.Head(), nullptr);
  CBox* aside = list.Head()->box;
  auto restart = [&] {
    document->SetViewAngles(start[0], start[1], start[2]);
    document->RebuildScene();
    document->RemoveFromScene(*aside);
  };
  for (const auto& turn : turns) {
    restart();
    document->SetViewAngles(turn.to[0], turn.to[1], turn.to[2]);
    const std::vector<CBox*> order = list.CollectBoxes();
    const auto projected = Projected(*document);

    restart();
    const std::vector<CBox*> before = list.CollectBoxes();
    document->TurnView(turn.via[0], turn.via[1], turn.via[2]);
    document->TurnView(turn.to[0], turn.to[1], turn.to[2]);
    EXPECT_TRUE(list.Unordered());
    EXPECT_EQ(list.CollectBoxes(), before) << "the order waits";
    document->SettleView();
    EXPECT_FALSE(list.Unordered());
    EXPECT_EQ(list.CollectBoxes(), order) << turn.to[0] << " " << turn.to[1];
    EXPECT_EQ(Projected(*document), projected) << turn.to[0] << " " << turn.to[1];
  }
}

}  // namespace

namespace {

using DorneDocRunSceneTest = DorneDocTestBase;

// Moves every box of the run by the offset.
void ShiftRun(CRun& run, const C3DPoint& offset) {
  for (CDev* element : run.GetDevices()) {
    for (const auto& box : element->GetBoxSlots())
      if (box) box->SetOrigin(box->GetOrigin() + offset);
  }
}

struct RunSceneCase {
  const char* name;
  double spacing;  // between the runs' chains; 0 lays them over one another
  bool takesRunAlone;
};

// Rebuilding one run, with the scene held for it while one of its boxes moves, leaves the
// scene a whole rebuild gives: when the run meets no other on screen only its boxes leave
// the list and come back; else the whole scene is made anew.
TEST_F(DorneDocRunSceneTest, ARunRebuiltAloneLeavesTheSceneOfAWholeRebuild) {
  for (const RunSceneCase c :
       {RunSceneCase{"apart", 200000.0, true}, RunSceneCase{"over one another", 0.0, false}}) {
    const auto document = NewDocument();
    for (int i = 0; i < 4; ++i) {
      CRun& run = AddRun(*document, "QDA");
      BuildChain(run);
      run.SetFlagsWord(1);
      ShiftRun(run, C3DPoint(0, c.spacing * i, c.spacing * i));
    }
    document->SetViewAngles(30, 45, 10);
    document->RebuildScene();
    const CDisplayList& list = document->Projection().GetDisplayList();
    for (CRun* run : document->GetRuns()) {
      const std::uint64_t changes = list.Changes();
      {
        const CSceneHold hold(document.get(), *run);
        CBox* moved = run->GetDevices()[1]->GetBox(CDev::kBodySlot);
        moved->SetOrigin(moved->GetOrigin() + C3DPoint(0, 0, 35));
      }
      const std::vector<CBox*> updated = list.CollectBoxes();
      EXPECT_EQ(list.Changes() - changes < list.Size(), c.takesRunAlone) << c.name;
      document->RebuildScene();
      EXPECT_EQ(updated, list.CollectBoxes()) << c.name;
    }
  }
}

}  // namespace

namespace {

using DorneDocSettleAsideTest = DorneDocTestBase;

struct CSceneNotices : CDocObserver {
  int rebuilt = 0;
  void OnDocNotice(EDocNotice notice, CRun*) override {
    if (notice == EDocNotice::kSceneRebuilt) ++rebuilt;
  }
};

// A turned view sorted aside (as on a thread of its own while the mouse rests) and then
// settled is the view turned at once, and the observers hear of it once, at the settling;
// a sort aside called off leaves the turned view for SettleView, which ends the same.
TEST_F(DorneDocSettleAsideTest, ATurnSortedAsideAndSettledIsTheTurnMadeAtOnce) {
  const auto document = NewDocument();
  const CDisplayList& list = document->Projection().GetDisplayList();
  for (int i = 0; i < 240; ++i) {
    CRun& run = AddRun(*document, "QDA");
    BuildChain(run);
    run.SetFlagsWord(1);
    ShiftRun(run, C3DPoint(700.0 * (i % 7), 900.0 * i, 300.0 * (i % 3)));
  }
  document->RebuildScene();
  ASSERT_GE(list.Size(), 2400u);
  CSceneNotices notices;
  document->AddObserver(&notices);
  const struct {
    const char* name;
    std::array<int, 3> to;
    bool callOff;
  } turns[] = {{"sorted", {30, 45, 10}, false},
               {"called off", {300, 20, 200}, true},
               {"sorted again", {0, 90, 0}, false}};
  for (const auto& turn : turns) {
    document->SetViewAngles(turn.to[0], turn.to[1], turn.to[2]);
    const std::vector<CBox*> order = list.CollectBoxes();
    const auto projected = Projected(*document);

    document->SetViewAngles(330, 315, 0);
    document->TurnView(turn.to[0], turn.to[1], turn.to[2]);
    const std::atomic<bool> stop{turn.callOff};
    notices.rebuilt = 0;
    EXPECT_EQ(document->SettleViewAside(stop), !turn.callOff) << turn.name;
    EXPECT_EQ(list.Unordered(), turn.callOff) << turn.name;
    EXPECT_EQ(notices.rebuilt, 0) << turn.name;
    document->SettleView();
    EXPECT_EQ(notices.rebuilt, 1) << turn.name;
    EXPECT_EQ(list.CollectBoxes(), order) << turn.name;
    EXPECT_EQ(Projected(*document), projected) << turn.name;
    document->SettleView();
    EXPECT_EQ(notices.rebuilt, 1) << turn.name << ": told once";
    EXPECT_FALSE(document->SettleViewAside(stop)) << turn.name << ": nothing to sort";
  }
  document->RemoveObserver(&notices);
}

}  // namespace
