// Redrawing a large layout offscreen and turning it: 100 runs of 200 elements. Both spread
// their work over threads: the times are wall-clock, and mean little on a busy machine.
//   build/bench/view/layout_view_bench --benchmark_min_time=0.2

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>

#include "element_scene.h"
#include "layout_scene.h"
#include "model/document/dorne_doc.h"
#include "view/scene_drawing.h"
#include "view/ui/scene_paint_cache.h"
#include "view/ui/view_export.h"

namespace {

constexpr int kRuns = 100;
constexpr int kElementsPerRun = 200;

CViewWindow FittedWindow(const CDorneDoc& document, QSize size) {
  CViewWindow window;
  if (const auto extent = GetSceneExtent(document))
    window.ZoomAll(*extent, 0.9, {size.width(), size.height()});
  return window;
}

// A fresh redraw of the whole layout of 6, 25 and 100 runs (1200, 5000 and 20000
// elements), as after an edit, a resize or a layer change.
void BM_RedrawLayout(benchmark::State& state) {
  auto document = BuildLayoutScene(static_cast<int>(state.range(0)), kElementsPerRun);
  const QSize size(1280, 800);
  const CViewWindow window = FittedWindow(*document, size);
  QImage image(size, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintScene(painter, *document, window, size, CSceneDrawOptions());
  }
  state.counters["boxes"] = static_cast<double>(document->Projection().GetDisplayList().Size());
}
BENCHMARK(BM_RedrawLayout)
    ->Arg(6)
    ->Arg(25)
    ->Arg(kRuns)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// A repaint of an unchanged scene, as the view makes it with its kept painter operations.
void BM_RepaintKeptLayout(benchmark::State& state) {
  auto document = BuildLayoutScene(kRuns, kElementsPerRun);
  const QSize size(1280, 800);
  const CViewWindow window = FittedWindow(*document, size);
  QImage image(size, QImage::Format_RGB32);
  CScenePaintCache cache;
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintScene(painter, *document, window, size, CSceneDrawOptions(), &cache);
  }
}
BENCHMARK(BM_RepaintKeptLayout)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The same redraw of elements that all carry details (bar ends with labels, covers,
// pictograms, source symbols), 1250, 5000 and 20000 of them.
void BM_RedrawDetailedLayout(benchmark::State& state) {
  const CElementScene scene = BuildDetailedScene(static_cast<int>(state.range(0)));
  const QSize size(1280, 800);
  const CViewWindow window = FittedWindow(*scene.document, size);
  QImage image(size, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintScene(painter, *scene.document, window, size, CSceneDrawOptions());
  }
  state.counters["boxes"] =
      static_cast<double>(scene.document->Projection().GetDisplayList().Size());
}
BENCHMARK(BM_RedrawDetailedLayout)
    ->Arg(1250)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_TurnAndResortLayout(benchmark::State& state) {
  auto document = BuildLayoutScene(kRuns, kElementsPerRun);
  int turn = 0;
  for (auto _ : state) {
    turn = (turn + 1) % 2;
    document->SetViewAngles(turn == 0 ? 330 : 30, turn == 0 ? 315 : 45, 0);
  }
}
BENCHMARK(BM_TurnAndResortLayout)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
