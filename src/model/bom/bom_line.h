#pragma once

#include <cstdint>
#include <string>

#include "model/bom/bom_kept_record.h"

// One row of a bill-of-materials grid: the title row (its reference is never used), a
// line, or the edit line (the last row, where a new reference is typed).
struct CBOMLine {
  // The catalogue reference, possibly followed by a group suffix (see bom_group.h).
  std::string reference;
  // Never negative; at most CBOMGrid::kMaxQuantity.
  std::int64_t quantity = 0;
  // The row that shows the line, kept equal to its index in the grid's line list.
  int row = 0;
  // The row is fitted to its cells whenever the line is refreshed.
  bool autoRowHeight = true;
  // Which record the source read the line's values from last; the source checks it.
  mutable CBOMKeptRecord kept;
};
