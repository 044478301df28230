#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <vector>

// One tab of the strip.
struct COngletItem {
  QString text;
  int fullWidth = -1;  // -1: not measured yet
  QRect rect;          // as laid out; empty when scrolled away
};

// A strip of tabs with cut-corner outlines, drawn by itself: scroll arrows when the
// tabs do not fit, selection by mouse and keys that the parent may veto, reordering by
// dragging a tab (all but the first) onto another.
class COngletControl : public QWidget {
  Q_OBJECT

 public:
  // Arrow codes of the scroll buttons.
  enum Arrow {
    kArrowFirst = -8,
    kArrowPrevious = -5,
    kArrowNext = -6,
    kArrowLast = -9,
    kArrowNone = -7
  };
  static constexpr int kTextMarginX = 10;
  static constexpr int kTextMarginY = 3;
  static constexpr int kGap = 2;
  static constexpr int kTopMargin = 2;
  static constexpr int kArrowWidth = 64;  // four buttons 16 pixels apart
  static constexpr int kArrowHeight = 14;
  static constexpr int kRepeatMs = 500;

  // tabsOnTop false: drawn mirrored, for a strip below its page.
  explicit COngletControl(QWidget* parent = nullptr, bool tabsOnTop = false);

  void AddTab(const QString& text);
  void RemoveTab(int n);
  void SetTabText(int n, const QString& text);
  int GetCurSel() const { return m_current; }
  const COngletItem* GetItem(int n) const;
  int GetItemCount() const { return static_cast<int>(m_items.size()); }
  int GetFirstVisible() const { return m_firstVisible; }
  int GetMarked() const { return m_marked; }
  int GetDragTarget() const { return m_dragTarget; }
  // Selects tab n (the parent first asked, and able to refuse); false when refused.
  bool SelectTab(int n, int userFlag);
  void SelectNext(bool forward);
  void SetTabFont(const QFont& font);
  void SetBrushes(const QBrush& unselected, const QBrush& selected);
  void SetTextColors(const QColor& unselected, const QColor& selected);
  // Strip height for the font.
  int StripHeight() const { return m_height; }
  bool CanScroll() const;
  bool IsFullyVisible(int n) const;
  QRect ArrowRect() const { return m_arrowRect; }
  // Acts as a press of the scroll button would (once).
  void ScrollBy(int arrow);
  QSize sizeHint() const override;

 signals:
  // Before the current tab changes; set *allow to false to refuse.
  void TabChanging(int from, int to, int userFlag, bool* allow);
  void TabChanged(int current, int userFlag);
  // Tab from was dropped at index to (the items between shifted by one).
  void TabMoved(int from, int to);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Layout(int start);
  void MakeVisible(int n);
  int HitTab(const QPoint& point) const;
  int HitArrow(const QPoint& point) const;
  bool ArrowEnabled(int arrow) const;
  void PressArrow();
  void EndDrag();
  void DrawTab(QPainter& painter, const COngletItem& item, const QRect& rect, bool current) const;
  void DrawBaseLine(QPainter& painter) const;
  void DrawArrows(QPainter& painter) const;
  void DrawDropMark(QPainter& painter) const;

  std::vector<COngletItem> m_items;
  int m_current = 0;
  int m_firstVisible = 0;
  int m_height = 0;
  int m_marked = -1;
  bool m_tabsOnTop = false;
  QFont m_normalFont;
  QFont m_boldFont;
  QBrush m_brushes[2];
  QColor m_textColors[2];
  QRect m_arrowRect;
  int m_arrow = kArrowNone;
  bool m_arrowOutside = false;
  int m_dragTarget = 0;
  bool m_inLayout = false;
  QTimer m_repeat;
};
