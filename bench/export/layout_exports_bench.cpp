// The price update and the bill exports of a layout document of many QD runs of about
// 200 elements each (straights, pairs of flat elbows and single elbows), on the sample
// catalogue and its article table.
#include "export/csv_export.h"
#include "export/layout_xl_export.h"
#include "export/part_number_link.h"
#include "export/price_update.h"
#include "export/z3d_export.h"
#include "model/bom_grid.h"
#include "model/dev.h"
#include "model/dorne_doc.h"
#include "model/run_environment.h"
#include "ranges/qd/run_qd.h"

#include <benchmark/benchmark.h>

#include "sample_ranges.h"

#include <memory>

namespace {

constexpr int kBlocksPerRun = 33;  // six elements a block: about 200 elements a run

CDev* Append(CRun& run, CDev* from, int face, int kind, std::int32_t length) {
  CDev* element = run.NewElement();
  element->SetKind(kind);
  element->SetActive(1);
  element->SetDirection(face);
  element->SetBookedLength(length);
  element->SetDrawnLength(length);
  element->SetCalibre(run.GetPropText("Calibre"));
  element->SetReference(run.GetKindText(kind, 0));
  if (from != nullptr) {
    element->SetNeighbour(CBoxOwner::OppositeDirection(face), from);
    from->SetNeighbour(face, element);
    from->SetFreeFace(face, 0);
    element->SetFreeFace(CBoxOwner::OppositeDirection(face), 0);
  }
  run.AddDevice(element);
  if (kind == CDev::kInLine) run.AddLengthToBOM(element->GetCalibre(), length, 0);
  return element;
}

std::unique_ptr<CRunQD> LayRun() {
  auto run = std::make_unique<CRunQD>("A", nullptr);
  run->SetProp("Calibre", "06");
  CDev* at = Append(*run, nullptr, 4, CDev::kEnd, 0);
  run->SetCurrentElement(at);
  for (int i = 0; i < kBlocksPerRun; ++i) {
    at = Append(*run, at, 4, CDev::kInLine, 3000);
    at = Append(*run, at, 4, CDev::kInLine, 2000);
    at = Append(*run, at, 4, CDev::kElbow, 0);
    at = Append(*run, at, 1, CDev::kInLine, 1000);
    at = Append(*run, at, 1, CDev::kElbow, 0);
    at = Append(*run, at, 4, CDev::kInLine, 4500);
  }
  Append(*run, at, 4, CDev::kEnd, 0);
  return run;
}

// A document of built runs, priced once.
std::unique_ptr<CDorneDoc> PricedDocument(int runs) {
  SetUpSampleRanges();
  CRunEnvironment::Instance().SetArticleFolder(TVR_PROGRAM_DIR "/BD/");
  auto document = std::make_unique<CDorneDoc>();
  for (int i = 0; i < runs; ++i) {
    std::unique_ptr<CRunQD> run = LayRun();
    run->RebuildParts(0);
    document->AddRun(std::move(run));
  }
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
  for (auto _ : state) benchmark::DoNotOptimize(WriteCsvList(*document, true, ',').Bytes());
}
BENCHMARK(BM_ExportCsv)->Arg(6)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_ExportWorkbookExchange(benchmark::State& state) {
  std::unique_ptr<CDorneDoc> document = PricedDocument(static_cast<int>(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(WriteLayoutExchangeFile(*document, true, {}).Bytes());
}
BENCHMARK(BM_ExportWorkbookExchange)->Arg(6)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);

// The 3D exchange file of every run, as bytes ready to write.
void BM_Export3D(benchmark::State& state) {
  std::unique_ptr<CDorneDoc> document = PricedDocument(static_cast<int>(state.range(0)));
  for (auto _ : state)
    for (const CRun* run : document->GetRuns())
      benchmark::DoNotOptimize(Z3dFileBytes(WriteZ3dText(*run)));
}
BENCHMARK(BM_Export3D)->Arg(6)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
