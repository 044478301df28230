#include "grid/grid_selection.h"

#include <algorithm>

namespace {

bool InGrid(const CGridCounts& counts, CCellPos cell) {
  return cell.row >= 0 && cell.row < counts.rows && cell.column >= 0 &&
         cell.column < counts.columns;
}

}  // namespace

CCellRange CGridSelection::FirstCell(const CGridCounts& counts) {
  if (counts.fixedRows >= counts.rows || counts.fixedColumns >= counts.columns) return {};
  return {counts.fixedRows, counts.fixedColumns, counts.fixedRows, counts.fixedColumns};
}

void CGridSelection::Clamp(const CGridCounts& counts) {
  CCellRange& r = m_range;
  const bool unset = r.top == -1 || r.left == -1 || r.bottom == -1 || r.right == -1;
  if (unset || counts.rows <= 0 || counts.columns <= 0) {
    m_range = FirstCell(counts);
    return;
  }
  const int lastRow = counts.rows - 1;
  const int lastColumn = counts.columns - 1;
  r.top = std::clamp(r.top, 0, lastRow);
  r.bottom = std::clamp(r.bottom, 0, lastRow);
  r.left = std::clamp(r.left, 0, lastColumn);
  r.right = std::clamp(r.right, 0, lastColumn);
  if (!r.IsValid()) m_range = FirstCell(counts);
}

int CGridSelection::SelectForClick(const CGridCounts& counts, CCellPos cell, bool wholeRows) {
  if (!InGrid(counts, cell)) return 0;
  const int lastRow = counts.rows - 1;
  const int lastColumn = counts.columns - 1;
  const bool fixedRow = cell.row < counts.fixedRows;
  const bool fixedColumn = cell.column < counts.fixedColumns;
  if (cell.row == 0 && cell.column == 0 && counts.fixedRows > 0 && counts.fixedColumns > 0) {
    m_range = {counts.fixedRows, counts.fixedColumns, lastRow, lastColumn};
    m_kind = kAll;
  } else if (fixedRow) {
    m_range = {counts.fixedRows, cell.column, lastRow, cell.column};
    m_kind = kColumns;
  } else if (fixedColumn || wholeRows) {
    m_range = {cell.row, counts.fixedColumns, cell.row, lastColumn};
    m_kind = kRows;
  } else {
    m_range = {cell.row, cell.column, cell.row, cell.column};
    m_kind = kCells;
  }
  // A grid without non-fixed rows or columns leaves the range on its last ones.
  m_range.top = std::min(m_range.top, lastRow);
  m_range.bottom = std::min(m_range.bottom, lastRow);
  m_range.left = std::min(m_range.left, lastColumn);
  m_range.right = std::min(m_range.right, lastColumn);
  return m_kind;
}

bool CGridSelection::Extend(const CGridCounts& counts, int mode, CCellPos pressed,
                            CCellPos current) {
  if (!InGrid(counts, current) || !InGrid(counts, pressed)) return false;
  CCellRange range = m_range;
  if (mode == kCells) {
    if (current.row < counts.fixedRows || current.column < counts.fixedColumns) return false;
    range = CCellRange::Span(pressed, current);
  } else if (mode == kRows) {
    if (current.row < counts.fixedRows) return false;
    range.top = std::min(pressed.row, current.row);
    range.bottom = std::max(pressed.row, current.row);
  } else if (mode == kColumns) {
    if (current.column < counts.fixedColumns) return false;
    range.left = std::min(pressed.column, current.column);
    range.right = std::max(pressed.column, current.column);
  } else {
    return false;
  }
  if (range == m_range) return false;
  m_range = range;
  return true;
}

CCellPos CGridSelection::Move(const CGridCounts& counts, int rowStep, int columnStep) {
  if (!m_range.IsValid()) return {};
  const CCellPos from = m_range.TopLeft();
  CCellPos to = from;
  if (rowStep < 0 && from.row > counts.fixedRows) to.row = from.row - 1;
  if (rowStep > 0 && from.row < counts.rows - 1) to.row = from.row + 1;
  if (columnStep < 0 && from.column > counts.fixedColumns) to.column = from.column - 1;
  if (columnStep > 0 && from.column < counts.columns - 1) to.column = from.column + 1;
  if (to == from) return {};
  SelectCell(to);
  return to;
}

void CGridSelection::SelectCell(CCellPos cell) {
  m_range = {cell.row, cell.column, cell.row, cell.column};
  m_kind = kCells;
}

int CGridSelection::GetContextMenuIndex() const {
  if (!m_range.IsValid()) return -1;
  switch (m_kind) {
    case kCells: return m_range.IsSingleCell() ? 0 : 1;
    case kRows: return m_range.top == m_range.bottom ? 2 : 3;
    case kColumns: return m_range.left == m_range.right ? 4 : 5;
    case kAll: return 6;
    default: return -1;
  }
}
