// The light picture of an element box while the view moves, at three sizes on the screen:
// a pixel, a small box in one shade, a large box with the shades of its faces.

#include <gtest/gtest.h>

#include <QImage>

#include <set>

#include "element_scene.h"
#include "layout_scene.h"
#include "model/dorne_doc.h"
#include "view/scene_drawing.h"
#include "view/ui/view_export.h"
#include "view/view_window.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

struct CInk {
  int pixels = 0;
  std::set<QRgb> colours;
};

CInk InkOf(const QImage& image) {
  CInk ink;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      if (pixel == kWhite) continue;
      ++ink.pixels;
      ink.colours.insert(pixel);
    }
  }
  return ink;
}

TEST(LightPictureTest, ABoxIsAPixelAShadeOrItsFacesByItsSizeOnTheScreen) {
  const auto document = BuildLayoutScene(1, 1);
  const QSize client(200, 200);
  const struct {
    const char* name;
    double zoomOut;  // the window grows by this step after fitting the box
    bool pixel;      // one pixel inked
    bool oneShade;   // one colour
  } rows[] = {{"large", 0, false, false}, {"small", 29, false, true}, {"a pixel", 999, true, true}};
  for (const auto& row : rows) {
    CViewWindow window;
    window.ZoomAll(*GetSceneExtent(*document), 0.9, {client.width(), client.height()});
    if (row.zoomOut > 0) window.ZoomOut(row.zoomOut);
    CSceneDrawOptions options;
    options.layers.fill(false);
    options.elements = SceneDrawOptions(false);
    const CInk full = InkOf(RenderScene(*document, window, client, options));
    options.elements.light = true;
    const QImage lightImage = RenderScene(*document, window, client, options);
    const CInk light = InkOf(lightImage);
    EXPECT_EQ(light.colours.count(kBlack), 0u) << row.name << ": no edges";
    EXPECT_GT(light.pixels, 0) << row.name;
    EXPECT_EQ(light.pixels == 1, row.pixel) << row.name << " " << light.pixels;
    EXPECT_EQ(light.colours.size() == 1, row.oneShade) << row.name << " " << light.colours.size();
    if (!row.pixel) {
      EXPECT_GT(full.colours.count(kBlack), 0u) << row.name << ": the full edges";
    }
    // The light picture covers the box as the full one does, give or take its edges.
    EXPECT_NEAR(light.pixels, full.pixels, full.pixels / 2 + 2) << row.name;
  }
}

}  // namespace
