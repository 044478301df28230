// A re-sort of a long list (worked out ahead on several threads) against its definition:
// the boxes collected, the list cleared, and every box projected and inserted again from
// the tail. Same painting order, same edges in the same order, same face nibbles.

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
    }
  }
}

}  // namespace
