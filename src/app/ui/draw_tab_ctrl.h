#pragma once

#include <QBrush>
#include <QTabWidget>

#include <optional>

class CDrawTabBar;

// A tab control whose tabs are drawn by CDrawTabBar (language font, fitted widths), with
// optional coloured panels: the page-area brush behind the pages (which show it where
// they do not fill their own background) and the strip brush over the row right of the
// last tab.
class CDrawTabCtrl : public QTabWidget {
  Q_OBJECT

 public:
  explicit CDrawTabCtrl(QWidget* parent = nullptr);

  CDrawTabBar* DrawTabBar() const { return m_bar; }

  void SetPageBrush(std::optional<QBrush> brush);
  void SetStripBrush(std::optional<QBrush> brush);
  // See CDrawTabBar::FitTabWidth.
  void FitTabWidth();

  // The areas the panels cover, in this widget's coordinates.
  QRect PanelRect() const;
  QRect StripRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CDrawTabBar* m_bar = nullptr;
  std::optional<QBrush> m_pageBrush;
  std::optional<QBrush> m_stripBrush;
};
