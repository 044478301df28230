// Expanding the lines of a costing-by-reference project into priced items, the tables
// open: every line's formulas, names and tap-off slots.
//   build/bench/reference/reference_bench --benchmark_min_time=0.2
#include <benchmark/benchmark.h>

#include <vector>

#include "reference/ref_catalogue.h"
#include "reference/ref_line.h"

namespace {

CRefCatalogueSetup SampleSetup() {
  CRefCatalogueSetup setup;
  setup.catalogueFolder = std::string(TVR_PROGRAM_DIR) + "/DBF/";
  setup.articleFolder = std::string(TVR_PROGRAM_DIR) + "/BD/";
  return setup;
}

// Lines alternating QDA 63 A and QPA 250 A, each with feeds, lengths, elbows, fixings,
// end covers and two tap-off slots.
std::vector<CRefLine> MakeProject(int n) {
  std::vector<CRefLine> lines(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    CRefLine& line = lines[static_cast<std::size_t>(i)];
    line.Assign(nullptr);
    line.group = 1;
    line.productKind = i % 2 ? 4 : 3;
    line.rating = i % 2 ? 250 : 63;
    line.conductors = 1;
    line.connection = 0;
    line.components[0] = 1;
    line.components[3] = 4 + i % 7;
    line.components[4] = 7;
    line.components[9] = 2;
    line.components[13] = 3;
    line.components[15] = 5;
    line.components[20] = 2;
    line.slots[0] = 3 | (54 << 16);
    line.slots[1] = 2;
  }
  return lines;
}

void BM_ExpandLines(benchmark::State& state) {
  std::vector<CRefLine> lines = MakeProject(static_cast<int>(state.range(0)));
  CRefPriceSettings settings;
  settings.outletFactors = {2, 1, 0, 0, 0, 0};
  CRefCatalogue catalogue;
  if (!catalogue.OpenRefCatalogue(SampleSetup(), settings)) {
    state.SkipWithError("sample tables missing");
    return;
  }
  for (auto _ : state) {
    for (CRefLine& line : lines) catalogue.RebuildLineItems(line);
    benchmark::DoNotOptimize(lines.back().Items().size());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ExpandLines)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond);

void BM_OpenExpandClose(benchmark::State& state) {
  std::vector<CRefLine> lines = MakeProject(100);
  for (auto _ : state) {
    CRefPriceSettings settings;
    CRefCatalogue catalogue;
    catalogue.OpenRefCatalogue(SampleSetup(), settings);
    for (CRefLine& line : lines) catalogue.RebuildLineItems(line);
    catalogue.CloseRefCatalogue();
  }
}
BENCHMARK(BM_OpenExpandClose)->Unit(benchmark::kMillisecond);

}  // namespace
