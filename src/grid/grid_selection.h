#pragma once

#include "grid/cell_range.h"

// The counts the selection rules depend on.
struct CGridCounts {
  int rows = 0;
  int columns = 0;
  int fixedRows = 0;
  int fixedColumns = 0;
};

// The grid's rectangular selection and its kind, with the rules by which clicks, drags
// and arrow keys change it. The kind chooses the context menu.
class CGridSelection {
 public:
  enum Kind { kCells = 1, kRows = 2, kColumns = 3, kAll = 4 };

  const CCellRange& GetRange() const { return m_range; }
  int GetKind() const { return m_kind; }
  void SetRange(const CCellRange& range) { m_range = range; }

  // The first non-fixed cell alone, or no range when the grid has no such cell.
  static CCellRange FirstCell(const CGridCounts& counts);
  // Keeps every bound within the grid; a range with a -1 bound, a reversed range or a
  // grid without cells falls back to FirstCell.
  void Clamp(const CGridCounts& counts);

  // A press on the cell: the corner cell (0, 0) of a grid with fixed rows and columns
  // selects every non-fixed cell, a cell of a fixed row the non-fixed part of its column,
  // a cell of a fixed column (or any cell while rows are selected whole) the non-fixed
  // part of its row, any other cell itself. Returns the new kind, or 0 (nothing changed)
  // when the position is not a cell of the grid.
  int SelectForClick(const CGridCounts& counts, CCellPos cell, bool wholeRows);
  // A drag in a mode (a kind) from the pressed cell to the current one: cells span the
  // rectangle, rows and columns extend their span. Cells of fixed rows (columns) are
  // passed over. True when the range changed.
  bool Extend(const CGridCounts& counts, int mode, CCellPos pressed, CCellPos current);
  // Moves one step from the top-left selected cell, not into the fixed rows or columns
  // and not past the last ones, and selects that cell alone. The new cell, or no cell
  // when nothing moved.
  CCellPos Move(const CGridCounts& counts, int rowStep, int columnStep);
  // The cell alone, kind cells.
  void SelectCell(CCellPos cell);

  // The submenu for this selection: 0 one cell, 1 cells, 2 one row, 3 rows, 4 one column,
  // 5 columns, 6 all; -1 without a selection.
  int GetContextMenuIndex() const;

 private:
  CCellRange m_range;
  int m_kind = kCells;
};
