#pragma once

#include <QFont>
#include <QFontMetrics>

#include <optional>

#include "grid/grid_text_measurer.h"

class CLineWidths;

// Measures the grid's text with the screen's fonts. The widths found are kept for every
// measurer of the program: a text in a font is as wide each time it is measured.
class CQtTextMeasurer : public CGridTextMeasurer {
 public:
  CSize MeasureLine(const CLogFont& font, std::string_view line) const override;
  CGridFontMetrics MeasureFont(const CLogFont& font) const override;

 private:
  const QFontMetrics& Metrics(const CLogFont& font) const;

  mutable CLogFont m_lastLogFont;
  mutable std::optional<QFontMetrics> m_lastMetrics;
  mutable CLineWidths* m_lastWidths = nullptr;  // those of the last font; none when too many
};
