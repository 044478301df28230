// The rebuild of a QD run's parts on the sample catalogue: runs of 500, 2,000 and 8,000 elements,
// straight lengths between single elbows and pairs of flat elbows, rebuilt again and
// again: the bill of materials back to generic references, the builder, the line order.
#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/run/run_factory.h"
#include "ranges/qd/run_qd.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"

#include <benchmark/benchmark.h>

#include "sample_qd_run.h"
#include "sample_ranges.h"

#include <memory>
#include <string>

namespace {

void BM_RebuildQDRun(benchmark::State& state) {
  SetUpSampleRanges();
  const int blocks = static_cast<int>(state.range(0));
  std::unique_ptr<CRunQD> run = LayQDRun(blocks);
  for (auto _ : state) run->RebuildParts(0);
  state.counters["elements"] = 6.0 * blocks + 2;
  state.counters["devices"] = static_cast<double>(run->GetDevices().size());
  state.counters["lines"] = static_cast<double>(run->GetBOM().GetLineCount() - 1);
}
BENCHMARK(BM_RebuildQDRun)->Arg(83)->Arg(333)->Arg(1333)->Unit(benchmark::kMillisecond);

}  // namespace
