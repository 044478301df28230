// The grid's costs that grow with its size: inserting rows one by one into a large
// grid (as the bill of materials does, each time with the window's scroll ranges
// recomputed) must stay linear overall, and painting must cost what the window shows,
// not what the grid holds.
#include <benchmark/benchmark.h>

#include <string>

#include "grid/grid_listener.h"
#include "grid/grid_model.h"
#include "grid/grid_painter.h"
#include "grid/grid_viewport.h"

namespace {

// Recomputes the scroll ranges on every change, as the window does.
class CViewportListener : public CGridListener {
 public:
  explicit CViewportListener(CGridViewport& viewport) : m_viewport(viewport) {}
  void GridInvalidated() override {}
  void GridLayoutChanged() override { m_viewport.UpdateScrollRanges(1000, 800, 16, 16); }

 private:
  CGridViewport& m_viewport;
};

// Draws nothing; counts what it is asked to draw.
class CCountingCanvas : public CGridCanvas {
 public:
  void DrawLine(int, int, int, int, CColor) override { ++calls; }
  void FillRect(const CRect&, CColor) override { ++calls; }
  void DrawText(int, int, std::string_view, const CLogFont&, CColor) override { ++calls; }
  void DrawTextInRect(const CRect&, std::string_view, int, const CLogFont&, CColor) override {
    ++calls;
  }
  void DrawBitmap(int, int, const CBitmapDesc&, int, int) override { ++calls; }
  long calls = 0;
};

void FillTexts(CGridModel& model) {
  for (int row = 0; row < model.GetRowCount(); ++row) {
    for (int column = 0; column < model.GetColumnCount(); ++column) {
      model.SetCellText(row, column, "R" + std::to_string(row) + "C" + std::to_string(column), 0,
                        false);
    }
  }
}

// Inserts state.range(0) rows, one at a time, into a grid of 10,000 rows: after the
// last row (where the bill of materials adds its lines) or after the first data row.
void InsertRows(benchmark::State& state, bool atTheEnd) {
  const int inserts = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    CGridModel model(10000, 8, 1, 2);
    CGridViewport viewport(model);
    CViewportListener listener(viewport);
    model.SetListener(&listener);
    state.ResumeTiming();
    for (int i = 0; i < inserts; ++i) {
      model.InsertRowAfter(atTheEnd ? model.GetRowCount() - 1 : 1);
      model.SetCellText(atTheEnd ? model.GetRowCount() - 1 : 2, 2, "REF", 0, true);
    }
    benchmark::DoNotOptimize(viewport.GetScrollMax(EGridAxis::Rows));
  }
  state.SetComplexityN(inserts);
  state.counters["per_insert"] = benchmark::Counter(
      static_cast<double>(inserts),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_InsertRowsAtTheEnd(benchmark::State& state) { InsertRows(state, true); }
void BM_InsertRowsAtTheTop(benchmark::State& state) { InsertRows(state, false); }
BENCHMARK(BM_InsertRowsAtTheEnd)->RangeMultiplier(4)->Range(1000, 64000)->Complexity();
BENCHMARK(BM_InsertRowsAtTheTop)->RangeMultiplier(4)->Range(1000, 16000)->Complexity();

// Paints an 800 x 600 window scrolled to the middle of a grid of state.range(0) rows.
void BM_PaintVisibleWindow(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  CGridModel model(rows, 30, 1, 2);
  FillTexts(model);
  CGridViewport viewport(model);
  viewport.SetClientSize(800, 600);
  viewport.UpdateScrollRanges(800, 600, 16, 16);
  viewport.SetScrollPos(EGridAxis::Rows, rows / 2);
  long cells = 0;
  long calls = 0;
  for (auto _ : state) {
    CCountingCanvas canvas;
    CGridPainter painter(model, canvas, CGridPalette());
    cells = painter.Paint(viewport);
    calls = canvas.calls;
    benchmark::DoNotOptimize(cells);
  }
  state.counters["cells_visited"] = static_cast<double>(cells);
  state.counters["canvas_calls"] = static_cast<double>(calls);
}
BENCHMARK(BM_PaintVisibleWindow)->RangeMultiplier(10)->Range(100, 100000);

// Hit testing and visibility at the bottom of a long grid.
void BM_HitTestScrolledGrid(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  CGridModel model(rows, 30, 1, 2);
  CGridViewport viewport(model);
  viewport.SetClientSize(800, 600);
  viewport.UpdateScrollRanges(800, 600, 16, 16);
  viewport.SetScrollPos(EGridAxis::Rows, rows - 40);
  for (auto _ : state) {
    benchmark::DoNotOptimize(viewport.HitTestCell({700, 500}));
    benchmark::DoNotOptimize(viewport.IsCellVisible(rows - 20, 5));
    benchmark::DoNotOptimize(viewport.GetVisibleCellRange());
  }
}
BENCHMARK(BM_HitTestScrolledGrid)->RangeMultiplier(10)->Range(100, 100000);

}  // namespace
