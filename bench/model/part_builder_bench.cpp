#include "model/element/dev.h"
#include "model/builder/part_builder.h"
#include "model/run/range_rules.h"
#include "model/run/run.h"

#include <benchmark/benchmark.h>

#include "bench_range.h"

#include <memory>
#include <string>

namespace {

// A straight line of `count` elements: ends, and an in-line unit after every nine
// straights of 1,700 mm, so each segment holds about 15 m to plan.
std::unique_ptr<CRun> BuildRun(int count) {
  auto run = std::make_unique<CRun>();
  run->SetCatalog("QDA");
  run->AttachRangeTables(BenchRangeTables());
  auto add = [&run](CDev* from, int kind, int variant, std::int32_t length) {
    CDev* element = run->NewElement();
    element->SetKind(kind);
    element->SetStyle(static_cast<std::uint32_t>(variant));
    element->SetActive(1);
    element->SetDirection(4);
    element->SetBookedLength(length);
    element->SetDrawnLength(length);
    element->SetReference(run->GetKindText(kind, variant));
    if (from != nullptr) {
      element->SetNeighbour(0, from);
      from->SetNeighbour(4, element);
    }
    run->AddDevice(element);
    if (kind == CDev::kInLine && variant == 0)
      run->AddLengthToBOM(element->GetCalibre(), length, 0);
    return element;
  };
  CDev* last = add(nullptr, CDev::kEnd, 0, 0);
  for (int i = 1; i < count - 1; ++i)
    last = add(last, CDev::kInLine, i % 10 == 0 ? 1 : 0, i % 10 == 0 ? 300 : 1700);
  add(last, CDev::kEnd, 0, 0);
  return run;
}

void BM_BuildRunParts(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto run = BuildRun(count);
    CBenchBuilder builder(*run);
    state.ResumeTiming();
    builder.CollectSegments();
    builder.FinishParts(1);
    benchmark::DoNotOptimize(builder.HasErrors());
    state.PauseTiming();
    run.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(count);
}

BENCHMARK(BM_BuildRunParts)
    ->RangeMultiplier(2)
    ->Range(125, 2000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
