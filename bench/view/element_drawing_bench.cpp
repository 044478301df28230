// Redrawing the element boxes of a large layout into an offscreen picture, the way the
// layout view repaints: the supports and outlets come from the cache after the first
// paint. Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>

#include "element_scene.h"
#include "geometry/3d_projection.h"
#include "model/element/dev.h"
#include "view/element_draw_cache.h"
#include "view/element_drawing.h"
#include "view/nominal_font_measurer.h"
#include "view/ui/qt_draw_device.h"
#include "view/ui/qt_font_measurer.h"
#include "view/ui/qt_paint_recording.h"

namespace {

constexpr CSize kSize{1200, 900};

void BM_RedrawElementsIntoImage(benchmark::State& state) {
  const CElementScene scene = BuildLargeScene(static_cast<int>(state.range(0)));
  for (CDev* e : scene.elements) {
    if (e->GetKind() == CDev::kJoint) e->SetPropValue("SUPP", "4:250");
  }
  const CElementDrawOptions options = SceneDrawOptions(false);
  CElementDrawCache cache;
  QImage image(kSize.cx, kSize.cy, QImage::Format_RGB32);
  CQtFontMeasurer measurer;
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    CQtDrawDevice device(painter);
    CDrawContext dc(device, measurer, kSize);
    FitSceneMapping(dc, *scene.document, kSize);
    DrawElements(dc, *scene.document, cache, options);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["boxes"] =
      static_cast<double>(scene.document->GetProjection()->GetDisplayList().Size());
  state.counters["computations"] = static_cast<double>(cache.Computations());
}
BENCHMARK(BM_RedrawElementsIntoImage)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

// Elements that all carry details (bar ends with their labels, covers, pictograms, source
// symbols), drawn the same way: the cost of the details over the plain boxes.
void BM_RedrawDetailedElements(benchmark::State& state) {
  const CElementScene scene = BuildDetailedScene(static_cast<int>(state.range(0)));
  const CElementDrawOptions options = SceneDrawOptions(false);
  CElementDrawCache cache;
  QImage image(kSize.cx, kSize.cy, QImage::Format_RGB32);
  CQtFontMeasurer measurer;
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    CQtDrawDevice device(painter);
    CDrawContext dc(device, measurer, kSize);
    FitSceneMapping(dc, *scene.document, kSize);
    DrawElements(dc, *scene.document, cache, options);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["boxes"] =
      static_cast<double>(scene.document->GetProjection()->GetDisplayList().Size());
}
BENCHMARK(BM_RedrawDetailedElements)
    ->Arg(1250)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);

// The same drawing kept as painter operations and played in bands of the picture on
// several threads (wall-clock times), each paint anew, or only played back as when the
// scene has not changed since the last paint.
void RedrawElementsInBands(benchmark::State& state, bool keep) {
  const CElementScene scene = BuildLargeScene(static_cast<int>(state.range(0)));
  for (CDev* e : scene.elements) {
    if (e->GetKind() == CDev::kJoint) e->SetPropValue("SUPP", "4:250");
  }
  const CElementDrawOptions options = SceneDrawOptions(false);
  CElementDrawCache cache;
  QImage image(kSize.cx, kSize.cy, QImage::Format_RGB32);
  CQtFontMeasurer measurer;
  CQtPaintRecording kept(&image);
  auto record = [&](CQtPaintRecording& recording) {
    CQtDrawDevice device(recording);
    CDrawContext dc(device, measurer, kSize);
    FitSceneMapping(dc, *scene.document, kSize);
    DrawElements(dc, *scene.document, cache, options);
  };
  if (keep) record(kept);
  for (auto _ : state) {
    image.fill(Qt::white);
    if (keep) {
      kept.PlayInBands(image);
    } else {
      CQtPaintRecording recording(&image);
      record(recording);
      recording.PlayInBands(image);
    }
    benchmark::DoNotOptimize(image.constBits());
  }
}
void BM_RedrawElementsInBands(benchmark::State& state) { RedrawElementsInBands(state, false); }
void BM_RepaintKeptElements(benchmark::State& state) { RedrawElementsInBands(state, true); }
BENCHMARK(BM_RedrawElementsInBands)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_RepaintKeptElements)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// A target that only counts the figures it gets.
class CCountingDevice : public CDrawDevice {
 public:
  void Line(const CDrawContext&, CPoint, CPoint) override { ++figures; }
  void Polyline(const CDrawContext&, std::span<const CPoint>) override { ++figures; }
  void Polygon(const CDrawContext&, std::span<const CPoint>) override { ++figures; }
  void Rectangle(const CDrawContext&, const CRect&) override { ++figures; }
  void Ellipse(const CDrawContext&, const CRect&) override { ++figures; }
  void Text(const CDrawContext&, std::string_view, const CRect&, unsigned) override { ++figures; }
  void ExcludeClip(const CDrawContext&, const CRect&) override {}
  void ClipChanged(const CDrawContext&) override {}
  void SetLayer(std::string_view, int) override {}
  void ScreenLine(const CDrawContext&, CPoint, CPoint) override { ++figures; }
  void ScreenPolygon(const CDrawContext&, std::span<const CPoint>) override { ++figures; }
  void Pixel(const CDrawContext&, CPoint, CColor) override { ++figures; }
  void TextOut(const CDrawContext&, CPoint, std::string_view) override { ++figures; }
  void Bitmap(const CDrawContext&, const CRect&, const CBitmapDesc&) override { ++figures; }
  std::size_t figures = 0;
};

// The same walk on a target that draws nothing: what the element drawing itself costs.
void BM_RedrawElementsCountingOnly(benchmark::State& state) {
  const CElementScene scene = BuildLargeScene(static_cast<int>(state.range(0)));
  const CElementDrawOptions options = SceneDrawOptions(false);
  CElementDrawCache cache;
  CNominalFontMeasurer measurer;
  CCountingDevice device;
  for (auto _ : state) {
    CDrawContext dc(device, measurer, kSize);
    FitSceneMapping(dc, *scene.document, kSize);
    DrawElements(dc, *scene.document, cache, options);
  }
  state.counters["figures_per_paint"] =
      static_cast<double>(device.figures) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RedrawElementsCountingOnly)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
