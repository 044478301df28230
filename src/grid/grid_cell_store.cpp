#include "grid/grid_cell_store.h"

#include <algorithm>

CGridCellStore::CGridCellStore(int rows, int columns) {
  SetRowCount(rows);
  SetColumnCount(columns);
}

bool CGridCellStore::IsInRange(int row, int column) const {
  return row >= 0 && row < m_rowCount && column >= 0 && column < GetColumnCount();
}

const CGridCell* CGridCellStore::GetCell(int row, int column) const {
  return IsInRange(row, column) ? m_columns[column][row].get() : nullptr;
}

CGridCell* CGridCellStore::GetCell(int row, int column) {
  return IsInRange(row, column) ? m_columns[column][row].get() : nullptr;
}

bool CGridCellStore::SetCell(int row, int column, std::unique_ptr<CGridCell> cell) {
  if (!IsInRange(row, column)) return false;
  m_columns[column][row] = std::move(cell);
  return true;
}

bool CGridCellStore::InsertRow(int at) {
  if (at < 0 || at > m_rowCount) return false;
  for (Column& column : m_columns) column.emplace(column.begin() + at);
  ++m_rowCount;
  return true;
}

bool CGridCellStore::InsertColumn(int at) {
  if (at < 0 || at > GetColumnCount()) return false;
  Column column(m_rowCount);
  m_columns.insert(m_columns.begin() + at, std::move(column));
  return true;
}

bool CGridCellStore::RemoveRow(int row) {
  if (row < 0 || row >= m_rowCount) return false;
  for (Column& column : m_columns) column.erase(column.begin() + row);
  --m_rowCount;
  return true;
}

bool CGridCellStore::RemoveColumn(int column) {
  if (column < 0 || column >= GetColumnCount()) return false;
  m_columns.erase(m_columns.begin() + column);
  return true;
}

void CGridCellStore::SetRowCount(int rows) {
  m_rowCount = std::max(rows, 0);
  for (Column& column : m_columns) column.resize(m_rowCount);
}

void CGridCellStore::SetColumnCount(int columns) {
  const std::size_t count = static_cast<std::size_t>(std::max(columns, 0));
  while (m_columns.size() > count) m_columns.pop_back();
  while (m_columns.size() < count) m_columns.emplace_back(m_rowCount);
}
