// The total page is recomputed after every change of any run's bill of materials, so
// merging every run's lines must stay well within a frame: each line costs a few
// indexed look-ups by reference, never a walk over the other lines or the elements.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "model/bom/bom_grid.h"
#include "model/bom/bom_totals.h"
#include "model/document/dorne_doc.h"
#include "model/element/dev.h"
#include "model/run/run.h"

namespace {

// Runs of lines references each, half of them shared by every run (so the totals merge),
// half their own; each reference is used by two elements holding a price and a weight.
std::vector<std::unique_ptr<CRun>> MakeRuns(int runs, int references) {
  std::vector<std::unique_ptr<CRun>> made;
  for (int r = 0; r < runs; ++r) {
    auto run = std::make_unique<CRun>();
    CBOMGrid& grid = run->GetBOM();
    for (int kind : {kBOMKindQuantity, kBOMKindUnitPrice, kBOMKindTotalPrice, kBOMKindSalesPrice,
                     kBOMKindTotalWeight, kBOMKindDesignation}) {
      grid.InsertColumn(grid.GetColumnCount() - 1, kind, "Column");
    }
    for (int i = 0; i < references; ++i) {
      const std::string reference = "REF-" + std::to_string(i % 2 == 0 ? i : r * references + i);
      for (int copy = 0; copy < 2; ++copy) {
        CDev* element = run->NewElement();
        element->SetKind(CDev::kInLine);
        element->SetActive(1);
        element->SetReference(reference);
        element->SetPropValue("HBv2_Std_Cost", std::to_string(100 + i));
        element->SetPropValue("HBv2_Designation", "Unit " + reference);
        run->AddDevice(element);
      }
    }
    made.push_back(std::move(run));
  }
  return made;
}

void BM_RecomputeTotals(benchmark::State& state) {
  const int runs = static_cast<int>(state.range(0));
  const int references = static_cast<int>(state.range(1));
  const bool values = state.range(2) != 0;
  const bool rebuild = state.range(3) != 0;
  const std::vector<std::unique_ptr<CRun>> made = MakeRuns(runs, references);
  std::vector<CBOMTotalsPage> pages;
  for (const auto& run : made) pages.push_back({&run->GetBOM(), true});
  CBOMGrid total;
  total.CopyLayoutFrom(made.front()->GetBOM());
  CBOMTotals totals;
  CRun& changed = *made[static_cast<std::size_t>(runs / 2)];
  const std::string reference = changed.GetBOM().GetLine(1)->reference;
  for (auto _ : state) {
    // A change of one run: a quantity (the usual case), or a new line order that makes
    // the total page be rebuilt.
    changed.GetBOM().AddRefQuantity(reference, 1);
    changed.GetBOM().RemoveRefQuantity(reference, 1);
    if (rebuild) total.ClearLines();
    const CBOMTotals::CResult result = totals.Compute(total, pages, values, false);
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations() * runs * references);
  state.counters["total_lines"] = total.GetLineCount() - 1;
}
// Arguments: runs, lines per run, values (1) or quantities only, rebuild of the page.
BENCHMARK(BM_RecomputeTotals)
    ->ArgsProduct({{100}, {200}, {0, 1}, {0, 1}})
    ->Args({10, 200, 1, 1})
    ->Unit(benchmark::kMillisecond);

// The document's totals of a priced bill after a change of one line: each line's total
// price, sale price, total weight and laying time, all four standing on its quantity.
void BM_SumPricedBill(benchmark::State& state) {
  const int references = static_cast<int>(state.range(0));
  CDorneDoc document;
  auto made = std::make_unique<CRun>(&document);
  for (int i = 0; i < references; ++i) {
    for (int copy = 0; copy < 2; ++copy) {
      CDev* element = made->NewElement();
      element->SetKind(CDev::kInLine);
      element->SetActive(1);
      element->SetReference("REF-" + std::to_string(i));
      element->SetPropValue("HBv2_Std_Cost", std::to_string(1000 + i));
      element->SetPropValue("HBv2_Std_Discount", "0.85");
      element->SetPropValue("HBv2_Std_Labor", std::to_string(25 + i % 50));
      element->SetPropValue("HBv2_Weight", std::to_string(3000 + i));
      made->AddDevice(element);
    }
  }
  CRun& run = *made;
  document.AddRun(std::move(made));
  const std::string reference = run.GetBOM().GetLine(1)->reference;
  for (auto _ : state) {
    run.GetBOM().AddRefQuantity(reference, 1);
    run.GetBOM().RemoveRefQuantity(reference, 1);
    benchmark::DoNotOptimize(document.ComputeRunTotals(false));
  }
  state.SetItemsProcessed(state.iterations() * references);
}
BENCHMARK(BM_SumPricedBill)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
