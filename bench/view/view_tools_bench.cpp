// One orbit step of the layout view's tools on 100 runs of 200 elements: the turn of the
// projection with the resort of the scene, and the same followed by the redraw. The frames
// of a moving view (orbit, pan, zoom: the mouse event and the light picture) and the full
// picture once it rests on 6, 25, 100 and 400 runs of 200 elements (1200 to 80000). The
// full picture once an orbit drag stops, with the order sorted then or aside while the
// mouse paused, and what a move waits for when it calls such a sort off; the recording
// of that picture and its playback apart.
//   build/bench/view/view_tools_bench --benchmark_min_time=0.2

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "layout_scene.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "view/annotation_places.h"
#include "view/scene_drawing.h"
#include "view/ui/scene_paint_cache.h"
#include "view/ui/view_export.h"
#include "view/view_tools.h"
#include "view/view_window.h"

namespace {

constexpr int kRuns = 100;
constexpr int kFrameTurn = 0;
constexpr int kFramePan = 1;
constexpr int kFrameZoom = 2;
constexpr int kElementsPerRun = 200;
const QSize kClient(1280, 800);

class CBenchHost : public CViewToolHost {
 public:
  void Beep() override {}
  void Refresh() override {}
  void SetCursor(int) override {}
  void SetPrompt(int) override {}
  void Capture(bool on) override { m_captured = on; }
  bool HasCapture() const override { return m_captured; }
  std::optional<std::string> AskText(int, const std::string&) override { return {}; }
  CPoint ToLogical(CPoint device) const override { return device; }
  CPoint ToDevice(CPoint logical) const override { return logical; }
  CRect ClientRect() const override { return {0, 0, 800, 600}; }
  bool ZoomToRect(CPoint, CPoint) override { return false; }
  void ExportViewImage(const CRect&) override {}
  void FindViewPreset() override {}
  void SetDistanceLayer(bool) override {}
  const CAnnotationPlaces& LabelPlaces() const override { return m_places; }
  int EditAnnotation(CAnnotationLabel&, bool) override { return 0; }
  int RunTapOffDialog(int&) override { return 0; }
  int PlaceTapOffUnit(CBox&, int, CDev*) override { return 0; }

