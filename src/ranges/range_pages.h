#pragma once

#include "model/props/page_kinds.h"

// The property pages that range runs add to the common ones, shared by several ranges
// (range number 0 of the page numbering in page_kinds.h).
enum RangePageKind : int {
  kPageRunIP = kPageRangeFirst + 1,
  kPageRunLengths = kPageRangeFirst + 2,
  kPageRunSupport = kPageRangeFirst + 3,
  kPageRunThermal = kPageRangeFirst + 4,
  kPageRiser = kPageRangeFirst + 10,
  kPageMounting = kPageRangeFirst + 11,
  kPageSpecialShape = kPageRangeFirst + 12,      // made with the flag 1
  kPageSpecialShapeFlat = kPageRangeFirst + 13,  // made with the flag 0
  kPageClinq = kPageRangeFirst + 14,
  kPageAccessory = kPageRangeFirst + 15,
  kPageShapeDimensions = kPageRangeFirst + 16,
  kPageEntrax = kPageRangeFirst + 17,
};

// The element-page slot where a range's own element pages begin.
inline constexpr int kFirstRangeElementSlot = 7;
