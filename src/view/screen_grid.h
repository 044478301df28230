#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

class CBox;
struct CDisplayNode;

// A spatial hash of display nodes by the window bounds of their boxes, so that a new box
// meets only the boxes whose bounds may overlap its own. A node whose box spans too many
// cells is kept in a separate list that every query visits.
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
  };

  // Empties the grid; a cell size of 0 lets the next Add choose one.
  void Reset(double cellSize);
  double CellSize() const { return m_cellSize; }
  std::size_t OversizeCount() const { return m_oversize.size(); }

  // Files the node by its box's current projected bounds; a box with a non-finite
  // projection is not filed.
  void Add(CDisplayNode* node);
  void Remove(CDisplayNode* node);

  // Calls visit(node) for every filed node whose cells meet the box's bounds (a node may
  // come more than once). Returns false, visiting nothing, when the box spans too many
  // cells for a query to pay: the caller then scans every node itself.
  template <class Visit>
  bool Query(const CBox& box, Visit&& visit) const;

  // A cell size suited to boxes of these window extents (the median of their larger
  // side, at least 1).
  static double SuggestCellSize(std::vector<double> extents);

 private:
  static constexpr std::int64_t kMaxCellsPerNode = 64;
  static constexpr std::int64_t kMaxCellsPerQuery = 1024;

  bool CellRange(const CBox& box, Filing& range) const;
  static std::uint64_t Key(std::int32_t cx, std::int32_t cy);
  const std::vector<CDisplayNode*>* Cell(std::int32_t cx, std::int32_t cy) const;

  double m_cellSize = 0.0;
  std::unordered_map<std::uint64_t, std::vector<CDisplayNode*>> m_cells;
  std::vector<CDisplayNode*> m_oversize;
};

template <class Visit>
bool CScreenGrid::Query(const CBox& box, Visit&& visit) const {
  Filing range;
  if (m_cellSize <= 0.0 || !CellRange(box, range)) return true;
  const std::int64_t cells = (std::int64_t{range.x1} - range.x0 + 1) * (std::int64_t{range.y1} - range.y0 + 1);
  if (cells > kMaxCellsPerQuery) return false;
  for (std::int32_t cx = range.x0; cx <= range.x1; ++cx) {
    for (std::int32_t cy = range.y0; cy <= range.y1; ++cy) {
      if (const std::vector<CDisplayNode*>* cell = Cell(cx, cy)) {
        for (CDisplayNode* node : *cell) visit(node);
      }
    }
  }
  for (CDisplayNode* node : m_oversize) visit(node);
  return true;
}
