#include "pages/phase_arrangement.h"

#include <algorithm>

namespace {

constexpr int kElOne = 0;
constexpr int kElThree = 1;
constexpr int kElFour = 2;

// Set 1 and set 2 are halves of set 3: the element-4 piece offers the half that its
// phase order allows.
int EntrySet(const CArrangementPlace& place) {
  if (place.piece != kElFour) return 3;
  return place.phaseCodeZero ? 2 : 1;
}

bool IsSideways(const CArrangementPlace& place) {
  return place.direction == 2 || place.direction == 3;
}

bool IsTwoEntries(const CArrangementPlace& place) {
  return place.noNeutral || place.piece == kElFour;
}

}  // namespace

std::vector<std::string> ArrangementEntries(const CArrangementPlace& place) {
  if (place.noNeutral) return {"L1/L2/L3", "L3/L2/L1"};
  const int set = EntrySet(place);
  std::vector<std::string> entries;
  if (set != 2) entries.push_back("L1/N/L2/L3");
  if (set != 1) entries.insert(entries.end(), {"L1/L2/N/L3", "L3/N/L2/L1"});
  if (set != 2) entries.push_back("L3/L2/N/L1");
  return entries;
}

bool IsArrangementEnabled(const CArrangementPlace& place) {
  if (place.partsBuilt) return false;
  return place.piece != kElFour || IsSideways(place) || place.rotation == 32 ||
         place.rotation == 128;
}

int DefaultArrangement(const CArrangementPlace& place) {
  int arrangement = 1;
  if (!IsArrangementEnabled(place))
    arrangement = place.neighbourOnDirection == (place.rotation == 64) ? 1 : 4;
  if (EntrySet(place) == 2) arrangement = arrangement == 1 ? 3 : 2;
  return arrangement;
}

int StoredArrangement(const CArrangementPlace& place, int index) {
  int arrangement = std::max(index, 0) + 1;
  if (arrangement == 2 && IsTwoEntries(place)) arrangement = 4;
  if (place.piece == kElFour && place.phaseCodeZero) arrangement = arrangement == 1 ? 4 : 1;
  return arrangement;
}

int ArrangementIndex(const CArrangementPlace& place, int arrangement) {
  const int count = static_cast<int>(ArrangementEntries(place).size());
  if (place.piece == kElFour && place.phaseCodeZero && (arrangement == 1 || arrangement == 4))
    return arrangement == 4 ? 0 : 1;
  if (IsTwoEntries(place)) return arrangement > 2 ? 1 : 0;
  return std::clamp(arrangement - 1, 0, count - 1);
}

bool IsVariant6TurnShown(const CArrangementPlace& place) {
  if (place.partsBuilt) return false;
  if (place.piece == kElThree) return true;
  const bool across = place.rotation == 32 || place.rotation == 128;
  return place.piece == kElOne && (IsSideways(place) || place.largeCalibre != across);
}
