#include "model/run/scene_twin_support.h"

#include "geometry/box.h"
#include "geometry/display_list.h"
#include "geometry/element_pick.h"
#include "model/element/dev.h"
#include "model/run/run.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace {

bool SameBits(const C3DPoint& a, const C3DPoint& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

const SceneLayout kSceneLayouts[4] = {
    {"far apart", C3DPoint(0, 300000, 300000)},
    {"side by side", C3DPoint(0, 2000, 0)},
    {"one above the other", C3DPoint(0, 0, 400)},
    {"over one another", C3DPoint(0, 0, 0)},
};

const std::array<int, 3> kSceneViews[3] = {{30, 45, 10}, {330, 315, 0}, {90, 0, 0}};

std::string SceneDifference(const std::vector<SceneBoxState>& a,
                            const std::vector<SceneBoxState>& b) {
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

std::vector<SceneBoxState> SceneState(CDorneDoc& document, bool freshProjection) {
  std::vector<SceneBoxState> states;
  for (CBox* box : document.Projection().GetDisplayList().CollectBoxes()) {
    CBox copy = *box;
    copy.SetListed(false);
    if (freshProjection) document.Projection().ProjectBox(copy);
    states.push_back({box, copy.GetProjectedMin(), copy.GetProjectedMax(), box->GetAttributes(),
                      copy.HasFiniteProjection()});
  }
  return states;
}

std::string SceneBoxName(CDorneDoc& document, const CBox* box) {
  const std::vector<CRun*> runs = document.GetRuns();
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const std::vector<CDev*>& elements = runs[r]->GetDevices();
    for (std::size_t e = 0; e < elements.size(); ++e) {
      // A box of another owner has no slot here (the slot count answers).
      const int slot = elements[e]->GetBoxSlot(*box);
      if (slot >= 0 && slot < CDev::kSlotCount) {
        return std::to_string(r) + "/" + std::to_string(e) + "/" + std::to_string(slot);
      }
    }
  }
  return "another box";
}

std::string SceneDifference(CDorneDoc& a, CDorneDoc& b) {
  std::vector<SceneBoxState> states[] = {SceneState(a, false), SceneState(b, false)};
  CDorneDoc* documents[] = {&a, &b};
  for (std::size_t i = 0; i < states[0].size() && i < states[1].size(); ++i) {
    const std::string names[] = {SceneBoxName(a, states[0][i].box),
                                 SceneBoxName(b, states[1][i].box)};
    if (names[0] != names[1])
      return "at " + std::to_string(i) + ": " + names[0] + " against " + names[1];
  }
  for (int d = 0; d < 2; ++d) {
    EXPECT_EQ(SceneDifference(states[d], SceneState(*documents[d], true)), "");
    for (SceneBoxState& state : states[d]) state.box = nullptr;
  }
  return SceneDifference(states[0], states[1]);
}

CPoint MiddleOf(const CBox& box) {
  const C3DPoint middle = (box.GetProjectedMin() + box.GetProjectedMax()) * 0.5;
  return CPoint{static_cast<std::int32_t>(middle.x), static_cast<std::int32_t>(middle.y)};
}

std::vector<const CBox*> PicksAt(CDorneDoc& document, const std::vector<CPoint>& points) {
  std::vector<const CBox*> picked;
  for (const CPoint point : points)
    picked.push_back(HitTestElements(document.Projection(), point).box);
  return picked;
}

std::string PickDifference(CDorneDoc& edited, CDorneDoc& twin) {
  std::vector<CPoint> points;
  for (CRun* run : twin.GetRuns()) {
    for (int e : {2, 4, 5, 7}) {
      // An edit may have left an element without a body of its own, or one of no size.
      const CBox* body = ElementAt(*run, e)->GetBox(CDev::kBodySlot);
      if (body != nullptr && body->GetExtent(0) != 0) points.push_back(MiddleOf(*body));
    }
  }
  const std::vector<const CBox*> picks[] = {PicksAt(edited, points), PicksAt(twin, points)};
  for (std::size_t p = 0; p < points.size(); ++p) {
    const std::string at = "pick " + std::to_string(p) + ": ";
    if (picks[1][p] == nullptr) return at + "nothing picked in the twin";
    const std::string names[] = {SceneBoxName(edited, picks[0][p]),
                                 SceneBoxName(twin, picks[1][p])};
    if (names[0] != names[1]) return at + names[0] + " against " + names[1];
  }
  return {};
}

void BuildStraightRun(CRun& run, const C3DPoint& origin) {
  run.SetFlagsWord(1);
  CChainBuilder builder(run);
  CDev* last = builder.Start(4);
  last->SetPosition(origin);
  for (int i = 1; i < kStraightRunElements; ++i) {
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

std::unique_ptr<CDorneDoc> SceneTwinTestBase::Document(const SceneLayout& layout,
                                                       const std::array<int, 3>& view, int runs,
                                                       CDocEnvironment environment) {
  auto document = NewDocument(std::move(environment));
  for (int i = 0; i < runs; ++i)
    BuildStraightRun(AddRun(*document, "QDA"), layout.step * static_cast<double>(i));
  document->SetViewAngles(view[0], view[1], view[2]);
  document->RebuildScene();
  return document;
}
