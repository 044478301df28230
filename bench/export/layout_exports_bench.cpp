// The price update and the bill exports of a layout document of many QD runs of about
// 200 elements each (straights, pairs of flat elbows and single elbows), on the sample
// catalogue and its article table. The CSV export's yardstick: Python's csv module writing
// the same rows into the same bytes in the same run (its time counts the writing and the
// encoding, not the start of Python nor the reading of the rows).
#include "python_peer.h"
#include "export/csv_export.h"
#include "export/layout_xl_export.h"
#include "export/part_number_link.h"
#include "export/price_update.h"
#include "export/z3d_export.h"
#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run_environment.h"
#include "ranges/qd/run_qd.h"

#include <benchmark/benchmark.h>

#include "sample_qd_run.h"
#include "sample_ranges.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kBlocksPerRun = 33;  // six elements a block: about 200 elements a run

// A document of built runs.
std::unique_ptr<CDorneDoc> BuiltDocument(int runs) {
  SetUpSampleRanges();
  CRunEnvironment::Instance().SetArticleFolder(TVR_PROGRAM_DIR "/BD/");
  auto document = std::make_unique<CDorneDoc>();
  for (int i = 0; i < runs; ++i) {
    std::unique_ptr<CRunQD> run = LayQDRun(kBlocksPerRun);
    run->RebuildParts(0);
    document->AddRun(std::move(run));
  }
  return document;
}

// A document of built runs, priced once.
std::unique_ptr<CDorneDoc> PricedDocument(int runs) {
  std::unique_ptr<CDorneDoc> document = BuiltDocument(runs);
  CPartNumberLink link;
  CPartNumberSettings settings;
  settings.articleFolder = TVR_PROGRAM_DIR "/BD/";
  link.Init(settings);
  UpdatePrices(*document, link, {});
  return document;
}

void BM_UpdatePrices(benchmark::State& state) {
  std::unique_ptr<CDorneDoc> document = PricedDocument(static_cast<int>(state.range(0)));
  CPartNumberSettings settings;
  settings.articleFolder = TVR_PROGRAM_DIR "/BD/";
  for (auto _ : state) {
    CPartNumberLink link;
    link.Init(settings);
    benchmark::DoNotOptimize(UpdatePrices(*document, link, {}));
  }
  state.counters["runs"] = static_cast<double>(document->GetRunCount());
  double lines = 0;
  double elements = 0;
  for (const CRun* run : document->GetRuns()) {
    lines += run->GetBOM().GetLineCount() - 1;
    elements += static_cast<double>(run->GetDevices().size());
  }
  state.counters["lines"] = lines;
  state.counters["elements"] = elements;
}
BENCHMARK(BM_UpdatePrices)->Arg(6)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_ExportCsv(benchmark::State& state) {
  std::unique_ptr<CDorneDoc> document = PricedDocument(static_cast<int>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string written = WriteCsvList(*document, true, ',').Bytes();
    bytes = written.size();
    benchmark::DoNotOptimize(written.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  state.counters["lines"] = static_cast<double>(WriteCsvList(*document, true, ',').Lines().size());
}
BENCHMARK(BM_ExportCsv)->Arg(6)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

// The first export after the bills' cells changed (an edit, a price update): every
// bill's lines are written anew, none kept from before.
void BM_ExportCsvAfterChange(benchmark::State& state) {
  std::unique_ptr<CDorneDoc> document = PricedDocument(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    for (CRun* run : document->GetRuns()) run->GetBOM().MarkCellsStale();
    state.ResumeTiming();
    const std::string written = WriteCsvList(*document, true, ',').Bytes();
    benchmark::DoNotOptimize(written.data());
  }
}
BENCHMARK(BM_ExportCsvAfterChange)
    ->Arg(6)
    ->Arg(25)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond);

constexpr int kPythonRounds = 21;

void BM_PythonCsvWritesTheSameBytes(benchmark::State& state) {
  std::unique_ptr<CDorneDoc> document = PricedDocument(static_cast<int>(state.range(0)));
  const CXlExportFile file = WriteCsvList(*document, true, ',');
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tvr-csv-bench";
  std::filesystem::create_directories(folder);
  const std::string rows = (folder / "rows.txt").string();
  {
    std::ofstream out(rows, std::ios::binary);
    for (const std::string& line : file.Lines()) out << line << "\n";
  }
  const std::string written = (folder / "python.csv").string();
  const std::string timeFile = (folder / "seconds.txt").string();
  const std::vector<std::string> arguments = {
      std::string(TVR_SOURCE_DIR) + "/bench/export/csv_write.py", rows, written, timeFile,
      std::to_string(kPythonRounds)};
  TimePythonPeer(state, arguments, timeFile, "python3 did not run");
  std::ifstream in(written, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes != file.Bytes()) state.SkipWithError("python3 wrote other bytes");
  state.counters["bytes"] = static_cast<double>(bytes.size());
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PythonCsvWritesTheSameBytes)
    ->Arg(6)
    ->Arg(25)
    ->Arg(100)
    ->Arg(400)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_ExportWorkbookExchange(benchmark::State& state) {
  std::unique_ptr<CDorneDoc> document = PricedDocument(static_cast<int>(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(WriteLayoutExchangeFile(*document, true, {}).Bytes());
}
BENCHMARK(BM_ExportWorkbookExchange)->Arg(6)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);

// The 3D exchange file of every run, as bytes ready to write: 100 runs of about 200
// elements, then four and sixteen times as many.
void BM_Export3D(benchmark::State& state) {
  std::unique_ptr<CDorneDoc> document = BuiltDocument(static_cast<int>(state.range(0)));
  double bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const CRun* run : document->GetRuns())
      bytes += static_cast<double>(Z3dFileBytes(WriteZ3dText(*run)).size());
  }
  state.counters["runs"] = static_cast<double>(document->GetRunCount());
  state.counters["bytes"] = bytes;
}
BENCHMARK(BM_Export3D)->Arg(100)->Arg(400)->Arg(1600)->Unit(benchmark::kMillisecond);

}  // namespace
