// A DXF export of a large layout: ten figures (lines and texts) per filled figure that
// hides what lies below them, for 1,000, 4,000 and 16,000 fills over the same view, recorded
// through the drawing context and written as a file. The same entities written by python3-ezdxf in
// the same run give the yardstick (its time counts the making of the drawing and the saving, not
// the start of Python).
//
// Run: build/bench/view/view_bench --benchmark_min_time=0.5

#include <benchmark/benchmark.h>

#include <cmath>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "python_peer.h"
#include "view/draw_context.h"
#include "view/dxf_banded_entities.h"
#include "view/dxf_entity_list.h"
#include "view/dxf_units.h"
#include "view/dxf_writer.h"
#include "view/nominal_font_measurer.h"

namespace {

constexpr CSize kClient{1000, 800};

// `scale` widens the view (and the area the figures are spread over) by that much a side.
void SetViewMapping(CDrawContext& dc, int scale = 1) {
  dc.Mapping().SetMode(MapMode::Isotropic);
  dc.Mapping().SetWindowExtent({50000 * scale, 40000 * scale});
  dc.Mapping().SetViewportExtent({kClient.cx, -kClient.cy});
  dc.Mapping().SetViewportOrigin({kClient.cx / 2, kClient.cy / 2});
}

// Ten figures then a fill, `fills` times over, spread over the whole view; every tenth
// figure is a text, the others short lines as element edges are.
void DrawLargeLayout(CDrawContext& dc, int fills = 1000, int scale = 1) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> x(-24000 * scale, 24000 * scale),
      y(-19000 * scale, 19000 * scale), step(-600, 600), side(200, 1500);
  CLogFont font;
  font.faceName = "Arial";
  font.height = -150;
  dc.SelectFont(font);
  const char* layers[] = {"BUSBAR", "DIMS1", "POS", "TEXT"};
  for (int fill = 0; fill < fills; ++fill) {
    dc.SetLayer(layers[fill % 4], 1 + fill % 4);
    dc.SelectBrush(CBrush::Null());
    dc.SelectPen({PenStyle::Solid, 0, {}});
    for (int figure = 0; figure < 10; ++figure) {
      const int px = x(random), py = y(random);
      if (figure == 9) {
        dc.DrawText("Q" + std::to_string(fill), {px, py, px + 1000, py - 200},
                    text_format::kSingleLine);
      } else {
        dc.MoveTo(px, py);
        dc.LineTo(px + step(random), py + step(random));
      }
    }
    const int px = x(random), py = y(random);
    const std::array<CPoint, 4> face{{{px, py},
                                      {px + side(random), py + 100},
                                      {px + 900, py - side(random)},
                                      {px - 50, py - 700}}};
    dc.SelectPen({PenStyle::Null, 0, {}});
    dc.SelectBrush(CBrush::Solid({200, 200, 200}));
    dc.Polygon(face);
  }
}

void BM_DxfExportOfALargeLayout(benchmark::State& state) {
  CNominalFontMeasurer measurer;
  std::size_t bytes = 0, entities = 0;
  for (auto _ : state) {
    CDxfWriter writer;
    CDrawContext dc(writer, measurer, kClient);
    SetViewMapping(dc);
    DrawLargeLayout(dc, static_cast<int>(state.range(0)));
    const std::string file = writer.BuildFile();
    bytes = file.size();
    entities = writer.Entities().size();
    benchmark::DoNotOptimize(file.data());
  }
  state.counters["entities_kept"] = static_cast<double>(entities);
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_DxfExportOfALargeLayout)
    ->Arg(1000)
    ->Arg(4000)
    ->Arg(16000)
    ->Unit(benchmark::kMillisecond);

