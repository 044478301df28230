// The rules of the element drawing that do not need a scene: box colours, outlet layouts
// and the grammar of "SUPP" texts.
#include <gtest/gtest.h>

#include "view/box_colours.h"
#include "view/outlet_layout.h"
#include "view/support_text.h"

namespace {

CBoxColourInput Input(CColor box, int selection = 0, bool monochrome = false,
                      bool patterned = false, int faceMode = 0) {
  CBoxColourInput in;
  in.boxColour = box;
  in.selection = selection;
  in.monochrome = monochrome;
  in.patternedBody = patterned;
  in.faceMode = faceMode;
  return in;
}

CBoxColourInput TapOff(CColor box, CColor pen) {
  CBoxColourInput in = Input(box);
  in.hasTapOffPen = true;
  in.tapOffPen = pen;
  return in;
}

COutletQuery Query(const char* catalog, int calibre, const char* edStep, int layout, int side,
                   std::int32_t length) {
  COutletQuery q;
  q.catalog = catalog;
  q.calibre = calibre;
  q.edStep = edStep;
  q.layout = layout;
  q.side = side;
  q.length = length;
  return q;
}

TEST(BoxColoursTest, ShadesSelectionAndMonochrome) {
  const struct {
    CBoxColourInput input;
    CColor full, half, threeQuarter, pen;
    bool edges;
    const char* guards;
  } rows[] = {
      {Input({200, 100, 40}),
       {200, 100, 40},
       {101, 51, 21},
       {151, 76, 31},
       {0, 0, 0},
       false,
       "the three shades"},
      {Input({255, 255, 255}),
       {255, 255, 255},
       {255, 255, 255},
       {255, 255, 255},
       {0, 0, 0},
       true,
       "a white box is outlined, not shaded"},
      {Input({200, 100, 40}, 0, false, false, 1),
       {200, 100, 40},
       {200, 100, 40},
       {200, 100, 40},
       {0, 0, 0},
       true,
       "a face mode other than 0 is one colour, outlined"},
      {Input({200, 100, 40}, 2),
       {0, 180, 250},
       {1, 91, 126},
       {1, 136, 188},
       {0, 0, 0},
       false,
       "the lighter selection stops at 250"},
      {Input({200, 100, 40}, 1, true),
       {255, 255, 255},
       {255, 255, 255},
       {255, 255, 255},
       {0, 0, 0},
       true,
       "monochrome ignores colour and selection"},
      {Input({255, 255, 255}, 0, false, true),
       {255, 255, 255},
       {255, 255, 255},
       {255, 255, 255},
       {0, 0, 0},
       true,
       "a white patterned body draws in black"},
      {TapOff({200, 100, 40}, {200, 0, 200}),
       {200, 100, 40},
       {101, 51, 21},
       {151, 76, 31},
       {200, 0, 200},
       true,
       "a marked tap-off unit is outlined in its pen"},
  };
  for (const auto& row : rows) {
    const CBoxColours c = ChooseBoxColours(row.input);
    EXPECT_EQ(c.full, row.full) << row.guards;
    EXPECT_EQ(c.half, row.half) << row.guards;
    EXPECT_EQ(c.threeQuarter, row.threeQuarter) << row.guards;
    EXPECT_EQ(c.pen, row.pen) << row.guards;
    EXPECT_EQ(c.edges, row.edges) << row.guards;
    EXPECT_EQ(FaceShade(c, 1), c.full) << row.guards;
    EXPECT_EQ(FaceShade(c, 4), c.half) << row.guards;
    EXPECT_EQ(FaceShade(c, 3), c.threeQuarter) << row.guards;
  }
}

TEST(OutletLayoutTest, PositionsByRangeLayoutAndLength) {
  using P = std::vector<std::int32_t>;
  const struct {
    COutletQuery query;
    P positions;
    std::int32_t width;
    int code;
    const char* guards;
  } rows[] = {
      {Query("QM", 63, "", 2, 0, 3000), {}, 90, 4, "QM layout 2 has no outlets at 3000"},
      {Query("QM", 63, "", 2, 0, 4000), {500, 2500}, 160, 8, "QM layout 2 at 4000"},
      {Query("QP", 63, "", 1, 0, 3000), {250, 1250, 2250}, 90, 2, "QP large calibre"},
      {Query("QPA", 40, "", 2, 0, 3000),
       {135, 635, 1135, 1635, 2135, 2635},
       46,
       1,
       "QP small calibre with c3 A: one more outlet"},
      {Query("QP", 63, "", 1, 1, 3000),
       {2750, 1750, 750},
       90,
       2,
       "the other side measures from the other end"},
      {Query("QM", 63, "0", 1, 0, 2000),
       {400},
       90,
       4,
       "QM without ED step: (L - 500) / 1000 outlets"},
      {Query("QM", 63, "1", 1, 1, 2000), {}, 90, 4, "QM needs the joint's side"},
      {Query("QJF", 0, "", 1, 0, 3000), {990, 1770, 2550}, 90, 16, "QJF layout 1"},
      {Query("QD", 0, "", 2, 1, 3000),
       {2850, 2350, 1850, 1350, 850, 350},
       30,
       128,
       "QD on side 1 only"},
      {Query("QW", 0, "", 1, 0, 3000), {}, 0, 0, "QW draws none"},
  };
  for (const auto& row : rows) {
    const COutletLayout layout = ComputeOutletLayout(row.query);
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
