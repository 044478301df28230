#pragma once

#include "platform/draw_types.h"
#include "platform/log_font.h"

// The font and colour the grid draws a cell with, and whether the cell is selected
// (a selected cell keeps the highlight text colour even when it has its own colour).
// While ignoreOwnFonts is on, text cells draw and measure in this font, not their own.
struct CGridTextStyle {
  CLogFont font;
  CColor color;
  bool selected = false;
  bool ignoreOwnFonts = false;
};