// The same figures over a view that grows with them (twice as wide and high for four
// times the fills), so that as many lie under each fill whatever their number: the time
// a fill takes should then stay the same.
void BM_DxfExportAtConstantDensity(benchmark::State& state) {
  CNominalFontMeasurer measurer;
  const int fills = static_cast<int>(state.range(0));
  const int scale = fills >= 16000 ? 4 : fills >= 4000 ? 2 : 1;
  std::size_t entities = 0;
  for (auto _ : state) {
    CDxfWriter writer;
    CDrawContext dc(writer, measurer, kClient);
    SetViewMapping(dc, scale);
    DrawLargeLayout(dc, fills, scale);
    const std::string file = writer.BuildFile();
    entities = writer.Entities().size();
    benchmark::DoNotOptimize(file.data());
  }
  state.counters["entities_kept"] = static_cast<double>(entities);
  state.counters["us_per_fill"] = benchmark::Counter(
      static_cast<double>(fills) * 1e-6,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DxfExportAtConstantDensity)
    ->Arg(1000)
    ->Arg(4000)
    ->Arg(16000)
    ->Unit(benchmark::kMillisecond);

// The hiding alone: the large layout's figures, already in DXF units and clipped as the
// writer records them, appended and hidden in the order the export meets them. The layout
// is made before the timing, so that the figures' making, the drawing context and the
// file's writing are left out and what grows with the fills is the hiding's own.
struct CHidingStep {
  CDxfEntity entity;
  std::vector<CPoint> fill;  // empty: append the entity
};

// With `scale` below 1 the figures and fills are made smaller, so that as many of them
// as at full scale meet one fill wherever there are more of them.
std::vector<CHidingStep> LargeLayoutSteps(int fills, double scale = 1.0) {
  CNominalFontMeasurer measurer;
  CDxfWriter writer;
  CDrawContext dc(writer, measurer, kClient);
  SetViewMapping(dc);
  const CDxfUnits units;
  const CDxfUnits::Frame frame = CDxfUnits::FrameOf(kClient);
  const auto convert = [&](int x, int y) {
    return units.Convert(dc.Mapping(), dc.DeviceSize(), {x, y});
  };
  std::mt19937 random(7);
  const auto scaled = [scale](int length) { return static_cast<int>(length * scale); };
  std::uniform_int_distribution<int> x(-24000, 24000), y(-19000, 19000),
      step(scaled(-600), scaled(600)), side(scaled(200), scaled(1500));
  std::vector<CHidingStep> steps;
  for (int fill = 0; fill < fills; ++fill) {
    for (int figure = 0; figure < 10; ++figure) {
      const int px = x(random), py = y(random);
      CDxfEntity entity{DxfEntityKind::Line, convert(px, py), {}, 1 + fill % 4, 0, {}};
      if (figure == 9) {
        entity.kind = DxfEntityKind::Text;
        entity.p1 = convert(px, py - scaled(200));
        entity.p2 = convert(px + scaled(1000), py);
        entity.text = "Q" + std::to_string(fill);
      } else {
        entity.p2 = convert(px + step(random), py + step(random));
        if (!CDxfUnits::ClipToFrame(frame, entity.p1, entity.p2)) continue;
      }
      steps.push_back({std::move(entity), {}});
    }
    const int px = x(random), py = y(random);
    steps.push_back({{},
                     {convert(px, py), convert(px + side(random), py + scaled(100)),
                      convert(px + scaled(900), py - side(random)),
                      convert(px - scaled(50), py - scaled(700))}});
  }
  return steps;
}

// Appends and hides as the steps say, with one list or with bands; what is left.
template <class List>
std::size_t TakeSteps(List& list, const std::vector<CHidingStep>& steps) {
  for (const CHidingStep& step : steps) {
    if (step.fill.empty()) {
      list.Append(step.entity);
    } else {
      list.HideUnder(step.fill, 0);
    }
  }
  return list.Size();
}

// The steps taken on one list of the client's frame, once per iteration.
void HideOnOneList(benchmark::State& state, const std::vector<CHidingStep>& steps) {
  const CDxfUnits::Frame frame = CDxfUnits::FrameOf(kClient);
  std::size_t kept = 0;
  for (auto _ : state) {
    CDxfEntityList list(frame.corners[3], frame.corners[1]);
    kept = TakeSteps(list, steps);
    benchmark::DoNotOptimize(kept);
  }
  state.counters["entities_kept"] = static_cast<double>(kept);
}

void BM_HidingOfALargeLayout(benchmark::State& state) {
  const std::vector<CHidingStep> steps = LargeLayoutSteps(static_cast<int>(state.range(0)));
  HideOnOneList(state, steps);
}
BENCHMARK(BM_HidingOfALargeLayout)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond);

