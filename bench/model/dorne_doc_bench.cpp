#include "model/annotation/annotation.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/undo/undo_manager.h"
#include "platform/archive.h"

#include <benchmark/benchmark.h>

#include "bench_document.h"
#include "saved_bench_document.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

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

double ResidentBytes() {
  long pages = 0, resident = 0;
  if (FILE* file = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(file, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(file);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

// The most the process held resident so far (VmHWM), in bytes.
double PeakResidentBytes() {
  double peak = 0.0;
  if (FILE* file = std::fopen("/proc/self/status", "r")) {
    char line[256];
    long kilobytes = 0;
    while (std::fgets(line, sizeof line, file) != nullptr)
      if (std::sscanf(line, "VmHWM: %ld kB", &kilobytes) == 1) peak = kilobytes * 1024.0;
    std::fclose(file);
  }
  return peak;
}

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

// BM_RebuildScene at the sizes of the benchmarks below.
void BM_RebuildSceneSized(benchmark::State& state) {
  auto document = BuildBenchDocument(static_cast<int>(state.range(0)));
  for (auto _ : state) document->RebuildScene();
}

// The documents of the sized benchmarks: ×1, ×4 and ×16 of a quarter of the benchmark
// document.
void SizedDocuments(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(kRuns / 4)->Arg(kRuns)->Arg(kRuns * 4)->Unit(benchmark::kMillisecond);
}

// What the layout window did between two edits (src/shell/ui/layout_doc_window.cpp): nothing
// (the edits came faster than the window's idle moments), its idle moment right after the
// edit's repaint (the zero timer m_snapshotSoon: the next edit's snapshot bytes), or a
// moment's rest (the 300 ms timer as well: the undo's step read and the next snapshot's
// design made ahead).
enum class EIdle { kNone, kAfterRepaint, kRest };

// The window's call right after an edit's repaint (CLayoutDocWindow::AfterEditRepaint): the
// next undo's design handed to the worker, then the next edit's snapshot bytes.
void AfterRepaint(CUndoManager& undo) { undo.AfterEditShown(); }

// An edit of the document's name, with its step taken first.
void EditName(CDorneDoc& document, const std::string& name) {
  document.GetUndo().SaveUndoState(21069, true);
  document.SetDocPropertyModified("Name", name);
}

// Until the worker has ended every step it was given, as a moment after the repaint.
void WaitForWorker(const CUndoManager& undo) {
  for (;;) {
    const CUndoDesignAhead::CCounts counts = undo.DesignAheadCounts();
    if (counts.read + counts.unread + counts.calledOff >= counts.given) return;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
}

// An edit followed by the run's rebuild: the step, a straight added at the current
// element, the run rebuilt (as Run ▸ Rebuild parts does) and the scene made again as the
// turn and move tools and Delete make it after their edits (CDorneDoc::ToolTurnAtFace,
// CDorneDoc::MoveRun, CDorneDoc::DeleteCurrentElement: CDorneDoc::RebuildSceneAfterEditOf).
// The drawing is the view's own benchmark. `afterUndo`: each edit follows an undo of the
// one before, and drops the redo it left. `toolsScene`: the scene made again as those tools
// make it, after the run's rebuild, which already left the scene of a whole rebuild.
// `idle`: what the window did before the edit.
// `timeStep`: false leaves the step out of the time, which is then the scene side alone.
// The bench document's elements all stand at the origin, so that the straight added lands
// on the first run's boxes on screen: the run's rebuild makes the whole scene anew, as it
// does for a run that meets another on screen.
void MouseEdit(benchmark::State& state, bool afterUndo, bool toolsScene = true,
               EIdle idle = EIdle::kNone, bool timeStep = true) {
  auto document = BuildBenchDocument(static_cast<int>(state.range(0)), SnapshotFolder());
  document->RebuildScene();
  CUndoManager& undo = document->GetUndo();
  for (auto _ : state) {
    if (idle != EIdle::kNone || !timeStep) {
      state.PauseTiming();
      if (idle != EIdle::kNone && undo.WantsSnapshotBytes()) AfterRepaint(undo);
      while (idle == EIdle::kRest && undo.PrepareUndo() + undo.PrepareSnapshot() != 0) {}
      if (!timeStep) undo.SaveUndoState(21069, true);
      state.ResumeTiming();
    }
    if (timeStep) undo.SaveUndoState(21069, true);
    CRun* run = document->GetCurrentRun();
    CDev* added = run->GetCurrentElement()->AddStraightToward(4, 1000);
    if (added != nullptr) run->SetCurrentElement(added);
    run->RebuildParts(0);
    if (toolsScene) document->RebuildSceneAfterEditOf(run);
    if (!afterUndo) continue;
    state.PauseTiming();
    undo.Undo();
    undo.ReleaseDiscarded();  // as the window does once the step is shown
    state.ResumeTiming();
  }
}
void BM_MouseEdit(benchmark::State& state) { MouseEdit(state, false); }
void BM_MouseEditAfterUndo(benchmark::State& state) { MouseEdit(state, true); }
void BM_MouseEditRunScene(benchmark::State& state) { MouseEdit(state, false, false); }
void BM_MouseEditAfterRepaint(benchmark::State& state) {
  MouseEdit(state, false, true, EIdle::kAfterRepaint);
}
void BM_MouseEditAfterUndoAndRepaint(benchmark::State& state) {
  MouseEdit(state, true, true, EIdle::kAfterRepaint);
}
void BM_MouseEditAfterIdle(benchmark::State& state) { MouseEdit(state, false, true, EIdle::kRest); }
void BM_MouseEditRunSceneAfterIdle(benchmark::State& state) {
  MouseEdit(state, false, false, EIdle::kRest);
}
BENCHMARK(BM_RebuildSceneSized)->Apply(SizedDocuments);
BENCHMARK(BM_MouseEditAfterUndo)->Apply(SizedDocuments);
BENCHMARK(BM_MouseEdit)->Apply(SizedDocuments);
BENCHMARK(BM_MouseEditRunScene)->Apply(SizedDocuments);
BENCHMARK(BM_MouseEditAfterRepaint)->Apply(SizedDocuments);
BENCHMARK(BM_MouseEditAfterUndoAndRepaint)->Apply(SizedDocuments);
BENCHMARK(BM_MouseEditAfterIdle)->Apply(SizedDocuments);
BENCHMARK(BM_MouseEditRunSceneAfterIdle)->Apply(SizedDocuments);

// The scene side of the edits above: the straight added and the run rebuilt, with or
// without the scene made again as the tools make it, the step taken untimed.
void BM_MouseEditSceneOnly(benchmark::State& state) {
  MouseEdit(state, false, true, EIdle::kNone, false);
}
void BM_MouseEditRunSceneOnly(benchmark::State& state) {
  MouseEdit(state, false, false, EIdle::kNone, false);
}
BENCHMARK(BM_MouseEditSceneOnly)->Apply(SizedDocuments);
BENCHMARK(BM_MouseEditRunSceneOnly)->Apply(SizedDocuments);

// A click of the add-straight tool as the layout window handles it
// (CViewTools::ElementToolPress, src/view/view_tools.cpp; CDorneDoc::ToolAddStraightAt,
// src/model/dorne_doc_tools.cpp): the step, the straight added at the current element
// (its boxes go into the scene one by one), the document marked modified and its views
// told, the step committed. Neither the run nor the scene is rebuilt; the view repaints
// (its own benchmark). `idle` as above.
void MouseAddStraight(benchmark::State& state, EIdle idle) {
  auto document = BuildBenchDocument(static_cast<int>(state.range(0)), SnapshotFolder());
  document->RebuildScene();
  CUndoManager& undo = document->GetUndo();
  for (auto _ : state) {
    if (idle != EIdle::kNone) {
      state.PauseTiming();
      if (undo.WantsSnapshotBytes()) AfterRepaint(undo);
      while (idle == EIdle::kRest && undo.PrepareUndo() + undo.PrepareSnapshot() != 0) {}
      state.ResumeTiming();
    }
    undo.SaveUndoState(17494, true, false);
    CDev* added = document->GetCurrentRun()->GetCurrentElement()->AddStraightToward(4, 1000);
    document->SetModifiedFlag(true);
    document->UpdateAllViews();
    benchmark::DoNotOptimize(added != nullptr && undo.CommitUndoState(0) != 0);
  }
}
void BM_MouseAddStraight(benchmark::State& state) { MouseAddStraight(state, EIdle::kNone); }
void BM_MouseAddStraightAfterRepaint(benchmark::State& state) {
  MouseAddStraight(state, EIdle::kAfterRepaint);
}
void BM_MouseAddStraightAfterIdle(benchmark::State& state) {
  MouseAddStraight(state, EIdle::kRest);
}
BENCHMARK(BM_MouseAddStraight)->Apply(SizedDocuments);
BENCHMARK(BM_MouseAddStraightAfterRepaint)->Apply(SizedDocuments);
BENCHMARK(BM_MouseAddStraightAfterIdle)->Apply(SizedDocuments);

// Edit ▸ Undo right after an edit: the current state is kept as a step, then the one
// before is restored. `readAhead`: the window was idle in between and read the step
// ahead (CUndoManager::PrepareUndo). `idleBefore`: the window was idle before the edit
// and made its snapshot ahead (CUndoManager::PrepareSnapshot); the undo follows at once.
void UndoAfterEdit(benchmark::State& state, bool readAhead, bool idleBefore = false) {
  auto document = BuildBenchDocument(static_cast<int>(state.range(0)), SnapshotFolder());
  document->RebuildScene();
  CUndoManager& undo = document->GetUndo();
  for (auto _ : state) {
    state.PauseTiming();
    while (idleBefore && undo.PrepareUndo() + undo.PrepareSnapshot() != 0) {}
    EditName(*document, "edited");
    if (readAhead) undo.PrepareUndo();
    state.ResumeTiming();
    benchmark::DoNotOptimize(undo.Undo());
  }
}
void BM_UndoAfterEdit(benchmark::State& state) { UndoAfterEdit(state, false); }
void BM_UndoAfterEditReadAhead(benchmark::State& state) { UndoAfterEdit(state, true); }
void BM_UndoAtOnceAfterIdle(benchmark::State& state) { UndoAfterEdit(state, false, true); }
BENCHMARK(BM_UndoAfterEdit)->Apply(SizedDocuments);
BENCHMARK(BM_UndoAfterEditReadAhead)->Apply(SizedDocuments);
BENCHMARK(BM_UndoAtOnceAfterIdle)->Apply(SizedDocuments);

// Edit ▸ Undo after the edit's repaint, as the window does it: right after the repaint the
// step is handed to the worker (and the next edit's bytes made). `moment`: the undo comes a
// moment later, the worker done by then; else at once, waiting for what is left of the
// worker's reading.
void UndoAfterRepaint(benchmark::State& state, bool moment) {
  auto document = BuildBenchDocument(static_cast<int>(state.range(0)), SnapshotFolder());
  document->RebuildScene();
  CUndoManager& undo = document->GetUndo();
  for (auto _ : state) {
    state.PauseTiming();
    EditName(*document, "edited");
    AfterRepaint(undo);
    if (moment) WaitForWorker(undo);
    state.ResumeTiming();
    benchmark::DoNotOptimize(undo.Undo());
    state.PauseTiming();
    undo.ReleaseDiscarded();  // as the window does once the step is shown
    state.ResumeTiming();
  }
  state.counters["designed_ahead"] = undo.StepsDesignedAhead();
}
void BM_UndoAfterRepaint(benchmark::State& state) { UndoAfterRepaint(state, true); }
void BM_UndoAtOnceAfterRepaint(benchmark::State& state) { UndoAfterRepaint(state, false); }
BENCHMARK(BM_UndoAfterRepaint)->Apply(SizedDocuments);
BENCHMARK(BM_UndoAtOnceAfterRepaint)->Apply(SizedDocuments);

// Three edits back to back, each repainted (the worker given each step and called off by
// the next edit), then Edit ▸ Undo at once.
void BM_UndoAfterQuickEdits(benchmark::State& state) {
  auto document = BuildBenchDocument(static_cast<int>(state.range(0)), SnapshotFolder());
  document->RebuildScene();
  CUndoManager& undo = document->GetUndo();
  int edits = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (int edit = 0; edit < 3; ++edit) {
      EditName(*document, "edit " + std::to_string(++edits));
      AfterRepaint(undo);
    }
    state.ResumeTiming();
    benchmark::DoNotOptimize(undo.Undo());
    state.PauseTiming();
    undo.ReleaseDiscarded();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_UndoAfterQuickEdits)->Apply(SizedDocuments);

// What the window thread spends right after an edit's repaint (AfterRepaint above), or of
// it the step's hand-over to the worker alone (`bytes` false).
void WorkAfterRepaint(benchmark::State& state, bool bytes) {
  auto document = BuildBenchDocument(static_cast<int>(state.range(0)), SnapshotFolder());
  document->RebuildScene();
  CUndoManager& undo = document->GetUndo();
  int edits = 0;
  for (auto _ : state) {
    state.PauseTiming();
    WaitForWorker(undo);
    EditName(*document, "edit " + std::to_string(++edits));
    state.ResumeTiming();
    if (bytes) AfterRepaint(undo);
    else undo.DesignUndoAhead();
  }
  WaitForWorker(undo);
}
void BM_WorkAfterRepaint(benchmark::State& state) { WorkAfterRepaint(state, true); }
void BM_HandOverAfterRepaint(benchmark::State& state) { WorkAfterRepaint(state, false); }
BENCHMARK(BM_WorkAfterRepaint)->Apply(SizedDocuments);
// A few iterations: the untimed edit between two hand-overs costs a thousand times more.
BENCHMARK(BM_HandOverAfterRepaint)->Apply(SizedDocuments)->Iterations(20);

// The idle work that makes the snapshot of the next edit ahead: its bytes, then its design
// with its scene.
void BM_PrepareSnapshot(benchmark::State& state) {
  auto document = BuildBenchDocument(static_cast<int>(state.range(0)), SnapshotFolder());
  document->RebuildScene();
  CUndoManager& undo = document->GetUndo();
  undo.SaveUndoState(21069, true);  // nothing is made ahead before the first snapshot
  int edits = 0;
  for (auto _ : state) {
    while (undo.PrepareSnapshot() != 0) {}
    state.PauseTiming();
    // What was made no longer holds.
    document->SetDocPropertyModified("Name", "edit " + std::to_string(++edits));
    state.ResumeTiming();
  }
}
BENCHMARK(BM_PrepareSnapshot)->Apply(SizedDocuments);

// The idle work that makes the undo above quick: the step read with its scene.
void BM_PrepareUndo(benchmark::State& state) {
  auto document = BuildBenchDocument(static_cast<int>(state.range(0)), SnapshotFolder());
  document->RebuildScene();
  CUndoManager& undo = document->GetUndo();
  undo.SaveUndoState(21069, true);
  undo.GetRecord(undo.GetLast());  // the file written
  for (auto _ : state) {
    benchmark::DoNotOptimize(undo.PrepareUndo());
    state.PauseTiming();
    undo.ReleaseDiscarded();
    undo.SaveUndoState(21069, true);
    undo.GetRecord(undo.GetLast());
    state.ResumeTiming();
  }
}
BENCHMARK(BM_PrepareUndo)->Apply(SizedDocuments);

// Edit ▸ Redo after an undo.
void BM_Redo(benchmark::State& state) {
  auto document = BuildBenchDocument(static_cast<int>(state.range(0)), SnapshotFolder());
  document->RebuildScene();
  CUndoManager& undo = document->GetUndo();
  EditName(*document, "edited");
  undo.Undo();
  for (auto _ : state) {
    benchmark::DoNotOptimize(undo.Redo());
    state.PauseTiming();
    undo.ReleaseDiscarded();  // as the window does once the step is shown
    undo.Undo();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Redo)->Apply(SizedDocuments);

// What the process holds resident once the document, its scene and eleven undo steps
// are there (run alone: the figure is the whole process's), with what it held after each
// edit (after_NN_MB: a figure that climbs edit after edit is memory each step keeps) and
// the most it held at once. `readAhead`: the window handed each step to the worker after
// the edit's repaint, and was idle before each edit and after the undo, and read the next
// undo's step and made the next edit's snapshot each time.
void ResidentAtEleventhStep(benchmark::State& state, bool readAhead) {
  for (auto _ : state) {
    auto document = BuildBenchDocument(static_cast<int>(state.range(0)), SnapshotFolder());
    document->RebuildScene();
    state.counters["built_MB"] = ResidentBytes() / 1e6;
    CUndoManager& undo = document->GetUndo();
    for (int step = 0; step < CUndoManager::kMaxSteps; ++step) {
      while (readAhead && undo.PrepareUndo() + undo.PrepareSnapshot() != 0) {}
      EditName(*document, "edit " + std::to_string(step));
      if (readAhead) {
        AfterRepaint(undo);
        WaitForWorker(undo);
      }
      char name[32];
      std::snprintf(name, sizeof name, "after_%02d_MB", step + 1);
      state.counters[name] = ResidentBytes() / 1e6;
    }
    if (readAhead) undo.PrepareUndo();
    undo.Undo();
    while (readAhead && undo.PrepareUndo() + undo.PrepareSnapshot() != 0) {}
    undo.GetRecord(undo.GetLast());  // every file written
    state.counters["resident_MB"] = ResidentBytes() / 1e6;
    state.counters["peak_MB"] = PeakResidentBytes() / 1e6;
    std::error_code error;
    state.counters["file_MB"] = std::filesystem::file_size(undo.GetRecord(1).path, error) / 1e6;
    state.counters["steps"] = undo.GetLast();
  }
}
void BM_ResidentAtEleventhStep(benchmark::State& state) { ResidentAtEleventhStep(state, false); }
void BM_ResidentAtEleventhStepReadAhead(benchmark::State& state) {
  ResidentAtEleventhStep(state, true);
}
BENCHMARK(BM_ResidentAtEleventhStep)->Apply(SizedDocuments)->Iterations(1);
BENCHMARK(BM_ResidentAtEleventhStepReadAhead)->Apply(SizedDocuments)->Iterations(1);

// The figures `work` gives, worked out in a child process, which ends with it: what the
// child held is gone with it. A forked child starts with this process's memory and peak.
template <std::size_t N, class Work>
std::array<double, N> InChildProcess(Work work) {
  std::array<double, N> figures{};
  int ends[2];
  if (pipe(ends) != 0) return figures;
  const pid_t child = fork();
  if (child == 0) {
    close(ends[0]);
    const std::array<double, N> made = work();
    const bool written = write(ends[1], made.data(), sizeof made) == sizeof made;
    _exit(written ? 0 : 1);
  }
  close(ends[1]);
  if (child > 0 && read(ends[0], figures.data(), sizeof figures) != sizeof figures)
    figures.fill(0.0);
  close(ends[0]);
  if (child > 0) waitpid(child, nullptr, 0);
  return figures;
}

// What a user's process holds once a saved layout is opened and its scene made, against the
// file's size: resident at the end, and the most held at once, with the same two figures of
// the process before the opening (the program and its libraries). The file is written by a
// process of its own and each size is opened by one of its own, so that neither the design
// built to save it nor another size's opening counts.
void BM_MemoryAfterOpen(benchmark::State& state) {
  const int runs = static_cast<int>(state.range(0));
  InChildProcess<1>([runs] {
    SavedBenchDocument(runs);
    return std::array<double, 1>{};
  });
  const std::string path =
      (std::filesystem::temp_directory_path() / SavedBenchDocumentName(runs)).string();
  std::array<double, 5> figures{};
  for (auto _ : state) {
    figures = InChildProcess<5>([&path] {
      const double resident = ResidentBytes(), peak = PeakResidentBytes();
      auto document = std::make_unique<CDorneDoc>();
      const bool opened = document->OnOpenDocument(path).ok;
      document->RebuildScene();
      return std::array<double, 5>{resident, peak, ResidentBytes(), PeakResidentBytes(),
                                   opened ? 1.0 : 0.0};
    });
  }
  if (figures[4] == 0.0) state.SkipWithError("cannot open");
  const double file = static_cast<double>(std::filesystem::file_size(path));
  state.counters["file_MB"] = file / 1e6;
  state.counters["before_resident_MB"] = figures[0] / 1e6;
  state.counters["before_peak_MB"] = figures[1] / 1e6;
  state.counters["resident_MB"] = figures[2] / 1e6;
  state.counters["peak_MB"] = figures[3] / 1e6;
  state.counters["resident_x_file"] = figures[2] / file;
  state.counters["peak_x_file"] = figures[3] / file;
  state.counters["added_resident_x_file"] = (figures[2] - figures[0]) / file;
  state.counters["added_peak_x_file"] = (figures[3] - figures[1]) / file;
}
BENCHMARK(BM_MemoryAfterOpen)->Apply(SizedDocuments)->Iterations(1);

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
