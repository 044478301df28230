#include "view/ui/qt_font_measurer.h"

#include <QFontInfo>

#include <algorithm>

#include "grid/ui/grid_qt_convert.h"

const QFontMetrics& CQtFontMeasurer::MetricsOf(const CLogFont& font) const {
  // Drawing code measures many texts in one font in a row.
  if (!m_lastMetrics || !(font == m_lastLogFont)) {
    m_lastFont = tvr::grid::ToQFont(font);
    m_lastLogFont = font;
    m_lastMetrics.emplace(m_lastFont);
    m_lastPixelSize = QFontInfo(m_lastFont).pixelSize();
  }
  return *m_lastMetrics;
}

CTextMetrics CQtFontMeasurer::Metrics(const CLogFont& font) const {
  const QFontMetrics& metrics = MetricsOf(font);
  CTextMetrics result;
  result.height = metrics.height();
  result.ascent = metrics.ascent();
  result.descent = metrics.descent();
  // What the cell holds above the characters' em: the room for accents.
  result.internalLeading = std::max(0, metrics.height() - m_lastPixelSize);
  result.averageCharWidth = metrics.averageCharWidth();
  result.weight = static_cast<std::int32_t>(m_lastFont.weight());
  result.italic = m_lastFont.italic();
  return result;
}

CSize CQtFontMeasurer::Extent(const CLogFont& font, std::string_view text) const {
  const QFontMetrics& metrics = MetricsOf(font);
  return {metrics.horizontalAdvance(tvr::grid::ToQString(text)), metrics.height()};
}
