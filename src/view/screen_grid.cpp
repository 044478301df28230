#include "view/screen_grid.h"

#include "view/box.h"
#include "view/display_list.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kCellLimit = 1 << 30;

std::int32_t CellIndex(double value, double cellSize) {
  const double cell = std::floor(value / cellSize);
  return static_cast<std::int32_t>(std::clamp(cell, -kCellLimit, kCellLimit));
}

}  // namespace

void CScreenGrid::Reset(double cellSize) {
  m_cellSize = cellSize;
  m_cells.clear();
  m_oversize.clear();
}

bool CScreenGrid::CellRange(const CBox& box, Filing& range) const {
  if (!box.HasFiniteProjection()) return false;
  const C3DPoint& low = box.GetProjectedMin();
  const C3DPoint& high = box.GetProjectedMax();
  range.x0 = CellIndex(low.x, m_cellSize);
  range.y0 = CellIndex(low.y, m_cellSize);
  range.x1 = CellIndex(high.x, m_cellSize);
  range.y1 = CellIndex(high.y, m_cellSize);
  return true;
}

std::uint64_t CScreenGrid::Key(std::int32_t cx, std::int32_t cy) {
  return (std::uint64_t{static_cast<std::uint32_t>(cx)} << 32) | static_cast<std::uint32_t>(cy);
}

const std::vector<CDisplayNode*>* CScreenGrid::Cell(std::int32_t cx, std::int32_t cy) const {
  const auto it = m_cells.find(Key(cx, cy));
  return it == m_cells.end() ? nullptr : &it->second;
}

void CScreenGrid::Add(CDisplayNode* node) {
  const CBox& box = *node->box;
  if (m_cellSize <= 0.0) {
    const C3DPoint size = box.GetProjectedMax() - box.GetProjectedMin();
    m_cellSize = SuggestCellSize({std::max(size.x, size.y)});
  }
  Filing& filing = node->filing;
  filing = Filing();
  if (!CellRange(box, filing)) return;
  filing.filed = true;
  const std::int64_t cells = (std::int64_t{filing.x1} - filing.x0 + 1) * (std::int64_t{filing.y1} - filing.y0 + 1);
  if (cells > kMaxCellsPerNode) {
    filing.oversize = true;
    m_oversize.push_back(node);
    return;
  }
  for (std::int32_t cx = filing.x0; cx <= filing.x1; ++cx) {
    for (std::int32_t cy = filing.y0; cy <= filing.y1; ++cy) m_cells[Key(cx, cy)].push_back(node);
  }
}

void CScreenGrid::Remove(CDisplayNode* node) {
  Filing& filing = node->filing;
  if (!filing.filed) return;
  auto drop = [node](std::vector<CDisplayNode*>& list) {
    const auto it = std::find(list.begin(), list.end(), node);
    if (it == list.end()) return;
    *it = list.back();
    list.pop_back();
  };
  if (filing.oversize) {
    drop(m_oversize);
  } else {
    for (std::int32_t cx = filing.x0; cx <= filing.x1; ++cx) {
      for (std::int32_t cy = filing.y0; cy <= filing.y1; ++cy) {
        const auto it = m_cells.find(Key(cx, cy));
        if (it == m_cells.end()) continue;
        drop(it->second);
        if (it->second.empty()) m_cells.erase(it);
      }
    }
  }
  filing = Filing();
}

double CScreenGrid::SuggestCellSize(std::vector<double> extents) {
  std::erase_if(extents, [](double e) { return !std::isfinite(e) || e <= 0.0; });
  if (extents.empty()) return 1.0;
  const auto middle = extents.begin() + static_cast<std::ptrdiff_t>(extents.size() / 2);
  std::nth_element(extents.begin(), middle, extents.end());
  return std::max(*middle, 1.0);
}
