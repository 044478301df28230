// The busbar cross-section of section labels, drawn on the recorder: outline and conductors
// by range, scale, dimension arrows, and what damaged catalogue rows and values draw.
#include "view/busbar_section.h"

#include "model/annotation/annotation.h"
#include "model/run/run.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "view/draw_context.h"
#include "view/draw_recorder.h"
#include "view/nominal_font_measurer.h"

namespace {

constexpr CRect kSquare{0, 0, 200, 200};
// each dimension: two extension lines, the dimension line and two heads of three strokes
constexpr int kDimensionLines = 18;

struct Drawn {
  std::vector<std::pair<CPoint, CPoint>> lines;
  std::vector<CDrawRecorder::Call> texts;
  bool Has(CPoint a, CPoint b) const {
    return std::find(lines.begin(), lines.end(), std::make_pair(a, b)) != lines.end();
  }
  int VerticalAt(std::int32_t x) const {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const auto& l) {
      return l.first.x == x && l.second.x == x;
    }));
  }
};

Drawn Draw(const CBusbarSection& section) {
  CDrawRecorder recorder;
  CNominalFontMeasurer measurer;
  CDrawContext dc(recorder, measurer, {400, 400});
  dc.SetLayer("SECTION", 7);
  DrawBusbarSection(dc, section, kSquare, 10, 10);
  Drawn drawn;
  for (const CDrawRecorder::Call& call : recorder.Calls()) {
    EXPECT_EQ(call.layer, "SECTION") << call.kind;
    if (call.kind == "Line") drawn.lines.emplace_back(call.points[0], call.points[1]);
    if (call.kind == "Text") drawn.texts.push_back(call);
  }
  return drawn;
}

CBusbarSection Section(char range, int w, int h, int neutral, int sw = 100, int sh = 50) {
  CBusbarSection s;
  s.range = range, s.width = w, s.height = h, s.neutral = neutral;
  s.scaleWidth = sw, s.scaleHeight = sh;
  return s;
}

TEST(BusbarSectionTest, EachRangeDrawsItsOutlineAndConductors) {
  const struct {
    CBusbarSection section;
    int lines;  // besides the dimensions
    const char* guards;
  } rows[] = {
      {Section('D', 100, 50, 0), 4 + 4 * 4, "QD: the housing and four flat bars"},
      {Section('G', 100, 50, 0), 4, "QG without a neutral: the outline alone"},
      {Section('G', 100, 50, 4), 4 + 4, "QG with 4: four conductor lines"},
      {Section('G', 100, 300, 4, 100, 300), 4 + 8, "QG higher than 270: each line split"},
      {Section('G', 100, 50, -1), 4, "QG with a negative neutral counts it as none"},
      {Section('P', 100, 50, 0), 14 + 5 * 4, "QP: the profile and five bars"},
      {Section('P', 100, 50, 3), 14 + 4 * 4, "QP with 3 leaves out its second bar"},
      {Section('M', 100, 50, 5), 6 + 7, "QM: walls and seven vertical lines"},
      {Section('M', 100, 50, 7), 6 + 7, "QM with 7 draws as with 5"},
      {Section('M', 100, 50, -3), 6 + 2, "QM with a negative neutral: the two outer lines"},
      {Section('W', 100, 700, 2, 100, 700), 2 * (6 + 4), "QW at 618 or more: two units"},
      {Section('M', 100, 617, 2, 100, 700), 6 + 4, "QM below 618: one unit"},
      {Section('X', 100, 50, 4), 0, "a range outside the six: the dimensions only"},
      {Section('D', 100, 50, 4, 0, 0), 0, "no housing row for the scale: dimensions only"},
      {Section('G', 0, 0, 4), 0, "no housing row for the rating: dimensions only"},
  };
  for (const auto& row : rows) {
    const Drawn drawn = Draw(row.section);
    EXPECT_EQ(static_cast<int>(drawn.lines.size()), row.lines + kDimensionLines) << row.guards;
    ASSERT_EQ(drawn.texts.size(), 1u) << row.guards;
    EXPECT_EQ(drawn.texts[0].text, "h") << row.guards;
  }
}

