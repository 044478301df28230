// The rules of the element drawing that do not need a scene: box colours, outlet layouts
// and the grammar of "SUPP" texts.
#include <gtest/gtest.h>

#include "view/box_colours.h"
#include "view/outlet_layout.h"
#include "view/support_text.h"

#include "support/case_table.h"

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
  for (const CCaseRow& row : ReadCaseTable("view/outlet_layout.tsv", 10)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    COutletQuery q;
    q.catalog = row[1];
    q.calibre = static_cast<int>(row.Int(2));
    q.edStep = row[3];
    q.layout = static_cast<int>(row.Int(4));
    q.side = static_cast<int>(row.Int(5));
    q.length = static_cast<std::int32_t>(row.Int(6));
    const COutletLayout layout = ComputeOutletLayout(q);
    std::vector<long long> positions(layout.positions.begin(), layout.positions.end());
    EXPECT_EQ(positions, row.Ints(7));
    EXPECT_EQ(layout.width, row.Int(8));
    EXPECT_EQ(layout.code, row.Int(9));
  }
}

TEST(SupportTextTest, ItemsPlacementsAndDamagedTexts) {
  for (const CCaseRow& row : ReadCaseTable("view/support_text.tsv", 4)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    std::vector<CSupportPlacement> placements;
    for (const std::string& text : row.Split(2, '|')) {
      const CCaseRow fields{row.where, {text}};
      const std::vector<long long> v = fields.Ints(0);
      ASSERT_GE(v.size(), 4u);
      placements.push_back({static_cast<int>(v[0]), std::vector<int>(v.begin() + 4, v.end()),
                            static_cast<int>(v[1]), static_cast<std::int32_t>(v[2]), v[3] != 0});
    }
    const CSupportText parsed = ParseSupportText(row[1]);
    EXPECT_EQ(parsed.placements, placements);
    EXPECT_EQ(parsed.side, row.Int(3));
  }
  EXPECT_EQ(ParseSupportText("0:1/0:2/0:3/0:4/0:5/0:6/0:7/0:8/0:9/0:10/0:11").placements.size(),
            9u);
}

}  // namespace
