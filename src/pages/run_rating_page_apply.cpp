// What the rating page writes: each list's choice at once, the typed current on apply.

#include "pages/run_rating_page.h"

#include "model/run/run.h"
#include "model/document/run_document.h"
#include "model/run/run_environment.h"
#include "pages/run_range_change.h"
#include "pages/run_rating_lists.h"

#include <algorithm>
#include <cctype>

namespace {

bool Within(int index, std::size_t size) {
  return index >= 0 && static_cast<std::size_t>(index) < size;
}

constexpr std::size_t kMostCurrentDigits = 9;
constexpr long long kPastEveryRating = 999'999'999;

// A typed current: a whole number of amperes, with or without its unit.
std::optional<long long> ParseCurrent(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == 'A' || text.back() == 'a'))
    text.pop_back();
  while (!text.empty() && text.front() == ' ') text.erase(text.begin());
  const bool digits = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c));
  });
  if (!digits) return std::nullopt;
  // A current past every rating, however many digits it has, asks for the top rating.
  text.erase(0, std::min(text.find_first_not_of('0'), text.size()));
  const long long value =
      text.size() <= kMostCurrentDigits ? std::stoll("0" + text) : kPastEveryRating;
  return value >= 1 ? std::optional<long long>(value) : std::nullopt;
}

}  // namespace

CApplyOutcome CRunRatingPage::DoApply() {
  if (m_typedCurrent == m_currentText) return Unchanged();
  return OnCurrentEntered(m_typedCurrent);
}

CApplyOutcome CRunRatingPage::OnCatalogueChange(int index) {
  CRun* run = Run();
  if (run == nullptr) return Unchanged();
  if (!Within(index, m_catalogues.size())) return Refused();
  const auto& entries = CRunEnvironment::Instance().Catalogues();
  const std::size_t entry = static_cast<std::size_t>(m_catalogues[static_cast<std::size_t>(index)]);
  if (entry >= entries.size()) return Refused();
  const CRangeChangeResult result = run_range::ChangeRunRange(*run, entries[entry].code);
  if (result.outcome == CRangeChangeResult::EOutcome::kRefused)
    return Refused(result.message, result.argument);
  if (result.outcome == CRangeChangeResult::EOutcome::kUnchanged) return Unchanged();
  // This page's run is gone; the window shows the new run's pages.
  m_catalogueChoice = index;
  return Applied();
}

CApplyOutcome CRunRatingPage::OnRatingChange(int index) {
  CRun* run = Run();
  const std::vector<CCodeLabelRow>* rows = run != nullptr ? run->GetRatingList() : nullptr;
  if (rows == nullptr) return Unchanged();
  if (!Within(index, m_ratings.size())) return Refused();
  const std::string& value =
      (*rows)[static_cast<std::size_t>(m_ratings[static_cast<std::size_t>(index)])].code;
  if (value == run->GetPropText("Calibre")) return Unchanged();
  CRunDocument* document = run->GetDocument();
  if (document != nullptr) document->SaveUndoState(kActionRunRating);
  if (run->GetStartMarker() == nullptr) run->RebuildBOM(true);
  run->SetProp("Calibre", value);
  FollowRating(*run);
  run_range::RefreshCatalogueKnown(*run);
  if (document != nullptr) {
    document->SetModified();
    document->UpdateAllViews();
  }
  Load();
  return Applied();
}

// What depends on the rating: the run's standard lengths for two special ratings, and the
// sizes of its elements.
void CRunRatingPage::FollowRating(CRun& run) {
  const std::string catalog = run.GetPropText("Catalog");
  const std::string calibre = run.GetPropText("Calibre");
  CRunDocument* document = run.GetDocument();
  const int lengthMask = catalog == "QPA" && calibre == "99"   ? 11
                         : catalog == "QDA" && calibre == "16" ? 6
                                                               : 0;
  if (lengthMask != 0) {
    run.RebuildLengthRecords(lengthMask);
    if (document != nullptr) document->RecomputeTotals(1, 0);
  }
  if (run.GetStartMarker() != nullptr && document != nullptr) document->PlaceRunMarker(run);
  else run.ApplyRating(nullptr, true);
}

CApplyOutcome CRunRatingPage::OnNeutralChange(int index) {
  CRun* run = Run();
  const std::vector<CCodeLabelRow>* rows = run != nullptr ? run->GetNeutralList() : nullptr;
  if (rows == nullptr || !m_neutralShown) return Unchanged();
  if (!Within(index, m_neutrals.size())) return Refused();
  const std::string& value =
      (*rows)[static_cast<std::size_t>(m_neutrals[static_cast<std::size_t>(index)])].code;
  if (value == run->GetPropText("Neutral")) return Unchanged();
  const std::string catalog = run->GetPropText("Catalog");
  CRunDocument* document = run->GetDocument();
  if (document != nullptr) document->SaveUndoState(kActionRunRating);
  run->SetProp("Neutral", value);
  if (run->GetPartsState() != 0) run->RebuildBOM(true);
  const long long number = ReadBoundedInt(value, 0, 99, 0);
  if (catalog.starts_with("QG")) {
    if (run->GetStartMarker() != nullptr && document != nullptr) document->PlaceRunMarker(*run);
    else run->ApplyRating(nullptr, true);
  } else if (catalog == "QMA" && run->GetPropText("Calibre") == "25" &&
             run->GetStartMarker() == nullptr && (number < 6 || number > 8)) {
    run->ApplyRating(nullptr, true);
  }
  run_range::RefreshCatalogueKnown(*run);
  if (document != nullptr) {
    document->SetModified();
    document->RebuildScene();
    document->UpdateAllViews();
  }
  Load();
  return Applied();
}

CApplyOutcome CRunRatingPage::OnTemperatureChange(int index) {
  CRun* run = Run();
  if (run == nullptr) return Unchanged();
  if (!Within(index, m_temperatures.size())) return Refused();
  m_temperatureChoice = index;
  ShowCurrent(*run);
  const std::string value = std::to_string(m_temperatures[static_cast<std::size_t>(index)]);
  if (value == run->GetPropText("TEMP")) return Unchanged();
  Edit(kActionRunRating, [&] { run->SetProp("TEMP", value); });
  return Applied();
}

void CRunRatingPage::OnColourChange(int index) {
  CRun* run = Run();
  if (run == nullptr || !m_colourShown) return;
  const std::string value = index == 1 ? "7035" : "";
  if (value == run->GetPropText("RAL")) return;
  Edit(kActionRunRating, [&] { run->SetProp("RAL", value); });
  m_colourChoice = index == 1 ? 1 : 0;
}

CApplyOutcome CRunRatingPage::OnCurrentEntered(const std::string& text) {
  CRun* run = Run();
  const std::vector<CCodeLabelRow>* rows = run != nullptr ? run->GetRatingList() : nullptr;
  if (rows == nullptr || m_ratings.empty()) return Unchanged();
  const std::optional<long long> current = ParseCurrent(text);
  if (!current) {
    m_typedCurrent = m_currentText;
    return Refused(kMsgCurrentRefused, {}, kFieldCurrent);
  }
  const int choice = run_rating::RatingForCurrent(*rows, m_ratings, *current, ChosenFactor());
  const CApplyOutcome outcome = OnRatingChange(choice);
  if (Run() != nullptr) ShowCurrent(*Run());
  return outcome;
}
