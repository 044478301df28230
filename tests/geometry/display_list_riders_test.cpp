// Boxes that coincide with a listed box ride with its node: stacks of identical boxes keep
// the depth order of one box per stack, each stack together, and no edges between riders.

#include "reference_display_list.h"
#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/display_list.h"
#include "geometry/projection_depth_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

// `stacks` positions side by side along x, where the boxes of neighbouring positions
// overlap on screen, and `height` identical boxes at each, inserted position by position
// in turn (the box of stack s at level l is number l * stacks + s).
// The boxes leave the projection's list before they go, whichever is destroyed first.
struct Stacks {
  C3DProjection& projection;
  std::vector<std::unique_ptr<CBox>> boxes;
  int stacks = 0;

  Stacks(C3DProjection& projection, int stackCount, int height)
      : projection(projection), stacks(stackCount) {
    for (int l = 0; l < height; ++l) {
      for (int s = 0; s < stackCount; ++s) {
        auto box = std::make_unique<CBox>(nullptr);
        box->SetPlacement(C3DPoint(s * 1000.0, s * 150.0, 0), 130, 1000, 130);
        projection.ProjectBox(*box);
        boxes.push_back(std::move(box));
      }
    }
  }
  ~Stacks() { projection.ClearDisplayList(); }
  Stacks(const Stacks&) = delete;
  Stacks& operator=(const Stacks&) = delete;
  int StackOf(const CBox* box) const {
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].get() == box) return static_cast<int>(i) % stacks;
    }
    return -1;
  }
};

std::size_t EdgeCount(const CDisplayList& list) {
  std::size_t edges = 0;
  for (const CDisplayNode* n = list.Head(); n != nullptr; n = n->next) edges += n->edges.size();
  return edges;
}

// Every edge runs from a later node to an earlier one.
bool EdgesPointBack(const CDisplayList& list) {
  std::map<const CDisplayNode*, int> place;
  int i = 0;
  for (const CDisplayNode* n = list.Head(); n != nullptr; n = n->next) place[n] = i++;
  for (const CDisplayNode* n = list.Head(); n != nullptr; n = n->next) {
    for (const CDisplayNode* t : n->edges) {
      if (!place.contains(t) || place[t] >= place[n]) return false;
    }
  }
  return i == static_cast<int>(list.Size());
}

// The stacks in list order, each once, when each stack's boxes stand together; empty
// when a stack is split.
std::vector<int> StackOrder(const Stacks& scene, const std::vector<CBox*>& order) {
  std::vector<int> stacks;
  for (const CBox* box : order) {
    const int s = scene.StackOf(box);
    if (!stacks.empty() && stacks.back() == s) continue;
    if (std::find(stacks.begin(), stacks.end(), s) != stacks.end()) return {};
    stacks.push_back(s);
  }
  return stacks;
}

struct StackCase {
  int angle0;
  int angle1;
  int stacks;
};

class DisplayListRidersTest : public ::testing::TestWithParam<StackCase> {};

TEST_P(DisplayListRidersTest, StacksKeepTheOrderOfOneBoxEachWithoutEdgesPerRider) {
  const StackCase c = GetParam();
  std::vector<std::size_t> edges;
  for (const int height : {1, 4, 16}) {
    C3DProjection projection;
    projection.SetViewAngles(c.angle0, c.angle1, 0, false, false);
    Stacks scene(projection, c.stacks, height);
    for (auto& box : scene.boxes) projection.InsertInDisplayList(*box);
    const CDisplayList& list = projection.GetDisplayList();
    ASSERT_EQ(list.Size(), scene.boxes.size());
    EXPECT_TRUE(EdgesPointBack(list));
    edges.push_back(EdgeCount(list));

    // The stacks stand in the order the rule gives one box of each.
    C3DProjection referenceProjection;
    referenceProjection.SetViewAngles(c.angle0, c.angle1, 0, false, false);
    Stacks single(referenceProjection, c.stacks, 1);
    CProjectionDepthRules rules(referenceProjection);
    CReferenceDisplayList reference(rules);
    for (auto& box : single.boxes) reference.Insert(*box);
    EXPECT_EQ(StackOrder(scene, list.CollectBoxes()), StackOrder(single, reference.CollectBoxes()))
        << "height " << height;
  }
  EXPECT_EQ(edges[1], edges[0]);
  EXPECT_EQ(edges[2], edges[0]);
}

