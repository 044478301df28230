#pragma once

#include <QFont>
#include <QFontMetrics>

#include <optional>

#include "view/font_measurer.h"

// Measures with the desktop's fonts (as the grid's windows make them from a stored font
// description), in pixels of the screen.
class CQtFontMeasurer : public CFontMeasurer {
 public:
  CTextMetrics Metrics(const CLogFont& font) const override;
  CSize Extent(const CLogFont& font, std::string_view text) const override;

 private:
  const QFontMetrics& MetricsOf(const CLogFont& font) const;

  mutable CLogFont m_lastLogFont;
  mutable std::optional<QFontMetrics> m_lastMetrics;
  mutable QFont m_lastFont;
  mutable int m_lastPixelSize = 0;
};
