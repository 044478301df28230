// The details of element faces on the recorder: conductor bars with their bolt crosses and
// phase labels, shims, cover lines, source symbols, the cabinet frame and the pictograms
// of kind-8 elements, checked against the positions worked out by hand for each box.
#include <gtest/gtest.h>

#include <algorithm>

#include "detail_scene.h"
#include "geometry/3d_projection.h"
#include "model/element/dev.h"
#include "model/run/phase_order.h"
#include "model/run/run.h"
#include "view/draw_context.h"
#include "view/draw_recorder.h"
#include "view/nominal_font_measurer.h"
#include "view/outline_drawing.h"

namespace {

using Calls = std::vector<CDrawRecorder::Call>;

Calls Record(const CDetailScene& scene, int slot, int face, int detail, int neutralSide = -1,
             bool dxf = false) {
  CDrawRecorder recorder;
  CNominalFontMeasurer measurer;
  CDrawContext dc(recorder, measurer, {800, 600});
  const CBox& box = *scene.element->GetBox(slot);
  const CPen before{PenStyle::Dot, 0, {1, 2, 3}};
  dc.SelectPen(before);
  const COutlineBox context = OutlineBoxOf(*scene.element, slot, neutralSide, dxf);
  DrawOutline(dc, box, *scene.element, face, detail, context);
  EXPECT_EQ(dc.Pen(), before) << "the pen the outline found is given back";
  return recorder.Calls();
}

int Count(const Calls& calls, const std::string& kind) {
  return static_cast<int>(
      std::count_if(calls.begin(), calls.end(), [&](const auto& c) { return c.kind == kind; }));
}

std::vector<std::string> Texts(const Calls& calls) {
  std::vector<std::string> texts;
  for (const auto& c : calls)
    if (c.kind == "Text") texts.push_back(c.text);
  return texts;
}

// Whether a recorded line joins the projections of the two world points.
bool HasLine(const Calls& calls, const CDetailScene& scene, const C3DPoint& a, const C3DPoint& b) {
  const C3DProjection& p = scene.document->Projection();
  const std::vector<CPoint> want = {p.ProjectPoint(a), p.ProjectPoint(b)};
  const std::vector<CPoint> back = {want[1], want[0]};
  return std::any_of(calls.begin(), calls.end(), [&](const auto& c) {
    return c.kind == "Line" && (c.points == want || c.points == back);
  });
}

// A cross of two 14-unit strokes at the point, along n and m.
bool HasCross(const Calls& calls, const CDetailScene& scene, const C3DPoint& at, const C3DPoint& n,
              const C3DPoint& m) {
  return HasLine(calls, scene, at - n * 7, at + n * 7) &&
         HasLine(calls, scene, at - m * 7, at + m * 7);
}

// A range QM element of variant 6 pointing +x: its bars run along y, thin along z, their
// ends at y = -200 (side 3 is -y), the part box far along +y.
CDetailScene QmBars(std::int32_t endWidth, const std::string& catalog = "QM") {
  CDetailScene scene(catalog, CDev::kEnd, 6, 4);
  scene.Place(7, {0, 1000, 0}, 200, 200, 200);
  for (int slot = 10; slot <= 15; ++slot)
    scene.Place(slot, {0, 0, 40.0 * (slot - 10)}, endWidth, 400, 10);
  return scene;
}

TEST(ConductorBarsTest, QmBarEndsShowOutlineBoltsAndLabels) {
  const C3DPoint n{0, -1, 0}, m{-1, 0, 0};
  const struct {
    std::int32_t width;
    int detail;
    int lines;
    std::vector<std::string> texts;
    const char* guards;
  } rows[] = {
      {120, 10, 4 + 4 * 2, {"N"}, "a wide end: outline and four bolts, the neutral labelled N"},
      {120, 11, 4 + 4 * 2, {"1"}, "the first phase"},
      {120, 13, 4 + 4 * 2, {"3"}, "the third phase"},
      {80, 12, 4 + 2 * 2, {"2"}, "a narrow end: two bolts in a line"},
      {120, 14, 0, {"PE"}, "the protective bar of QM: its label but no marks"},
      {120, 15, 4 + 4 * 2, {"PE"}, "the second protective bar has its marks"},
  };
  for (const auto& row : rows) {
    const CDetailScene scene = QmBars(row.width);
    const int z = 40 * (row.detail - 10) + 5;
    const Calls calls = Record(scene, row.detail, 5, row.detail);
    EXPECT_EQ(Count(calls, "Line"), row.lines) << row.guards;
    EXPECT_EQ(Texts(calls), row.texts) << row.guards;
    if (row.lines == 0) continue;
    const double h = row.width >= 90 ? 50 : 35;
    const C3DPoint c{0, -150, double(z)};
    EXPECT_TRUE(HasLine(calls, scene, c - n * 50 - m * h, c + n * 50 - m * h)) << row.guards;
    EXPECT_TRUE(HasLine(calls, scene, c + n * 50 + m * h, c - n * 50 + m * h)) << row.guards;
    const C3DPoint p0 = c - n * 25 - (h > 35 ? m * 25 : C3DPoint());
    EXPECT_TRUE(HasCross(calls, scene, p0, n, m)) << row.guards;
    EXPECT_TRUE(HasCross(calls, scene, p0 + n * 50, n, m)) << row.guards;
    if (h > 35) {
      EXPECT_TRUE(HasCross(calls, scene, p0 + n * 50 + m * 50, n, m)) << row.guards;
    }
  }
}

TEST(ConductorBarsTest, LabelsAreLeftOutWhereNothingCanBeRead) {
  const CDetailScene scene = QmBars(120);
  // the label stands 150 beyond the bar, centred
  const Calls calls = Record(scene, 11, 5, 11);
  const C3DProjection& p = scene.document->Projection();
  const CPoint at = p.ProjectPoint({0, -300, 45});
  ASSERT_EQ(Texts(calls).size(), 1u);
  const auto text =
      std::find_if(calls.begin(), calls.end(), [](auto& c) { return c.kind == "Text"; });
  EXPECT_EQ(text->points, (std::vector<CPoint>{at, at}));
  EXPECT_EQ(text->format, 0x125u);

  // a shim box in the slot after: no label on the bar
  CDetailScene shimmed = QmBars(120);
  shimmed.Place(17, {0, 0, 40}, 120, 400, 10);
  EXPECT_TRUE(Texts(Record(shimmed, 11, 5, 11)).empty());
  // the row of bars seen end-on
  CDetailScene endOn = QmBars(120);
  const C3DPoint view = endOn.document->Projection().GetViewDirection();
  endOn.Place(13, endOn.element->GetBox(11)->GetOrigin() + view * 100, 120, 400, 10);
  EXPECT_TRUE(Texts(Record(endOn, 10, 5, 10)).empty());
  // a face that is not broad on a thin bar gets nothing
  EXPECT_TRUE(Record(scene, 11, 2, 11).empty());
}

TEST(ConductorBarsTest, QmOutsideBarModeFollowsTheConnection) {
  // variant 1, connection 2: only the direction face and its opposite, no labels
  CDetailScene scene("QM", CDev::kEnd, 1u | (2u << 20), 4);
  scene.Place(7, {0, 1000, 0}, 200, 200, 200);
  for (int slot = 10; slot <= 13; ++slot)
    scene.Place(slot, {0, 0, 40.0 * (slot - 10)}, 400, 120, 120);
  EXPECT_GT(Count(Record(scene, 10, 4, 10), "Line"), 0);
  EXPECT_TRUE(Texts(Record(scene, 10, 4, 10)).empty());
  EXPECT_TRUE(Record(scene, 10, 2, 10).empty());
  // a stored phase code that names no order (6, 7) draws as the default order does; a
  // real one turns the bar ends to the other side
  auto endLines = [](std::uint32_t flags) {
    CDetailScene s("QM", CDev::kEnd, 1u | (2u << 20), 4);
    s.run->SetFlagsWord(flags);
    s.Place(10, {0, 0, 0}, 400, 120, 120);
    std::vector<std::vector<CPoint>> lines;
    for (const auto& c : Record(s, 10, 4, 11)) lines.push_back(c.points);
    return lines;
  };
  EXPECT_EQ(endLines(phase_order::WithCode(2, 0) | 0x310), endLines(phase_order::WithCode(2, 0)));
  EXPECT_FALSE(endLines(phase_order::WithCode(2, 0)).empty());
  EXPECT_NE(endLines(phase_order::WithCode(2, 1)), endLines(phase_order::WithCode(2, 0)));
  // a connection that gives no reference side draws nothing
  CDetailScene none("QM", CDev::kEnd, 1u | (5u << 20), 4);
  none.Place(10, {0, 0, 0}, 400, 120, 120);
  for (int face = 0; face < 6; ++face) EXPECT_TRUE(Record(none, 10, face, 10).empty()) << face;
}

// A range QG end of variant 2 pointing +x: bars thin along y, the end edge at x = +300
// running along z, the part box far along -x.
CDetailScene QgBars(std::int32_t endWidth, const std::string& neutral = "4") {
  CDetailScene scene("QGA", CDev::kEnd, 2, 4);
  scene.run->SetProp("Neutral", neutral);
  scene.Place(7, {-2000, 0, 0}, 200, 200, 200);
  for (int slot = 10; slot <= 13; ++slot)
    scene.Place(slot, {0, 40.0 * (slot - 10), 0}, 600, 10, endWidth);
  return scene;
}

TEST(ConductorBarsTest, WideQgEndsHaveTwoBarsSideBySide) {
  const CDetailScene scene = QgBars(400);
  const Calls calls = Record(scene, 10, 2, 10);
  const C3DPoint n{1, 0, 0}, m{0, 0, 1};
  EXPECT_EQ(Count(calls, "Line"), 2 * 4 + 8 * 2);
  for (const double z : {107.0, -108.0}) {
    const C3DPoint c{260, 5, z};
    EXPECT_TRUE(HasLine(calls, scene, c - n * 40 - m * 50, c + n * 40 - m * 50)) << z;
    EXPECT_TRUE(HasCross(calls, scene, c - n * 20 - m * 25, n, m)) << z;
    EXPECT_TRUE(HasCross(calls, scene, c + n * 20 + m * 25, n, m)) << z;
  }
  EXPECT_EQ(Texts(calls), (std::vector<std::string>{"N"}));
}

TEST(ConductorBarsTest, QgWidthsAndStoredNeutralsGiveTheirBarsAndLabels) {
  const struct {
    std::int32_t width;
    std::string neutral;
    int lines;
    std::string label;
    const char* guards;
  } rows[] = {
      {200, "4", 2 * 4 + 8 * 2, "N", "160 to 200: two bars, each w / 4 = 50 across"},
      {120, "4", 4 + 8, "N", "a plain end: one bar"},
      {80, "4", 4 + 8, "N", "below 100: h = w / 2 = 40, still four bolts"},
      {120, "4.0", 4 + 8, "4", "a neutral that reads as 4 but is not \"4\""},
      {120, "zz", 4 + 8, "N", "a neutral holding anything: the default label"},
      {120, "", 4 + 8, "N", "an empty neutral: the default label"},
  };
  for (const auto& row : rows) {
    const Calls calls = Record(QgBars(row.width, row.neutral), 10, 2, 10);
    EXPECT_EQ(Count(calls, "Line"), row.lines) << row.guards;
    EXPECT_EQ(Texts(calls), (std::vector<std::string>{row.label})) << row.guards;
  }
  // another variant without connection 3: marks, but never a label
  CDetailScene other("QGA", CDev::kEnd, 4, 4);
  other.Place(7, {-2000, 0, 0}, 200, 200, 200);
  for (int slot = 10; slot <= 13; ++slot)
    other.Place(slot, {0, 40.0 * (slot - 10), 0}, 600, 10, 120);
  EXPECT_TRUE(Texts(Record(other, 10, 2, 10)).empty());
}

TEST(ConductorBarsTest, QgShimsOnWideEndsAreWhitePlatesInAGreyStrip) {
  CDetailScene scene = QgBars(330);
  scene.element->SetPropValue("CLINQ", "3");
  scene.Place(16, {0, 0, 0}, 600, 10, 330);
  const Calls calls = Record(scene, 16, 2, 16);
  ASSERT_EQ(Count(calls, "Polygon"), 2);
  std::vector<CDrawRecorder::Call> polygons;
  for (const auto& c : calls)
    if (c.kind == "Polygon") polygons.push_back(c);
  EXPECT_EQ(polygons[0].brush.color, (CColor{255, 255, 255}));
  EXPECT_EQ(polygons[1].brush.color, (CColor{150, 150, 150}));
  // the shims sit at the end toward the part box (x = -300), 65 either side of the middle
  const C3DProjection& p = scene.document->Projection();
  EXPECT_EQ(polygons[1].points,
            (std::vector<CPoint>{p.ProjectPoint({-220, 5, 65}), p.ProjectPoint({-220, 5, -65}),
                                 p.ProjectPoint({-300, 5, -65}), p.ProjectPoint({-300, 5, 65})}));
  EXPECT_EQ(Count(calls, "Line"), 2 * 4 * 2) << "two shims of four bolts";
  EXPECT_EQ(Texts(calls), (std::vector<std::string>{"N"}));
  // a CLINQ of anything else: one shim
  scene.element->SetPropValue("CLINQ", "x9");
  EXPECT_EQ(Count(Record(scene, 16, 2, 16), "Line"), 4 * 2);
}

CDetailScene QgCover(const std::string& capot) {
  CDetailScene scene("QGA", CDev::kEnd, 2, 4);
  scene.Place(7, {-2000, 0, 0}, 200, 200, 200);
  scene.Place(8, {0, 0, 0}, 600, 200, 300)->SetKindCode(3);
  scene.element->SetPropValue("CAPOT", capot);
  return scene;
}

TEST(CoverLineTest, QgCoversShowTheirLengthInsideTheFarEnd) {
  const CDetailScene scene = QgCover("25/120");
  const Calls top = Record(scene, 8, 2, 0);
  ASSERT_EQ(Count(top, "Line"), 1);
  EXPECT_TRUE(HasLine(top, scene, {180, 100, -150}, {180, 100, 150}));
  for (int face : {1, 3, 5}) EXPECT_EQ(Count(Record(scene, 8, face, 0), "Line"), 1) << face;
  for (int face : {0, 4}) EXPECT_TRUE(Record(scene, 8, face, 0).empty()) << face;
  for (const char* capot : {"27/120", "25", "25-120", "26/x", "", "25/-5"})
    EXPECT_TRUE(Record(QgCover(capot), 8, 2, 0).empty()) << capot;
  // another box of the same role draws nothing
  CDetailScene other = QgCover("25/120");
  other.Place(9, {0, 0, 0}, 600, 200, 300)->SetKindCode(3);
  EXPECT_TRUE(Record(other, 9, 2, 0).empty());
}

CDetailScene Feed(std::uint32_t pass) {
  CDetailScene scene("QM", CDev::kEnd, 0, 4);
  scene.Place(7, {0, 0, 0}, 400, 300, 300)->SetPassWord(pass);
  return scene;
}

TEST(SourceSymbolTest, EachSourceOnItsFaces) {
  const CPen black{PenStyle::Solid, 0, {0, 0, 0}}, grey{PenStyle::Solid, 0, {128, 128, 128}};
  // transformer, side code 1: face 0 black, face 4 grey
  const CDetailScene transformer = Feed(0xf2000000u | (1u << 26));
  for (int face = 0; face < 6; ++face) {
    const Calls calls = Record(transformer, 7, face, 1);
    if (face != 0 && face != 4) {
      EXPECT_TRUE(calls.empty()) << face;
      continue;
    }
    ASSERT_EQ(Count(calls, "Polyline"), 2) << face;
    EXPECT_EQ(Count(calls, "Line"), 2) << face;
    for (const auto& c : calls) EXPECT_EQ(c.pen, face == 0 ? black : grey) << face;
  }
  // switchboard, side code 0: face 5, a closed polyline of 12 points
  const Calls board = Record(Feed(0xf1000000u), 7, 5, 1);
  ASSERT_EQ(Count(board, "Polyline"), 1);
  EXPECT_EQ(board[0].points.size(), 12u);
  EXPECT_EQ(board[0].points.front(), board[0].points.back());
  EXPECT_FALSE(Record(Feed(0xf1000000u), 7, 1, 1).empty()) << "the opposite face in grey";
  // a picture on faces 2 and 3; an ellipse while a DXF file records
  const CDetailScene picture = Feed(0x04000000u);
  EXPECT_EQ(Count(Record(picture, 7, 2, 1), "Bitmap"), 1);
  const Calls recorded = Record(picture, 7, 3, 1, -1, true);
  EXPECT_EQ(Count(recorded, "Bitmap"), 0);
  EXPECT_EQ(Count(recorded, "Ellipse"), 1);
  EXPECT_TRUE(Record(picture, 7, 0, 1).empty());
  // no marker bits, or a source type that does not exist: nothing
  EXPECT_TRUE(Record(Feed(0xf0000000u), 7, 5, 1).empty());
  EXPECT_TRUE(Record(Feed(0x03000000u), 7, 5, 1).empty());
}

TEST(CabinetFrameTest, QmaCabinetsAreFramedOnTheScreenOnly) {
  auto cabinet = [](const std::string& catalog) {
    CDetailScene scene(catalog, CDev::kEnd, 10, 4);
    scene.Place(6, {0, 0, 2000}, 400, 300, 300);
    scene.Place(7, {0, 0, 0}, 800, 700, 2000);
    return scene;
  };
  const CDetailScene qma = cabinet("QMA");
  // the front is the top (side 0, +z, nearer the body); its side panels faces 4 and 0
  for (int face = 0; face < 6; ++face) {
    const Calls calls = Record(qma, 7, face, 1);
    const bool framed = face == 5 || face == 4 || face == 0;
    EXPECT_EQ(Count(calls, "ScreenLine"), framed ? 4 : 0) << face;
    EXPECT_EQ(Count(calls, "Line"), 0) << face;
  }
  EXPECT_TRUE(Record(cabinet("QMAX"), 7, 5, 1).empty());
  EXPECT_TRUE(Record(cabinet("QMA"), 6, 5, 1).empty()) << "only the part box";
}

CDetailScene KindEight(int variant) {
  CDetailScene scene("QM", CDev::kInLineVariant, static_cast<std::uint32_t>(variant), 4);
  scene.Place(7, {0, 0, 0}, 500, 300, 300);
  scene.Place(10, {0, 0, 0}, 500, 300, 300);
  return scene;
}

TEST(EndFaceSymbolsTest, EachVariantDrawsItsPictogramWithItsPen) {
  const struct {
    int variant;
    int polylines;
    int lines;
    CPen pen;
    const char* guards;
  } rows[] = {
      {5, 3, 0, {PenStyle::Solid, 10, {0, 0, 0}}, "figure and the double stroke"},
      {6, 2, 0, {PenStyle::Solid, 10, {0, 0, 0}}, "figure and its mirror"},
      {7, 1, 1, {PenStyle::Solid, 15, {0, 0, 200}}, "centre line and the moved figure"},
      {8, 2, 1, {PenStyle::Solid, 15, {200, 0, 0}}, "centre line, figure, moved figure"},
      {9, 2, 2, {PenStyle::Solid, 10, {0, 0, 0}}, "lever and coil, no figure"},
      {10, 1, 4, {PenStyle::Solid, 10, {0, 0, 0}}, "lever and crossed contact"},
      {11, 2, 2, {PenStyle::Solid, 10, {0, 0, 0}}, "as variant 9"},
      {13, 3, 1, {PenStyle::Solid, 15, {200, 0, 0}}, "centre line, figure, two shifted"},
      {12, 0, 0, {}, "variant 12 draws nothing"},
      {14, 0, 0, {}, "variant 14 draws nothing"},
  };
  for (const auto& row : rows) {
    const Calls calls = Record(KindEight(row.variant), 7, 2, 1, 0);
    EXPECT_EQ(Count(calls, "Polyline"), row.polylines) << row.guards;
    EXPECT_EQ(Count(calls, "Line"), row.lines) << row.guards;
    for (const auto& c : calls)
      if (c.kind == "Polyline") {
        EXPECT_EQ(c.pen, row.pen) << row.guards;
      }
  }
  // the direction face and its opposite carry nothing
  for (int face : {0, 4}) EXPECT_TRUE(Record(KindEight(5), 7, face, 1, 0).empty()) << face;
  // the six direction boxes carry nothing
  CDetailScene scene = KindEight(5);
  scene.Place(2, {0, 0, 0}, 100, 100, 100);
  EXPECT_TRUE(Record(scene, 2, 2, 1, 0).empty());
}

TEST(EndFaceSymbolsTest, TheNeutralSideIsHatchedNotPictured) {
  // neutral side 0 of an element pointing +x is the top face (5), its opposite face 1
  const auto hatches = [](int variant, int face) {
    const Calls calls = Record(KindEight(variant), 7, face, 1, 0);
    EXPECT_EQ(Count(calls, "Polyline"), 0) << variant << " " << face;
    return Count(calls, "ScreenPolygon");
  };
  EXPECT_EQ(hatches(7, 5), 1);
  EXPECT_EQ(hatches(7, 1), 1);
  EXPECT_EQ(hatches(8, 5), 1);
  EXPECT_EQ(hatches(8, 1), 0);
  // variant 7 hatches the half beyond its centre line on the neutral face
  const CDetailScene seven = KindEight(7);
  const Calls calls = Record(seven, 7, 5, 1, 0);
  const C3DProjection& p = seven.document->Projection();
  const auto polygon =
      std::find_if(calls.begin(), calls.end(), [](auto& c) { return c.kind == "ScreenPolygon"; });
  ASSERT_NE(polygon, calls.end());
  const CBox& box = *seven.element->GetBox(7);
  const int k = CBox::GetFacePairEntry(5, 4);
  auto corner = [&](int i) { return box.GetCorner(CBox::GetFaceCorner(5, (k + i) % 4)); };
  EXPECT_EQ(polygon->points[0], p.ProjectPoint((corner(3) + corner(0)) * 0.5));
  EXPECT_EQ(polygon->points[2], p.ProjectPoint(corner(2)));
  // without the run's neutral display nothing is hatched
  CDetailScene plain = KindEight(8);
  plain.run->SetFlagsWord(0);
  EXPECT_EQ(Count(Record(plain, 7, 5, 1, 0), "ScreenPolygon"), 0);
}

}  // namespace
