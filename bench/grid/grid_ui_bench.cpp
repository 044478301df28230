// The grid window painting itself with Qt: the time of one paint of the visible window
// should not grow with the number of rows in the grid. Runs on the offscreen platform
// unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <string>

#include "grid/ui/grid_control.h"

namespace {

void BM_PaintGridWindow(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  CGridControl grid(rows, 20, 1, 2);
  CGridModel& model = grid.GetModel();
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < 20; ++column) {
      model.SetCellText(row, column, "R" + std::to_string(row) + "C" + std::to_string(column), 0,
                        false);
    }
  }
  grid.resize(1000, 700);
  grid.UpdateScrollBars();
  grid.SetScrollPos(EGridAxis::Rows, rows / 2);
  QImage image(grid.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    grid.render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
  const CCellRange shown = grid.GetVisibleCellRange();
  state.counters["rows_shown"] = shown.bottom - shown.top + 1;
}
BENCHMARK(BM_PaintGridWindow)
    ->RangeMultiplier(10)
    ->Range(100, 100000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
