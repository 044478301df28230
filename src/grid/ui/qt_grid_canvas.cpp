#include "grid/ui/qt_grid_canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPen>

#include <algorithm>

#include "grid/ui/grid_qt_convert.h"

using tvr::grid::ToQColor;

CQtGridCanvas::CQtGridCanvas(QPainter& painter) : m_painter(painter) {
  m_painter.save();
  m_painter.setRenderHint(QPainter::Antialiasing, false);
  m_painter.setBackgroundMode(Qt::TransparentMode);
}

CQtGridCanvas::~CQtGridCanvas() { m_painter.restore(); }

void CQtGridCanvas::DrawLine(int x1, int y1, int x2, int y2, CColor color) {
  if (x1 == x2 && y1 == y2) return;
  m_painter.setPen(QPen(ToQColor(color), 0));
  // The end point is not drawn: step one pixel back along the line.
  const int endX = x2 == x1 ? x2 : (x2 > x1 ? x2 - 1 : x2 + 1);
  const int endY = y2 == y1 ? y2 : (y2 > y1 ? y2 - 1 : y2 + 1);
  m_painter.drawLine(x1, y1, endX, endY);
}

void CQtGridCanvas::FillRect(const CRect& rect, CColor color) {
  if (rect.IsEmpty()) return;
  m_painter.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(color));
}

void CQtGridCanvas::DrawText(int x, int y, std::string_view text, const CLogFont& font,
                             CColor color) {
  const QFont& qfont = Font(font);
  m_painter.setFont(qfont);
  m_painter.setPen(ToQColor(color));
  m_painter.drawText(QPoint(x, y + QFontMetrics(qfont, m_painter.device()).ascent()),
                     tvr::grid::ToQString(text));
}

void CQtGridCanvas::DrawTextInRect(const CRect& rect, std::string_view text, int alignment,
                                   const CLogFont& font, CColor color) {
  if (rect.IsEmpty()) return;
  const Qt::Alignment horizontal = alignment == 1   ? Qt::AlignHCenter
                                   : alignment == 2 ? Qt::AlignRight
                                                    : Qt::AlignLeft;
  const QRect box(rect.left, rect.top, rect.Width(), rect.Height());
  m_painter.save();
  m_painter.setClipRect(box, Qt::IntersectClip);
  m_painter.setFont(Font(font));
  m_painter.setPen(ToQColor(color));
  m_painter.drawText(box, static_cast<int>(Qt::AlignTop | horizontal), tvr::grid::ToQString(text));
  m_painter.restore();
}

void CQtGridCanvas::DrawBitmap(int x, int y, const CBitmapDesc& bitmap, int width, int height) {
  const QImage image = tvr::grid::ToQImage(bitmap);
  width = std::min(width, bitmap.width);
  height = std::min(height, bitmap.height);
  if (width <= 0 || height <= 0) return;
  if (image.isNull()) {
    m_painter.setPen(QPen(Qt::red, 0));
    m_painter.drawRect(x, y, width - 1, height - 1);
    m_painter.drawLine(x, y, x + width - 1, y + height - 1);
    m_painter.drawLine(x, y + height - 1, x + width - 1, y);
    return;
  }
  m_painter.drawImage(QPoint(x, y), image, QRect(0, 0, width, height));
}

const QFont& CQtGridCanvas::Font(const CLogFont& font) {
  // Cells mostly share the grid's font: build the Qt font once per change.
  if (!m_hasFont || !(font == m_lastLogFont)) {
    m_lastLogFont = font;
    m_lastFont = tvr::grid::ToQFont(font);
    m_hasFont = true;
  }
  return m_lastFont;
}
