// Loading a range's catalogue tables: the first run of a cache set reads every table;
// the runs that follow only take the filled set. Runs on the sample catalogue.
#include "model/run/range_rules.h"
#include "model/run/run.h"
#include "model/run/run_factory.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"

#include <benchmark/benchmark.h>

#include "sample_ranges.h"

#include <memory>
#include <vector>

namespace {

const char* const kCodes[] = {"QDA", "QJF", "QGA", "QMC"};

// One run made and destroyed: its set is filled every time.
void BM_FirstRunOfASet(benchmark::State& state) {
  SetUpSampleRanges();
  const char* code = kCodes[state.range(0)];
  for (auto _ : state) benchmark::DoNotOptimize(CreateRunForCode(code, nullptr));
  state.SetLabel(code);
}
BENCHMARK(BM_FirstRunOfASet)->DenseRange(0, 3);

// A document of 100 runs of one range: the first fills the set, the others share it.
void BM_HundredRunsOfOneRange(benchmark::State& state) {
  SetUpSampleRanges();
  const char* code = kCodes[state.range(0)];
  for (auto _ : state) {
    std::vector<std::unique_ptr<CRun>> runs;
    for (int i = 0; i < 100; ++i) runs.push_back(CreateRunForCode(code, nullptr));
    benchmark::DoNotOptimize(runs);
  }
  state.SetLabel(code);
}
BENCHMARK(BM_HundredRunsOfOneRange)->DenseRange(0, 3);

// A run added while another run of the set lives: no table is read.
void BM_FollowingRun(benchmark::State& state) {
  SetUpSampleRanges();
  const char* code = kCodes[state.range(0)];
  std::unique_ptr<CRun> first = CreateRunForCode(code, nullptr);
  for (auto _ : state) benchmark::DoNotOptimize(CreateRunForCode(code, nullptr));
  state.SetLabel(code);
}
BENCHMARK(BM_FollowingRun)->DenseRange(0, 3);

}  // namespace
