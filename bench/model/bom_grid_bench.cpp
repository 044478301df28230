// Building and rebuilding the bill of materials of a run: every line reads all its
// column values from the run by reference, so the cost must grow with lines x columns,
// not with lines x columns x elements.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "grid/grid_text_measurer.h"
#include "platform/archive.h"
#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/run/run.h"

namespace {

constexpr int kElementsPerReference = 3;

// Seven pixels a character, as a screen font roughly measures.
class CBenchMeasurer : public CGridTextMeasurer {
 public:
  CSize MeasureLine(const CLogFont&, std::string_view line) const override {
    return {static_cast<int>(line.size()) * 7, 16};
  }
  CGridFontMetrics MeasureFont(const CLogFont&) const override { return {16, 7}; }
};

// A run whose grid shows a column of every value kind.
std::unique_ptr<CRun> MakeRun(bool measured) {
  static const CBenchMeasurer measurer;
  auto run = std::make_unique<CRun>();
  CBOMGrid& grid = run->GetBOM();
  if (measured) grid.SetTextMeasurer(&measurer);
  for (int kind = kBOMKindQuantity; kind <= kBOMKindENumber; ++kind) {
    if (kind != kBOMKindPicture) grid.InsertColumn(grid.GetColumnCount() - 1, kind, "Column");
  }
  return run;
}

void AddElements(CRun& run, int references) {
  for (int i = 0; i < references; ++i) {
    const std::string reference = "REF-" + std::to_string(i);
    for (int copy = 0; copy < kElementsPerReference; ++copy) {
      CDev* element = run.NewElement();
      element->SetKind(CDev::kInLine);
      element->SetActive(1);
      element->SetReference(reference);
      element->SetPropValue("HBv2_Std_Cost", std::to_string(1000 + i));
      element->SetPropValue("HBv2_Designation", "Unit number " + std::to_string(i));
      run.AddDevice(element);
    }
  }
}

// The same elements with everything a priced line is worked out from: cost, discount,
// laying time and weight.
void AddPricedElements(CRun& run, int references) {
  AddElements(run, references);
  for (CDev* element : run.GetDevices()) {
    element->SetPropValue("HBv2_Std_Discount", "0.85");
    element->SetPropValue("HBv2_Std_Labor", "35");
    element->SetPropValue("HBv2_Weight", "4200");
  }
}

void BM_BookElements(benchmark::State& state) {
  const int references = static_cast<int>(state.range(0));
  for (auto _ : state) {
    auto run = MakeRun(state.range(1) != 0);
    AddElements(*run, references);
    benchmark::DoNotOptimize(run->GetBOM().GetRowCount());
  }
  state.SetItemsProcessed(state.iterations() * references * kElementsPerReference);
}
BENCHMARK(BM_BookElements)->ArgsProduct({{100, 300, 1000}, {0, 1}})->Unit(benchmark::kMillisecond);

// What a parts rebuild does: every line goes, then every element books itself again.
void BM_RebuildLines(benchmark::State& state) {
  const int references = static_cast<int>(state.range(0));
  auto run = MakeRun(true);
  AddElements(*run, references);
  std::vector<CDev*> devices = run->GetDevices();
  for (auto _ : state) {
    CBOMGrid& grid = run->GetBOM();
    grid.ClearLines();
    for (CDev* device : devices) grid.AddRefQuantity(device->GetReference(), 1);
    grid.NumberLines(1);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(devices.size()));
}
BENCHMARK(BM_RebuildLines)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

// Every cell of a priced bill shown again, as a change of the sales rate makes it.
void BM_RefreshPricedLines(benchmark::State& state) {
  const int references = static_cast<int>(state.range(0));
  auto run = MakeRun(true);
  AddPricedElements(*run, references);
  for (auto _ : state) run->GetBOM().NumberLines(0);
  state.SetItemsProcessed(state.iterations() * references);
}
BENCHMARK(BM_RefreshPricedLines)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_StoreAndLoadGrid(benchmark::State& state) {
  const int references = static_cast<int>(state.range(0));
  auto run = MakeRun(false);
  AddElements(*run, references);
  CArchiveWriter writer;
  run->GetBOM().Serialize(writer);
  const std::vector<std::uint8_t> bytes = writer.Bytes();
  for (auto _ : state) {
    CArchiveWriter again;
    run->GetBOM().Serialize(again);
    CArchiveReader reader(bytes);
    run->GetBOM().Serialize(reader, 10000);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_StoreAndLoadGrid)->Arg(300)->Unit(benchmark::kMillisecond);

}  // namespace
