#include "view/ui/onglet_control.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// Button offsets inside the arrow area: 1..15 first, 17..31 previous, 33..47 next,
// 49..63 last.
constexpr int kArrowCodes[4] = {COngletControl::kArrowFirst, COngletControl::kArrowPrevious,
                                COngletControl::kArrowNext, COngletControl::kArrowLast};

}  // namespace

// Mouse points in the strip's own coordinates: a mirrored strip is hit-tested as drawn.
static QPoint Logical(const QWidget& widget, bool onTop, const QPoint& point) {
  return onTop ? point : QPoint(point.x(), widget.height() - 1 - point.y());
}

int COngletControl::HitTab(const QPoint& point) const {
  for (int i = 0; i < GetItemCount(); ++i) {
    if (m_items[static_cast<std::size_t>(i)].rect.contains(point)) return i;
  }
  return -1;
}

int COngletControl::HitArrow(const QPoint& point) const {
  if (!CanScroll() || !m_arrowRect.contains(point)) return kArrowNone;
  const int offset = point.x() - m_arrowRect.left();
  if (offset % 16 == 0) return kArrowNone;
  return offset / 16 < 4 ? kArrowCodes[offset / 16] : kArrowNone;
}

void COngletControl::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint point = Logical(*this, m_tabsOnTop, event->position().toPoint());
  const int arrow = HitArrow(point);
  if (arrow != kArrowNone) {
    if (!ArrowEnabled(arrow)) return;
    ScrollBy(arrow);
    m_arrow = arrow;
    m_arrowOutside = false;
    m_repeat.start();
    update();
    return;
  }
  if (m_arrowRect.contains(point) && CanScroll()) return;
  const int tab = HitTab(point);
  if (tab < 0 || !SelectTab(tab, 1)) return;
  if (tab != 0) m_dragTarget = tab;
}

void COngletControl::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = Logical(*this, m_tabsOnTop, event->position().toPoint());
  if (m_arrow != kArrowNone) {
    const bool outside = !m_arrowRect.contains(point) || HitArrow(point) != m_arrow;
    if (outside == m_arrowOutside) return;
    m_arrowOutside = outside;
    if (outside) {
      m_repeat.stop();
    } else {
      ScrollBy(m_arrow);
      m_repeat.start();
    }
    update();
    return;
  }
  if (m_dragTarget == 0) return;
  const int tab = HitTab(point);
  const int target = tab > 0 && tab != m_current && IsFullyVisible(tab) ? tab : -1;
  if (target != m_dragTarget) {
    m_dragTarget = target;
    update();
  }
}

void COngletControl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int from = m_current;
  const int to = m_dragTarget;
  if (to > 0 && to != from) {
    const COngletItem moved = m_items[static_cast<std::size_t>(from)];
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + to, moved);
    m_current = to;
    m_marked = to;
    Layout(m_firstVisible);
    emit TabMoved(from, to);
  }
  EndDrag();
}

void COngletControl::EndDrag() {
  m_arrow = kArrowNone;
  m_arrowOutside = false;
  m_repeat.stop();
  m_dragTarget = 0;
  update();
}

void COngletControl::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
    SelectNext(event->key() == Qt::Key_Right);
    return;
  }
  QWidget::keyPressEvent(event);
}

void COngletControl::focusInEvent(QFocusEvent*) { update(); }
void COngletControl::focusOutEvent(QFocusEvent*) { update(); }
