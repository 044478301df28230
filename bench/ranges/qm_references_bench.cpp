// References and geometry of a QM run laid out in a document by the placement edits, at
// 500, 2,000 and 8,000 elements: a connection unit at the start and blocks of four
// elements (a straight, a flat jog of two elbows 500 mm apart that combines, a straight
// and an elbow back). Each pass asks the reference of every segment entry, and the
// pattern, housing sizes and further boxes 7 to 24 of every element.
#include "model/document/dorne_doc.h"
#include "ranges/qm/qm_part_refs.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_table_reader.h"
#include "samplewriter/sample_layout.h"

#include <benchmark/benchmark.h>

#include "sample_ranges.h"

#include <string>

namespace {

// The reference half of the QM builder over the base walk's segments.
class CReferenceWalk : public CPartBuilder {
 public:
  explicit CReferenceWalk(CRunQM& run) : CPartBuilder(run), references(*this, run) {
    CollectSegments();
  }
  std::string GetPartReference(const CSegment&, int, int) override { return {}; }
  std::string GetPartParameters(const CPlannedPart&) override { return {}; }
  int GetElbowReference(const CSegment&) override { return 0; }
  int SelectCandidate(const CSegment&, int) override { return 0; }
  CQMPartReferences references;
};

std::string QMLayout(int blocks) {
  std::string layout = "run QMA 25\nstart 2\nentrax 1\n";
  for (int i = 0; i < blocks; ++i) layout += "go 4 3000\ngo 1 500\ngo 4 3500\ngo 5 2500\n";
  return layout + "go 4 2000\nend 1\n";
}

void BM_QMReferencesAndGeometry(benchmark::State& state) {
  SetUpSampleRanges();
  const int elements = static_cast<int>(state.range(0));
  CDorneDoc document;
  document.OnNewDocument("");
  while (!document.GetRuns().empty()) document.RemoveRun(document.GetRuns().front());
  const std::string problem = LayOutSample(document, QMLayout((elements - 3) / 4));
  auto* run =
      document.GetRuns().empty() ? nullptr : dynamic_cast<CRunQM*>(document.GetRuns().front());
  if (!problem.empty() || run == nullptr) {
    state.SkipWithError(problem.c_str());
    return;
  }
  const std::vector<CDev*> chain = run->GetChainOrder();
  CReferenceWalk walk(*run);
  for (auto _ : state) {
    std::size_t checksum = 0;
    const std::vector<CSegment>& segments = walk.GetSegments();
    for (std::size_t s = 0; s < segments.size(); ++s) {
      for (std::size_t i = 0; i < segments[s].size(); ++i) {
        checksum +=
            walk.references.GetPartReference(static_cast<int>(s), static_cast<int>(i), true).size();
      }
    }
    for (const CDev* element : chain) {
      std::string reference(kRefWidth, ' ');
      run->ApplyRefPattern(*element, reference);
      checksum += static_cast<std::size_t>(run->GetHousingDims(*element).length);
      for (int index = 7; index <= 24; ++index) {
        CElementGeometry geometry;
        run->GetElementGeometry(*element, index, geometry);
        checksum += static_cast<std::size_t>(geometry.extents[0]);
      }
    }
    benchmark::DoNotOptimize(checksum);
  }
  state.counters["elements"] = static_cast<double>(chain.size());
  state.counters["segments"] = static_cast<double>(walk.GetSegments().size());
}
BENCHMARK(BM_QMReferencesAndGeometry)
    ->Arg(500)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
