#pragma once

#include <cstdint>
#include <vector>

#include "platform/draw_types.h"

// An upright box of a drawing, ends included.
struct CDxfBounds {
  std::int32_t minX = 0;
  std::int32_t maxX = 0;
  std::int32_t minY = 0;
  std::int32_t maxY = 0;

  static CDxfBounds Of(CPoint a, CPoint b);
  void Add(CPoint point);
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
  // takes it out of that cell.
  template <typename Keep>
  void Scan(const CDxfBounds& area, Keep keep) {
    const int x0 = Column(area.minX), x1 = Column(area.maxX), y1 = Row(area.maxY);
    for (int y = Row(area.minY); y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        std::vector<Entry>& cell = m_entries[static_cast<std::size_t>(y) * m_cells + x];
        const std::size_t gone = ScanCell(cell, area, keep);
        // Untouched cells are only read, not written back.
        if (gone == 0) continue;
        std::erase_if(cell, [](const Entry& entry) { return entry.id < 0; });
        m_entryCount -= gone;
      }
    }
  }

 private:
  struct Entry {
    int id;
    std::uint32_t tag;
    CDxfBounds bounds;
  };

  // The figures of one cell that keep takes out are marked with a negative id; returns
  // how many. Which figures meet the area is worked out without a branch each, since
  // which ones do cannot be foreseen.
  template <typename Keep>
  std::size_t ScanCell(std::vector<Entry>& cell, const CDxfBounds& area, Keep keep) {
    m_meeting.resize(cell.size());
    std::size_t meeting = 0;
    for (std::uint32_t i = 0; i < cell.size(); ++i) {
      const CDxfBounds& b = cell[i].bounds;
      m_meeting[meeting] = i;
      meeting += (b.maxX >= area.minX) & (area.maxX >= b.minX) & (b.maxY >= area.minY) &
                 (area.maxY >= b.minY);
    }
    std::size_t gone = 0;
    for (std::size_t k = 0; k < meeting; ++k) {
      Entry& entry = cell[m_meeting[k]];
      if (keep(entry.id, entry.tag)) continue;
      entry.id = -1;
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
  int m_cells;
  std::vector<std::vector<Entry>> m_entries;
  // The places in a cell of the figures a scan found there.
  std::vector<std::uint32_t> m_meeting;
  std::size_t m_entryCount = 0;
};
