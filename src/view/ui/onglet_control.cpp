#include "view/ui/onglet_control.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QStyleOptionFocusRect>

#include <algorithm>

COngletControl::COngletControl(QWidget* parent, bool tabsOnTop)
    : QWidget(parent), m_tabsOnTop(tabsOnTop) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(false);
  m_brushes[0] = m_brushes[1] = palette().button();
  m_textColors[0] = m_textColors[1] = palette().buttonText().color();
  SetTabFont(font());
  m_repeat.setInterval(kRepeatMs);
  connect(&m_repeat, &QTimer::timeout, this, [this] {
    if (!m_arrowOutside) ScrollBy(m_arrow);
  });
}

QSize COngletControl::sizeHint() const { return {200, m_height}; }

void COngletControl::AddTab(const QString& text) {
  m_items.push_back({text, -1, {}});
  Layout(m_firstVisible);
  update();
}

void COngletControl::RemoveTab(int n) {
  if (n < 0 || n >= GetItemCount()) return;
  m_items.erase(m_items.begin() + n);
  if (m_current > n) --m_current;
  if (m_current >= GetItemCount()) m_current = 0;
  if (m_marked == n) m_marked = -1;
  Layout(0);
  update();
}

void COngletControl::SetTabText(int n, const QString& text) {
  if (n < 0 || n >= GetItemCount()) return;
  m_items[static_cast<std::size_t>(n)].text = text;
  m_items[static_cast<std::size_t>(n)].fullWidth = -1;
  Layout(m_firstVisible);
  update();
}

const COngletItem* COngletControl::GetItem(int n) const {
  return n >= 0 && n < GetItemCount() ? &m_items[static_cast<std::size_t>(n)] : nullptr;
}

bool COngletControl::SelectTab(int n, int userFlag) {
  if (n < 0 || n >= GetItemCount()) return false;
  if (n == m_current) {
    MakeVisible(n);
    return true;
  }
  bool allow = true;
  emit TabChanging(m_current, n, userFlag, &allow);
  if (!allow) return false;
  m_current = n;
  emit TabChanged(n, userFlag);
  MakeVisible(n);
  update();
  return true;
}

void COngletControl::SelectNext(bool forward) {
  const int count = GetItemCount();
  if (count > 0) SelectTab((count + m_current + (forward ? 1 : -1)) % count, 1);
}

void COngletControl::SetTabFont(const QFont& base) {
  m_normalFont = base;
  m_normalFont.setWeight(QFont::Normal);
  m_boldFont = base;
  m_boldFont.setWeight(QFont::Bold);
  for (COngletItem& item : m_items) item.fullWidth = -1;
  Layout(m_firstVisible);
  update();
}

void COngletControl::SetBrushes(const QBrush& unselected, const QBrush& selected) {
  m_brushes[0] = unselected;
  m_brushes[1] = selected;
  update();
}

void COngletControl::SetTextColors(const QColor& unselected, const QColor& selected) {
  m_textColors[0] = unselected;
  m_textColors[1] = selected;
  update();
}

bool COngletControl::IsFullyVisible(int n) const {
  const COngletItem* item = GetItem(n);
  return item != nullptr && !item->rect.isEmpty() && item->rect.width() >= item->fullWidth;
}

bool COngletControl::CanScroll() const {
  if (m_items.empty()) return false;
  return m_items.front().rect.isEmpty() || !IsFullyVisible(GetItemCount() - 1);
}

void COngletControl::Layout(int start) {
  start = std::clamp(start, 0, std::max(0, GetItemCount() - 1));
  const QFontMetrics metrics(m_normalFont);
  const QFontMetrics boldMetrics(m_boldFont);
  m_height = metrics.height() + 2 * (kTopMargin + kTextMarginY);
  int x = kGap;
  for (int i = 0; i < GetItemCount(); ++i) {
    COngletItem& item = m_items[static_cast<std::size_t>(i)];
    // Measured bold: the selected and the dropped tab are drawn bold and must fit.
    if (item.fullWidth < 0)
      item.fullWidth = boldMetrics.horizontalAdvance(item.text) + 2 * kTextMarginX;
    if (i < start) {
      item.rect = QRect();
      continue;
    }
    item.rect =
        QRect(QPoint(x, kTopMargin), QPoint(x + item.fullWidth - 1, m_height - kTopMargin - 1));
    x += item.fullWidth + kGap;
  }
  const int arrowArea = width() - kArrowWidth - kArrowWidth / 3;
  const int limit = start != 0 ? arrowArea : width();
  if (!m_items.empty() && m_items.back().rect.right() >= limit) {
    for (int i = GetItemCount() - 1; i >= start; --i) {
      QRect& rect = m_items[static_cast<std::size_t>(i)].rect;
      if (rect.left() >= arrowArea) {
        rect = QRect();
        continue;
      }
      rect.setRight(arrowArea - 1);
      break;
    }
  }
  m_firstVisible = start;
}

void COngletControl::MakeVisible(int n) {
  if (n < 0 || n >= GetItemCount()) return;
  const int before = m_firstVisible;
  int start = m_firstVisible;
  while (!IsFullyVisible(n) && start != n) {
    start += n > start ? 1 : -1;
    Layout(start);
  }
  if (start != before) update();
}

void COngletControl::ScrollBy(int arrow) {
  if (!ArrowEnabled(arrow)) return;
  switch (arrow) {
    case kArrowFirst: Layout(0); break;
    case kArrowPrevious: Layout(m_firstVisible - 1); break;
    case kArrowNext: Layout(m_firstVisible + 1); break;
    case kArrowLast: MakeVisible(GetItemCount() - 1); break;
    default: return;
  }
  update();
}

bool COngletControl::ArrowEnabled(int arrow) const {
  if (!CanScroll()) return false;
  if (arrow == kArrowNext || arrow == kArrowLast) return !IsFullyVisible(GetItemCount() - 1);
  if (arrow == kArrowFirst || arrow == kArrowPrevious) return m_items.front().rect.isEmpty();
  return false;
}

void COngletControl::resizeEvent(QResizeEvent*) {
  if (m_inLayout) return;
  m_inLayout = true;
  m_arrowRect =
      QRect(width() - kArrowWidth, height() - kArrowHeight - 3, kArrowWidth, kArrowHeight);
  // Tabs scrolled away while the strip was narrow come back once they fit.
  const int start = m_firstVisible;
  Layout(0);
  if (!IsFullyVisible(m_current)) Layout(start);
  MakeVisible(m_current);
  if (height() != m_height) resize(width(), m_height);
  m_inLayout = false;
}
