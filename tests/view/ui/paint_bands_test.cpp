// Scenes kept as painter operations and played back in bands of the picture on several
// threads against the same scenes drawn at once with one painter: the same pixels.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "../element_scene.h"
#include "../layout_scene.h"
#include "geometry/parallel_chunks.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
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
       [&] { element->SelectElement(true, element->GetBox(CDev::kBodySlot)); }},
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

// The picture a view records ahead on a thread of its own, while the windows wait, is
// played back by the next paint of the same scene, and makes the pixels of a fresh one;
// one that no longer fits what the paint asks for is recorded anew.
TEST(PaintBandsTest, APictureRecordedAheadOnAnotherThreadPlaysBackAsAFreshPaint) {
  const auto document = BuildLayoutScene(30, 100);
  CViewWindow window;
  window.ZoomAll(*GetSceneExtent(*document), 0.9, kSize);
  const CDisplayNode* middle = document->Projection().GetDisplayList().Head();
  for (std::size_t i = 0; i < document->Projection().GetDisplayList().Size() / 3; ++i)
    middle = middle->next;
  CDev* element = dynamic_cast<CDev*>(middle->box->GetOwner());
  ASSERT_NE(element, nullptr);
  CSceneDrawOptions monochrome;
  monochrome.monochrome = true;
  using Step = std::function<void(CViewWindow&)>;
  const Step turned = [&](CViewWindow&) { document->SetViewAngles(300, 20, 0); };
  const Step turnedBack = [&](CViewWindow&) { document->SetViewAngles(20, 340, 0); };
  const Step selected = [&](CViewWindow&) {
    element->SelectElement(true, element->GetBox(CDev::kBodySlot));
  };
  const struct {
    const char* name;
    Step before;  // the scene, before the recording
    Step after;   // between the recording and the paint
    const CSceneDrawOptions* recordedWith;
    bool calledOff;  // the stop flag set before the recording
    bool playedBack;
  } cases[] = {
      {"as fitted", {}, {}, nullptr, false, true},
      {"turned", turned, {}, nullptr, false, true},
      {"panned", [](CViewWindow& w) { w.Pan(150, -80); }, {}, nullptr, false, true},
      {"an element selected", selected, {}, nullptr, false, true},
      {"turned after the recording", {}, turnedBack, nullptr, false, false},
      {"panned after the recording",
       {},
       [](CViewWindow& w) { w.Pan(-60, 40); },
       nullptr,
       false,
       false},
      {"recorded in black and white", {}, {}, &monochrome, false, false},
      {"called off", {}, {}, nullptr, true, false},
  };
  for (const auto& c : cases) {
    if (c.before) c.before(window);
    CScenePaintCache cache;
    const CSceneDrawOptions& recordedWith = c.recordedWith ? *c.recordedWith : CSceneDrawOptions();
    const QImage like = Blank();
    const std::atomic<bool> stop{c.calledOff};
    bool recorded = false;
    std::thread ahead([&] {
      recorded = RecordScenePicture(cache, *document, window, {kSize.cx, kSize.cy}, recordedWith,
                                    like, stop);
    });
    ahead.join();
    EXPECT_EQ(recorded, !c.calledOff) << c.name;
    ASSERT_EQ(cache.Recordings(), 1u) << c.name;
    if (c.after) c.after(window);
    const QImage played = Painted(*document, window, CSceneDrawOptions(), &cache);
    EXPECT_TRUE(played == Painted(*document, window, CSceneDrawOptions(), nullptr)) << c.name;
    EXPECT_EQ(cache.Recordings(), c.playedBack ? 1u : 2u) << c.name;
  }
}

