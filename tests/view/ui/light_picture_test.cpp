// The light picture of an element box while the view moves, at three sizes on the screen:
// a pixel, a small box in one shade, a large box with the shades of its faces. The boxes
// wholly outside the view are left out of it.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <set>

#include "element_scene.h"
#include "layout_scene.h"
#include "model/document/dorne_doc.h"
#include "geometry/3d_projection.h"
#include "view/draw_context.h"
#include "view/element_draw_cache.h"
#include "view/scene_drawing.h"
#include "view/ui/qt_draw_device.h"
#include "view/ui/qt_font_measurer.h"
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

// The light picture drawn straight onto a picture from the boxes SceneBoxesToDraw gives: as
// for the light picture (none with a mark beside it) or as for the full one (the boxes
// whose labels could reach the picture); and how many boxes were drawn.
struct CDrawnLight {
  QImage image;
  std::size_t boxes = 0;
};

CDrawnLight LightFromBoxes(const CDorneDoc& document, const CViewWindow& window, QSize size,
                           bool marksBeside) {
  CDrawnLight drawn{QImage(size, QImage::Format_RGB32)};
  drawn.image.fill(Qt::white);
  QPainter painter(&drawn.image);
  CQtDrawDevice device(painter);
  CQtFontMeasurer measurer;
  const CSize deviceSize{size.width(), size.height()};
  CDrawContext dc(device, measurer, deviceSize);
  window.ApplyTo(dc.Mapping(), deviceSize);
  CSceneDrawOptions options;
  options.elements = SceneDrawOptions(false);
  options.elements.light = true;
  CElementDrawCache cache;
  const std::vector<const CBox*> boxes = SceneBoxesToDraw(dc, document, marksBeside);
  DrawSceneBoxes(dc, document, boxes, options, cache);
  drawn.boxes = boxes.size();
  return drawn;
}

int DifferingPixels(const QImage& a, const QImage& b) {
  int differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) differing += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
  }
  return differing;
}

TEST(LightPictureTest, BoxesOutsideTheViewAreLeftOutWithoutChangingThePicture) {
  const QSize client(320, 200);
  const struct {
    const char* name;
    bool kinds;      // the scene of every element kind (else runs of straight lengths)
    int turn;        // degrees the view turns about its first axis, its list left unordered
    double zoomIn;   // the step the window zooms in by after fitting the scene
    int panX, panY;  // then moves, in fractions of its size (eighths)
    bool fewer;      // boxes are left out
  } rows[] = {
      {"the whole scene fitted", false, 0, 0, 0, 0, false},
      {"zoomed in on the middle", false, 0, 0.8, 0, 0, true},
      {"zoomed in on a corner, turning", false, 17, 0.8, 3, -3, true},
      {"zoomed in far, on an edge, turning", false, -23, 0.95, -4, 1, true},
      {"every element kind, zoomed in", true, 0, 0.6, 1, 1, true},
      {"every element kind, zoomed in far, turning", true, 11, 0.9, -2, 2, true},
  };
  for (const auto& row : rows) {
    const CElementScene kinds = row.kinds ? BuildElementKindsScene(330, 315, 0) : CElementScene{};
    const auto straights = row.kinds ? nullptr : BuildLayoutScene(6, 40);
    CDorneDoc& document = row.kinds ? *kinds.document : *straights;
    if (row.turn != 0) {
      const C3DProjection& projection = document.Projection();
      document.TurnView(projection.GetViewAngle(0) + row.turn, projection.GetViewAngle(1),
                        projection.GetViewAngle(2));
    }
    CViewWindow window;
    window.ZoomAll(*GetSceneExtent(document), 0.9, {client.width(), client.height()});
    if (row.zoomIn > 0) window.ZoomIn(row.zoomIn);
    window.Pan(static_cast<std::int32_t>(window.Size().cx * row.panX / 8),
               static_cast<std::int32_t>(window.Size().cy * row.panY / 8));
    const CDrawnLight everyBox = LightFromBoxes(document, window, client, true);
    const CDrawnLight seen = LightFromBoxes(document, window, client, false);
    EXPECT_EQ(seen.boxes < everyBox.boxes, row.fewer)
        << row.name << ": " << seen.boxes << " of " << everyBox.boxes;
    EXPECT_GT(InkOf(seen.image).pixels, 0) << row.name;
    EXPECT_EQ(DifferingPixels(seen.image, everyBox.image), 0) << row.name;
    // The view's own way: recorded, then played in bands.
    CSceneDrawOptions options;
    options.layers.fill(false);
    options.elements = SceneDrawOptions(false);
    options.elements.light = true;
    EXPECT_EQ(DifferingPixels(RenderScene(document, window, client, options), everyBox.image), 0)
        << row.name;
  }
}

}  // namespace
