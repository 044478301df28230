#include "pages/run_range_change.h"

#include "model/run/run.h"
#include "model/document/run_document.h"
#include "model/run/run_factory.h"
#include "model/props/prop_window_notifier.h"
#include "pages/run_rating_lists.h"
#include "ranges/range_context.h"

#include <exception>
#include <memory>

namespace run_range {

namespace {

// The new run with its tables, made apart from the document so that a refusal leaves the
// document as it was; null with the reason set when its tables are not whole.
std::unique_ptr<CRun> MakeWholeRun(std::string_view catalog, CRangeChangeResult& result) {
  const CRunFactory& factory = CRunFactory::Instance();
  if (!factory.IsRegistered(CRunFactory::RangeKeyOfCode(catalog))) return nullptr;  // no range
  CRangeContext& context = CRangeContext::Instance();
  const int unreadableBefore = context.UnreadableTables();
  std::unique_ptr<CRun> made;
  try {
    made = factory.CreateForCatalog(catalog, nullptr);
  } catch (const std::exception& error) {
    result.argument = error.what();
  }
  if (made && made->GetPropText("Catalog") != catalog) return nullptr;  // no variant of it
  const bool shortRead = context.UnreadableTables() != unreadableBefore;
  const bool noRatings =
      made && (made->GetRatingList() == nullptr || made->GetRatingList()->empty());
  if (made && !shortRead && !noRatings) return made;
  result.outcome = CRangeChangeResult::EOutcome::kRefused;
  result.message = kMsgRangeTableMissing;
  if (shortRead) result.argument = context.LastUnreadableTable();
  if (result.argument.empty()) result.argument = std::string(catalog);
  return nullptr;
}

}  // namespace

CRangeChangeResult ChangeRunRange(CRun& run, std::string_view catalog) {
  CRangeChangeResult result;
  result.run = &run;
  CRunDocument* document = run.GetDocument();
  if (document == nullptr || catalog.empty() || run.GetPropText("Catalog") == catalog)
    return result;
  std::unique_ptr<CRun> made = MakeWholeRun(catalog, result);
  if (!made) return result;
  document->SaveUndoState(kActionRunRating);
  run.RebuildBOM(false);
  CRun* newRun = made.release();  // the document takes it in TakeOverRun
  newRun->TakeOverRun(run);
  // The document gave the old run back to us: nothing of it is used after this.
  std::unique_ptr<CRun>(&run).reset();
  ChooseDefaultRating(*newRun);
  RefreshCatalogueKnown(*newRun);
  document->SetModified();
  document->RecomputeTotals(1, 0);
  document->UpdateAllViews();
  newRun->NotifyPropDialog(kPropMsgRefresh);
  result.outcome = CRangeChangeResult::EOutcome::kChanged;
  result.run = newRun;
  return result;
}

bool ChooseDefaultRating(CRun& run) {
  const std::vector<CCodeLabelRow>* ratings = run.GetRatingList();
  if (ratings == nullptr || run.GetPropText("Catalog").empty()) return false;
  if (!run.GetPropText("Calibre").empty()) return false;
  const std::vector<int> offered =
      run_rating::OfferedRatings(*ratings, run.GetPropText("Catalog"), run.GetPropText("Neutral"));
  if (offered.empty()) return false;
  run.SetProp("Calibre", (*ratings)[static_cast<std::size_t>(offered.front())].code);
  if (run.GetStartMarker() != nullptr && run.GetDocument() != nullptr)
    run.GetDocument()->PlaceRunMarker(run);
  run.RebuildLengthRecords(0);
  run.ApplyRating(nullptr, true);
  RefreshCatalogueKnown(run);
  return true;
}

void RefreshCatalogueKnown(CRun& run) { run.SetCatalogueKnown(run.IsCatalogueKnown()); }

}  // namespace run_range
