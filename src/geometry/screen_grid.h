#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class CBox;
struct CDisplayNode;

// A grid of cells over the window area of the scene, each listing the display nodes
// whose box bounds meet it, so that a new box meets only the boxes whose bounds may
// overlap its own. Bounds outside the grid are clamped to its border cells, which keeps
// every overlap (only the speed suffers); a node whose box spans too many cells is kept
// in a separate list that every query visits. Clearing keeps the cells' storage.
class CScreenGrid {
 public:
  // Where a node is filed; kept by the node.
  struct Filing {
    std::int32_t x0 = 0;
    std::int32_t y0 = 0;
    std::int32_t x1 = -1;
    std::int32_t y1 = -1;
    bool filed = false;
    bool oversize = false;
    bool clamped = false;
  };

  // Lays the cells out for boxes like these (their current window bounds) and empties
  // the grid.
  void Layout(std::span<CBox* const> boxes);
  // Empties the grid and forgets the layout: the next Add lays it out around its box.
  void Reset();
  // Nodes that spoil the layout: filed in the oversize list or clamped at the border.
  std::size_t MisfitCount() const { return m_oversize.size() + m_clamped; }

  // Files the node by its box's current window bounds; a box with a non-finite
  // projection is not filed.
  void Add(CDisplayNode* node);
  void Remove(CDisplayNode* node);

  // Calls visit(node) for every filed node whose cells meet the box's bounds (a node may
  // come more than once). Returns false, visiting nothing, when the box spans too many
  // cells for a query to pay: the caller then scans every node itself.
  template <class Visit>
  bool Query(const CBox& box, Visit&& visit) const;

 private:
  static constexpr std::int64_t kMaxCellsPerNode = 64;
  static constexpr std::int64_t kMaxCellsPerQuery = 1024;

  void LayoutArea(double left, double top, double right, double bottom, double cellSize,
                  std::size_t boxes);
  bool CellRange(const CBox& box, Filing& range) const;
  std::vector<CDisplayNode*>& Cell(std::int32_t cx, std::int32_t cy) {
    return m_cells[static_cast<std::size_t>(cy) * static_cast<std::size_t>(m_columns) +
                   static_cast<std::size_t>(cx)];
  }
  const std::vector<CDisplayNode*>& Cell(std::int32_t cx, std::int32_t cy) const {
    return m_cells[static_cast<std::size_t>(cy) * static_cast<std::size_t>(m_columns) +
                   static_cast<std::size_t>(cx)];
  }

  double m_cellSize = 0.0;  // 0: no layout yet
  double m_left = 0.0;
  double m_top = 0.0;
  std::int32_t m_columns = 0;
  std::int32_t m_rows = 0;
  std::vector<std::vector<CDisplayNode*>> m_cells;
  std::vector<CDisplayNode*> m_oversize;
  std::size_t m_clamped = 0;
};

template <class Visit>
bool CScreenGrid::Query(const CBox& box, Visit&& visit) const {
  Filing range;
  if (m_cellSize <= 0.0 || !CellRange(box, range)) return true;
  const std::int64_t cells =
      (std::int64_t{range.x1} - range.x0 + 1) * (std::int64_t{range.y1} - range.y0 + 1);
  if (cells > kMaxCellsPerQuery) return false;
  for (std::int32_t cy = range.y0; cy <= range.y1; ++cy) {
    for (std::int32_t cx = range.x0; cx <= range.x1; ++cx) {
      for (CDisplayNode* node : Cell(cx, cy)) visit(node);
    }
  }
  for (CDisplayNode* node : m_oversize) visit(node);
  return true;
}
