#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/draw_types.h"

// An upright box of a drawing, ends included.
struct CDxfBounds {
  std::int32_t minX = 0;
  std::int32_t maxX = 0;
  std::int32_t minY = 0;
  std::int32_t maxY = 0;

  static CDxfBounds Of(CPoint a, CPoint b) {
    return {std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y)};
  }
  void Add(CPoint point) {
    minX = std::min(minX, point.x);
    maxX = std::max(maxX, point.x);
    minY = std::min(minY, point.y);
    maxY = std::max(maxY, point.y);
  }
  bool Meets(const CDxfBounds& other) const {
    return maxX >= other.minX && other.maxX >= minX && maxY >= other.minY && other.maxY >= minY;
  }
};

// Cells over the area of a drawing, each listing the figures that reach into it with
// their bounds; figures beyond the area fall into the border cells. A line is listed
// only in the cells along its way, so a long slanted line costs cells in proportion to
// its length in cells, not to the area of its bounds.
class CDxfCellGrid {
 public:
  CDxfCellGrid(CPoint low, CPoint high, int cellsPerSide);

  int CellsPerSide() const { return m_cells; }
  std::size_t CellCount() const { return m_entries.size(); }
  double CellWidth() const { return m_cellWidth; }
  double CellHeight() const { return m_cellHeight; }
  // How many listings the cells hold (a figure once in each cell it reaches).
  std::size_t EntryCount() const { return m_entryCount; }
  // Empties the cells and divides the same area into this many a side.
  void Reset(int cellsPerSide);

  // A figure is listed under its id and a tag that the caller may compare to the one it
  // holds for the id, so that a listing made stale by reusing the id is told apart.
  void AddLine(int id, std::uint32_t tag, CPoint a, CPoint b);
  void AddBox(int id, std::uint32_t tag, const CDxfBounds& bounds);

  // Each figure listed in a cell that the area reaches and whose bounds meet the area,
  // once a cell (a figure in several cells comes once from each): `keep(id, tag)` false
  // takes it out of that cell. The order in which a cell's figures come is not kept.
  // `touch(id)` comes for every figure a cell holds that meets the area before keep comes
  // for any of them, so that what keep reads of them may be fetched all at once.
  template <typename Touch, typename Keep>
  void Scan(const CDxfBounds& area, Touch touch, Keep keep) {
    const Reach reach = ReachOf(area);
    const int x0 = Column(area.minX), x1 = Column(area.maxX), y1 = Row(area.maxY);
    for (int y = Row(area.minY); y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x)
        m_entryCount -=
            ScanCell(m_entries[static_cast<std::size_t>(y) * m_cells + x], reach, touch, keep);
    }
  }

 private:
  // Bounds as four lanes that a box meets when each lane is at least the box's lane in
  // its Reach: the lower ends are kept complemented (~v, which is -v - 1 and so never
  // overflows), so that one comparison of all four lanes tells whether two boxes meet.
  using Lanes = std::int32_t __attribute__((vector_size(16)));
  struct Entry {
    int id;
    std::uint32_t tag;
    std::int32_t far[4];  // ~minX, maxX, ~minY, maxY
  };
  struct Reach {
    Lanes least;  // ~maxX, minX, ~maxY, minY of the area
  };
  static Entry EntryOf(int id, std::uint32_t tag, const CDxfBounds& bounds) {
    return {id, tag, {~bounds.minX, bounds.maxX, ~bounds.minY, bounds.maxY}};
  }
  static Reach ReachOf(const CDxfBounds& area) {
    return {Lanes{~area.maxX, area.minX, ~area.maxY, area.minY}};
  }
  static bool Meets(const Entry& entry, const Reach& reach) {
    Lanes far;
    std::memcpy(&far, entry.far, sizeof far);
    using Halves = std::int64_t __attribute__((vector_size(16)));
    const Halves beyond = reinterpret_cast<Halves>(reach.least > far);
    return (beyond[0] | beyond[1]) == 0;
  }

  // Calls keep for the figures of one cell that meet the reach, and takes out those it
  // refuses by moving the cell's last figure into their place; returns how many went.
  // Which figures meet is worked out without a branch each, since which ones do cannot
  // be foreseen.
  template <typename Touch, typename Keep>
  std::size_t ScanCell(std::vector<Entry>& cell, const Reach& reach, Touch touch, Keep keep) {
    m_meeting.resize(cell.size());
    std::size_t meeting = 0;
    for (std::uint32_t i = 0; i < cell.size(); ++i) {
      m_meeting[meeting] = i;
      meeting += Meets(cell[i], reach);
    }
    for (std::size_t k = 0; k < meeting; ++k) touch(cell[m_meeting[k]].id);
    // From the last meeting figure back, so that the figure moved into a place taken out
    // was already seen.
    std::size_t gone = 0;
    for (std::size_t k = meeting; k-- > 0;) {
      Entry& entry = cell[m_meeting[k]];
      if (keep(entry.id, entry.tag)) continue;
      entry = cell.back();
      cell.pop_back();
      ++gone;
    }
    return gone;
  }

  int Column(double x) const;
  int Row(double y) const;
  void AddRows(const Entry& entry, int column, double lowY, double highY);

  CPoint m_low;
  CPoint m_high;
  double m_cellWidth;
  double m_cellHeight;
  double m_columnsPerUnit;
  double m_rowsPerUnit;
  int m_cells;
  std::vector<std::vector<Entry>> m_entries;
  // The places in a cell of the figures a scan found there.
  std::vector<std::uint32_t> m_meeting;
  std::size_t m_entryCount = 0;
};
