#pragma once

#include <string>
#include <string_view>

class CRun;

// How a change of a run's catalogue ended.
struct CRangeChangeResult {
  enum class EOutcome { kUnchanged, kChanged, kRefused };
  EOutcome outcome = EOutcome::kUnchanged;
  CRun* run = nullptr;  // the run that now stands in the document (the new one when changed)
  int message = 0;      // why it was refused, with its argument
  std::string argument;
};

namespace run_range {

// The undo action of a change of a run's catalogue, rating or neutral.
inline constexpr int kActionRunRating = 21104;
// A table of the new range could not be read: %1 names it.
inline constexpr int kMsgRangeTableMissing = 31570;

// Replaces a run of a layout document by a run of the catalogue's range: the new run is
// made and its tables read first, and only when they are whole does anything change
// (one undo step, the old run's bill rebuilt to its generic form, the new run taking
// over its elements and place, the old run destroyed, the new run's rating chosen and
// its pages shown). A code that names no range, the run's own code, or a run without
// document changes nothing. The old run is destroyed when the change is made: callers
// hold it no longer.
CRangeChangeResult ChangeRunRange(CRun& run, std::string_view catalog);

// A run without a rating takes the first one offered, and the run follows it (its start
// re-placed, or the rating applied to its elements). True when it wrote one.
bool ChooseDefaultRating(CRun& run);

// The catalogue-known flag recomputed, as the layout commands read it.
void RefreshCatalogueKnown(CRun& run);

}  // namespace run_range
