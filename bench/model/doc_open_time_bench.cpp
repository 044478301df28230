// Opening a layout document from its file with the ordinary allocator: the time a user
// waits (wall time: the runs of a large file are read on several threads), which the
// counting allocator of doc_load_bench inflates. Beside the benchmark document: a layout
// of the QD sample's real runs repeated, against cat reading it, and one run of many
// elements (those files are removed once measured: the largest takes 35 MB).
//   build/bench/model/doc_open_time_bench --benchmark_repetitions=5

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "cat_program.h"
#include "saved_bench_document.h"
#include "saved_sample_layout.h"
#include "model/document/doc_file_bytes.h"
#include "platform/archive.h"

namespace {

void TimeOpening(benchmark::State& state, const std::string& path) {
  if (path.empty()) {
    state.SkipWithError("no file to open");
    return;
  }
  for (auto _ : state) {
    auto document = std::make_unique<CDorneDoc>();
    if (!document->OnOpenDocument(path).ok) state.SkipWithError("cannot open");
    state.PauseTiming();
    document.reset();  // freeing is not opening
    state.ResumeTiming();
  }
}

void BM_OpenDocumentFileTime(benchmark::State& state) {
  TimeOpening(state, SavedBenchDocument(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_OpenDocumentFileTime)
    ->Arg(25)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A layout of real runs, whose elements carry parts, bills and labels of their range.
void BM_OpenSampleLayoutTime(benchmark::State& state) {
  const std::string path = SavedSampleLayout(static_cast<int>(state.range(0)));
  TimeOpening(state, path);
  if (!path.empty()) state.counters["file_MB"] = std::filesystem::file_size(path) / 1e6;
  std::filesystem::remove(path);
}
BENCHMARK(BM_OpenSampleLayoutTime)
    ->Arg(25)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same file read by cat, as a user times it: the yardstick of the opening above.
void BM_CatSampleLayoutProgram(benchmark::State& state) {
  const std::string path = SavedSampleLayout(static_cast<int>(state.range(0)));
  TimeCatProgram(state, path);
  std::filesystem::remove(path);
}
BENCHMARK(BM_CatSampleLayoutProgram)
    ->Arg(25)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One run of 3,000 elements, then four and sixteen times as many: read on one thread,
// its cost should grow with its elements and no faster.
void BM_OpenRunOfManyElements(benchmark::State& state) {
  const std::string path = SavedRunOfManyElements(static_cast<int>(state.range(0)));
  TimeOpening(state, path);
  std::filesystem::remove(path);
  state.counters["us_per_element"] = benchmark::Counter(
      static_cast<double>(state.range(0)) * 1e-6,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_OpenRunOfManyElements)
    ->Arg(3000)
    ->Arg(12000)
    ->Arg(48000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same with a QD run of the sample range, parts and bill built.
void BM_OpenQDRunOfManyElements(benchmark::State& state) {
  const std::string path = SavedLongQDRun(static_cast<int>(state.range(0)));
  TimeOpening(state, path);
  std::filesystem::remove(path);
  state.counters["us_per_element"] = benchmark::Counter(
      static_cast<double>(state.range(0)) * 1e-6,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_OpenQDRunOfManyElements)
    ->Arg(3000)
    ->Arg(12000)
    ->Arg(48000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same files read one run after the other on the calling thread alone, as an undo step
// is read: what reading runs on several threads gains.
void TimeReadingOneByOne(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    auto document = std::make_unique<CDorneDoc>();
    if (!ReadFileStream(path, [&](CArchiveReader& archive) { document->Serialize(archive); }))
      state.SkipWithError("cannot read");
    state.PauseTiming();
    document.reset();
    state.ResumeTiming();
  }
}

void BM_ReadDocumentFileOneByOne(benchmark::State& state) {
  TimeReadingOneByOne(state, SavedBenchDocument(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ReadDocumentFileOneByOne)
    ->Arg(25)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ReadSampleLayoutOneByOne(benchmark::State& state) {
  const std::string path = SavedSampleLayout(static_cast<int>(state.range(0)));
  TimeReadingOneByOne(state, path);
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadSampleLayoutOneByOne)
    ->Arg(25)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