INSTANTIATE_TEST_SUITE_P(Views, DisplayListRidersTest,
                         ::testing::Values(StackCase{330, 315, 8}, StackCase{30, 45, 8},
                                           StackCase{0, 0, 5}, StackCase{300, 200, 12}));

// Removing boxes, the first of each stack among them (the one the others ride with), keeps
// the order of the boxes left.
TEST(DisplayListRidersRemovalTest, RemovingKeepsTheOrderOfTheRest) {
  C3DProjection projection;
  Stacks scene(projection, 6, 5);
  for (auto& box : scene.boxes) projection.InsertInDisplayList(*box);
  const CDisplayList& list = projection.GetDisplayList();
  std::vector<CBox*> expected = list.CollectBoxes();
  for (std::size_t i = 0; i < scene.boxes.size(); i += 4) {
    CBox* gone = scene.boxes[i].get();
    projection.RemoveFromDisplayList(*gone);
    EXPECT_FALSE(gone->IsListed());
    expected.erase(std::find(expected.begin(), expected.end(), gone));
    ASSERT_EQ(list.CollectBoxes(), expected) << "after removing box " << i;
    EXPECT_TRUE(EdgesPointBack(list));
  }
  // What is left still takes part in the order: a box over every stack goes to the front.
  CBox over(nullptr);
  over.SetPlacement(C3DPoint(2500, 375, 5000), 3000, 8000, 3000);
  projection.ProjectBox(over);
  projection.InsertInDisplayList(over);
  EXPECT_EQ(list.Tail()->box, &over);
  EXPECT_TRUE(EdgesPointBack(list));
  for (auto& box : scene.boxes) projection.RemoveFromDisplayList(*box);
  EXPECT_EQ(list.Size(), 1u);
  EXPECT_TRUE(list.Head()->edges.empty());
}

// A box that leaves its stack, or goes in a second time, is compared with every box it
// meets again.
TEST(DisplayListRidersRemovalTest, AMovedOrDoubledRiderTakesPartInTheOrderAgain) {
  C3DProjection projection;
  Stacks scene(projection, 3, 4);
  for (auto& box : scene.boxes) projection.InsertInDisplayList(*box);
  const CDisplayList& list = projection.GetDisplayList();
  const std::size_t edgesBefore = EdgeCount(list);
  CBox& moved = *scene.boxes[4];  // a rider of stack 1
  moved.SetOrigin(C3DPoint(1000.0, 150.0, 40.0));
  projection.ProjectBox(moved);
  EXPECT_EQ(list.Size(), scene.boxes.size());
  EXPECT_GT(EdgeCount(list), edgesBefore) << "the stack's riders are compared again";
  EXPECT_TRUE(EdgesPointBack(list));

  CBox& doubled = *scene.boxes[3];  // a rider of stack 0
  projection.InsertInDisplayList(doubled);
  EXPECT_EQ(list.NodeCount(doubled), 2);
  EXPECT_EQ(list.Size(), scene.boxes.size() + 1);
  EXPECT_TRUE(EdgesPointBack(list));
}

// A re-sort with riders is the same as inserting the boxes again from the tail.
TEST(DisplayListRidersRemovalTest, ResortEqualsInsertingAgainFromTheTail) {
  C3DProjection projection;
  Stacks scene(projection, 40, 60);  // long enough for the concurrent re-sort
  for (auto& box : scene.boxes) projection.InsertInDisplayList(*box);
  std::map<const CBox*, std::size_t> index;
  for (std::size_t i = 0; i < scene.boxes.size(); ++i) index[scene.boxes[i].get()] = i;
  std::vector<std::size_t> before;
  for (const CBox* box : projection.GetDisplayList().CollectBoxes()) before.push_back(index[box]);
  projection.SetViewAngles(20, 200, 0, true, false);

  C3DProjection fresh;
  fresh.SetViewAngles(20, 200, 0, false, false);
  Stacks copy(fresh, 40, 60);
  for (auto it = before.rbegin(); it != before.rend(); ++it)
    fresh.InsertInDisplayList(*copy.boxes[*it]);
  std::vector<std::size_t> resorted, inserted;
  for (const CBox* box : projection.GetDisplayList().CollectBoxes()) resorted.push_back(index[box]);
  for (const CBox* box : fresh.GetDisplayList().CollectBoxes()) {
    for (std::size_t i = 0; i < copy.boxes.size(); ++i) {
      if (copy.boxes[i].get() == box) inserted.push_back(i);
    }
  }
  EXPECT_EQ(resorted, inserted);
  EXPECT_TRUE(EdgesPointBack(projection.GetDisplayList()));
}

}  // namespace
