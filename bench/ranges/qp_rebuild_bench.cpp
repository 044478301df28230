// The rebuild of a QPA 400 A run's parts on the sample catalogue, laid out in a document
// by the placement edits: an end feed unit, an end cover, and blocks of four elements
// between them (a straight, a jog of two flat elbows 600 mm apart that makes a combined
// piece, a straight and a single elbow back), rebuilt again and again.
#include "model/bom_grid.h"
#include "model/dorne_doc.h"
#include "model/run.h"
#include "samplewriter/sample_layout.h"

#include <benchmark/benchmark.h>

#include "sample_ranges.h"

#include <string>

namespace {

std::string LayoutOf(int blocks) {
  std::string layout = "run QPA 40\nstart 0\n";
  for (int i = 0; i < blocks; ++i) layout += "go 4 3000\ngo 1 600\ngo 4 3500\ngo 5 2500\n";
  return layout + "go 4 2000\nend 6\n";
}

void BM_RebuildQPRun(benchmark::State& state) {
  SetUpSampleRanges();
  const int elements = static_cast<int>(state.range(0));
  CDorneDoc document;
  document.OnNewDocument("");
  while (!document.GetRuns().empty()) document.RemoveRun(document.GetRuns().front());
  const std::string problem = LayOutSample(document, LayoutOf((elements - 3) / 4));
  if (!problem.empty() || document.GetRuns().empty()) {
    state.SkipWithError(problem.c_str());
    return;
  }
  CRun& run = *document.GetRuns().front();
  for (auto _ : state) run.RebuildParts(0);
  state.counters["devices"] = static_cast<double>(run.GetDevices().size());
  state.counters["lines"] = static_cast<double>(run.GetBOM().GetLineCount() - 1);
  state.counters["parts state"] = run.GetPartsState();
}
BENCHMARK(BM_RebuildQPRun)->Arg(125)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
