// Opening a layout document from its file, against reading the file alone, with the
// most memory the opening holds at once over what it held before, as a multiple of the
// file's size (and what the open document keeps). The heap is counted by this program's own
// operator new.
//   build/bench/model/doc_load_bench --benchmark_min_time=0.5
// The time without the counting, which slows every allocation: doc_open_time_bench.
// Against two readings of the file: BM_CatFile reads it in this process as cat reads it,
// BM_CatProgram runs cat itself (process start-up included, as a user times it).

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "cat_program.h"
#include "saved_bench_document.h"
#include "model/document/doc_file_bytes.h"

namespace {

std::atomic<std::int64_t> g_live{0};
std::atomic<std::int64_t> g_peak{0};

void Count(std::int64_t bytes) {
  const std::int64_t live = g_live.fetch_add(bytes) + bytes;
  std::int64_t peak = g_peak.load();
  while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {}
}

void BM_OpenDocumentFile(benchmark::State& state) {
  const std::string path = SavedBenchDocument(static_cast<int>(state.range(0)));
  const auto size = static_cast<double>(std::filesystem::file_size(path));
  double peak = 0.0, kept = 0.0;
  for (auto _ : state) {
    auto document = std::make_unique<CDorneDoc>();
    const std::int64_t before = g_live.load();
    g_peak.store(before);
    const CDocFileResult result = document->OnOpenDocument(path);
    peak = std::max(peak, static_cast<double>(g_peak.load() - before));
    kept = static_cast<double>(g_live.load() - before);
    if (!result.ok) state.SkipWithError("cannot open");
    state.PauseTiming();
    document.reset();  // freeing is not opening
    state.ResumeTiming();
  }
  state.counters["file_MB"] = size / 1e6;
  state.counters["peak_x_file"] = peak / size;
  state.counters["kept_x_file"] = kept / size;
}
BENCHMARK(BM_OpenDocumentFile)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

// The file read as cat reads it: 128 KiB at a time into one buffer.
void BM_CatFile(benchmark::State& state) {
  const std::string path = SavedBenchDocument(static_cast<int>(state.range(0)));
  std::vector<char> buffer(128 * 1024);
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::int64_t total = 0;
    for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;) total += got;
    ::close(fd);
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_CatFile)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

// The file read by the cat program, as a user times it (see cat_program.h).
void BM_CatProgram(benchmark::State& state) {
  TimeCatProgram(state, SavedBenchDocument(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_CatProgram)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole file into memory at once, as opening starts.
void BM_ReadWholeFile(benchmark::State& state) {
  const std::string path = SavedBenchDocument(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::vector<std::uint8_t> bytes;
    benchmark::DoNotOptimize(ReadWholeFile(path, bytes));
  }
}
BENCHMARK(BM_ReadWholeFile)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

}  // namespace

void* operator new(std::size_t size) {
  void* block = std::malloc(size + 16);
  if (block == nullptr) throw std::bad_alloc();
  *static_cast<std::size_t*>(block) = size;
  Count(static_cast<std::int64_t>(size));
  return static_cast<char*>(block) + 16;
}
void operator delete(void* pointer) noexcept {
  if (pointer == nullptr) return;
  char* block = static_cast<char*>(pointer) - 16;
  Count(-static_cast<std::int64_t>(*reinterpret_cast<std::size_t*>(block)));
  std::free(block);
}
void operator delete(void* pointer, std::size_t) noexcept { operator delete(pointer); }
