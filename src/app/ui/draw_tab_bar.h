#pragma once

#include <QBrush>
#include <QTabBar>

#include <optional>
#include <set>

// The tab strip of CDrawTabCtrl: tabs whose texts it draws itself, in the language font
// when the translator holds one, on the page-area brush when one is set, optionally all
// of one width fitted to the longest text.
class CDrawTabBar : public QTabBar {
  Q_OBJECT

 public:
  explicit CDrawTabBar(QWidget* parent = nullptr);

  void SetPageBrush(std::optional<QBrush> brush);
  // A highlighted tab shows its text grey.
  void SetTabHighlighted(int index, bool on);
  bool IsTabHighlighted(int index) const { return m_highlighted.contains(index); }
  // In button style the current tab is drawn pressed.
  void SetButtonStyle(bool on);

  // Every tab takes the width of the widest of 15 blanks and the tab texts (each read
  // up to 50 characters), plus 16 pixels; the height is kept.
  void FitTabWidth();
  int FixedTabWidth() const { return m_fixedWidth; }

  QFont TextFont() const;

 protected:
  QSize tabSizeHint(int index) const override;
  QSize minimumTabSizeHint(int index) const override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintTab(QPainter& painter, int index) const;

  std::optional<QBrush> m_pageBrush;
  std::set<int> m_highlighted;
  bool m_buttonStyle = false;
  int m_fixedWidth = 0;
};
