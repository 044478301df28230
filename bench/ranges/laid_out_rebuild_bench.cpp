// The rebuild of a run's parts on the sample catalogue, the run laid out in a document by
// the placement edits (as the samples are written), rebuilt again and again, at 125, 500
// and 2,000 elements:
//   QJF 26: feed units at both ends and blocks of four elements between them (a
//     straight, a jog of two flat elbows 500 mm apart that makes a double elbow, a
//     straight and a single elbow back);
//   QPA 400 A: an end feed unit, an end cover, and the same blocks with the jog 600 mm
//     apart, which makes a combined piece;
//   QGA 1000 A (at 500, 2,000 and 8,000 elements): an end feed unit, an end cover, and
//     blocks of two straights with a jog of two flat elbows on 800 and 600 mm legs,
//     which makes a double elbow;
//   QMA 2500 A (at 500, 2,000 and 8,000 elements): a feed box with a tap-off fitting,
//     an end cover, and blocks of two straights with a flat elbow on each side of a
//     2 m leg; thermal accessories by the joints.
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "samplewriter/sample_layout.h"

#include <benchmark/benchmark.h>

#include "sample_ranges.h"

#include <string>

namespace {

std::string QJFLayout(int blocks) {
  std::string layout = "run QJF 26\nstart 3\nentrax 1\n";
  for (int i = 0; i < blocks; ++i) layout += "go 4 3000\ngo 1 500\ngo 4 3500\ngo 5 2500\n";
  return layout + "go 4 2000\nend 5\nentrax 5\nstyle 11000000\n";
}

std::string QPLayout(int blocks) {
  std::string layout = "run QPA 40\nstart 0\n";
  for (int i = 0; i < blocks; ++i) layout += "go 4 3000\ngo 1 600\ngo 4 3500\ngo 5 2500\n";
  return layout + "go 4 2000\nend 6\n";
}

std::string QGLayout(int blocks) {
  std::string layout = "run QGA 10\nstart 0\n";
  for (int i = 0; i < blocks; ++i) layout += "go 4 3000\ngo 4 800\ngo 1 600\ngo 4 3500\n";
  return layout + "go 4 2000\nend 4\n";
}

std::string QMLayout(int blocks) {
  std::string layout = "run QMA 25\nprop THERMAL 1\nstart 2\nentrax 1\nfield CLINQ 4/0/2/0\n";
  for (int i = 0; i < blocks; ++i) layout += "go 4 3000\ngo 4 2800\ngo 1 2000\ngo 4 3500\n";
  return layout + "go 4 2000\nend 1\n";
}

void RebuildLaidOutRun(benchmark::State& state, std::string (*layoutOf)(int blocks)) {
  SetUpSampleRanges();
  const int elements = static_cast<int>(state.range(0));
  CDorneDoc document;
  document.OnNewDocument("");
  while (!document.GetRuns().empty()) document.RemoveRun(document.GetRuns().front());
  const std::string problem = LayOutSample(document, layoutOf((elements - 3) / 4));
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

void BM_RebuildQJFRun(benchmark::State& state) { RebuildLaidOutRun(state, QJFLayout); }
BENCHMARK(BM_RebuildQJFRun)->Arg(125)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_RebuildQPRun(benchmark::State& state) { RebuildLaidOutRun(state, QPLayout); }
BENCHMARK(BM_RebuildQPRun)->Arg(125)->Arg(500)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

void BM_RebuildQGRun(benchmark::State& state) { RebuildLaidOutRun(state, QGLayout); }
BENCHMARK(BM_RebuildQGRun)->Arg(500)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

void BM_RebuildQMRun(benchmark::State& state) { RebuildLaidOutRun(state, QMLayout); }
BENCHMARK(BM_RebuildQMRun)->Arg(500)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

}  // namespace
