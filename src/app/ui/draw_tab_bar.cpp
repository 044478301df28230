#include "app/ui/draw_tab_bar.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionTab>
#include <QStylePainter>

#include <vector>

#include "app/owner_draw_rules.h"
#include "app/ui/translator.h"

namespace {

QRect ToQRect(const CRect& rect) {
  return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

CRect ToIntRect(const QRect& rect) {
  return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

}  // namespace

CDrawTabBar::CDrawTabBar(QWidget* parent) : QTabBar(parent) {
  setDrawBase(true);
  setElideMode(Qt::ElideNone);
}

void CDrawTabBar::SetPageBrush(std::optional<QBrush> brush) {
  m_pageBrush = std::move(brush);
  update();
}

void CDrawTabBar::SetTabHighlighted(int index, bool on) {
  if (on) m_highlighted.insert(index);
  else m_highlighted.erase(index);
  update();
}

void CDrawTabBar::SetButtonStyle(bool on) {
  m_buttonStyle = on;
  update();
}

QFont CDrawTabBar::TextFont() const {
  const CTranslator& translator = CTranslator::Instance();
  return translator.IsActive() ? translator.LanguageFont() : font();
}

void CDrawTabBar::FitTabWidth() {
  QFontMetrics metrics(TextFont());
  std::vector<int> widths;
  for (int index = 0; index < count(); ++index)
    widths.push_back(metrics.horizontalAdvance(tabText(index).left(kTabTextLimit)));
  m_fixedWidth = FittedTabWidth(metrics.horizontalAdvance(QString(15, QLatin1Char(' '))), widths);
  // The bar lays its tabs out again on a font change.
  QEvent change(QEvent::FontChange);
  QTabBar::changeEvent(&change);
  adjustSize();
}

QSize CDrawTabBar::tabSizeHint(int index) const {
  QSize size = QTabBar::tabSizeHint(index);
  if (m_fixedWidth > 0) size.setWidth(m_fixedWidth);
  return size;
}

QSize CDrawTabBar::minimumTabSizeHint(int index) const { return tabSizeHint(index); }

void CDrawTabBar::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  for (int index = 0; index < count(); ++index) {
    if (index != currentIndex()) PaintTab(painter, index);
  }
  if (currentIndex() >= 0) PaintTab(painter, currentIndex());  // over its neighbours
}

void CDrawTabBar::PaintTab(QPainter& painter, int index) const {
  QStyleOptionTab option;
  initStyleOption(&option, index);
  option.text.clear();
  option.icon = QIcon();
  style()->drawControl(QStyle::CE_TabBarTabShape, &option, &painter, this);
  bool pressed = m_buttonStyle && index == currentIndex();
  bool highlighted = IsTabHighlighted(index);
  QRect textRect = option.rect;
  painter.save();
  if (m_pageBrush) {
    painter.setPen(Qt::NoPen);
    painter.fillRect(ToQRect(TabFillRect(ToIntRect(option.rect), pressed, highlighted)) & rect(),
                     *m_pageBrush);
    textRect.translate(0, TabTextShift(pressed));
  }
  painter.setFont(TextFont());
  painter.setPen(palette().color(highlighted ? QPalette::Disabled : QPalette::Active,
                                 highlighted ? QPalette::Text : QPalette::ButtonText));
  painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, tabText(index));
  painter.restore();
}
