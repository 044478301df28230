#include "app/element_colors.h"

#include <gtest/gtest.h>

namespace {

// Every colour different, so that a wrong index shows.
std::array<CColor, kColorCount> DistinctColors() {
  std::array<CColor, kColorCount> colors{};
  for (std::size_t i = 0; i < colors.size(); ++i) {
    colors[i] =
        MakeColor(static_cast<int>(10 + i), static_cast<int>(20 + i), static_cast<int>(30 + i));
  }
  return colors;
}

TEST(ElementColorsTest, KindFourDarkensStraightTwoAndUnknownKindsTakeStraightOne) {
  std::array<CColor, kColorCount> colors = DistinctColors();
  for (int kind : {0, 15, -1}) EXPECT_EQ(GetColor(colors, kind), colors[kColorStraight1]) << kind;
  EXPECT_EQ(GetColor(colors, 8), MakeColor(0, 0, 0));
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
