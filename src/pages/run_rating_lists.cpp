#include "pages/run_rating_lists.h"

#include "pages/prop_page.h"

#include <cmath>
#include <limits>

namespace run_rating {

namespace {

// Whole numbers of stored codes are read with bounds: a code may hold anything.
constexpr long long kLargestCode = 1000000;

long long CodeNumber(std::string_view code) { return ReadBoundedInt(code, 0, kLargestCode, 0); }

bool OffersRating(std::string_view catalog, std::string_view neutral, long long rating) {
  if (catalog == "QDT") return rating != 16;
  if (catalog != "QMA") return true;
  if (neutral == "6") return rating == 25 || rating == 32;
  if (neutral == "8") return rating == 25;
  return true;
}

bool OffersNeutral(std::string_view catalog, long long calibre, std::string_view neutral) {
  if (catalog == "QJF") return !(calibre < 26 && neutral == "0.5");
  if (!catalog.starts_with("QM")) return true;
  const bool plain = catalog != "QMC";
  if (neutral == "6") return plain && (calibre == 25 || calibre == 32);
  if (neutral == "8") return plain && calibre == 25;
  return true;
}

}  // namespace

std::vector<int> OfferedCatalogues(const std::vector<CCatalogueEntry>& catalogues,
                                   std::string_view runCatalog) {
  std::vector<int> offered;
  for (std::size_t i = 0; i < catalogues.size(); ++i) {
    const std::string& code = catalogues[i].code;
    if (code.starts_with("QW") && code != runCatalog) continue;
    offered.push_back(static_cast<int>(i));
  }
  return offered;
}

std::vector<int> OfferedRatings(const std::vector<CCodeLabelRow>& ratings, std::string_view catalog,
                                std::string_view neutral) {
  std::vector<int> offered;
  for (std::size_t i = 0; i < ratings.size(); ++i)
    if (OffersRating(catalog, neutral, CodeNumber(ratings[i].code)))
      offered.push_back(static_cast<int>(i));
  return offered;
}

std::vector<int> OfferedNeutrals(const std::vector<CCodeLabelRow>& neutrals,
                                 std::string_view catalog, std::string_view calibre) {
  std::vector<int> offered;
  const long long rating = CodeNumber(calibre);
  for (std::size_t i = 0; i < neutrals.size(); ++i)
    if (OffersNeutral(catalog, rating, neutrals[i].code)) offered.push_back(static_cast<int>(i));
  return offered;
}

std::vector<CTemperatureEntry> UsableTemperatures(const std::vector<CTemperatureEntry>& table) {
  std::vector<CTemperatureEntry> usable;
  for (const CTemperatureEntry& entry : table) {
    if (!(entry.value > 0.0) || !std::isfinite(entry.value)) break;
    if (usable.size() >= static_cast<std::size_t>(kMaxTemperatureEntries)) break;
    usable.push_back(entry);
  }
  return usable;
}

int NearestTemperature(const std::vector<CTemperatureEntry>& temperatures, double wanted) {
  int nearest = -1;
  double best = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < temperatures.size(); ++i) {
    const double distance = std::fabs(temperatures[i].temperature - wanted);
    if (distance < best) {
      best = distance;
      nearest = static_cast<int>(i);
    }
  }
  return nearest;
}

std::string RatingText(std::string_view label) {
  const std::size_t slash = label.find('/');
  return std::string(slash == std::string_view::npos ? label : label.substr(slash + 1));
}

long long RatingAmperes(std::string_view code) {
  const long long number = CodeNumber(code);
  if (number <= 0) return 0;
  return number * 100 + (number == 12 || number == 13 ? 50 : 0);
}

std::optional<long long> CarriedCurrent(std::string_view code, double factor) {
  const long long amperes = RatingAmperes(code);
  if (amperes <= 0 || !(factor > 0.0) || !std::isfinite(factor)) return std::nullopt;
  return static_cast<long long>(static_cast<double>(amperes) * factor);
}

int RatingForCurrent(const std::vector<CCodeLabelRow>& ratings, const std::vector<int>& offered,
                     long long current, double factor) {
  if (offered.empty()) return -1;
  long long need = std::max(1LL, current);
  if (factor > 0.0 && std::isfinite(factor))
    need = static_cast<long long>(static_cast<double>(need) / factor);
  // From the top down: the entry after the first rating below the need.
  for (int i = static_cast<int>(offered.size()) - 1; i >= 0; --i) {
    const CCodeLabelRow& row =
        ratings[static_cast<std::size_t>(offered[static_cast<std::size_t>(i)])];
    if (RatingAmperes(row.code) < need)
      return std::min(i + 1, static_cast<int>(offered.size()) - 1);
  }
  return 0;
}

}  // namespace run_rating
