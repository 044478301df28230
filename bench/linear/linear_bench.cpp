// Costing a linear project: the tables are opened once, then every line is priced.
//   build/bench/linear/linear_bench --benchmark_min_time=0.2
#include <benchmark/benchmark.h>

#include <vector>

#include "linear/linear_file.h"
#include "linear/linear_line.h"
#include "linear/linear_price_settings.h"
#include "linear/linear_pricing.h"
#include "linear/linear_slots.h"
#include "linear/linear_tables.h"

namespace {

CLinearFolders SampleFolders() {
  return {std::string(TVR_PROGRAM_DIR) + "/DBF/", std::string(TVR_PROGRAM_DIR) + "/BD/"};
}

// A project of n lines cycling through the sample products with feeds, lengths, floors
// and tap-off boxes.
std::vector<CLinearLine> MakeProject(int n) {
  struct Kind {
    int group, product, rating, degree;
  };
  static constexpr Kind kKinds[] = {
      {0, 0, 800, 55}, {1, 2, 400, 52}, {2, 6, 63, 55}, {1, 4, 250, 54}, {2, 5, 1000, 31}};
  std::vector<CLinearLine> lines(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const Kind& kind = kKinds[i % 5];
    CLinearLine& line = lines[static_cast<std::size_t>(i)];
    line.Group = kind.group, line.Product = kind.product, line.Rating = kind.rating;
    line.Conductors = 13, line.IpDegree = kind.degree;
    line.Slots[2] = 1, line.Slots[3] = 1, line.Slots[5] = 1000 + 37 * i, line.Slots[6] = 500;
    line.Slots[7] = i % 4, line.Slots[9] = 2, line.Slots[10] = 350, line.Slots[11] = 1,
    line.Slots[13] = 0;
    line.Slots[14] = 200, line.Slots[15] = 1, line.Slots[24] = 10, line.Slots[29] = 1 + i % 3;
    line.Slots[30] = PackBoxSlot({3, 40, 63, 1, 0});
    line.Slots[31] = PackBoxSlot({1, 54, 100, 1, 1});
  }
  return lines;
}

void BM_PriceProject(benchmark::State& state) {
  std::vector<CLinearLine> lines = MakeProject(static_cast<int>(state.range(0)));
  CLinearPriceSettings settings;
  CLinearTables tables;
  if (!tables.OpenLinearTables(SampleFolders(), settings, 0)) {
    state.SkipWithError("sample tables missing");
    return;
  }
  const CLinearColumnFormulas formulas = CLinearColumnFormulas::Parse(settings.columnFormulas);
  for (auto _ : state) {
    for (CLinearLine& line : lines) ComputeLinearItem(line, 0, formulas, tables, settings);
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PriceProject)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

// Opening, pricing and closing, as the window does for every recomputation.
void BM_OpenPriceClose(benchmark::State& state) {
  std::vector<CLinearLine> lines = MakeProject(static_cast<int>(state.range(0)));
  CLinearPriceSettings settings;
  const CLinearColumnFormulas formulas = CLinearColumnFormulas::Parse(settings.columnFormulas);
  for (auto _ : state) {
    CLinearTables tables;
    if (!tables.OpenLinearTables(SampleFolders(), settings, 0)) {
      state.SkipWithError("sample tables missing");
      return;
    }
    for (CLinearLine& line : lines) ComputeLinearItem(line, 0, formulas, tables, settings);
    tables.CloseLinearTables();
  }
}
BENCHMARK(BM_OpenPriceClose)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// Writing and reading the file of a project of n lines (100 is the most a project holds).
void BM_LinearFileRoundTrip(benchmark::State& state) {
  CLinearProject project;
  for (CLinearLine& line : MakeProject(static_cast<int>(state.range(0)))) {
    project.lines.BeginNewLine(line.Group);
    project.lines.Working().Assign(line);
    project.lines.SaveWorkingAsNew("Line");
  }
  for (auto _ : state) {
    const std::vector<std::uint8_t> bytes = LinearFileBytes(project);
    CLinearProject loaded;
    benchmark::DoNotOptimize(ReadLinearFileBytes(bytes, loaded, {}));
  }
}
BENCHMARK(BM_LinearFileRoundTrip)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
