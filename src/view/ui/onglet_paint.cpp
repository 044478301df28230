#include "view/ui/onglet_control.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QStyleOptionFocusRect>

namespace {

constexpr QColor kHighlight(255, 255, 255);
constexpr QColor kShadow(128, 128, 128);
constexpr QColor kDarkShadow(64, 64, 64);
constexpr QColor kDisabled(160, 160, 160);

// One of the four scroll buttons: a triangle (two for first and last) in a 15-pixel cell.
void DrawArrowButton(QPainter& painter, const QRect& cell, int index, bool pressed, bool enabled) {
  painter.fillRect(cell, pressed ? kShadow : QColor(212, 208, 200));
  painter.setPen(pressed ? kDarkShadow : kHighlight);
  painter.drawLine(cell.topLeft(), cell.topRight());
  painter.drawLine(cell.topLeft(), cell.bottomLeft());
  painter.setPen(pressed ? kHighlight : kDarkShadow);
  painter.drawLine(cell.bottomLeft(), cell.bottomRight());
  painter.drawLine(cell.topRight(), cell.bottomRight());
  const bool left = index < 2;
  const int cy = cell.center().y();
  const int cx = cell.center().x() + (index == 0 ? 2 : index == 3 ? -2 : 0);
  QPolygon triangle;
  if (left) {
    triangle << QPoint(cx - 2, cy) << QPoint(cx + 2, cy - 4) << QPoint(cx + 2, cy + 4);
  } else {
    triangle << QPoint(cx + 2, cy) << QPoint(cx - 2, cy - 4) << QPoint(cx - 2, cy + 4);
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(enabled ? QColor(Qt::black) : kDisabled);
  painter.drawPolygon(triangle);
  if (index == 0 || index == 3) {
    const int bar = index == 0 ? cx - 4 : cx + 3;
    painter.fillRect(QRect(bar, cy - 4, 2, 9), enabled ? QColor(Qt::black) : kDisabled);
  }
}

}  // namespace

void COngletControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), m_brushes[0]);
  if (!m_tabsOnTop) {
    // Mirrored: the strip hangs below its page, its tabs open upwards.
    painter.translate(0, height() - 1);
    painter.scale(1, -1);
  }
  for (int i = 0; i < GetItemCount(); ++i) {
    const COngletItem& item = m_items[static_cast<std::size_t>(i)];
    if (i != m_current && !item.rect.isEmpty()) DrawTab(painter, item, item.rect, false);
  }
  const COngletItem* current = GetItem(m_current);
  if (current != nullptr && !current->rect.isEmpty()) {
    DrawTab(painter, *current, current->rect.adjusted(-2, -2, 2, 0), true);
  }
  DrawBaseLine(painter);
  if (CanScroll()) DrawArrows(painter);
  DrawDropMark(painter);
  if (hasFocus() && current != nullptr && !current->rect.isEmpty()) {
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(current->rect.adjusted(2, 2, -2, -2));
  }
}

void COngletControl::DrawTab(QPainter& painter, const COngletItem& item, const QRect& rect,
                             bool current) const {
  const int l = rect.left(), t = rect.top(), r = rect.right() + 1, b = rect.bottom() + 1;
  QPolygon outline;
  outline << QPoint(l, b - 1) << QPoint(l, t + 4) << QPoint(l + 4, t) << QPoint(r - 1, t)
          << QPoint(r - 1, b) << QPoint(l, b);
  painter.setPen(Qt::NoPen);
  if (current) {
    painter.setBrush(m_brushes[1]);
    painter.drawPolygon(outline);
  }
  painter.setPen(kHighlight);
  painter.drawLine(l, b - 1, l, t + 4);
  painter.drawLine(l, t + 4, l + 4, t);
  painter.setPen(m_tabsOnTop ? kHighlight : kShadow);
  painter.drawLine(l + 4, t, r - 2, t);
  const bool whole = rect.width() >= item.fullWidth;
  if (whole) {
    painter.setPen(kShadow);
    painter.drawLine(r - 1, t + 1, r - 1, b);
    painter.setPen(kDarkShadow);
    painter.drawLine(r, t + 2, r, b);
  } else {
    // Cut by the arrows: a wavy edge says there is more.
    painter.setPen(kShadow);
    const int offsets[4] = {0, 1, 0, -1};
    for (int y = t, step = 0; y < b; y += 3, ++step)
      painter.drawLine(r + offsets[step % 4], y, r + offsets[step % 4], std::min(y + 2, b));
  }
  // Text is drawn upright even in a mirrored strip.
  painter.save();
  const QRect textRect(l, t, whole ? item.fullWidth : rect.width(), b - t);
  const QTransform transform = painter.transform();
  const QRect device = transform.mapRect(textRect);
  painter.resetTransform();
  painter.setClipRect(device);
  painter.setFont(current || &item == GetItem(m_marked) ? m_boldFont : m_normalFont);
  painter.setPen(m_textColors[current ? 1 : 0]);
  painter.drawText(device, Qt::AlignCenter, item.text);
  painter.restore();
}

void COngletControl::DrawBaseLine(QPainter& painter) const {
  const int y = m_height - 1 - kTopMargin + 1;
  painter.setPen(m_tabsOnTop ? kHighlight : kShadow);
  const COngletItem* current = GetItem(m_current);
  const bool shown = current != nullptr && !current->rect.isEmpty();
  const int gapFrom = shown ? current->rect.left() - 2 : width();
  const int gapTo = shown ? current->rect.right() + 1 + 3 : width();
  painter.drawLine(0, y, gapFrom, y);
  if (gapTo < width()) painter.drawLine(gapTo, y, width(), y);
  if (!m_tabsOnTop) {
    painter.setPen(kDarkShadow);
    painter.drawLine(0, y + 1, gapFrom, y + 1);
    if (gapTo < width()) painter.drawLine(gapTo, y + 1, width(), y + 1);
  }
}

void COngletControl::DrawArrows(QPainter& painter) const {
  const int pressed = m_arrowOutside ? kArrowNone : m_arrow;
  const int codes[4] = {kArrowFirst, kArrowPrevious, kArrowNext, kArrowLast};
  for (int i = 0; i < 4; ++i) {
    const QRect cell(m_arrowRect.left() + 1 + 16 * i, m_arrowRect.top(), 15, m_arrowRect.height());
    DrawArrowButton(painter, cell, i, pressed == codes[i], ArrowEnabled(codes[i]));
  }
}

void COngletControl::DrawDropMark(QPainter& painter) const {
  const COngletItem* target = m_dragTarget > 0 ? GetItem(m_dragTarget) : nullptr;
  if (target == nullptr) return;
  const QRect& r = target->rect;
  const int cy = r.center().y();
  QPolygon mark;
  if (m_dragTarget < m_current) {
    mark << QPoint(r.left() + 3, cy) << QPoint(r.left() + 7, cy - 4)
         << QPoint(r.left() + 7, cy + 4);
  } else {
    mark << QPoint(r.right() - 3, cy) << QPoint(r.right() - 7, cy - 4)
         << QPoint(r.right() - 7, cy + 4);
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  painter.drawPolygon(mark);
}
