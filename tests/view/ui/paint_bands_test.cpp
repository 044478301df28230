// Scenes kept as painter operations and played back in bands of the picture on several
// threads against the same scenes drawn at once with one painter: the same pixels.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <array>
#include <functional>
#include <string>

#include "../element_scene.h"
#include "../layout_scene.h"
#include "model/dev.h"
#include "model/dorne_doc.h"
#include "model/element_selection.h"
#include "view/element_draw_cache.h"
#include "view/element_drawing.h"
#include "view/scene_drawing.h"
#include "view/ui/qt_draw_device.h"
#include "view/ui/qt_font_measurer.h"
#include "view/ui/qt_paint_recording.h"
#include "view/ui/scene_paint_cache.h"
#include "view/ui/view_export.h"
#include "view/view_window.h"

namespace {

constexpr CSize kSize{1000, 701};  // rows that the bands do not divide evenly

using DrawOnto = std::function<void(CDrawContext&)>;

QImage Blank() {
  QImage image(kSize.cx, kSize.cy, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

QImage DrawnAtOnce(const DrawOnto& draw) {
  QImage image = Blank();
  QPainter painter(&image);
  CQtDrawDevice device(painter);
  CQtFontMeasurer measurer;
  CDrawContext dc(device, measurer, kSize);
  draw(dc);
  return image;
}

void Record(CQtPaintRecording& recording, const DrawOnto& draw) {
  CQtDrawDevice device(recording);
  CQtFontMeasurer measurer;
  CDrawContext dc(device, measurer, kSize);
  draw(dc);
}

DrawOnto Elements(const CElementScene& scene, bool monochrome) {
  return [&scene, monochrome](CDrawContext& dc) {
    FitSceneMapping(dc, *scene.document, kSize);
    CElementDrawCache cache;
    DrawElements(dc, *scene.document, cache, SceneDrawOptions(monochrome));
  };
}

// Texts in boxes after a text at a point and a rectangle, each kept with its own place.
void MixedTexts(CDrawContext& dc) {
  dc.TextOut(40, 40, "at a point");
  dc.Rectangle(300, 300, 340, 330);
  dc.DrawText("in a box", {500, 500, 700, 540}, text_format::kSingleLine | text_format::kCenter);
  dc.DrawText("in another", {200, 600, 400, 640}, text_format::kSingleLine);
}

TEST(PaintBandsTest, BandsOnThreadsMakeThePixelsOfOnePainter) {
  const CElementScene kinds = BuildElementKindsScene(330, 315, 0);
  const CElementScene turned = BuildElementKindsScene(300, 20, 10);
  const CElementScene large = BuildLargeScene(3000);
  const struct {
    const char* name;
    DrawOnto draw;
  } scenes[] = {{"every kind", Elements(kinds, false)},
                {"every kind turned", Elements(turned, false)},
                {"every kind in black and white", Elements(kinds, true)},
                {"many elements", Elements(large, false)},
                {"texts after a point text and a rectangle", MixedTexts}};
  for (const auto& scene : scenes) {
    const QImage expected = DrawnAtOnce(scene.draw);
    CQtPaintRecording recording(&expected);
    Record(recording, scene.draw);
    for (int bands : {1, 2, 5, 8, 40}) {
      QImage banded = Blank();
      recording.PlayInBands(banded, bands);
      EXPECT_TRUE(banded == expected) << scene.name << " in " << bands << " bands";
    }
  }
}

TEST(PaintBandsTest, APictureOfTheLayoutIsDrawnInBandsAsOnOnePainter) {
  const auto document = BuildLayoutScene(30, 100);
  CViewWindow window;
  window.ZoomAll(*GetSceneExtent(*document), 0.9, kSize);
  QImage expected = Blank();
  {
    QPainter painter(&expected);
    painter.setClipRect(0, 0, kSize.cx, kSize.cy);  // a painter with a clip draws at once
    PaintScene(painter, *document, window, {kSize.cx, kSize.cy}, CSceneDrawOptions());
  }
  QImage banded = Blank();
  {
    QPainter painter(&banded);
    PaintScene(painter, *document, window, {kSize.cx, kSize.cy}, CSceneDrawOptions());
  }
  EXPECT_TRUE(banded == expected);
  EXPECT_NE(banded, Blank());
}

// Elements with every detail (bar ends with labels, covers, pictograms, source symbols)
// drawn in stretches on several threads with one element cache, as the view does, and at
// once with one painter: the same pixels, at several angles, with the cache full and
// empty.
TEST(PaintBandsTest, DetailedElementsRecordedOnSeveralThreadsMakeThePixelsOfOnePainter) {
  const CElementScene scene = BuildDetailedScene(4000);
  CElementDrawCache cache;
  CSceneDrawOptions options;
  options.elements = SceneDrawOptions(false);
  options.cache = &cache;
  for (const std::array<int, 3> angles :
       {std::array{330, 315, 0}, std::array{300, 20, 10}, std::array{0, 90, 0}}) {
    scene.document->SetViewAngles(angles[0], angles[1], angles[2]);
    CViewWindow window;
    window.ZoomAll(*GetSceneExtent(*scene.document), 0.9, kSize);
    // A quarter of the scene: large enough for the details, most boxes still drawn.
    window.ZoomIn(0.5);
    cache.Clear();
    QImage expected = Blank();
    {
      QPainter painter(&expected);
      painter.setClipRect(0, 0, kSize.cx, kSize.cy);  // a painter with a clip draws at once
      PaintScene(painter, *scene.document, window, {kSize.cx, kSize.cy}, options);
    }
    EXPECT_NE(expected, Blank());
    // The one painter filled the cache; then the threads compute it themselves.
    for (const char* pass : {"cached", "computing"}) {
      QImage pieces = Blank();
      {
        QPainter painter(&pieces);
        PaintScene(painter, *scene.document, window, {kSize.cx, kSize.cy}, options);
      }
      EXPECT_TRUE(pieces == expected) << angles[0] << " " << angles[1] << " " << pass;
      cache.Clear();
    }
  }
}

QImage Painted(const CDorneDoc& document, const CViewWindow& window,
               const CSceneDrawOptions& options, CScenePaintCache* cache) {
  QImage image = Blank();
  QPainter painter(&image);
  PaintScene(painter, document, window, {kSize.cx, kSize.cy}, options, cache);
  painter.end();
  return image;
}

TEST(PaintBandsTest, AKeptPictureIsPlayedBackOnlyWhileWhatItWasDrawnFromStaysTheSame) {
  const auto document = BuildLayoutScene(30, 100);
  CViewWindow window;
  window.ZoomAll(*GetSceneExtent(*document), 0.9, kSize);
  CSceneDrawOptions options;
  CScenePaintCache cache;
  const CDisplayNode* middle = document->Projection().GetDisplayList().Head();
  for (std::size_t i = 0; i < document->Projection().GetDisplayList().Size() / 2; ++i)
    middle = middle->next;
  CDev* element = dynamic_cast<CDev*>(middle->box->GetOwner());
  ASSERT_NE(element, nullptr);
  const struct {
    const char* name;
    std::function<void()> change;
  } steps[] = {
      {"the view panned", [&] { window.Pan(200, 100); }},
      {"the scene turned", [&] { document->SetViewAngles(300, 20, 0); }},
      {"an element selected",
       [&] { document->Selection().Select(element, CElementSelection::kWholeElement); }},
      {"black and white", [&] { options.monochrome = true; }},
  };
  QImage last = Painted(*document, window, options, &cache);
  EXPECT_TRUE(Painted(*document, window, options, &cache) == last) << "nothing changed";
  for (const auto& step : steps) {
    step.change();
    const QImage kept = Painted(*document, window, options, &cache);
    EXPECT_TRUE(kept == Painted(*document, window, options, nullptr)) << step.name;
    EXPECT_FALSE(kept == last) << step.name << " shows";
    last = kept;
  }
}

}  // namespace
