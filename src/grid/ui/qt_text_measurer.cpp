#include "grid/ui/qt_text_measurer.h"

#include "grid/ui/grid_qt_convert.h"

CSize CQtTextMeasurer::MeasureLine(const CLogFont& font, std::string_view line) const {
  const QFontMetrics& metrics = Metrics(font);
  return {metrics.horizontalAdvance(tvr::grid::ToQString(line)), metrics.height()};
}

CGridFontMetrics CQtTextMeasurer::MeasureFont(const CLogFont& font) const {
  const QFontMetrics& metrics = Metrics(font);
  return {metrics.height(), metrics.averageCharWidth()};
}

const QFontMetrics& CQtTextMeasurer::Metrics(const CLogFont& font) const {
  // Auto-sizing measures every cell of a column in mostly one font.
  if (!m_lastMetrics || !(font == m_lastLogFont)) {
    m_lastLogFont = font;
    m_lastMetrics.emplace(tvr::grid::ToQFont(font));
  }
  return *m_lastMetrics;
}