TEST(BusbarSectionTest, TheLastRatingsHousingFillsTheSquareAndSetsTheScale) {
  // scale 200 / 100 = 2: the 100 x 50 housing fills the square's width, the 50 x 25 one
  // is drawn at the same scale, centred.
  const Drawn full = Draw(Section('D', 100, 50, 0));
  EXPECT_TRUE(full.Has({0, 50}, {200, 50}));
  EXPECT_TRUE(full.Has({200, 50}, {200, 150}));
  const Drawn half = Draw(Section('D', 50, 25, 0));
  EXPECT_TRUE(half.Has({50, 75}, {150, 75}));
  EXPECT_TRUE(half.Has({150, 75}, {150, 125}));
  // a higher housing scales by the height: 200 / 400
  const Drawn tall = Draw(Section('D', 100, 400, 0, 100, 400));
  EXPECT_TRUE(tall.Has({75, 0}, {125, 0}));
  // QD bars: b = [20] = 40, pitch (100 - 80) / 3 = 6, inset [6] = 12
  EXPECT_TRUE(full.Has({12, 90}, {188, 90}));
  EXPECT_TRUE(full.Has({12, 108}, {188, 108}));
}

TEST(BusbarSectionTest, ConductorsStandWhereTheirPitchPutsThem) {
  // QG, n = 4: g = 200 / 5 = 40, lines at 40..160 from y0 + g to y0 + H - g
  const Drawn qg = Draw(Section('G', 100, 50, 4));
  for (std::int32_t x : {40, 80, 120, 160}) EXPECT_TRUE(qg.Has({x, 90}, {x, 110})) << x;
  // scale 200 / 300: H = 200, W = 66; the line is split by a gap of [30] = 20
  const Drawn split = Draw(Section('G', 100, 300, 1, 100, 300));
  // W = 66, g = 33, x0 = 67; h2 = (200 - 66 - 20) / 2 = 57
  EXPECT_TRUE(split.Has({100, 33}, {100, 90}));
  EXPECT_TRUE(split.Has({100, 110}, {100, 167}));
  // QM n = 1: m2 = [60] = 120, g = 60, xs = 0 + (200 - 120) / 2 = 40
  const Drawn qm = Draw(Section('M', 100, 50, 1));
  EXPECT_EQ(qm.VerticalAt(40), 1);
  EXPECT_TRUE(qm.Has({40, 50}, {40, 150}));    // the outer lines run the unit's height
  EXPECT_TRUE(qm.Has({100, 110}, {100, 90}));  // the inner ones stop g short of it
  // QJ with rating digit 2: eight one-unit bars at pitch [72] / 4 = 36
  CBusbarSection qj = Section('J', 100, 50, 0);
  qj.ratingDigit = 2;
  EXPECT_EQ(static_cast<int>(Draw(qj).lines.size()), 20 + 8 * 4 + kDimensionLines);
}

TEST(BusbarSectionTest, DimensionsStandOutsideTheSectionWithTheirArrowHeads) {
  const Drawn drawn = Draw(Section('D', 100, 50, 0));  // x0 = 0, y0 = 50, W = 200, H = 100
  EXPECT_TRUE(drawn.Has({-20, 50}, {-20, 50}));        // the extension to the left edge
  EXPECT_TRUE(drawn.Has({-20, 50}, {-30, 60}));        // arrow head at the top
  EXPECT_TRUE(drawn.Has({-20, 50}, {-20, 150}));       // the height line
  EXPECT_TRUE(drawn.Has({0, 170}, {0, 220}));          // width extension below
  EXPECT_TRUE(drawn.Has({0, 220}, {200, 220}));        // the width line
  EXPECT_TRUE(drawn.Has({200, 220}, {190, 230}));      // its right arrow head
  const CDrawRecorder::Call& h = drawn.texts[0];
  EXPECT_EQ(h.points, (std::vector<CPoint>{{-10, 0}, {200, 200}}));
  EXPECT_EQ(h.format, 0x24u);
}

}  // namespace

namespace {

TEST(BusbarSectionTest, ASectionLabelWithoutARunOrRatingsDrawsNothing) {
  CDrawRecorder recorder;
  CNominalFontMeasurer measurer;
  CDrawContext dc(recorder, measurer, {400, 400});
  CAnnotation label(CAnnotation::kSection);
  DrawSectionLabelSymbol(dc, label, kSquare, {10, 10});
  CRun run;
  run.SetCatalog("QGA");
  label.SetOwnerRun(&run);
  DrawSectionLabelSymbol(dc, label, kSquare, {10, 10});
  EXPECT_TRUE(recorder.Calls().empty());
}

}  // namespace