// The same with the figures made smaller as they grow in number (half the size for four
// times as many), so that each fill meets about as many entities at every size: the
// time per fill must then stay flat, whatever the denser picture above costs.
void BM_HidingOfAnEquallyDenseLayout(benchmark::State& state) {
  const int fills = static_cast<int>(state.range(0));
  const std::vector<CHidingStep> steps = LargeLayoutSteps(fills, std::sqrt(1000.0 / fills));
  HideOnOneList(state, steps);
  state.counters["per_fill"] =
      benchmark::Counter(static_cast<double>(fills), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}
BENCHMARK(BM_HidingOfAnEquallyDenseLayout)
    ->Arg(1000)
    ->Arg(4000)
    ->Arg(16000)
    ->Unit(benchmark::kMillisecond);

// The same hiding shared out among bands taken by worker threads (the second argument:
// how many threads; the third: how many bands, as many as the export has, or one a
// thread); the time is the caller's wall time.
void BM_HidingOfALargeLayoutOnBands(benchmark::State& state) {
  const std::vector<CHidingStep> steps = LargeLayoutSteps(static_cast<int>(state.range(0)));
  const CDxfUnits::Frame frame = CDxfUnits::FrameOf(kClient);
  const int workers = static_cast<int>(state.range(1));
  const int bands = static_cast<int>(state.range(2));
  std::size_t kept = 0;
  for (auto _ : state) {
    CDxfBandedEntities list(frame.corners[3], frame.corners[1], bands, workers);
    kept = TakeSteps(list, steps);
    benchmark::DoNotOptimize(kept);
  }
  state.counters["entities_kept"] = static_cast<double>(kept);
}

void BandsAndWorkers(benchmark::internal::Benchmark* benchmark) {
  for (int fills : {1000, 4000, 16000}) {
    for (int workers : {1, 2, 3, 4, 6}) benchmark->Args({fills, workers, workers});
    for (int workers : {1, 2, CDxfWriter::kHidingWorkers, 4, 6}) {
      if (workers != CDxfWriter::kHidingBands)
        benchmark->Args({fills, workers, CDxfWriter::kHidingBands});
    }
  }
}
BENCHMARK(BM_HidingOfALargeLayoutOnBands)
    ->Apply(BandsAndWorkers)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Long lines across the view under fills whose corners lie far beyond it, with steep
// and shallow edges: each fill may cut a line only where its edges cross it, so the
// export grows with the figures and nothing more.
void BM_DxfExportUnderFarReachingFills(benchmark::State& state) {
  CNominalFontMeasurer measurer;
  const int lines = static_cast<int>(state.range(0));
  std::size_t entities = 0;
  for (auto _ : state) {
    CDxfWriter writer;
    CDrawContext dc(writer, measurer, kClient);
    SetViewMapping(dc);
    std::mt19937 random(11);
    std::uniform_int_distribution<int> x(-24000, 24000), y(-19000, 19000);
    for (int i = 0; i < lines; ++i) {
      dc.SelectPen({PenStyle::Solid, 0, {}});
      dc.MoveTo(x(random), y(random));
      dc.LineTo(x(random), y(random));
      if (i % 10 != 9) continue;
      const int px = x(random), py = y(random);
      const std::array<CPoint, 4> fill{
          {{-1600000000, py}, {1600000000, py + 7}, {px + 3, 1600000000}, {px, 1600000000}}};
      dc.SelectPen({PenStyle::Null, 0, {}});
      dc.SelectBrush(CBrush::Solid({200, 200, 200}));
      dc.Polygon(fill);
    }
    entities = writer.Entities().size();
    benchmark::DoNotOptimize(entities);
  }
  state.counters["entities_kept"] = static_cast<double>(entities);
}
BENCHMARK(BM_DxfExportUnderFarReachingFills)
    ->Arg(1000)
    ->Arg(4000)
    ->Arg(16000)
    ->Unit(benchmark::kMillisecond);

// The entities our writer kept, listed for the ezdxf script.
std::string ListEntities(const std::filesystem::path& folder) {
  CNominalFontMeasurer measurer;
  CDxfWriter writer;
  CDrawContext dc(writer, measurer, kClient);
  SetViewMapping(dc);
  DrawLargeLayout(dc);
  const std::string path = (folder / "entities.txt").string();
  std::ofstream out(path);
  for (std::size_t i = 1; i < writer.Layers().size(); ++i) {
    out << "Y " << writer.Layers()[i].name << " " << writer.Layers()[i].color << "\n";
  }
  for (const CDxfEntity& e : writer.Entities()) {
    const std::string& layer = writer.Layers()[e.layer].name;
    if (e.kind == DxfEntityKind::Line) {
      out << "L " << layer << " " << e.p1.x << " " << e.p1.y << " " << e.p2.x << " " << e.p2.y
          << "\n";
    } else {
      out << "T " << layer << " " << e.p1.x << " " << e.p1.y << " " << e.p2.x << " " << e.p2.y
          << " " << writer.Styles()[e.style].height << " " << e.text << "\n";
    }
  }
  return path;
}

void BM_EzdxfWritesTheSameEntities(benchmark::State& state) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tvr-view-bench";
  std::filesystem::create_directories(folder);
  const std::string list = ListEntities(folder);
  const std::string timeFile = (folder / "seconds.txt").string();
  const std::vector<std::string> arguments = {
      std::string(TVR_SOURCE_DIR) + "/bench/view/ezdxf_write.py", list,
      (folder / "ezdxf.dxf").string(), timeFile};
  TimePythonPeer(state, arguments, timeFile, "python3-ezdxf did not run");
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_EzdxfWritesTheSameEntities)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
