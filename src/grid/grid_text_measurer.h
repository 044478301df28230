#pragma once

#include <string_view>

#include "platform/draw_types.h"
#include "platform/log_font.h"

struct CGridFontMetrics {
  int height = 0;  // ascent plus descent
  int averageCharWidth = 0;
};

// Measures text for the grid, so that sizes can be computed (and tested) without a
// window. The window side measures with the screen's fonts.
class CGridTextMeasurer {
 public:
  virtual ~CGridTextMeasurer() = default;

  // The extent of one line (no line feeds) in the font; an empty line is 0 wide and
  // one line high.
  virtual CSize MeasureLine(const CLogFont& font, std::string_view line) const = 0;
  virtual CGridFontMetrics MeasureFont(const CLogFont& font) const = 0;
};
