// Booking into a run's bill of materials measured with the screen's fonts, as the
// program's windows measure it: every booked reference appends a line, and the
// columns fitted to their text must not be measured anew over all their rows each time.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "grid/ui/qt_text_measurer.h"
#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/run/run.h"

namespace {

void BM_BookReferencesMeasured(benchmark::State& state) {
  const int references = static_cast<int>(state.range(0));
  const CQtTextMeasurer measurer;
  for (auto _ : state) {
    state.PauseTiming();
    auto run = std::make_unique<CRun>();
    CBOMGrid& grid = run->GetBOM();
    grid.SetTextMeasurer(&measurer);
    for (int kind = kBOMKindQuantity; kind <= kBOMKindENumber; ++kind) {
      if (kind != kBOMKindPicture) grid.InsertColumn(grid.GetColumnCount() - 1, kind, "Column");
    }
    state.ResumeTiming();
    for (int i = 0; i < references; ++i) {
      CDev* element = run->NewElement();
      element->SetKind(CDev::kInLine);
      element->SetActive(1);
      element->SetReference("REF-" + std::to_string(i));
      run->AddDevice(element);
    }
    benchmark::DoNotOptimize(grid.GetColumnWidth(0));
    state.PauseTiming();
    run.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(references);
}
BENCHMARK(BM_BookReferencesMeasured)
    ->Arg(250)
    ->Arg(1000)
    ->Arg(4000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
