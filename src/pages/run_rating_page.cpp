#include "pages/run_rating_page.h"

#include "model/props/page_kinds.h"
#include "model/run/run.h"
#include "model/document/run_document.h"
#include "model/run/run_environment.h"
#include "pages/run_range_change.h"
#include "pages/run_rating_lists.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int kMsgRatingCaption = 2560;
constexpr int kDefaultTemperature = 35;
// Stored numbers may hold anything: beyond these they count as absent.
constexpr long long kLowestTemperature = -100;
constexpr long long kHighestTemperature = 200;
constexpr long long kLargestCurrent = 1000000;

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The position of the row whose code is the value; -1 when none.
int ChoiceOf(const std::vector<CCodeLabelRow>& rows, const std::vector<int>& offered,
             const std::string& value) {
  for (std::size_t i = 0; i < offered.size(); ++i)
    if (rows[static_cast<std::size_t>(offered[i])].code == value) return static_cast<int>(i);
  return -1;
}

bool Within(int index, std::size_t size) {
  return index >= 0 && static_cast<std::size_t>(index) < size;
}

}  // namespace

int CRunRatingPage::GetPageKind() const { return kPageRunRating; }

int CRunRatingPage::GetCaptionMessage() const { return kMsgRatingCaption; }

CRun* CRunRatingPage::Run() const { return dynamic_cast<CRun*>(GetObject()); }

void CRunRatingPage::DoLoad() {
  CRun* run = Run();
  if (run == nullptr) return;
  LoadCatalogues(*run);
  if (m_catalogueChoice >= 0) run_range::ChooseDefaultRating(*run);
  LoadRatings(*run);
  LoadTemperatures(*run);
  LoadNeutrals(*run);
}

void CRunRatingPage::LoadCatalogues(const CRun& run) {
  const auto& entries = CRunEnvironment::Instance().Catalogues();
  const std::string catalog = run.GetPropText("Catalog");
  m_catalogues = run_rating::OfferedCatalogues(entries, catalog);
  m_catalogueTexts.clear();
  m_catalogueChoice = -1;
  for (int index : m_catalogues) {
    const CCatalogueEntry& entry = entries[static_cast<std::size_t>(index)];
    if (entry.code == catalog) m_catalogueChoice = static_cast<int>(m_catalogueTexts.size());
    m_catalogueTexts.push_back(UpperCase(entry.code) + " : " + entry.label);
  }
}

void CRunRatingPage::LoadRatings(const CRun& run) {
  m_ratings.clear();
  m_ratingTexts.clear();
  m_ratingChoice = -1;
  const std::vector<CCodeLabelRow>* rows = run.GetRatingList();
  if (rows == nullptr) return;
  m_ratings =
      run_rating::OfferedRatings(*rows, run.GetPropText("Catalog"), run.GetPropText("Neutral"));
  for (int index : m_ratings)
    m_ratingTexts.push_back(run_rating::RatingText((*rows)[static_cast<std::size_t>(index)].label));
  m_ratingChoice = ChoiceOf(*rows, m_ratings, run.GetPropText("Calibre"));
}

void CRunRatingPage::LoadNeutrals(const CRun& run) {
  m_neutrals.clear();
  m_neutralTexts.clear();
  m_neutralChoice = -1;
  const std::string neutral = run.GetPropText("Neutral");
  const std::string catalog = run.GetPropText("Catalog");
  m_neutralShown = !neutral.empty();
  const std::vector<CCodeLabelRow>* rows = run.GetNeutralList();
  if (!m_neutralShown || rows == nullptr) return;
  m_neutrals = run_rating::OfferedNeutrals(*rows, catalog, run.GetPropText("Calibre"));
  for (int index : m_neutrals)
    m_neutralTexts.push_back((*rows)[static_cast<std::size_t>(index)].label);
  m_neutralChoice = ChoiceOf(*rows, m_neutrals, neutral);
  if (m_neutralChoice < 0) m_neutralChoice = ChoiceOf(*rows, m_neutrals, "4");
  if (m_neutralChoice < 0) m_neutralChoice = static_cast<int>(m_neutrals.size()) - 1;
  const long long number = ReadBoundedInt(neutral, 0, 99, 0);
  m_colourShown =
      catalog == "QMA" && run.GetPropText("Calibre") == "25" && number >= 6 && number <= 8;
  m_colourChoice = ReadBoundedInt(run.GetPropText("RAL"), 0, 99999, 0) == 7035 ? 1 : 0;
}

void CRunRatingPage::LoadTemperatures(const CRun& run) {
  m_factors.clear();
  m_temperatures.clear();
  m_temperatureTexts.clear();
  m_temperatureChoice = -1;
  m_colourShown = false;
  const std::vector<CTemperatureEntry>* table = run.GetTemperatureTable();
  if (table != nullptr) {
    for (const CTemperatureEntry& entry : run_rating::UsableTemperatures(*table)) {
      m_factors.push_back(entry.value);
      m_temperatures.push_back(static_cast<int>(entry.temperature));
      m_temperatureTexts.push_back(std::to_string(m_temperatures.back()) + "\u00B0C");
    }
  }
  const long long wanted = ReadBoundedInt(run.GetPropText("TEMP"), kLowestTemperature,
                                          kHighestTemperature, kDefaultTemperature);
  std::vector<CTemperatureEntry> entries;
  for (int t : m_temperatures) entries.push_back({1.0, static_cast<double>(t)});
  m_temperatureChoice = run_rating::NearestTemperature(entries, static_cast<double>(wanted));
  ShowCurrent(run);
}

double CRunRatingPage::ChosenFactor() const {
  return Within(m_temperatureChoice, m_factors.size())
             ? m_factors[static_cast<std::size_t>(m_temperatureChoice)]
             : 0.0;
}

void CRunRatingPage::ShowCurrent(const CRun& run) {
  m_currentText.clear();
  const std::optional<long long> current =
      run_rating::CarriedCurrent(run.GetPropText("Calibre"), ChosenFactor());
  if (current && m_ratingChoice >= 0) m_currentText = std::to_string(*current) + " A";
  m_typedCurrent = m_currentText;
}
