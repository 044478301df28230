// A drawing large enough that the writer hides on bands beside the drawing must give the
// very file it gives hiding on one list, with any number of bands, every time.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

#include "view/draw_context.h"
#include "view/dxf_writer.h"
#include "view/nominal_font_measurer.h"

namespace {

constexpr CSize kClient{1000, 800};

// Short lines and texts under fills at random over a view `scale` times as wide, some
// lines long and some fills reaching far beyond the view, in layers; `fills` rounds.
std::string LargeDrawingFile(int hidingBands, int fills, int scale) {
  CNominalFontMeasurer measurer;
  CDxfWriter writer(hidingBands);
  CDrawContext dc(writer, measurer, kClient);
  dc.Mapping().SetMode(MapMode::Isotropic);
  dc.Mapping().SetWindowExtent({50000 * scale, 40000 * scale});
  dc.Mapping().SetViewportExtent({kClient.cx, -kClient.cy});
  dc.Mapping().SetViewportOrigin({kClient.cx / 2, kClient.cy / 2});
  std::mt19937 random(6565);
  std::uniform_int_distribution<int> x(-26000 * scale, 26000 * scale),
      y(-21000 * scale, 21000 * scale), step(-700, 700), side(100, 2500);
  CLogFont font;
  font.faceName = "Arial";
  font.height = -150;
  dc.SelectFont(font);
  const char* layers[] = {"BUSBAR", "DIMS1", "POS"};
  for (int fill = 0; fill < fills; ++fill) {
    dc.SetLayer(layers[fill % 3], 1 + fill % 3);
    dc.SelectBrush(CBrush::Null());
    dc.SelectPen({PenStyle::Solid, 0, {}});
    for (int figure = 0; figure < 12; ++figure) {
      const int px = x(random), py = y(random);
      if (figure == 11) {
        dc.DrawText("P" + std::to_string(fill), {px, py, px + 900, py - 200},
                    text_format::kSingleLine);
      } else if (figure == 10 && fill % 7 == 0) {
        dc.MoveTo(px, py);
        dc.LineTo(x(random), y(random));
      } else {
        dc.MoveTo(px, py);
        dc.LineTo(px + step(random), py + step(random));
      }
    }
    const int px = x(random), py = y(random);
    std::array<CPoint, 4> face{{{px, py},
                                {px + side(random), py + 100},
                                {px + 900, py - side(random)},
                                {px - 50, py - 700}}};
    // Now and then a thin strip far beyond the view on either side, across every band.
    if (fill % 100 == 0)
      face = {{{-2000000, py}, {2000000, py + 70}, {2000000, py + 300}, {-2000000, py + 200}}};
    dc.SelectPen({PenStyle::Null, 0, {}});
    dc.SelectBrush(CBrush::Solid({200, 200, 200}));
    dc.Polygon(face);
  }
  return writer.BuildFile();
}

TEST(DxfWriterBands, LargeDrawingsGiveTheFileOfOneListWithAnyBands) {
  struct Row {
    int fills;
    int scale;
  };
  for (const Row& row : {Row{2000, 1}, Row{2500, 2}}) {
    const std::string expected = LargeDrawingFile(1, row.fills, row.scale);
    // Enough kept that the bands had work: over the entities from which they start.
    ASSERT_GT(expected.size(), 1000000u) << row.fills;
    for (int bands : {2, CDxfWriter::kHidingBands, 4, 7, CDxfWriter::kHidingBands}) {
      EXPECT_EQ(LargeDrawingFile(bands, row.fills, row.scale), expected)
          << row.fills << " " << bands;
    }
  }
}

}  // namespace
