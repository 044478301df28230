#include <gtest/gtest.h>

#include "reference/ref_option_rules.h"

namespace {

std::vector<int> States(std::initializer_list<int> offered) {
  std::vector<int> states(56, 0);
  for (int component : offered) states[static_cast<std::size_t>(component)] = 2;
  return states;
}

TEST(RefFixingChooserTest, RowsShownByStatesAndRangeSelected) {
  const auto rows = RefFixingRows(States({9, 11, 12, 44}), 3, 4);
  EXPECT_TRUE(rows[0].shown);
  EXPECT_FALSE(rows[1].shown);
  EXPECT_EQ(rows[2].entries[static_cast<std::size_t>(rows[2].selected)], "17...22 mm");
  EXPECT_EQ(rows[3].selected, 0);
  EXPECT_TRUE(rows[4].shown);
  EXPECT_EQ(RefFixingRows(States({11}), 3, 9)[2].selected, 0);  // a range out of reach
}

TEST(RefFixingChooserTest, ResultOfOk) {
  const auto rows = RefFixingRows(States({9, 11, 12, 44}), 2, 7);
  const struct {
    int checked;
    std::array<int, 5> selections;
    int choice, range;
  } cases[] = {
      {2, {0, 0, 1, 0, 0}, 3, 2},  {3, {0, 0, 0, 1, 0}, 4, 2}, {4, {0, 0, 3, 1, 0}, 36, 1},
      {0, {0, 0, 3, 0, 0}, 1, 1},  {1, {0, 0, 0, 0, 0}, 2, 7},  // hidden: unchanged
      {-1, {0, 0, 0, 0, 0}, 2, 7},
  };
  for (const auto& c : cases) {
    int choice = 2, range = 7;
    RefFixingResult(rows, c.checked, c.selections, choice, range);
    EXPECT_EQ(choice, c.choice) << c.checked;
    EXPECT_EQ(range, c.range) << c.checked;
  }
}

TEST(RefArrowOverlayTest, ModesOfferedByComponents45To47) {
  EXPECT_EQ(RefLuminaireModes(States({45, 47})), (std::vector<int>{1, 11}));
  EXPECT_EQ(RefLuminaireModes(States({46})), (std::vector<int>{10}));
  EXPECT_EQ(RefLuminaireModes(States({45, 46, 47})), (std::vector<int>{1, 10, 11}));
  EXPECT_TRUE(RefLuminaireModes(States({})).empty());
}

TEST(RefSectionRulesTest, CountsClampedToTheLimitOfTheLineMode) {
  const struct {
    int value, lineMode, expected;
  } cases[] = {{7, 1, 5}, {7, 10, 7}, {0, 1, 1}, {-3, 10, 1}, {12, 10, 10}, {5, 11, 5}};
  for (const auto& c : cases) EXPECT_EQ(RefClampSection(c.value, c.lineMode), c.expected);
}

TEST(RefSectionRulesTest, PositionsAndKindsByThePositionRecord) {
  const std::array<int, 9> positions = {3, -1, 5, -1, 9, 9, -1, -1, 0};
  EXPECT_EQ(RefSectionPositions(positions, 1), (std::vector<int>{1, 2, 3, 5}));
  EXPECT_EQ(RefSectionPositions(positions, -1), (std::vector<int>{1, 2, 5}));
  EXPECT_EQ(RefSectionKinds(1, positions, 1), (std::vector<int>{1, 2}));
  EXPECT_EQ(RefSectionKinds(1, positions, -1), (std::vector<int>{2}));
  EXPECT_EQ(RefSectionKinds(4, positions, 1), (std::vector<int>{}));
  EXPECT_EQ(RefSectionKinds(2, positions, 1), (std::vector<int>{2}));
  EXPECT_TRUE(RefSectionKinds(6, positions, 1).empty());
}

TEST(RefSectionRulesTest, SizesOfBothKinds) {
  const std::vector<int> states = States({24, 26, 30, 31});
  const auto spacings = RefSectionSpacings(states);
  ASSERT_EQ(spacings.size(), 3u);
  EXPECT_EQ(spacings[1].text, "2");
  EXPECT_EQ(spacings[2].data, 3);
  const auto half = RefSectionSizes(1, 2, spacings, states, ',');
  EXPECT_EQ(half[0].text, "0,5");
  EXPECT_EQ(half[1].text, "2,5");
  const auto first = RefSectionSizes(1, 1, spacings, states, ',');
  EXPECT_EQ(first[0].text, "1");
  EXPECT_EQ(first[1].text, "3");
  const auto boxes = RefSectionSizes(2, 1, spacings, states, ',');
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, "5");
  EXPECT_EQ(RefSectionSizeIndex(first, 1, 1, 3), 1);
  EXPECT_EQ(RefSectionSizeIndex(half, 1, 2, 2), 1);
  EXPECT_EQ(RefSectionSizeIndex(boxes, 2, 1, 0), 0);
}

}  // namespace
