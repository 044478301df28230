#include "app/ui/draw_tab_ctrl.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QStyleOptionTabWidgetFrame>

#include "app/ui/draw_tab_bar.h"

CDrawTabCtrl::CDrawTabCtrl(QWidget* parent) : QTabWidget(parent), m_bar(new CDrawTabBar(this)) {
  setTabBar(m_bar);
}

void CDrawTabCtrl::SetPageBrush(std::optional<QBrush> brush) {
  m_pageBrush = brush;
  m_bar->SetPageBrush(std::move(brush));
  update();
}

void CDrawTabCtrl::SetStripBrush(std::optional<QBrush> brush) {
  m_stripBrush = std::move(brush);
  update();
}

void CDrawTabCtrl::FitTabWidth() {
  m_bar->FitTabWidth();
  // The tab widget places its bar by the bar's size hint, on a layout request.
  QEvent request(QEvent::LayoutRequest);
  QCoreApplication::sendEvent(this, &request);
  updateGeometry();
}

QRect CDrawTabCtrl::PanelRect() const {
  QStyleOptionTabWidgetFrame option;
  initStyleOption(&option);
  QRect pages = style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
  return pages.adjusted(-2, -1, 1, 1);
}

QRect CDrawTabCtrl::StripRect() const {
  if (count() == 0) return QRect();
  QRect last = m_bar->tabRect(count() - 1).translated(m_bar->pos());
  QRect strip(QPoint(last.right() + 1 + 2, m_bar->y()), QPoint(width() - 1, last.bottom() - 2));
  return strip.isValid() ? strip : QRect();
}

void CDrawTabCtrl::paintEvent(QPaintEvent* event) {
  QTabWidget::paintEvent(event);
  QPainter painter(this);
  if (m_pageBrush) painter.fillRect(PanelRect(), *m_pageBrush);
  if (m_pageBrush && m_stripBrush && count() > 0) painter.fillRect(StripRect(), *m_stripBrush);
}
