// A document holding every element kind drawn through QPainter from two angles, kept as
// build/test-output/element_kinds_*.png for review.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "../element_scene.h"
#include "model/element/dev.h"
#include "support/test_output.h"
#include "view/element_draw_cache.h"
#include "view/element_drawing.h"
#include "view/ui/qt_draw_device.h"
#include "view/ui/qt_font_measurer.h"

namespace {

constexpr CSize kSize{1200, 900};

TEST(ElementKindsPictureTest, EveryKindIsDrawnFromTwoAngles) {
  const struct {
    int angles[3];
    const char* name;
    bool closeUp;  // the run of the special calibre alone
  } views[] = {{{330, 315, 0}, "element_kinds_1.png", false},
               {{300, 20, 10}, "element_kinds_2.png", false},
               {{330, 315, 0}, "element_kinds_3.png", true}};
  for (const auto& view : views) {
    const CElementScene scene =
        BuildElementKindsScene(view.angles[0], view.angles[1], view.angles[2]);
    QImage image(kSize.cx, kSize.cy, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
      CQtDrawDevice device(painter);
      CQtFontMeasurer measurer;
      CDrawContext dc(device, measurer, kSize);
      FitSceneMapping(dc, *scene.document, kSize,
                      view.closeUp ? scene.elements.back()->GetRun() : nullptr);
      CElementDrawCache cache;
      DrawElements(dc, *scene.document, cache, SceneDrawOptions(false));
    }
    painter.end();
    EXPECT_TRUE(image.save(QString::fromStdString(TestOutputPath(view.name)), "PNG"));
    // The support colour (and so the supports) reaches the picture.
    const CColor support = SceneDrawOptions(false).colors[kColorSupport];
    int supportPixels = 0;
    int inked = 0;
    int bandPixels = 0;  // the special calibre's grey band
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        if (p != qRgb(255, 255, 255)) ++inked;
        if (p == qRgb(support.red, support.green, support.blue)) ++supportPixels;
        if (p == qRgb(210, 210, 210)) ++bandPixels;
      }
    }
    EXPECT_GT(inked, kSize.cx * kSize.cy / 50) << view.name;
    EXPECT_GT(supportPixels, 0) << view.name;
    EXPECT_GT(bandPixels, 0) << view.name;
  }
}

}  // namespace