// Small polygons, which the bands stamp from a picture of each shape drawn once, next to
// the same figures drawn by a painter: outlines and fills in plain colours, shapes of every
// turn, slivers, points, crossed outlines, pens and brushes that stay with the painter
// (wide, dotted, hatched, translucent), near the picture's edges and across the bands'.
void SmallPolygons(CQtPaintRecording& out) {
  const std::vector<std::vector<QPoint>> shapes = {{{0, 0}, {3, -1}, {3, 0}, {0, 1}},
                                                   {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
                                                   {{0, 0}, {0, 0}, {0, 0}, {0, 0}},
                                                   {{0, 0}, {2, 0}, {2, 0}, {0, 0}},
                                                   {{0, 0}, {5, 5}, {5, 0}, {0, 5}},
                                                   {{0, 0}, {16, 3}, {9, 16}},
                                                   {{2, 0}, {0, 3}, {4, 4}, {7, 1}, {5, 0}},
                                                   {{0, 3}, {3, 0}, {6, 3}, {3, 6}},
                                                   {{0, 0}, {20, 1}, {0, 2}}};
  const std::vector<QPen> pens = {QPen(Qt::black, 0),
                                  QPen(Qt::NoPen),
                                  QPen(QColor(200, 0, 200), 0),
                                  QPen(Qt::black, 3),
                                  QPen(Qt::black, 0, Qt::DotLine),
                                  QPen(QColor(0, 0, 255, 128), 0)};
  const std::vector<QBrush> brushes = {
      QBrush(QColor(160, 160, 160)), QBrush(Qt::NoBrush), QBrush(QColor(20, 120, 20)),
      QBrush(Qt::red, Qt::BDiagPattern), QBrush(QColor(255, 0, 0, 100))};
  int figure = 0;
  for (int y = -3; y < kSize.cy; y += 7) {
    for (int x = -3; x < kSize.cx; x += 23, ++figure) {
      const auto& shape = shapes[static_cast<std::size_t>(figure) % shapes.size()];
      std::vector<QPoint> placed;
      for (const QPoint& corner : shape) placed.push_back(corner + QPoint(x + figure % 5, y));
      out.SetPen(pens[static_cast<std::size_t>(figure / 3) % pens.size()]);
      out.SetBrush(brushes[static_cast<std::size_t>(figure / 7) % brushes.size()]);
      out.DrawPolygon(placed);
    }
  }
}

TEST(PaintBandsTest, SmallPolygonsStampedInBandsMakeThePixelsOfOnePainter) {
  QImage expected = Blank();
  {
    QPainter painter(&expected);
    painter.setRenderHint(QPainter::Antialiasing, false);
    CQtPaintRecording atOnce(painter);
    SmallPolygons(atOnce);
  }
  CQtPaintRecording recording(&expected);
  SmallPolygons(recording);
  for (int bands : {1, 3, 8, 40}) {
    QImage banded = Blank();
    recording.PlayInBands(banded, bands);
    EXPECT_TRUE(banded == expected) << bands << " bands";
  }
}

// The benchmark's layout of 100 runs of 200 elements fitted in a view, faces of a few
// pixels each, drawn in bands as the view draws it and at once with one painter.
TEST(PaintBandsTest, TheFittedLayoutOfTwentyThousandElementsIsDrawnInBandsAsOnOnePainter) {
  const auto document = BuildLayoutScene(100, 200);
  const QSize size(1280, 800);
  CViewWindow window;
  window.ZoomAll(*GetSceneExtent(*document), 0.9, {size.width(), size.height()});
  QImage expected(size, QImage::Format_RGB32);
  expected.fill(Qt::white);
  QImage banded = expected;
  {
    QPainter painter(&expected);
    painter.setClipRect(0, 0, size.width(), size.height());  // a painter with a clip draws at once
    PaintScene(painter, *document, window, size, CSceneDrawOptions());
  }
  {
    QPainter painter(&banded);
    PaintScene(painter, *document, window, size, CSceneDrawOptions());
  }
  EXPECT_TRUE(banded == expected);
}

// A picture recorded ahead is cut into more pieces than there are threads, claimed by
// whichever thread comes free; played back, they make the pixels of one painter.
TEST(PaintBandsTest, APictureInMorePiecesThanThreadsIsDrawnAsOnOnePainter) {
  const auto document = BuildLayoutScene(40, 200);
  CViewWindow window;
  window.ZoomAll(*GetSceneExtent(*document), 0.9, kSize);
  const QSize size(kSize.cx, kSize.cy);
  QImage expected = Blank();
  {
    QPainter painter(&expected);
    painter.setClipRect(0, 0, kSize.cx, kSize.cy);  // a painter with a clip draws at once
    PaintScene(painter, *document, window, size, CSceneDrawOptions());
  }
  CScenePaintCache kept;
  const std::atomic<bool> stop{false};
  ASSERT_TRUE(RecordScenePicture(kept, *document, window, size, {}, expected, stop));
  const std::size_t pieces =
      kept.Find(CScenePaintCache::CKey::Of(*document, window, size, {}, expected)).size();
  if (CParallelChunks::WorkerCount() > 0) EXPECT_GT(pieces, CParallelChunks::WorkerCount() + 1);
  else EXPECT_EQ(pieces, 1u);
  EXPECT_TRUE(Painted(*document, window, CSceneDrawOptions(), &kept) == expected);
  EXPECT_EQ(kept.Recordings(), 1u) << "the picture was played back, not recorded again";
}

}  // namespace
