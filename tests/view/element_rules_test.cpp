// The rules of the element drawing that do not need a scene: box colours, outlet layouts
// and the grammar of "SUPP" texts.
#include <gtest/gtest.h>

#include "view/box_colours.h"
#include "view/outlet_layout.h"
#include "view/support_text.h"

namespace {

// A colour written 0xRRGGBB.
constexpr CColor Rgb(std::uint32_t rgb) {
  return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
          static_cast<std::uint8_t>(rgb)};
}

CBoxColourInput Input(std::uint32_t box, int selection = 0, bool monochrome = false,
                      bool patterned = false, int faceMode = 0) {
  CBoxColourInput in;
  in.boxColour = Rgb(box);
  in.selection = selection;
  in.monochrome = monochrome;
  in.patternedBody = patterned;
  in.faceMode = faceMode;
  return in;
}

CBoxColourInput TapOff(std::uint32_t box, std::uint32_t pen) {
  CBoxColourInput in = Input(box);
  in.hasTapOffPen = true;
  in.tapOffPen = Rgb(pen);
  return in;
}

TEST(BoxColoursTest, ShadesSelectionAndMonochrome) {
  constexpr std::uint32_t kBox = 0xC86428, kWhite = 0xFFFFFF;
  const struct {
    CBoxColourInput input;
    std::uint32_t full, half, threeQuarter, pen;
    bool edges;
    const char* guards;
  } rows[] = {
      {Input(kBox), kBox, 0x653315, 0x974C1F, 0, false, "the three shades"},
      {Input(kWhite), kWhite, kWhite, kWhite, 0, true, "a white box is outlined, not shaded"},
      {Input(kBox, 0, false, false, 1), kBox, kBox, kBox, 0, true, "face mode 1: one colour"},
      {Input(kBox, 2), 0x00B4FA, 0x015B7E, 0x0188BC, 0, false, "lighter selection stops at 250"},
      {Input(kBox, 1, true), kWhite, kWhite, kWhite, 0, true, "monochrome ignores the colour"},
      {Input(kWhite, 0, false, true), kWhite, kWhite, kWhite, 0, true, "white pattern in black"},
      {TapOff(kBox, 0xC800C8), kBox, 0x653315, 0x974C1F, 0xC800C8, true, "tap-off unit's pen"},
  };
  for (const auto& row : rows) {
    const CBoxColours c = ChooseBoxColours(row.input);
    EXPECT_EQ(c.full, Rgb(row.full)) << row.guards;
    EXPECT_EQ(c.half, Rgb(row.half)) << row.guards;
    EXPECT_EQ(c.threeQuarter, Rgb(row.threeQuarter)) << row.guards;
    EXPECT_EQ(c.pen, Rgb(row.pen)) << row.guards;
    EXPECT_EQ(c.edges, row.edges) << row.guards;
    EXPECT_EQ(FaceShade(c, 1), c.full) << row.guards;
    EXPECT_EQ(FaceShade(c, 4), c.half) << row.guards;
    EXPECT_EQ(FaceShade(c, 3), c.threeQuarter) << row.guards;
  }
}

TEST(OutletLayoutTest, PositionsByRangeLayoutAndLength) {
  const struct {
    const char* catalog;
    int calibre;
    const char* edStep;
    int layout, side;
    std::int32_t length;
    std::vector<std::int32_t> positions;
    std::int32_t width;
    int code;
    const char* guards;
  } rows[] = {
      {"QM", 63, "", 2, 0, 3000, {}, 90, 4, "QM layout 2 has no outlets at 3000"},
      {"QM", 63, "", 2, 0, 4000, {500, 2500}, 160, 8, "QM layout 2 at 4000"},
      {"QP", 63, "", 1, 0, 3000, {250, 1250, 2250}, 90, 2, "QP large calibre"},
      {"QPA", 40, "", 2, 0, 3000, {135, 635, 1135, 1635, 2135, 2635}, 46, 1, "QP small: one more"},
      {"QP", 63, "", 1, 1, 3000, {2750, 1750, 750}, 90, 2, "the other side from the other end"},
      {"QM", 63, "0", 1, 0, 2000, {400}, 90, 4, "QM without ED step: (L - 500) / 1000"},
      {"QM", 63, "1", 1, 1, 2000, {}, 90, 4, "QM needs the joint's side"},
      {"QJF", 0, "", 1, 0, 3000, {990, 1770, 2550}, 90, 16, "QJF layout 1"},
      {"QD", 0, "", 2, 1, 3000, {2850, 2350, 1850, 1350, 850, 350}, 30, 128, "QD on side 1 only"},
      {"QW", 0, "", 1, 0, 3000, {}, 0, 0, "QW draws none"},
  };
  for (const auto& row : rows) {
    COutletQuery q;
    q.catalog = row.catalog;
    q.calibre = row.calibre;
    q.edStep = row.edStep;
    q.layout = row.layout;
    q.side = row.side;
    q.length = row.length;
    const COutletLayout layout = ComputeOutletLayout(q);
    EXPECT_EQ(layout.positions, row.positions) << row.guards;
    EXPECT_EQ(layout.width, row.width) << row.guards;
    EXPECT_EQ(layout.code, row.code) << row.guards;
  }
}

TEST(SupportTextTest, ItemsPlacementsAndDamagedTexts) {
  using V = std::vector<CSupportPlacement>;
  const struct {
    const char* text;
    V placements;
    int side;
    const char* guards;
  } rows[] = {
      {"0:1500", {{-1, {}, 0, 1500, false}}, -1, "one placement along the run"},
      {"70:e", {{7, {}, 0, 0, true}}, -1, "a box slot and half its extent"},
      {"7:0:e", {{10, {}, 0, 0, true}}, -1, "a colon after no face digit selects slot 10"},
      {"E2:e/F3:e", {{21, {}, 2, 0, true}, {22, {}, 3, 0, true}}, -1, "two items"},
      {"c43:250", {{-1, {4}, 3, 250, false}}, 2, "a side letter and a move before the placement"},
      {"4:70e", {{-1, {}, 4, 70, false}}, -1, "e after a number is not half an extent"},
      {"x4:700", {}, -1, "a foreign character ends the item and no / follows"},
      {"x/4:700", {{-1, {}, 4, 700, false}}, -1, "reading goes on at the next /"},
      {"4", {}, -1, "a face digit at the end"},
      {"4:99999999999", {{-1, {}, 4, 2147483647, false}}, -1, "an overflowing number is held"},
  };
  for (const auto& row : rows) {
    const CSupportText parsed = ParseSupportText(row.text);
    EXPECT_EQ(parsed.placements, row.placements) << row.guards;
    EXPECT_EQ(parsed.side, row.side) << row.guards;
  }
  EXPECT_EQ(ParseSupportText("0:1/0:2/0:3/0:4/0:5/0:6/0:7/0:8/0:9/0:10/0:11").placements.size(),
            9u);
}

}  // namespace
