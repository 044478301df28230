#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/element/dev_placement_support.h"
#include "model/document/dorne_doc.h"
#include "model/builder/part_builder.h"
#include "model/run/range_rules.h"
#include "model/run/run.h"

#include <benchmark/benchmark.h>

#include "bench_range.h"

#include <array>
#include <memory>
#include <string>

namespace {

// A run of a small range that rebuilds as the range runs do.
class CBenchRun : public CRun {
 public:
  using CRun::CRun;
  std::unique_ptr<CPartBuilder> CreatePartBuilder() override {
    return std::make_unique<CBenchBuilder>(*this);
  }
  int RebuildParts(int level) override {
    CRun::RebuildParts(-1);
    SetPartBuilder(CreatePartBuilder());
    return CRun::RebuildParts(level);
  }
};

// `count` elements from the origin: ends, straights of 1,700 mm with an in-line unit
// after every nine and an elbow after every fifty, turning one way and back again.
void FillRun(CRun& run, int count, const C3DPoint& origin = C3DPoint(), int firstFace = 4) {
  run.SetCatalog("QDA");
  run.AttachRangeTables(BenchRangeTables());
  auto add = [&run, &origin](CDev* from, int kind, int variant, int face, std::int32_t length) {
    CDev* element = run.NewElement();
    element->SetPosition(from != nullptr ? from->GetPosition() + dev_placement::Along(face, length)
                                         : origin);
    element->SetKind(kind);
    element->SetStyle(static_cast<std::uint32_t>(variant));
    element->SetStyle2(static_cast<std::uint32_t>(variant));
    element->SetActive(1);
    element->SetDirection(face);
    element->SetBookedLength(length);
    element->SetDrawnLength(length);
    element->SetReference(run.GetKindText(kind, variant));
    if (from != nullptr) {
      element->SetNeighbour(CBoxOwner::OppositeDirection(face), from);
      from->SetNeighbour(face, element);
    }
    run.AddDevice(element);
    return element;
  };
  int face = firstFace;
  CDev* last = add(nullptr, CDev::kEnd, 0, face, 0);
  for (int i = 1; i < count - 1; ++i) {
    if (i % 50 == 0) {
      last = add(last, CDev::kElbow, 0, face, 400);
      face = face == firstFace ? 5 : firstFace;
      continue;
    }
    last = add(last, CDev::kInLine, i % 10 == 0 ? 1 : 0, face, i % 10 == 0 ? 300 : 1700);
  }
  add(last, CDev::kEnd, 0, face, 0);
}

void BM_RebuildRun(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  CBenchRun run;
  FillRun(run, count);
  run.RebuildParts(0);
  for (auto _ : state) {
    run.RebuildParts(0);
    benchmark::DoNotOptimize(run.GetBOM().GetLineCount());
  }
  state.counters["lines"] = run.GetBOM().GetLineCount() - 1;
}
// A rebuild books every piece of the run: its time must grow with the run's length.
BENCHMARK(BM_RebuildRun)
    ->Arg(50)
    ->Arg(125)
    ->Arg(500)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond);

// `runs` runs of `elements` elements, one over the other, 20 m apart. `startsPlaced`: the
// runs' starts are placed, as those of drawn runs are, and the lowest run stands 20 m up,
// clear of the boxes the bench range's joints leave at the origin.
void AddRuns(CDorneDoc& document, int runs, int elements, bool startsPlaced = false) {
  for (int i = 0; i < runs; ++i) {
    auto run = std::make_unique<CBenchRun>(&document);
    FillRun(*run, elements, dev_placement::Along(5, 20000.0 * (i + (startsPlaced ? 1 : 0))));
    if (startsPlaced) run->SetFlagsWord(1);
    document.AddRun(std::move(run));
  }
}

