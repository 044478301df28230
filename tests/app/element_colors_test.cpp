#include "app/element_colors.h"

#include <gtest/gtest.h>

namespace {

// Every colour different, so that a wrong index shows.
std::array<CColor, kColorCount> DistinctColors() {
  std::array<CColor, kColorCount> colors{};
  for (std::size_t i = 0; i < colors.size(); ++i) {
    colors[i] = MakeColor(static_cast<int>(10 + i), static_cast<int>(20 + i), static_cast<int>(30 + i));
  }
  return colors;
}

TEST(ElementColorsTest, KindsTakeTheirSettingColour) {
  const std::array<CColor, kColorCount> colors = DistinctColors();
  const std::pair<int, ColorIndex> cases[] = {
      {1, kColorStraight2},   {2, kColorStraight3},  {3, kColorStraight4},
      {5, kColorEnding},      {6, kColorSpecial},    {7, kColorPassThrough},
      {9, kColorUserJoint},   {10, kColorUnknown},   {11, kColorTapOff},
      {12, kColorSystemJoint}, {13, kColorFireBarrier}, {14, kColorSupport},
      {0, kColorStraight1},   {15, kColorStraight1}, {-1, kColorStraight1},
  };
  for (auto [kind, index] : cases) EXPECT_EQ(GetColor(colors, kind), colors[index]) << kind;
  EXPECT_EQ(GetColor(colors, 8), MakeColor(0, 0, 0));
}

TEST(ElementColorsTest, KindFourDarkensStraightTwo) {
  std::array<CColor, kColorCount> colors = DistinctColors();
  const std::pair<CColor, CColor> cases[] = {
      {MakeColor(0, 255, 255), MakeColor(0, 204, 204)},
      {MakeColor(10, 20, 30), MakeColor(8, 16, 24)},
      {MakeColor(1, 2, 3), MakeColor(0, 1, 2)},  // cut, not rounded
      {MakeColor(255, 255, 255), MakeColor(204, 204, 204)},
  };
  for (auto [straight2, darker] : cases) {
    colors[kColorStraight2] = straight2;
    EXPECT_EQ(GetColor(colors, 4), darker) << ColorToText(straight2);
  }
}

}  // namespace
