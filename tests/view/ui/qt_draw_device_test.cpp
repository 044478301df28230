// The scene of every primitive drawn through QPainter into an image, kept as
// build/test-output/canvas_scene.png for review, and checked at pixels that tell whether
// the context's modes reached the painter.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "../canvas_scene.h"
#include "support/test_output.h"
#include "view/ui/qt_draw_device.h"
#include "view/ui/qt_font_measurer.h"

namespace {

QImage DrawSceneImage() {
  QImage image(kCanvasSceneSize.cx, kCanvasSceneSize.cy, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  {
    CQtDrawDevice device(painter);
    CQtFontMeasurer measurer;
    CDrawContext dc(device, measurer, kCanvasSceneSize);
    SetCanvasSceneMapping(dc);
    DrawCanvasScene(dc);
  }
  painter.end();
  return image;
}

TEST(QtDrawDeviceTest, TheSceneReachesTheImageWithTheContextsModes) {
  const QImage image = DrawSceneImage();
  EXPECT_TRUE(image.save(QString::fromStdString(TestOutputPath("canvas_scene.png")), "PNG"));

  // Device pixel of logical (x, y): (250 + x / 2, 200 - y / 2).
  const struct {
    int x, y;
    QRgb expected;
    const char* guards;
  } pixels[] = {
      {250, 50, qRgb(0, 0, 0), "a solid line at logical y 300"},
      {100, 325, qRgb(0, 160, 0), "the inside of the filled ellipse, with a null pen"},
      {250, 15, qRgb(255, 255, 255), "a line inside the excluded rectangle is clipped"},
      {180, 15, qRgb(0, 0, 0), "the same line outside the excluded rectangle"},
      {25, 25, qRgb(255, 0, 0), "a pixel of the screen only"},
      {25, 100, qRgb(255, 255, 255), "a not-xor band drawn twice leaves the background"},
      {375, 100, qRgb(255, 0, 0), "a not-xor band drawn once shows in the pen's colour"},
      {250, 350, qRgb(255, 255, 0), "the filled rectangle that hides a text"},
  };
  for (const auto& p : pixels) {
    EXPECT_EQ(image.pixel(p.x, p.y), p.expected) << p.guards << " at " << p.x << "," << p.y;
  }
}

}  // namespace
