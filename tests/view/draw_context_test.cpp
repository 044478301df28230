#include "view/draw_context.h"

#include <gtest/gtest.h>

#include <array>

#include "view/draw_recorder.h"
#include "view/nominal_font_measurer.h"

namespace {

class DrawContextTest : public testing::Test {
 protected:
  DrawContextTest() {
    // Two logical units a pixel, y up.
    m_dc.Mapping().SetMode(MapMode::Anisotropic);
    m_dc.Mapping().SetWindowExtent({1000, 800});
    m_dc.Mapping().SetViewportExtent({500, -400});
  }
  CDrawRecorder m_recorder;
  CNominalFontMeasurer m_measurer;
  CDrawContext m_dc{m_recorder, m_measurer, {500, 400}};
};

TEST_F(DrawContextTest, OnlyLineToMovesTheCurrentPosition) {
  m_dc.MoveTo(1, 2);
  const std::array<CPoint, 3> points{{{10, 10}, {20, 0}, {30, 10}}};
  m_dc.Polyline(points);
  m_dc.Polygon(points);
  m_dc.Rectangle(0, 0, 5, 5);
  EXPECT_EQ(m_dc.Position(), (CPoint{1, 2}));
  m_dc.LineTo(7, 8);
  EXPECT_EQ(m_dc.Position(), (CPoint{7, 8}));
  EXPECT_EQ(m_recorder.Calls().back().points, (std::vector<CPoint>{{1, 2}, {7, 8}}));
}

TEST_F(DrawContextTest, RestoreBringsBackTheWholeStateAndTellsTheTargetOfAClipChange) {
  const CDrawState before = m_dc.State();
  m_dc.Save();
  m_dc.SelectPen({PenStyle::Dot, 3, {1, 2, 3}});
  m_dc.SelectBrush(CBrush::Hatched(HatchStyle::Cross, {4, 5, 6}));
  m_dc.SetRasterOp(RasterOp::NotXorPen);
  m_dc.Mapping().SetViewportOrigin({9, 9});
  m_dc.SetLayer("POS", 2);
  m_dc.ExcludeClipRect(0, 0, 100, -100);
  EXPECT_EQ(m_dc.State().excluded, (std::vector<CRect>{{9, 9, 59, 59}}));  // device pixels
  m_dc.Restore();
  EXPECT_EQ(m_dc.State(), before);
  EXPECT_EQ(m_recorder.Calls().back().kind, "ClipChanged");
  EXPECT_EQ(m_dc.LayerName(), "POS");  // layers are not the context's saved state
  m_dc.Restore();                      // nothing saved: nothing happens
  EXPECT_EQ(m_dc.State(), before);
}

TEST_F(DrawContextTest, FontsAreSizedAndMeasuredThroughTheMapping) {
  CLogFont font;
  for (const auto& [height, pixels] : {std::pair{-20, -10}, {-1, -1}, {30, 15}, {0, 0}}) {
    font.height = height;
    m_dc.SelectFont(font);
    EXPECT_EQ(m_dc.DeviceFont().height, pixels) << height;
  }
  font.height = -20;  // 10 pixels: a cell of 11 with its leading, 5 a character
  m_dc.SelectFont(font);
  EXPECT_EQ(m_dc.GetTextExtent("Canvas"), (CSize{60, 22}));
  EXPECT_EQ(m_dc.GetTextMetrics().descent, 4);
}

TEST_F(DrawContextTest, TextOutAtTheCurrentPositionMovesPastTheText) {
  m_dc.SelectFont(CLogFont{.height = -20, .faceName = ""});
  m_dc.MoveTo(100, 0);
  m_dc.SetTextAlign(text_align::kUpdateCurrentPosition);
  m_dc.TextOut(0, 0, "abc");
  EXPECT_EQ(m_recorder.Calls().back().points, (std::vector<CPoint>{{100, 0}}));
  EXPECT_EQ(m_dc.Position(), (CPoint{130, 0}));
  m_dc.SetTextAlign(text_align::kCenter);
  m_dc.TextOut(5, 6, "abc");
  EXPECT_EQ(m_recorder.Calls().back().points, (std::vector<CPoint>{{5, 6}}));
  EXPECT_EQ(m_dc.Position(), (CPoint{130, 0}));
}

// The position moved past the text in 32 bits and wrapped round to the other end.
TEST_F(DrawContextTest, TextOutAtTheCurrentPositionStopsAtTheEdgeOfTheRange) {
  m_dc.SelectFont(CLogFont{.height = -20, .faceName = ""});
  const struct {
    std::int32_t start;
    unsigned align;
    std::int32_t expected;
  } rows[] = {{INT32_MAX - 10, text_align::kLeft, INT32_MAX},
              {INT32_MIN + 10, text_align::kRight, INT32_MIN},
              {1000, text_align::kLeft, 1030},
              {1000, text_align::kRight, 970}};
  for (const auto& row : rows) {
    m_dc.MoveTo(row.start, 0);
    m_dc.SetTextAlign(row.align | text_align::kUpdateCurrentPosition);
    m_dc.TextOut(0, 0, "abc");
    EXPECT_EQ(m_dc.Position(), (CPoint{row.expected, 0})) << row.start;
  }
}

}  // namespace
