#pragma once

#include <cstdint>

#include "grid/cell_range.h"
#include "grid/grid_axis.h"
#include "grid/grid_model.h"
#include "platform/draw_types.h"

// A border that the mouse can drag: the column (axis Columns) whose width, or the row
// whose height, changes; index -1 when there is none.
struct CGridBorderHit {
  EGridAxis axis = EGridAxis::Columns;
  int index = -1;

  bool IsHit() const { return index >= 0; }
  bool operator==(const CGridBorderHit&) const = default;
};

// How a grid lies in a window: the client area and the scroll positions, which count
// whole rows and columns (position p shows the non-fixed row fixedRows + p first, just
// below the fixed rows). Geometry, hit testing, visibility and scroll ranges of the
// window, computed without one. The model must outlive it; every walk starts at the
// first shown row or column, so the cost follows what is shown, not the grid's size.
class CGridViewport {
 public:
  static constexpr int kBorderGrip = 4;  // pixels either side of a header border

  explicit CGridViewport(const CGridModel& model) : m_model(model) {}

  void SetClientSize(int width, int height);
  int GetClientWidth() const { return m_clientWidth; }
  int GetClientHeight() const { return m_clientHeight; }
  int GetClientSize(EGridAxis axis) const;

  // Sets the scroll maxima for a window whose area without scroll bars is the given
  // size. Rows fit when their total height stays below the height (an exact fit does
  // not); when they do not, the vertical maximum lets every non-fixed row but the last
  // scroll away, and the columns are measured again beside the vertical scroll bar.
  // Columns alike. A maximum is never negative. Positions are kept within the maxima.
  void UpdateScrollRanges(int availableWidth, int availableHeight, int verticalBarWidth,
                          int horizontalBarHeight);
  int GetScrollPos(EGridAxis axis) const;
  int GetScrollMax(EGridAxis axis) const;
  // Cut to 0..maximum; true when the position changed.
  bool SetScrollPos(EGridAxis axis, int position);

  // The first non-fixed row (column) shown.
  int GetFirstShown(EGridAxis axis) const;
  // The first from the first shown whose far edge reaches the client edge (so a partly
  // shown one counts), at most the last; below the first shown when none is shown.
  int GetLastShown(EGridAxis axis) const;
  // First shown to last shown rows and columns.
  CCellRange GetVisibleCellRange() const;

  // The left edge of a column (top of a row) in client pixels; negative for one
  // scrolled away before the first shown.
  std::int64_t GetStart(EGridAxis axis, int index) const;
  CRect GetCellRect(int row, int column) const;
  // From the left and top of the range's first cell to the right and bottom of its last.
  CRect GetCellRangeRect(const CCellRange& range) const;

  // The cell under a point of the client area; -1 for a row or column outside every cell.
  CCellPos HitTestCell(CPoint point) const;
  int HitTest(EGridAxis axis, int coordinate) const;
  // True when the cell lies wholly inside the client area (not scrolled away, not cut
  // by the client edge).
  bool IsCellVisible(int row, int column) const;
  bool IsWhollyShown(EGridAxis axis, int index) const;

  // The scroll position after a page back: back over the rows before the first shown
  // while they fit the non-fixed client height (at least one). After a page forward:
  // the last shown becomes the first (at least one step), at most the maximum.
  int GetPageBackPos(EGridAxis axis) const;
  int GetPageForwardPos(EGridAxis axis) const;

  // Over a cell of a fixed row, within kBorderGrip of a column's left edge (resizing the
  // column shown to its left) or of its right edge (resizing it); over a cell of a
  // fixed column, the same for rows.
  CGridBorderHit HitTestBorder(CPoint point) const;

 private:
  int PreviousShown(EGridAxis axis, int index) const;
  CGridBorderHit BorderOn(EGridAxis axis, int index, int coordinate) const;

  const CGridModel& m_model;
  int m_clientWidth = 0;
  int m_clientHeight = 0;
  int m_rowPos = 0;
  int m_columnPos = 0;
  int m_rowMax = 0;
  int m_columnMax = 0;
};
