// A re-sort of a long list (worked out ahead on several threads) against its definition:
// the boxes collected, the list cleared, and every box projected and inserted again from
// the tail. Same painting order, same edges in the same order, same face nibbles. The
// re-sort hands its readers the nodes from head to tail unless a box has two nodes.

#include "resort_scene.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DisplayListResortTest, ALongListReSortsAsIfItsBoxesWentInAgainFromTheTail) {
  for (unsigned seed = 1; seed <= 3; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    CScene resorted(seed), definition(seed);
    ASSERT_GT(resorted.projection.GetDisplayList().Size(), 2400u);
    ASSERT_EQ(resorted.Describe(), definition.Describe());
    const int turns[][3] = {{1, -2, 0}, {-1, 2, 0}, {40, 70, 0}, {3, 1, 5}, {180, 0, 0}};
    for (const auto& turn : turns) {
      resorted.projection.SetViewAngles(turn[0], turn[1], turn[2], true, true);
      definition.projection.SetViewAngles(turn[0], turn[1], turn[2], false, true);
      definition.ResortOneByOne();
      ASSERT_EQ(resorted.Describe(), definition.Describe()) << "after turning by " << turn[0];
      EXPECT_TRUE(KeptWalkIsTheList(resorted.projection.GetDisplayList()));
    }
  }
}

// Some boxes listed twice, as a box painted in two passes is: each of its nodes goes in
// again meeting the boxes of the earlier steps, its own other node among them only as
// the second node's first, never as a box met on screen.
TEST(DisplayListResortTest, BoxesListedTwiceReSortAsIfTheyWentInAgainFromTheTail) {
  for (unsigned seed = 4; seed <= 5; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    CScene resorted(seed), definition(seed);
    for (CScene* scene : {&resorted, &definition}) {
      for (std::size_t k = 0; k < scene->boxes.size(); k += 37)
        scene->projection.InsertInDisplayList(*scene->boxes[k]);
    }
    const CDisplayList& list = resorted.projection.GetDisplayList();
    ASSERT_GT(list.Size(), list.BoxCount());
    ASSERT_GT(list.BoxCount(), 2400u);
    ASSERT_EQ(resorted.Describe(), definition.Describe());
    const int turns[][3] = {{2, -1, 0}, {-30, 45, 0}, {90, 0, 0}, {5, 3, 7}};
    for (const auto& turn : turns) {
      resorted.projection.SetViewAngles(turn[0], turn[1], turn[2], true, true);
      definition.projection.SetViewAngles(turn[0], turn[1], turn[2], false, true);
      definition.ResortOneByOne();
      ASSERT_EQ(resorted.Describe(), definition.Describe()) << "after turning by " << turn[0];
      EXPECT_EQ(list.KeptWalk(), nullptr);
    }
  }
}

}  // namespace