 private:
  bool m_captured = false;
  CAnnotationPlaces m_places;
};

// The layout of that many runs, the whole of it in the view.
std::unique_ptr<CDorneDoc> FittedLayout(int runs) {
  auto document = BuildLayoutScene(runs, kElementsPerRun);
  CViewWindow window;
  if (const auto extent = GetSceneExtent(*document))
    window.ZoomAll(*extent, 0.9, {kClient.width(), kClient.height()});
  window.StoreIn(*document);
  return document;
}

// Runs the orbit drag: each iteration moves the pointer one pixel to and fro.
void Orbit(benchmark::State& state, bool redraw) {
  auto document = FittedLayout(kRuns);
  CBenchHost host;
  CViewTools tools(*document, host);
  tools.OnCommand(33024);
  const C3DPoint anchor = document->GetRuns()[50]->GetFirstElement()->GetPosition();
  const CPoint at = document->Projection().ProjectPoint(anchor);
  tools.OnLButtonDown({{640, 400}, at, kToolKeyLeft});
  QImage image(kClient, QImage::Format_RGB32);
  int step = 0;
  for (auto _ : state) {
    step = 1 - step;
    tools.OnMouseMove({{640 + step, 400 + step}, at, kToolKeyLeft});
    document->SettleView();
    if (!redraw) continue;
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintScene(painter, *document, CViewWindow::FromDocument(*document), kClient,
               CSceneDrawOptions());
  }
  state.counters["boxes"] = static_cast<double>(document->Projection().GetDisplayList().Size());
}

void BM_OrbitStep(benchmark::State& state) { Orbit(state, false); }
BENCHMARK(BM_OrbitStep)->Unit(benchmark::kMillisecond);

void BM_OrbitStepAndRedraw(benchmark::State& state) { Orbit(state, true); }
BENCHMARK(BM_OrbitStepAndRedraw)->Unit(benchmark::kMillisecond);

// One frame of a moving view, from the mouse event to the finished picture: a pixel of
// orbit drag (the turn and the resort), a pixel of pan drag, or a step of the wheel
// (zoom in, then out); the picture is the light one (argument 2: 1) or the full one (0).
void BM_MovingViewFrame(benchmark::State& state) {
  const int runs = static_cast<int>(state.range(0));
  const int frame = static_cast<int>(state.range(1));
  auto document = FittedLayout(runs);
  CBenchHost host;
  CViewTools tools(*document, host);
  const C3DPoint anchor = document->GetRuns()[runs / 2]->GetFirstElement()->GetPosition();
  const CPoint at = document->Projection().ProjectPoint(anchor);
  if (frame == kFrameTurn) tools.OnCommand(33024);
  if (frame == kFramePan) tools.OnMButtonDown({{640, 400}, at, kToolKeyMiddle});
  else tools.OnLButtonDown({{640, 400}, at, kToolKeyLeft});
  CSceneDrawOptions options;
  options.elements.light = state.range(2) != 0;
  QImage image(kClient, QImage::Format_RGB32);
  int step = 0;
  for (auto _ : state) {
    step = 1 - step;
    if (frame == kFrameZoom) {
      CViewWindow zoomed = CViewWindow::FromDocument(*document);
      if (step == 1) zoomed.ZoomIn(0.5);
      else zoomed.ZoomOut(1.0);
      zoomed.StoreIn(*document);
    } else {
      const CPoint moved{at.x + step * 20, at.y + step * 20};
      tools.OnMouseMove(
          {{640 + step, 400 + step}, moved, frame == kFramePan ? kToolKeyMiddle : kToolKeyLeft});
    }
    // The full picture waits for the scene's order; the light one takes the boxes' depth.
    if (!options.elements.light) document->SettleView();
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintScene(painter, *document, CViewWindow::FromDocument(*document), kClient, options);
  }
  state.counters["boxes"] = static_cast<double>(document->Projection().GetDisplayList().Size());
}
BENCHMARK(BM_MovingViewFrame)
    ->ArgNames({"runs", "frame", "light"})
    ->ArgsProduct({{6, 25, 100, 400}, {kFrameTurn, kFramePan, kFrameZoom}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// An orbit drag on that many runs, the mouse pressed on an element of the middle run.
struct COrbitDrag {
  explicit COrbitDrag(int runs)
      : document(FittedLayout(runs)), tools(*document, host), middleRun(runs / 2) {
    tools.OnCommand(33024);
    Press();
  }
  // The button pressed on the first element of the middle run, as the view now shows it.
  void Press() {
    const C3DPoint anchor =
        document->GetRuns()[static_cast<std::size_t>(middleRun)]->GetFirstElement()->GetPosition();
    at = document->Projection().ProjectPoint(anchor);
    step = 0;
    tools.OnLButtonDown({{640, 400}, at, kToolKeyLeft});
  }
  // One pixel to or fro: the view turns and its list is left unordered.
  void Step() {
    step = 1 - step;
    tools.OnMouseMove(
        {{640 + step, 400 + step}, {at.x + step * 20, at.y + step * 20}, kToolKeyLeft});
  }

  std::unique_ptr<CDorneDoc> document;
  CBenchHost host;
  CViewTools tools;
  int middleRun;
  CPoint at;
  int step = 0;
};

// The work a view does aside while the mouse pauses: the order sorted when `sort`, then
// the full picture recorded into `kept` when `record` as well.
CViewWindow SettleAside(COrbitDrag& drag, bool sort, bool record, CScenePaintCache& kept,
                        QImage& image, benchmark::State& state) {
  const std::atomic<bool> stop{false};
  kept.Clear();
  if (sort && !drag.document->SettleViewAside(stop)) state.SkipWithError("not sorted aside");
  const CViewWindow window = CViewWindow::FromDocument(*drag.document);
  if (record && !RecordScenePicture(kept, *drag.document, window, kClient, {}, image, stop))
    state.SkipWithError("not recorded aside");
  return window;
}

// The full picture once the mouse stopped, played back from `kept` when recorded aside.
void PaintFullPicture(COrbitDrag& drag, const CViewWindow& window, QImage& image,
                      CScenePaintCache* kept) {
  drag.document->SettleView();
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintScene(painter, *drag.document, window, kClient, CSceneDrawOptions(), kept);
}

// From the end of an orbit drag to the finished full picture, on 25, 100 and 400 runs of
// 200 elements: the view turned a step, then the mouse stops. Argument 2: 0 when the stop
// sorts the order (a release amid the motion); 1 when it was sorted aside while the mouse
// paused; 2 when the full picture was recorded aside after the sort as well, as a view
// with its back buffer does, which then plays it back.
void BM_FullPictureOnceTurnStops(benchmark::State& state) {
  COrbitDrag drag(static_cast<int>(state.range(0)));
  const int aside = static_cast<int>(state.range(1));
  QImage image(kClient, QImage::Format_RGB32);
  CScenePaintCache kept;
  for (auto _ : state) {
    state.PauseTiming();
    drag.Step();
    const CViewWindow window = SettleAside(drag, aside != 0, aside == 2, kept, image, state);
    state.ResumeTiming();
    PaintFullPicture(drag, window, image, aside == 2 ? &kept : nullptr);
  }
}
BENCHMARK(BM_FullPictureOnceTurnStops)
    ->ArgNames({"runs", "aside"})
    ->ArgsProduct({{25, 100, 400}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The same when the stop is the release of the orbit drag, which gives a turned view the
// order of the scene built anew: from the release to the finished full picture. Argument 2:
// 1 when the order was sorted aside before (as after a pause), 0 when not; 2 when the button
// was pressed and released without a turn; 3 when the full picture was recorded aside after
// the sort as well, as a view with its back buffer does, which then plays it back.
void BM_FullPictureOnceOrbitReleased(benchmark::State& state) {
  COrbitDrag drag(static_cast<int>(state.range(0)));
  const int aside = static_cast<int>(state.range(1));
  QImage image(kClient, QImage::Format_RGB32);
  CScenePaintCache kept;
  for (auto _ : state) {
    state.PauseTiming();
    drag.Press();
    if (aside != 2) drag.Step();
    const CViewWindow window =
        SettleAside(drag, aside == 1 || aside == 3, aside == 3, kept, image, state);
    state.ResumeTiming();
    drag.tools.OnLButtonUp({{640 + drag.step, 400 + drag.step}, drag.at, kToolKeyLeft});
    PaintFullPicture(drag, window, image, aside == 3 ? &kept : nullptr);
  }
}
BENCHMARK(BM_FullPictureOnceOrbitReleased)
    ->ArgNames({"runs", "aside"})
    ->ArgsProduct({{25, 100, 400}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The two halves of the full picture of a turned and sorted view, on 25, 100 and 400 runs of
// 200 elements: argument 2 is 0 for the recording made aside (over the threads), 1 for its
// playback on the windows' thread.
void BM_FullPictureRecordedThenPlayed(benchmark::State& state) {
  COrbitDrag drag(static_cast<int>(state.range(0)));
  const bool play = state.range(1) != 0;
  drag.Step();
  drag.document->SettleView();
  const CViewWindow window = CViewWindow::FromDocument(*drag.document);
  const std::atomic<bool> stop{false};
  const QImage like(1, 1, QImage::Format_RGB32);
  QImage image(kClient, QImage::Format_RGB32);
  CScenePaintCache kept;
  for (auto _ : state) {
    if (play) state.PauseTiming();
    kept.Clear();
    if (!RecordScenePicture(kept, *drag.document, window, kClient, {}, like, stop))
      state.SkipWithError("not recorded");
    if (!play) continue;
    image.fill(Qt::white);
    state.ResumeTiming();
    QPainter painter(&image);
    PaintScene(painter, *drag.document, window, kClient, CSceneDrawOptions(), &kept);
  }
}
BENCHMARK(BM_FullPictureRecordedThenPlayed)
    ->ArgNames({"runs", "play"})
    ->ArgsProduct({{25, 100, 400}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// A host that takes the settle of a released turn aside, as the layout view does: the order
// sorted and the full picture recorded on a thread of its own, started at the release.
class CAsideHost : public CBenchHost {
 public:
  CAsideHost(CDorneDoc& document, CScenePaintCache& kept) : m_document(document), m_kept(kept) {}
  ~CAsideHost() override { Join(); }
  bool SettleTurnAside() override {
    if (!m_document.Projection().GetDisplayList().Unordered() || !m_document.TurnedWholeScene())
      return false;
    // As the view does, the picture of the last release is let go on the thread of the work.
    auto former = std::make_shared<CScenePaintCache>();
    former->TakeScene(m_kept);
    m_kept.Clear();
    m_window = CViewWindow::FromDocument(m_document);
    m_work = std::thread([this, former = std::move(former)]() mutable {
      former.reset();
      m_done = m_document.SettleViewAside(m_stop) &&
               RecordScenePicture(m_kept, m_document, m_window, kClient, {}, m_like, m_stop);
    });
    return true;
  }
  // Once the work is done, the view's own end of the release; false when nothing was aside.
  bool Join() {
    if (!m_work.joinable()) return false;
    m_work.join();
    return true;
  }
  bool Done() const { return m_done; }
  const CViewWindow& Window() const { return m_window; }

 private:
  CDorneDoc& m_document;
  CScenePaintCache& m_kept;
  CViewWindow m_window;
  const QImage m_like{1, 1, QImage::Format_RGB32};
  const std::atomic<bool> m_stop{false};
  bool m_done = false;
  std::thread m_work;
};

// The release at once after a turn when the view settles it aside, on 25, 100 and 400 runs
// of 200 elements. Argument 2: 0, how long the release holds the windows' thread (until the
// work aside has started); 1, from the release to the finished full picture (the work
// aside waited for, then the picture recorded there played back).
void BM_OrbitReleasedAtOnceAside(benchmark::State& state) {
  const int runs = static_cast<int>(state.range(0));
  const bool toPicture = state.range(1) != 0;
  auto document = FittedLayout(runs);
  // The scene as a view shows it once opened: built whole.
  document->RebuildScene();
  CScenePaintCache kept;
  CAsideHost host(*document, kept);
  CViewTools tools(*document, host);
  tools.OnCommand(33024);
  const C3DPoint anchor =
      document->GetRuns()[static_cast<std::size_t>(runs / 2)]->GetFirstElement()->GetPosition();
  QImage image(kClient, QImage::Format_RGB32);
  int step = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const CPoint at = document->Projection().ProjectPoint(anchor);
    tools.OnLButtonDown({{640, 400}, at, kToolKeyLeft});
    // A pixel one way, then back: the view turns to and fro.
    step = step == 1 ? -1 : 1;
    tools.OnMouseMove({{640 + step, 400 + step}, {at.x + 20, at.y + 20}, kToolKeyLeft});
    state.ResumeTiming();
    tools.OnLButtonUp({{640 + step, 400 + step}, at, kToolKeyLeft});
    if (!toPicture) state.PauseTiming();
    if (!host.Join()) {
      state.SkipWithError("not settled aside");
      break;
    }
    if (!host.Done() || !document->HasWholeScene()) {
      state.SkipWithError(host.Done() ? "not the rebuild's order" : "not done aside");
      break;
    }
    document->SettleView();
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintScene(painter, *document, host.Window(), kClient, CSceneDrawOptions(), &kept);
    if (!toPicture) state.ResumeTiming();
  }
}
// The release held so short a time that the set-up between releases would repeat for
// minutes to fill the usual measuring time: a fixed number of releases.
BENCHMARK(BM_OrbitReleasedAtOnceAside)
    ->ArgNames({"runs", "to_picture"})
    ->ArgsProduct({{25, 100, 400}, {0, 1}})
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// What the next mouse move waits for when it comes while the order is being sorted aside:
// the sort called off that many milliseconds after it started, and the list given back
// unordered as it was; on 100 runs.
void BM_SettleAsideCalledOff(benchmark::State& state) {
  COrbitDrag drag(kRuns);
  const auto after = std::chrono::milliseconds(state.range(0));
  std::atomic<bool> stop{false};
  for (auto _ : state) {
    state.PauseTiming();
    drag.Step();
    stop.store(false);
    std::thread sort([&] { drag.document->SettleViewAside(stop); });
    std::this_thread::sleep_for(after);
    state.ResumeTiming();
    stop.store(true);
    sort.join();
  }
  state.counters["unordered"] =
      drag.document->Projection().GetDisplayList().Unordered() ? 1.0 : 0.0;
}
BENCHMARK(BM_SettleAsideCalledOff)
    ->ArgName("after_ms")
    ->Arg(1)
    ->Arg(4)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The same when the full picture is recorded after the sort, as a view with its back
// buffer does: called off later, the move may find the recording under way.
void BM_SettleAndRecordAsideCalledOff(benchmark::State& state) {
  COrbitDrag drag(kRuns);
  const auto after = std::chrono::milliseconds(state.range(0));
  const QImage like(1, 1, QImage::Format_RGB32);
  std::atomic<bool> stop{false};
  CScenePaintCache kept;
  for (auto _ : state) {
    state.PauseTiming();
    drag.Step();
    kept.Clear();
    stop.store(false);
    const CViewWindow window = CViewWindow::FromDocument(*drag.document);
    std::thread work([&] {
      if (drag.document->SettleViewAside(stop))
        RecordScenePicture(kept, *drag.document, window, kClient, {}, like, stop);
    });
    std::this_thread::sleep_for(after);
    state.ResumeTiming();
    stop.store(true);
    work.join();
  }
}
BENCHMARK(BM_SettleAndRecordAsideCalledOff)
    ->ArgName("after_ms")
    ->Arg(4)
    ->Arg(12)
    ->Arg(18)
    ->Arg(24)
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
