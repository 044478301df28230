#pragma once

#include "view/font_measurer.h"

// Measures without fonts, from the height alone: |height| pixels (16 for the default 0)
// with a fifth below the baseline and a tenth of internal leading (inside that height for
// a cell height, on top of it for a character height, which is negative), every
// character half of |height| wide. For targets that have no
// fonts (recording for tests, benchmarks); it is not what the screen shows.
class CNominalFontMeasurer : public CFontMeasurer {
 public:
  CTextMetrics Metrics(const CLogFont& font) const override;
  CSize Extent(const CLogFont& font, std::string_view text) const override;
};
