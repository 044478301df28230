#pragma once

#include <memory>
#include <vector>

#include "grid/gap_vector.h"
#include "grid/grid_cell.h"

// The cells of a grid: one row of owned cell slots per grid row, each as long as the
// column count, the rows kept around a gap so that a burst of rows inserted or removed
// at one place costs the columns of each, not the rows below it. A slot never filled is
// null (a missing cell, which draws nothing).
// Every operation checks its indexes and refuses (false, nothing changed) those out of
// range.
class CGridCellStore {
 public:
  // Negative counts are taken as 0.
  CGridCellStore(int rows, int columns);

  int GetRowCount() const { return m_rowCount; }
  int GetColumnCount() const { return m_columnCount; }
  bool IsInRange(int row, int column) const {
    return row >= 0 && row < m_rowCount && column >= 0 && column < m_columnCount;
  }

  // Null for a missing cell or a position out of range. Inline: every cell read and
  // written goes through here, thousands for each bill refreshed.
  const CGridCell* GetCell(int row, int column) const {
    return IsInRange(row, column) ? Slot(row, column).get() : nullptr;
  }
  CGridCell* GetCell(int row, int column) {
    return IsInRange(row, column) ? Slot(row, column).get() : nullptr;
  }
  // Replaces (and deletes) the cell at the position; null empties the slot.
  bool SetCell(int row, int column, std::unique_ptr<CGridCell> cell);

  // Inserts a row of null slots before row `at` (0..row count; the count appends).
  bool InsertRow(int at);
  bool InsertColumn(int at);
  // Removes the row with its cells; the rows below move up.
  bool RemoveRow(int row);
  bool RemoveColumn(int column);
  // Adds null slots at the end or removes rows (columns) from the end.
  void SetRowCount(int rows);
  void SetColumnCount(int columns);

 private:
  using Row = std::vector<std::unique_ptr<CGridCell>>;
  const std::unique_ptr<CGridCell>& Slot(int row, int column) const {
    return m_rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  }

  int m_rowCount = 0;
  int m_columnCount = 0;
  CGapVector<Row> m_rows;
};
