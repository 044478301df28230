// The rebuild of a QW run's parts on the sample catalogue: blocks of straight lengths,
// pairs of flat elbows 600 mm apart that become one special length, and single elbows,
// rebuilt again and again (the bill of materials back to generic references, the
// builder with its parts table, the line order), at 125, 500 and 2,000 elements.
#include "ranges/qw/run_qw.h"

#include <benchmark/benchmark.h>

#include "sample_ranges.h"

#include <memory>

namespace {

// Blocks of eight elements: two straights, a pair of flat elbows 600 mm apart, a
// straight, a single elbow back to the first direction and a straight.
std::unique_ptr<CRunQW> LayRun(int blocks) {
  auto run = std::make_unique<CRunQW>("A", nullptr);
  run->SetProp("Calibre", "40");
  CDev* at = AppendSampleElement(*run, nullptr, 4, CDev::kEnd, 0);
  run->SetCurrentElement(at);
  for (int i = 0; i < blocks; ++i) {
    at = AppendSampleElement(*run, at, 4, CDev::kInLine, 3000);
    at = AppendSampleElement(*run, at, 4, CDev::kInLine, 2200);
    at = AppendSampleElement(*run, at, 4, CDev::kElbow, 0);
    at = AppendSampleElement(*run, at, 1, CDev::kInLine, 600);
    at = AppendSampleElement(*run, at, 1, CDev::kElbow, 0);
    at = AppendSampleElement(*run, at, 4, CDev::kInLine, 4400);
    at = AppendSampleElement(*run, at, 4, CDev::kElbow, 0);
    at = AppendSampleElement(*run, at, 5, CDev::kInLine, 2600);
    // Back to the first direction for the next block.
    at = AppendSampleElement(*run, at, 5, CDev::kElbow, 0);
  }
  at = AppendSampleElement(*run, at, 4, CDev::kInLine, 1500);
  AppendSampleElement(*run, at, 4, CDev::kEnd, 0);
  return run;
}

void BM_RebuildQWRun(benchmark::State& state) {
  SetUpSampleRanges();
  const int elements = static_cast<int>(state.range(0));
  std::unique_ptr<CRunQW> run = LayRun((elements - 3) / 9);
  for (auto _ : state) run->RebuildParts(0);
  state.counters["elements"] = static_cast<double>(9 * ((elements - 3) / 9) + 3);
  state.counters["devices"] = static_cast<double>(run->GetDevices().size());
  state.counters["lines"] = static_cast<double>(run->GetBOM().GetLineCount() - 1);
  state.counters["state"] = run->GetPartsState();
}
BENCHMARK(BM_RebuildQWRun)->Arg(125)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
