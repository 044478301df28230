#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

namespace {

// A run in a document with its start placed and a main box on the start element.
CRun& StartRun(CDorneDoc& document) {
  auto made = std::make_unique<CRun>(&document);
  CRun& run = *made;
  document.AddRun(std::move(made));
  CDev* start = run.NewElement();
  start->SetKind(CDev::kEnd);
  start->SetActive(1);
  start->SetDirection(4);
  start->SetFrontOffsets({0, 200, 300});
  start->MakeBox(CDev::kBodySlot);
  run.AddDevice(start);
  run.SetCurrentElement(start);
  document.SetCurrentRun(&run);
  return run;
}

// Adds `count` straights one by one (a zig-zag of joints and elbows, as the tool makes
// it), then removes them one by one from the end: the time per element is the figure,
// and it must not grow with the length of the run.
void BM_PlaceAndRemove(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  const bool zigZag = state.range(1) != 0;
  for (auto _ : state) {
    CDorneDoc document;
    CRun& run = StartRun(document);
    std::vector<CDev*> placed{run.GetCurrentElement()};
    placed.reserve(count + 1);
    const auto begin = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < count; ++i) {
      const int face = zigZag && (i / 8) % 2 != 0 ? 5 : 4;
      placed.push_back(placed.back()->AddStraightToward(face, 1000));
    }
    for (std::size_t i = count; i > 0; --i) {
      placed[i]->RemoveFromRun(-1, nullptr);
      run.DeleteElement(placed[i]);
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - begin;
    state.SetIterationTime(spent.count());
    benchmark::DoNotOptimize(run.GetDevices().size());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * count));
}
// Second argument 0: one straight line (joints between the straights); 1: a zig-zag
// whose elbows all carry one reference.
BENCHMARK(BM_PlaceAndRemove)
    ->ArgsProduct({{100, 1000, 4000}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// One straight added at the end of a run of that many elements and removed again.
void BM_PlaceOneAtLength(benchmark::State& state) {
  CDorneDoc document;
  CRun& run = StartRun(document);
  CDev* last = run.GetCurrentElement();
  for (std::int64_t i = 0; i < state.range(0); ++i) last = last->AddStraightToward(4, 1000);
  for (auto _ : state) {
    CDev* added = last->AddStraightToward(4, 1000);
    added->RemoveFromRun(-1, nullptr);
    run.DeleteElement(added);
  }
}
BENCHMARK(BM_PlaceOneAtLength)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The same on a run without a document: the element operations and the run's
// bookkeeping alone, without the scene's depth order.
void BM_PlaceOneAtLengthNoScene(benchmark::State& state) {
  CRun run;
  CDev* last = run.NewElement();
  last->SetKind(CDev::kEnd);
  last->SetActive(1);
  last->SetDirection(4);
  last->MakeBox(CDev::kBodySlot);
  run.AddDevice(last);
  for (std::int64_t i = 0; i < state.range(0); ++i) last = last->AddStraightToward(4, 1000);
  for (auto _ : state) {
    CDev* added = last->AddStraightToward(4, 1000);
    added->RemoveFromRun(-1, nullptr);
    run.DeleteElement(added);
  }
}
BENCHMARK(BM_PlaceOneAtLengthNoScene)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
