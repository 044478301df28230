#include "view/dxf_cell_grid.h"

#include <algorithm>

namespace {

// Listing and scanning both take a figure's cells from here, so a cell's edge need only
// be the same for both: a product, not a quotient, and truncation, which is the floor
// once what lies before the first cell is taken out.
int CellIndex(double offset, double cellsPerUnit, int cells) {
  const double cell = offset * cellsPerUnit;
  if (!(cell >= 0.0)) return 0;
  return cell >= cells ? cells - 1 : static_cast<int>(cell);
}

}  // namespace

CDxfCellGrid::CDxfCellGrid(CPoint low, CPoint high, int cellsPerSide) : m_low(low), m_high(high) {
  Reset(cellsPerSide);
}

void CDxfCellGrid::Reset(int cellsPerSide) {
  m_cells = std::max(1, cellsPerSide);
  m_cellWidth = double(std::max<std::int64_t>(1, std::int64_t{m_high.x} - m_low.x)) / m_cells;
  m_cellHeight = double(std::max<std::int64_t>(1, std::int64_t{m_high.y} - m_low.y)) / m_cells;
  m_columnsPerUnit = 1.0 / m_cellWidth;
  m_rowsPerUnit = 1.0 / m_cellHeight;
  m_entries.assign(static_cast<std::size_t>(m_cells) * m_cells, {});
  m_entryCount = 0;
}

int CDxfCellGrid::Column(double x) const {
  return CellIndex(x - m_low.x, m_columnsPerUnit, m_cells);
}

int CDxfCellGrid::Row(double y) const { return CellIndex(y - m_low.y, m_rowsPerUnit, m_cells); }

void CDxfCellGrid::AddRows(const Entry& entry, int column, double lowY, double highY) {
  const int y1 = Row(highY);
  for (int y = Row(lowY); y <= y1; ++y) {
    m_entries[static_cast<std::size_t>(y) * m_cells + column].push_back(entry);
    ++m_entryCount;
  }
}

void CDxfCellGrid::AddBox(int id, std::uint32_t tag, const CDxfBounds& bounds) {
  const int x1 = Column(bounds.maxX);
  for (int x = Column(bounds.minX); x <= x1; ++x)
    AddRows(EntryOf(id, tag, bounds), x, bounds.minY, bounds.maxY);
}

void CDxfCellGrid::AddLine(int id, std::uint32_t tag, CPoint a, CPoint b) {
  const CDxfBounds bounds = CDxfBounds::Of(a, b);
  const Entry entry = EntryOf(id, tag, bounds);
  if (a.x > b.x) std::swap(a, b);
  // Every point within a unit of the line is covered: a truncated middle or cut point
  // lies that close.
  const double from = a.x - 1.0, to = b.x + 1.0;
  const int x0 = Column(from), x1 = Column(to);
  if (x0 == x1 || a.x == b.x) {
    for (int x = x0; x <= x1; ++x) AddRows(entry, x, bounds.minY - 1.0, bounds.maxY + 1.0);
    return;
  }
  // Column by column, the heights of the line over the column and a unit either side.
  const double slope = (double(b.y) - a.y) / (double(b.x) - a.x);
  const auto heightAt = [&](double x) {
    return a.y + (std::clamp(x, double(a.x), double(b.x)) - a.x) * slope;
  };
  for (int x = x0; x <= x1; ++x) {
    const double left = x == x0 ? from : m_low.x + x * m_cellWidth - 1.0;
    const double right = x == x1 ? to : m_low.x + (x + 1) * m_cellWidth + 1.0;
    const double y0 = heightAt(left), y1 = heightAt(right);
    AddRows(entry, x, std::min(y0, y1) - 1.0, std::max(y0, y1) + 1.0);
  }
}
