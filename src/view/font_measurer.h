#pragma once

#include <cstdint>
#include <string_view>

#include "platform/draw_types.h"
#include "platform/log_font.h"

// What a font gives once it is made, in device pixels.
struct CTextMetrics {
  std::int32_t height = 0;  // ascent plus descent
  std::int32_t ascent = 0;
  std::int32_t descent = 0;
  std::int32_t internalLeading = 0;  // room for accents inside the ascent
  std::int32_t averageCharWidth = 0;
  std::int32_t weight = 400;  // the weight made, 400 for a font that asked for 0
  bool italic = false;
  bool operator==(const CTextMetrics&) const = default;
};

// Measures text in fonts given in device pixels (a font description whose height is
// already in pixels), so that the drawing context and the DXF writer can size texts
// without a window. The window side measures with the desktop's fonts.
class CFontMeasurer {
 public:
  virtual ~CFontMeasurer() = default;
  virtual CTextMetrics Metrics(const CLogFont& font) const = 0;
  // The extent of the text as one line.
  virtual CSize Extent(const CLogFont& font, std::string_view text) const = 0;
};
