#include "model/annotation.h"
#include "model/dev.h"
#include "model/dorne_doc.h"
#include "model/run.h"
#include "model/undo_manager.h"
#include "platform/archive.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr int kRuns = 100;
constexpr int kElementsPerRun = 200;

// A run of straights with a tee every 50 elements and a short branch at each tee, every
// element with its body box and every tenth with a dimension label.
void BuildRun(CDorneDoc& document, int runIndex) {
  auto made = std::make_unique<CRun>(&document);
  CRun& run = *made;
  document.AddRun(std::move(made));
  run.SetCatalog(runIndex % 2 == 0 ? "QDA" : "QPC");
  CDev* last = run.NewElement();
  last->SetKind(CDev::kEnd);
  last->SetActive(1);
  last->SetDirection(4);
  run.AddDevice(last);
  auto add = [&](CDev* from, int face, int kind, int index) {
    CDev* element = run.NewElement();
    element->SetKind(kind);
    element->SetActive(1);
    element->SetDirection(face);
    element->SetBookedLength(1000);
    element->SetReference(kind == CDev::kStraight ? "S-" + std::to_string(index % 40) : "TEE-0");
    element->SetNeighbour(CDev::OppositeDirection(face), from);
    from->SetNeighbour(face, element);
    element->MakeBox(CDev::kBodySlot)
        ->SetPlacement(C3DPoint(index * 1000, runIndex * 2000, 0), 1000, 100, 100);
    run.AddDevice(element);
    if (index % 10 == 0) {
      auto label = std::make_unique<CAnnotation>(CAnnotation::kDimension);
      label->SetOwnerElement(element);
      document.Annotations().Append(std::move(label));
    }
    return element;
  };
  for (int i = 1; i < kElementsPerRun;) {
    const bool tee = i % 50 == 0;
    last = add(last, 4, tee ? CDev::kJunction2 : CDev::kStraight, i++);
    if (!tee) continue;
    CDev* branch = last;
    for (int b = 0; b < 5 && i < kElementsPerRun; ++b)
      branch = add(branch, 1, CDev::kStraight, i++);
  }
  run.SetCurrentElement(last);
  document.SetCurrentRun(&run);
}

std::unique_ptr<CDorneDoc> BuildDocument(const std::string& snapshotFolder = {}) {
  CDocEnvironment environment;
  environment.settingsFolder = snapshotFolder;
  auto document = std::make_unique<CDorneDoc>(environment);
  for (int r = 0; r < kRuns; ++r) BuildRun(*document, r);
  return document;
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
