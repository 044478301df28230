#include "export/cost_summary.h"
#include "platform/number_format.h"

#include "app/message_text.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "platform/text_conversions.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace {

constexpr std::array<std::string_view, 4> kCostKeys = {"COST_STD_C", "COST_JCT_C", "COST_STD_A",
                                                       "COST_JCT_A"};
// The names of the four alternatives, in the order of kCostKeys.
constexpr int kMsgStdCopper = 8165;
constexpr int kMsgJctCopper = 8166;
constexpr int kMsgStdAluminium = 8167;
constexpr int kMsgJctAluminium = 8168;
constexpr std::array<int, 4> kAlternativeTexts = {kMsgStdCopper, kMsgJctCopper, kMsgStdAluminium,
                                                  kMsgJctAluminium};
constexpr int kMsgCheaperHeading = 30098;

bool HasAlternatives(const CRun& run) {
  const std::string catalog = run.GetPropText("Catalog");
  if (catalog.size() <= 2 || run.GetCatalogueKnown() == 0) return false;
  return catalog[1] == 'M' || catalog[1] == 'G' || catalog[1] == 'P';
}

// Kept as a property and read back with a point whatever the user's locale.
std::string Format2(double value) { return CNumberFormat::Parse("%.2f")->Apply(value); }

void MakeCopies(CDorneDoc& document) {
  const std::vector<CRun*> runs = document.GetRuns();
  for (std::size_t i = runs.size(); i-- > 0;) {
    CRun& run = *runs[i];
    for (std::string_view key : kCostKeys) run.SetPropValue(key, "");
    if (!HasAlternatives(run)) continue;
    const int number = static_cast<int>(i) + 1;
    CRun* copy = document.GetRunAt(document.DuplicateRun(number));
    if (copy == nullptr || copy == &run) continue;
    copy->SetCatalogueKnown(-number);
    std::string elbows = copy->GetPropText("ELBOWS");
    if (elbows.empty() && run.GetPropText("Catalog").starts_with("QG")) elbows = "JCT";
    copy->SetPropValue("ELBOWS", elbows == "ALL" || elbows == "JCT" ? "STD" : "JCT");
  }
}

void CollectCopies(CDorneDoc& document) {
  const std::vector<CRun*> runs = document.GetRuns();
  for (std::size_t i = runs.size(); i-- > 0;) {
    CRun* copy = runs[i];
    const int known = copy->GetCatalogueKnown();
    if (known >= 0) continue;
    const std::string elbows = copy->GetPropText("ELBOWS");
    const std::string catalog = copy->GetPropText("Catalog");
    const std::string key = std::string("COST_") +
                            (elbows == "ALL" || elbows == "JCT" ? "JCT_" : "STD_") +
                            (catalog.size() > 2 ? catalog.substr(2, 1) : std::string());
    std::string value = Format2(copy->GetKeptTotals()[1]);
    if (copy->GetPartsState() != 2) value = "-" + value;
    if (CRun* owner = document.GetRunAt(-known - 1);
        owner != nullptr && owner->GetCatalogueKnown() >= 0)
      owner->SetPropValue(key, value);
    document.RemoveRun(copy);
  }
}

std::string CheaperText(CDorneDoc& document) {
  if (document.GetTotalsCount() < document.GetRunCount() + 1) document.ComputeRunTotals(true);
  std::string lines;
  const std::vector<CRun*> runs = document.GetRuns();
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const CRun& run = *runs[i];
    const CDorneDoc::CTotals* totals = document.GetTotals(static_cast<int>(i) + 1);
    if (run.GetCatalogueKnown() < 0 || totals == nullptr || (*totals)[1] <= 0) continue;
    for (std::size_t k = 0; k < kCostKeys.size(); ++k) {
      const double cost = TextToDouble(run.GetPropText(kCostKeys[k]));
      if (cost <= 0 || cost >= (*totals)[1]) continue;
      char percent[32];
      std::snprintf(percent, sizeof percent, "%+0d %%",
                    static_cast<int>(std::lround((cost / (*totals)[1] - 1.0) * 100.0)));
      lines += "\n- " + run.GetPropText("Name") + ": " + StringText(kAlternativeTexts[k]) + " " +
               percent;
    }
  }
  if (lines.empty()) return {};
  return "\n\n---\n" + StringText(kMsgCheaperHeading) + lines;
}

}  // namespace

std::string BuildCostSummary(CDorneDoc& document, int mode) {
  if (mode == 1) MakeCopies(document);
  else if (mode == 0) CollectCopies(document);
  else return CheaperText(document);
  return {};
}
