// A scene built anew from a list of boxes in one call against its definition: each box not
// listed yet inserted one by one in that order. Same painting order, same edges in the
// same order, same face nibbles; again after the list was emptied, after boxes left it and
// after new ones came, and at several angles.

#include "resort_scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

struct BuildCase {
  const char* name;
  EBoxOrder order;
  unsigned seed;
  int turn[3];
};

const BuildCase kCases[] = {
    {"as created", EBoxOrder::kAsCreated, 1, {0, 0, 0}},
    {"reversed", EBoxOrder::kReversed, 2, {40, 70, 5}},
    {"shuffled", EBoxOrder::kShuffled, 3, {180, 0, 0}},
    {"shuffled, turned a little", EBoxOrder::kShuffled, 4, {3, 1, 5}},
    {"some twice", EBoxOrder::kTwiceSome, 5, {330, 315, 0}},
    {"some twice, from below", EBoxOrder::kTwiceSome, 6, {90, 0, 0}},
};

std::vector<CBox*> OrderOf(const CScene& scene, const BuildCase& c) {
  return BoxesInOrder(scene, c.order, c.seed, 200);
}

// The scene emptied, turned, and built from the boxes in that order, in one call or one
// box at a time.
std::string BuildAnew(CScene& scene, const std::vector<CBox*>& order, bool inOneCall) {
  scene.projection.ClearDisplayList();
  for (CBox* box : order) scene.projection.ProjectBox(*box);
  scene.projection.PrepareDisplayList(order);
  if (inOneCall) {
    scene.projection.InsertUnlistedInDisplayList(order);
  } else {
    for (CBox* box : order) {
      if (!box->IsListed()) scene.projection.InsertInDisplayList(*box);
    }
  }
  return scene.Describe();
}

std::string Built(const BuildCase& c, bool inOneCall) {
  CScene scene(c.seed);
  scene.projection.SetViewAngles(c.turn[0], c.turn[1], c.turn[2], false, true);
  return BuildAnew(scene, OrderOf(scene, c), inOneCall);
}

TEST(DisplayListInsertUnlistedTest, BuildsTheListOfInsertingOneByOne) {
  for (const BuildCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::string expected = Built(c, false);
    ASSERT_NE(expected.find('['), std::string::npos);
    EXPECT_EQ(Built(c, true), expected);
  }
}

TEST(DisplayListInsertUnlistedTest, ASecondBuildOfTheSameListIsTheFirst) {
  for (const BuildCase& c : kCases) {
    SCOPED_TRACE(c.name);
    CScene scene(c.seed);
    scene.projection.SetViewAngles(c.turn[0], c.turn[1], c.turn[2], false, true);
    const std::vector<CBox*> order = OrderOf(scene, c);
    const std::string first = BuildAnew(scene, order, true);
    EXPECT_EQ(BuildAnew(scene, order, true), first);
    EXPECT_EQ(BuildAnew(scene, order, false), first);
  }
}

// Boxes leave the list, new ones come, some listed boxes are given again: a build from
// that list keeps the boxes listed already where they are and inserts the others.
TEST(DisplayListInsertUnlistedTest, ListedBoxesStayAndTheOthersGoInAfterChanges) {
  for (const BuildCase& c : kCases) {
    SCOPED_TRACE(c.name);
    std::string described[2];
    for (const bool inOneCall : {false, true}) {
      CScene scene(c.seed);
      scene.projection.SetViewAngles(c.turn[0], c.turn[1], c.turn[2], false, true);
      std::vector<CBox*> order = OrderOf(scene, c);
      BuildAnew(scene, order, inOneCall);
      std::mt19937 random(c.seed + 100);
      for (std::size_t k = 0; k < order.size() / 5; ++k)
        scene.projection.RemoveFromDisplayList(*order[random() % order.size()]);
      std::shuffle(order.begin(), order.end(), random);
      order.resize(order.size() / 2);
      if (inOneCall) {
        scene.projection.InsertUnlistedInDisplayList(order);
      } else {
        for (CBox* box : order) {
          if (!box->IsListed()) scene.projection.InsertInDisplayList(*box);
        }
      }
      described[inOneCall ? 1 : 0] = scene.Describe();
    }
    EXPECT_EQ(described[1], described[0]);
  }
}

TEST(DisplayListInsertUnlistedTest, EmptyAndOneBoxLists) {
  CScene scene(7);
  scene.projection.ClearDisplayList();
  scene.projection.InsertUnlistedInDisplayList({});
  EXPECT_EQ(scene.projection.GetDisplayList().Size(), 0u);
  CBox* const one[] = {scene.boxes.front().get(), scene.boxes.front().get()};
  scene.projection.InsertUnlistedInDisplayList(one);
  EXPECT_EQ(scene.projection.GetDisplayList().Size(), 1u);
  EXPECT_EQ(scene.projection.GetDisplayList().NodeCount(*one[0]), 1);
}

}  // namespace
