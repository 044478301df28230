#pragma once

#include <optional>
#include <string>

#include "platform/draw_types.h"
#include "platform/log_font.h"

// What the bill-of-materials properties dialog shows and gives back, in one of its
// modes. Sizes are texts: the auto word (message 7510) for sizes fitted to the cells,
// a number, or empty for no change.
struct CBOMCellProps {
  enum Mode { kCell = 1, kCells, kRow, kRows, kColumn, kColumns, kGrid };

  std::string rowHeight;
  std::string columnWidth;
  std::string text;   // a column's title; the item prefix for the whole grid
  int alignment = 0;  // 0 left, 1 centred, 2 right
  int kind = 0;       // a column's kind
  CLogFont font;
  CColor color;
  bool fontChosen = false;  // the font dialog was confirmed: font and colour apply
};
