#pragma once

#include "app/catalogue_entry.h"
#include "model/run/range_rules.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the rating page offers of a run's lists, and how a rating turns into amperes. The
// lists hold indexes into the run's own list (or the application's catalogue list), so
// that a choice names its row whatever the filters left out.
namespace run_rating {

// The catalogues offered to a run of that catalogue: every entry, the "QW" ones only
// when it is the run's own.
std::vector<int> OfferedCatalogues(const std::vector<CCatalogueEntry>& catalogues,
                                   std::string_view runCatalog);
// The ratings offered for the catalogue and neutral.
std::vector<int> OfferedRatings(const std::vector<CCodeLabelRow>& ratings, std::string_view catalog,
                                std::string_view neutral);
// The neutrals offered for the catalogue and rating.
std::vector<int> OfferedNeutrals(const std::vector<CCodeLabelRow>& neutrals,
                                 std::string_view catalog, std::string_view calibre);
// The temperatures of the table, up to its first factor of 0 or below.
std::vector<CTemperatureEntry> UsableTemperatures(const std::vector<CTemperatureEntry>& table);
// The entry nearest to the temperature (the first of equal distances); -1 when none.
int NearestTemperature(const std::vector<CTemperatureEntry>& temperatures, double wanted);

// The text a rating shows: what follows the first "/" of its label, else the label.
std::string RatingText(std::string_view label);

// A rating code ("Calibre": hundreds of amperes) in amperes; codes 12 and 13 are the
// half steps 1250 and 1350. 0 for a code that is not a number above 0.
long long RatingAmperes(std::string_view code);
// The current a rating carries at a derating factor, in whole amperes; none without a
// rating or factor above 0.
std::optional<long long> CarriedCurrent(std::string_view code, double factor);
// The offered rating (position in `offered`) that carries the current at the factor:
// the smallest whose amperes reach current / factor, else the largest; -1 when nothing
// is offered.
int RatingForCurrent(const std::vector<CCodeLabelRow>& ratings, const std::vector<int>& offered,
                     long long current, double factor);

}  // namespace run_rating
