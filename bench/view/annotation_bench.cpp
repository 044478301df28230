// The annotations of a layout: bringing the automatic ones in step and drawing every kind
// onto a picture, for 100 runs of 10 elements (x1), and 4 and 16 times that many runs.
//   build/bench/view/annotation_bench --benchmark_min_time=0.2

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>

#include "app/app_settings.h"
#include "layout_scene.h"
#include "model/annotation/annotation_label.h"
#include "model/annotation/annotation_list.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "view/annotation_drawing.h"
#include "view/annotation_places.h"
#include "view/annotation_update.h"
#include "view/display_layers.h"
#include "view/draw_context.h"
#include "view/ui/qt_draw_device.h"
#include "view/ui/qt_font_measurer.h"
#include "view/ui/scene_paint_cache.h"
#include "view/ui/view_export.h"
#include "view/view_window.h"

namespace {

constexpr int kRuns = 100;
constexpr int kElementsPerRun = 10;
const QSize kSize(1280, 800);

// Runs with a catalogue (so they have their labels), built (so every element has its
// dimensions), a text and a user dimension on each.
std::unique_ptr<CDorneDoc> AnnotatedLayout(int runs) {
  auto document = BuildLayoutScene(runs, kElementsPerRun);
  for (CRun* run : document->GetRuns()) {
    run->SetCatalog("QDA");
    run->SetProp("Calibre", "06");
    run->SetPartsState(1);
    const std::vector<CDev*> chain = run->GetChainOrder();
    auto text = std::make_unique<CAnnotationLabel>(CAnnotation::kText);
    text->SetOwnerElement(chain[1]);
    text->SetFlags(CAnnotation::kFlagAttached | CAnnotation::kFlagUserAttached);
    text->SetText("Note\non two lines");
    document->Annotations().Append(std::move(text));
    auto dimension = std::make_unique<CAnnotationLabel>(CAnnotation::kDistance);
    dimension->SetEnd(0, chain[2]);
    dimension->SetEnd(1, chain[7]);
    dimension->SetDimensionCodes({CDev::kBodySlot, 9, CDev::kBodySlot, 9});
    document->Annotations().Append(std::move(dimension));
  }
  return document;
}

CSceneDrawOptions EveryLayer() {
  CSceneDrawOptions options = SceneOptionsFromSettings(CAppSettings(), false);
  options.layers.fill(true);
  static CAnnotationPlaces places;
  options.annotationPlaces = &places;
  return options;
}

void BM_RefreshAnnotations(benchmark::State& state) {
  auto document = AnnotatedLayout(kRuns * static_cast<int>(state.range(0)));
  const CLabelStyleSlots styles = CAppSettings().labels;
  UpdateTitleBlock(*document, styles);
  for (auto _ : state) UpdateTitleBlock(*document, styles);
  state.counters["annotations"] = static_cast<double>(document->Annotations().Size());
}
BENCHMARK(BM_RefreshAnnotations)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

// What a paint of an unchanged document spends on the automatic annotations: the view
// refreshes them only when something they are made from changed.
void BM_RefreshUnchanged(benchmark::State& state) {
  auto document = AnnotatedLayout(kRuns * static_cast<int>(state.range(0)));
  const CLabelStyleSlots styles = CAppSettings().labels;
  CAnnotationRefresh refresh;
  refresh.Run(*document, styles, false);
  for (auto _ : state) benchmark::DoNotOptimize(refresh.Run(*document, styles, false));
}
BENCHMARK(BM_RefreshUnchanged)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMicrosecond);

// Every label drawn anew (the view moved or turned), the whole layout in the view; then
// with the view zoomed in on a sixteenth of it, where the labels outside are only measured.
void DrawAnnotations(benchmark::State& state, double zoomStep) {
  auto document = AnnotatedLayout(kRuns * static_cast<int>(state.range(0)));
  UpdateTitleBlock(*document, CAppSettings().labels);
  const CSceneDrawOptions options = EveryLayer();
  CViewWindow window;
  if (const auto extent = GetSceneExtent(*document))
    window.ZoomAll(*extent, 0.9, {kSize.width(), kSize.height()});
  if (zoomStep > 0) window.ZoomIn(zoomStep);
  QImage image(kSize, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    CQtDrawDevice device(painter);
    CQtFontMeasurer measurer;
    CDrawContext dc(device, measurer, {kSize.width(), kSize.height()});
    window.ApplyTo(dc.Mapping(), {kSize.width(), kSize.height()});
    DrawAnnotationLayers(dc, *document, options);
  }
  state.counters["annotations"] = static_cast<double>(document->Annotations().Size());
}
void BM_DrawAnnotations(benchmark::State& state) { DrawAnnotations(state, 0); }
BENCHMARK(BM_DrawAnnotations)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
void BM_DrawAnnotationsZoomedIn(benchmark::State& state) { DrawAnnotations(state, 0.75); }
BENCHMARK(BM_DrawAnnotationsZoomedIn)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

// What the annotations add to the view's repaint of an unchanged scene (its kept painter
// operations played back, its kept annotations laid over them): first argument 1 with
// every annotation layer on, 0 with all off; the second the size.
void BM_RepaintKeptScene(benchmark::State& state) {
  auto document = AnnotatedLayout(kRuns * static_cast<int>(state.range(1)));
  UpdateTitleBlock(*document, CAppSettings().labels);
  CSceneDrawOptions options = EveryLayer();
  if (state.range(0) == 0) options.layers.fill(false);
  CViewWindow window;
  if (const auto extent = GetSceneExtent(*document))
    window.ZoomAll(*extent, 0.9, {kSize.width(), kSize.height()});
  QImage image(kSize, QImage::Format_RGB32);
  CScenePaintCache cache;
  const auto paint = [&] {
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintScene(painter, *document, window, kSize, options, &cache);
  };
  paint();  // what is kept is made once
  for (auto _ : state) paint();
}
BENCHMARK(BM_RepaintKeptScene)
    ->ArgsProduct({{0, 1}, {1, 4, 16}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
