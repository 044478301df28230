#pragma once

#include "grid/grid_color.h"
#include "app/log_font.h"

// The font and colour the grid draws a cell with, and whether the cell is selected
// (a selected cell keeps the highlight text colour even when it has its own colour).
struct CGridTextStyle {
  CLogFont font;
  CGridColor color;
  bool selected = false;
};
