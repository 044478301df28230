#include "grid/grid_cell_store.h"

#include <algorithm>

CGridCellStore::CGridCellStore(int rows, int columns) {
  SetColumnCount(columns);
  SetRowCount(rows);
}

bool CGridCellStore::SetCell(int row, int column, std::unique_ptr<CGridCell> cell) {
  if (!IsInRange(row, column)) return false;
  m_rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::move(cell);
  return true;
}

bool CGridCellStore::InsertRow(int at) {
  if (at < 0 || at > m_rowCount) return false;
  m_rows.insert(static_cast<std::size_t>(at), Row(static_cast<std::size_t>(m_columnCount)));
  ++m_rowCount;
  return true;
}

bool CGridCellStore::InsertColumn(int at) {
  if (at < 0 || at > m_columnCount) return false;
  for (std::size_t row = 0; row < m_rows.size(); ++row)
    m_rows[row].emplace(m_rows[row].begin() + at);
  ++m_columnCount;
  return true;
}

bool CGridCellStore::RemoveRow(int row) {
  if (row < 0 || row >= m_rowCount) return false;
  m_rows.erase(static_cast<std::size_t>(row));
  --m_rowCount;
  return true;
}

bool CGridCellStore::RemoveColumn(int column) {
  if (column < 0 || column >= m_columnCount) return false;
  for (std::size_t row = 0; row < m_rows.size(); ++row)
    m_rows[row].erase(m_rows[row].begin() + column);
  --m_columnCount;
  return true;
}

void CGridCellStore::SetRowCount(int rows) {
  const auto old = static_cast<std::size_t>(m_rowCount);
  m_rowCount = std::max(rows, 0);
  m_rows.resize(static_cast<std::size_t>(m_rowCount));
  for (std::size_t row = old; row < m_rows.size(); ++row)
    m_rows[row].resize(static_cast<std::size_t>(m_columnCount));
}

void CGridCellStore::SetColumnCount(int columns) {
  m_columnCount = std::max(columns, 0);
  for (std::size_t row = 0; row < m_rows.size(); ++row)
    m_rows[row].resize(static_cast<std::size_t>(m_columnCount));
}