// Every run of a document of `runs` runs of 500 elements rebuilt in turn, the scene
// held meanwhile: each rebuild also recomputes the document's totals.
void BM_RebuildDocument(benchmark::State& state) {
  const int runs = static_cast<int>(state.range(0));
  CDorneDoc document;
  AddRuns(document, runs, 500);
  for (auto _ : state) {
    auto hold = std::make_unique<CSceneHold>(&document);
    for (CRun* run : document.GetRuns()) run->RebuildParts(0);
    // The one scene of the whole document is the display list's (BM_DocumentScene).
    state.PauseTiming();
    hold.reset();
    state.ResumeTiming();
  }
  state.counters["per_run_ms"] =
      benchmark::Counter(static_cast<double>(runs), benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}
BENCHMARK(BM_RebuildDocument)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// Every run of a document of `runs` runs of 50 elements rebuilt in turn, the scene not
// held: each rebuild leaves the scene whole, as the Rebuild command of one run does.
void BM_RebuildEveryRunAlone(benchmark::State& state) {
  const int runs = static_cast<int>(state.range(0));
  CDorneDoc document;
  AddRuns(document, runs, 50);
  document.RebuildScene();
  for (auto _ : state) {
    for (CRun* run : document.GetRuns()) run->RebuildParts(0);
  }
  state.counters["boxes"] = static_cast<double>(document.Projection().GetDisplayList().Size());
}
BENCHMARK(BM_RebuildEveryRunAlone)
    ->Arg(25)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The same once every run has been built: each rebuild replaces boxes the scene holds, as
// the Rebuild command of a run does after an edit. The runs' starts are placed, so that
// their start markers (all at the origin here) leave the scene; the runs meet neither one
// another nor those markers on screen.
void BM_RebuildEveryBuiltRunAlone(benchmark::State& state) {
  const int runs = static_cast<int>(state.range(0));
  CDorneDoc document;
  AddRuns(document, runs, 50, true);
  for (CRun* run : document.GetRuns()) run->RebuildParts(0);
  for (auto _ : state) {
    for (CRun* run : document.GetRuns()) run->RebuildParts(0);
  }
  state.counters["boxes"] = static_cast<double>(document.Projection().GetDisplayList().Size());
}
BENCHMARK(BM_RebuildEveryBuiltRunAlone)
    ->Arg(25)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// `runs` runs of 50 elements laid from one point, as the feeders of one cabinet are: each
// leaves the origin along one of the four level directions in turn, so that the runs of a
// direction lie over one another and all of them meet at the origin on screen.
void AddRunsFromOnePoint(CDorneDoc& document, int runs) {
  constexpr std::array<int, 4> kFaces = {4, 2, 0, 3};
  for (int i = 0; i < runs; ++i) {
    auto run = std::make_unique<CBenchRun>(&document);
    FillRun(*run, 50, C3DPoint(), kFaces[static_cast<std::size_t>(i) % kFaces.size()]);
    document.AddRun(std::move(run));
  }
}

// Every run of such a document rebuilt in turn, built before (`state.range(1)` 1) or not.
void BM_RebuildEveryRunFromOnePoint(benchmark::State& state) {
  CDorneDoc document;
  AddRunsFromOnePoint(document, static_cast<int>(state.range(0)));
  document.RebuildScene();
  if (state.range(1) != 0) {
    for (CRun* run : document.GetRuns()) run->RebuildParts(0);
  }
  for (auto _ : state) {
    for (CRun* run : document.GetRuns()) run->RebuildParts(0);
  }
  state.counters["boxes"] = static_cast<double>(document.Projection().GetDisplayList().Size());
}
BENCHMARK(BM_RebuildEveryRunFromOnePoint)
    ->ArgsProduct({{25, 100, 400}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The scene of the same document, rebuilt alone: what a document rebuild pays once.
void BM_DocumentScene(benchmark::State& state) {
  const int runs = static_cast<int>(state.range(0));
  CDorneDoc document;
  AddRuns(document, runs, 500);
  {
    const CSceneHold hold(&document);
    for (CRun* run : document.GetRuns()) run->RebuildParts(0);
  }
  for (auto _ : state) document.RebuildScene();
  state.counters["boxes"] = static_cast<double>(document.Projection().GetDisplayList().Size());
}
BENCHMARK(BM_DocumentScene)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
