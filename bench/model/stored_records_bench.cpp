// Loading and saving the stored records whose cost once grew with the square of their
// size: a property list of many names, and a run with many tap-off units.

#include "platform/archive.h"
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/element/dev.h"
#include "model/props/obj_with_prop.h"
#include "model/run/range_rules.h"
#include "model/run/run.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

void BM_LoadPropertyList(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  CArchiveWriter writer;
  writer.WriteWord(static_cast<std::uint16_t>(count));
  for (int i = 0; i < count; ++i) {
    writer.WriteString("NAME_" + std::to_string(i));
    writer.WriteString(std::to_string(i));
  }
  for (auto _ : state) {
    CArchiveReader reader(writer.Bytes().data(), writer.Bytes().size());
    CObjWithProp object;
    object.Serialize(reader);
    benchmark::DoNotOptimize(object.GetPropArray().size());
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_LoadPropertyList)->Arg(8192)->Arg(32768)->Arg(65535)->Unit(benchmark::kMillisecond);

CRangeTables& Tables() {
  static CRangeTables tables = [] {
    CRangeTables t;
    t.codes = {{{"0", "0", "END-0", ""}}, {{"1", "0", "STR-0", ""}}, {{"14", "0", "TAP-0", ""}}};
    return t;
  }();
  return tables;
}

// A straight line of 200 elements with `units` tap-off units spread over it, in the
// document when one is given.
std::unique_ptr<CRun> RunWithTapOffUnits(int units, CDorneDoc* document = nullptr) {
  auto run = std::make_unique<CRun>(document);
  run->AttachRangeTables(Tables());
  std::vector<CDev*> chain;
  CDev* last = run->NewElement();
  last->SetKind(CDev::kEnd);
  last->SetActive(1);
  last->SetDirection(4);
  run->AddDevice(last);
  chain.push_back(last);
  for (int i = 1; i < 200; ++i) {
    CDev* element = run->NewElement();
    element->SetKind(CDev::kStraight);
    element->SetActive(1);
    element->SetDirection(4);
    element->SetReference("STR-0");
    element->SetNeighbour(CDev::OppositeDirection(4), last);
    last->SetNeighbour(4, element);
    run->AddDevice(element);
    chain.push_back(last = element);
  }
  for (int i = 0; i < units; ++i) {
    CDev* unit = run->NewElement();
    unit->SetKind(CDev::kTapOff);
    unit->SetActive(1);
    unit->SetReference("TAP-" + std::to_string(i % 20));
    unit->SetAttached(chain[static_cast<std::size_t>(i) % chain.size()]);
    run->AddDevice(unit);
  }
  return run;
}

void BM_SaveRunWithTapOffUnits(benchmark::State& state) {
  const auto run = RunWithTapOffUnits(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    CArchiveWriter writer;
    run->Serialize(writer);
    benchmark::DoNotOptimize(writer.Bytes().data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveRunWithTapOffUnits)
    ->Arg(2000)
    ->Arg(8000)
    ->Arg(16000)
    ->Unit(benchmark::kMillisecond);

void BM_LoadRunWithTapOffUnits(benchmark::State& state) {
  const auto run = RunWithTapOffUnits(static_cast<int>(state.range(0)));
  CArchiveWriter writer;
  run->Serialize(writer);
  for (auto _ : state) {
    CRun copy;
    copy.AttachRangeTables(Tables());
    CArchiveReader reader(writer.Bytes().data(), writer.Bytes().size());
    copy.Serialize(reader);
    benchmark::DoNotOptimize(copy.GetDevices().size());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadRunWithTapOffUnits)
    ->Arg(2000)
    ->Arg(8000)
    ->Arg(16000)
    ->Unit(benchmark::kMillisecond);

// A straight line of `units` elements, each listed with a tap-off unit on it right after
// it, as a rebuild lists a run whose units were laid as it grew.
std::unique_ptr<CRun> RunWithUnitsAmongElements(int units) {
  auto run = std::make_unique<CRun>();
  run->AttachRangeTables(Tables());
  for (int i = 0; i < units; ++i) {
    CDev* element = run->NewElement();
    element->SetKind(CDev::kStraight);
    element->SetActive(1);
    element->SetReference("STR-0");
    run->AddDevice(element);
    CDev* unit = run->NewElement();
    unit->SetKind(CDev::kTapOff);
    unit->SetActive(1);
    unit->SetReference("TAP-" + std::to_string(i % 20));
    unit->SetAttached(element);
    run->AddDevice(unit);
  }
  return run;
}

// What a change of range that drops the tap-off units does first: every unit of the run
// deleted, the last listed first.
void BM_DeleteTapOffUnitsAmongElements(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto run = RunWithUnitsAmongElements(static_cast<int>(state.range(0)));
    state.ResumeTiming();
    benchmark::DoNotOptimize(run->DeleteTapOffUnits(""));
    state.PauseTiming();
    run.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DeleteTapOffUnitsAmongElements)
    ->Arg(2000)
    ->Arg(8000)
    ->Arg(32000)
    ->Unit(benchmark::kMillisecond);

// The same line with `items` loose items: half of them accessories the user typed into the
// bill, each its own line, the other half tap-off units.
std::unique_ptr<CRun> RunWithLooseItems(int items, CDorneDoc* document = nullptr) {
  std::unique_ptr<CRun> run = RunWithTapOffUnits(items - items / 2, document);
  for (int i = 0; i < items / 2; ++i) run->GetBOM().AddRefQuantity("ACC-" + std::to_string(i), 1);
  return run;
}

void BM_SaveRunWithLooseItems(benchmark::State& state) {
  const auto run = RunWithLooseItems(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    CArchiveWriter writer;
    run->Serialize(writer);
    benchmark::DoNotOptimize(writer.Bytes().data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveRunWithLooseItems)
    ->Arg(3000)
    ->Arg(12000)
    ->Arg(48000)
    ->Unit(benchmark::kMillisecond);

// The run saved as the program saves it: the document that holds it, written whole.
void BM_SaveDocumentOfRunWithLooseItems(benchmark::State& state) {
  CDorneDoc document;
  document.AddRun(RunWithLooseItems(static_cast<int>(state.range(0)), &document));
  for (auto _ : state) {
    CArchiveWriter writer;
    document.Serialize(writer);
    benchmark::DoNotOptimize(writer.Bytes().data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveDocumentOfRunWithLooseItems)
    ->Arg(3000)
    ->Arg(12000)
    ->Arg(48000)
    ->Unit(benchmark::kMillisecond);

// The first save after an edit of that run: one accessory's quantity raised and set back,
// so the bill's stamp moves every time and the save reads the whole bill again.
void BM_SaveDocumentAfterEditOfRunWithLooseItems(benchmark::State& state) {
  CDorneDoc document;
  document.AddRun(RunWithLooseItems(static_cast<int>(state.range(0)), &document));
  CBOMGrid& bill = document.GetRunAt(0)->GetBOM();
  const std::string reference = "ACC-" + std::to_string(state.range(0) / 4);
  for (auto _ : state) {
    state.PauseTiming();
    bill.AddRefQuantity(reference, 1);
    bill.RemoveRefQuantity(reference, 1);
    state.ResumeTiming();
    CArchiveWriter writer;
    document.Serialize(writer);
    benchmark::DoNotOptimize(writer.Bytes().data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveDocumentAfterEditOfRunWithLooseItems)
    ->Arg(3000)
    ->Arg(12000)
    ->Arg(48000)
    ->Unit(benchmark::kMillisecond);

// Closing the design: the document of that run freed, its tap-off units listed before the
// accessories as the user added them.
void BM_FreeDocumentOfRunWithLooseItems(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto document = std::make_unique<CDorneDoc>();
    document->AddRun(RunWithLooseItems(static_cast<int>(state.range(0)), document.get()));
    state.ResumeTiming();
    document.reset();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FreeDocumentOfRunWithLooseItems)
    ->Arg(3000)
    ->Arg(12000)
    ->Arg(48000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
