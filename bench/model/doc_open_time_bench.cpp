// Opening a layout document from its file with the ordinary allocator: the time a user
// waits (wall time: the runs of a large file are read on several threads), which the
// counting allocator of doc_load_bench inflates.
//   build/bench/model/doc_open_time_bench --benchmark_repetitions=5

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "saved_bench_document.h"
#include "model/document/doc_file_bytes.h"
#include "platform/archive.h"

namespace {

void BM_OpenDocumentFileTime(benchmark::State& state) {
  const std::string path = SavedBenchDocument(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto document = std::make_unique<CDorneDoc>();
    if (!document->OnOpenDocument(path).ok) state.SkipWithError("cannot open");
    state.PauseTiming();
    document.reset();  // freeing is not opening
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenDocumentFileTime)
    ->Arg(25)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same file read one run after the other on the calling thread alone, as an undo step
// is read: what reading runs on several threads gains.
void BM_ReadDocumentFileOneByOne(benchmark::State& state) {
  const std::string path = SavedBenchDocument(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto document = std::make_unique<CDorneDoc>();
    if (!ReadFileStream(path, [&](CArchiveReader& archive) { document->Serialize(archive); }))
      state.SkipWithError("cannot read");
    state.PauseTiming();
    document.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ReadDocumentFileOneByOne)
    ->Arg(25)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
