// A change of range of a laid-out QD run of about 500 elements in a layout document, as
// the rating page makes it, followed by the rebuild of its parts: the new run made and
// its tables checked, the undo step, the take-over, the first rating, the rebuild. The
// run goes from QDA to QMA and back: one iteration is two changes and two rebuilds. Run by
// hand: build/bench/pages/run_range_change_bench
#include <benchmark/benchmark.h>

#include "model/document/dorne_doc.h"
#include "model/run/run_environment.h"
#include "pages/run_range_change.h"
#include "support/temp_folder.h"

#include "../ranges/sample_qd_run.h"
#include "../ranges/sample_ranges.h"

namespace {

void BM_ChangeRangeAndRebuild(benchmark::State& state) {
  SetUpSampleRanges();
  CRunEnvironment::Instance().SetCatalogues({{"QDA", "QD"}, {"QMA", "QM"}});
  CTempFolder folder("range-change-bench");
  CDocEnvironment environment;
  environment.settingsFolder = folder.Folder();
  CDorneDoc document(environment);
  const int blocks = static_cast<int>(state.range(0));
  document.AddRun(LayQDRun(blocks));
  CRun* run = document.GetRunAt(0);
  run->RebuildParts(0);
  for (auto _ : state) {
    for (const char* code : {"QMA", "QDA"}) {
      const CRangeChangeResult result = run_range::ChangeRunRange(*run, code);
      if (result.outcome != CRangeChangeResult::EOutcome::kChanged) state.SkipWithError(code);
      run = result.run;
      run->RebuildParts(0);
    }
  }
  state.counters["elements"] = 6.0 * blocks + 2;
  state.counters["devices"] = static_cast<double>(run->GetDevices().size());
}
BENCHMARK(BM_ChangeRangeAndRebuild)->Arg(83)->Unit(benchmark::kMillisecond);

}  // namespace
