#pragma once

#include <QFont>
#include <QFontMetrics>

#include <optional>

#include "grid/grid_text_measurer.h"

// Measures the grid's text with the screen's fonts.
class CQtTextMeasurer : public CGridTextMeasurer {
 public:
  CSize MeasureLine(const CLogFont& font, std::string_view line) const override;
  CGridFontMetrics MeasureFont(const CLogFont& font) const override;

 private:
  const QFontMetrics& Metrics(const CLogFont& font) const;

  mutable CLogFont m_lastLogFont;
  mutable std::optional<QFontMetrics> m_lastMetrics;
};
