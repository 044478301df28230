// The bill-of-materials pane made over an opened layout, as the layout window makes it when
// a design opens: one page per run, each laid out, the saved page shown. Its cost should
// grow with the runs and no faster. Runs on the offscreen platform unless QT_QPA_PLATFORM
// says otherwise.
//   build/bench/view/bom_view_open_bench --benchmark_repetitions=5

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "saved_sample_layout.h"
#include "view/ui/bom_view.h"

namespace {

void BM_BillPaneOfOpenedSampleLayout(benchmark::State& state) {
  const std::string path = SavedSampleLayout(static_cast<int>(state.range(0)));
  auto document = std::make_unique<CDorneDoc>();
  if (path.empty() || !document->OnOpenDocument(path).ok) {
    state.SkipWithError("cannot open");
    return;
  }
  std::filesystem::remove(path);
  for (auto _ : state) {
    auto pane = std::make_unique<CBOMView>(*document);
    benchmark::DoNotOptimize(pane->GetGridWindow());
    state.PauseTiming();
    pane.reset();  // closing is not opening
    state.ResumeTiming();
  }
  state.counters["pages"] = document->GetRunCount() + 1;
}
BENCHMARK(BM_BillPaneOfOpenedSampleLayout)
    ->Arg(25)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
