#include "grid/grid_cell_format.h"

#include <algorithm>

CGridCellFormat::CGridCellFormat(std::string_view text) : CGridCell(kText), m_text(text) {}

CGridCellFormat::CGridCellFormat(const CGridCellFormat& other)
    : CGridCell(other),
      m_text(other.m_text),
      m_font(other.m_font ? std::make_unique<CLogFont>(*other.m_font) : nullptr),
      m_textColor(other.m_textColor),
      m_hasTextColor(other.m_hasTextColor) {}

std::unique_ptr<CGridCell> CGridCellFormat::Clone() const {
  return std::unique_ptr<CGridCell>(new CGridCellFormat(*this));
}

void CGridCellFormat::Draw(CGridCanvas& canvas, int x, int y, const CGridTextStyle& style) const {
  canvas.DrawText(x, y, m_text, DrawingFont(style), DrawingColor(style));
}

void CGridCellFormat::DrawFitted(CGridCanvas& canvas, const CRect& rect,
                                 const CGridTextStyle& style) const {
  const unsigned alignment = GetItemData();
  if (alignment > 2) return;
  canvas.DrawTextInRect(rect, m_text, static_cast<int>(alignment), DrawingFont(style),
                        DrawingColor(style));
}

CSize CGridCellFormat::Measure(const CGridTextMeasurer& measurer,
                               const CGridTextStyle& style) const {
  const CLogFont& font = DrawingFont(style);
  CSize total;
  std::string_view rest = m_text;
  while (true) {
    const std::size_t feed = rest.find('\n');
    const CSize line = measurer.MeasureLine(font, rest.substr(0, feed));
    total.cx = std::max(total.cx, line.cx);
    total.cy += line.cy;
    if (feed == std::string_view::npos) break;
    rest.remove_prefix(feed + 1);
  }
  return total;
}

void CGridCellFormat::SetTextColor(CColor color) {
  m_textColor = color;
  m_hasTextColor = true;
}

void CGridCellFormat::SetFont(const CLogFont& font) { m_font = std::make_unique<CLogFont>(font); }

const CLogFont& CGridCellFormat::GetLogFont() const {
  static const CLogFont kNone;
  return m_font ? *m_font : kNone;
}

const CLogFont& CGridCellFormat::DrawingFont(const CGridTextStyle& style) const {
  return m_font && !style.ignoreOwnFonts ? *m_font : style.font;
}

CColor CGridCellFormat::DrawingColor(const CGridTextStyle& style) const {
  return m_hasTextColor && !style.selected ? m_textColor : style.color;
}
