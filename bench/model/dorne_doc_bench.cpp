#include "model/annotation.h"
#include "model/dev.h"
#include "model/dorne_doc.h"
#include "model/run.h"
#include "model/undo_manager.h"
#include "platform/archive.h"

#include <benchmark/benchmark.h>

#include "bench_document.h"

#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr int kRuns = 100;

std::unique_ptr<CDorneDoc> BuildDocument(const std::string& snapshotFolder = {}) {
  return BuildBenchDocument(kRuns, snapshotFolder);
}

std::vector<std::uint8_t> SaveBytes(CDorneDoc& document) {
  CArchiveWriter writer;
  document.Serialize(writer);
  return writer.TakeBytes();
}

void BM_SaveDocument(benchmark::State& state) {
  auto document = BuildDocument();
  for (auto _ : state) benchmark::DoNotOptimize(SaveBytes(*document));
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond);

void BM_OpenDocument(benchmark::State& state) {
  const std::vector<std::uint8_t> bytes = SaveBytes(*BuildDocument());
  state.counters["bytes"] = static_cast<double>(bytes.size());
  for (auto _ : state) {
    auto document = std::make_unique<CDorneDoc>();
    CArchiveReader reader(bytes);
    document->Serialize(reader);
    benchmark::DoNotOptimize(document.get());
    state.PauseTiming();
    document.reset();  // freeing is not opening
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond);

// Part of a restore: the design that was there goes.
void BM_FreeDocument(benchmark::State& state) {
  const std::vector<std::uint8_t> bytes = SaveBytes(*BuildDocument());
  for (auto _ : state) {
    state.PauseTiming();
    auto document = std::make_unique<CDorneDoc>();
    CArchiveReader reader(bytes);
    document->Serialize(reader);
    state.ResumeTiming();
    document.reset();
  }
}
BENCHMARK(BM_FreeDocument)->Unit(benchmark::kMillisecond);

// Part of a restore: the display list of every box, in depth order.
void BM_RebuildScene(benchmark::State& state) {
  auto document = BuildDocument();
  for (auto _ : state) document->RebuildScene();
}
BENCHMARK(BM_RebuildScene)->Unit(benchmark::kMillisecond);

// A folder of the benchmark's own for the snapshot files.
std::string SnapshotFolder() {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tvr-undo-bench";
  std::filesystem::create_directories(folder);
  return folder.string() + "/";
}

void BM_UndoSnapshot(benchmark::State& state) {
  auto document = BuildDocument(SnapshotFolder());
  CUndoManager& undo = document->GetUndo();
  for (auto _ : state) benchmark::DoNotOptimize(undo.SaveUndoState(21069, true));
}
BENCHMARK(BM_UndoSnapshot)->Unit(benchmark::kMillisecond);

void BM_UndoRestore(benchmark::State& state) {
  auto document = BuildDocument(SnapshotFolder());
  CUndoManager& undo = document->GetUndo();
  undo.SaveUndoState(21069, true);
  undo.Undo();  // the current state is saved; the history has both directions now
  for (auto _ : state) {
    benchmark::DoNotOptimize(undo.Redo());
    // Undo takes a snapshot of the current state first (measured above), then restores.
    state.PauseTiming();
    undo.Undo();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_UndoRestore)->Unit(benchmark::kMillisecond);

}  // namespace
