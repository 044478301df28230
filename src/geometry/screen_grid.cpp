#include "geometry/screen_grid.h"

#include "geometry/box.h"
#include "geometry/display_list.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// How many nodes a band files between looks at the stop flag.
constexpr std::size_t kNodesBetweenLooks = 256;

// The cell index of a window coordinate, and whether it had to be clamped. Past the
// clamping of the negative side, truncation floors: no call to floor() on this hot path.
std::int32_t CellOf(double value, double origin, double cellSize, std::int32_t count,
                    bool& clamped) {
  const double cell = (value - origin) / cellSize;
  if (cell < 0.0) {
    clamped = true;
    return 0;
  }
  if (cell >= count) {
    clamped = true;
    return count - 1;
  }
  return static_cast<std::int32_t>(cell);
}

// Visits the boxes in order, asking for the memory of the next ones meanwhile: a scene's
// boxes stand far apart in memory.
template <class Visit>
void VisitFetchingAhead(std::span<CBox* const> boxes, Visit&& visit) {
  constexpr std::size_t kAhead = 8;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    if (i + kAhead < boxes.size()) boxes[i + kAhead]->Prefetch();
    visit(boxes[i]);
  }
}

}  // namespace

CScreenGrid::CScreenGrid() = default;

CScreenGrid::~CScreenGrid() = default;

CScreenGrid::Bounds CScreenGrid::BoundsOf(const CBox& box) {
  const C3DPoint& low = box.GetProjectedMin();
  const C3DPoint& high = box.GetProjectedMax();
  return {low.x, low.y, high.x, high.y, box.HasFiniteProjection()};
}

void CScreenGrid::Layout(std::span<CBox* const> boxes) {
  // The boxes are read once.
  std::vector<Bounds> bounds;
  bounds.reserve(boxes.size());
  VisitFetchingAhead(boxes, [&](const CBox* box) { bounds.push_back(BoundsOf(*box)); });
  Layout(boxes, bounds);
}

void CScreenGrid::Spread::Add(const Bounds& bounds) {
  const CStart start = StartOf(bounds);
  if (!start.finite) return;
  Cover(bounds.left, bounds.top, bounds.right, bounds.bottom);
  if (start.size > 0.0) sizes.push_back(start.size);
}

void CScreenGrid::Spread::Cover(double l, double t, double r, double b) {
  left = any ? std::min(left, l) : l;
  top = any ? std::min(top, t) : t;
  right = any ? std::max(right, r) : r;
  bottom = any ? std::max(bottom, b) : b;
  any = true;
}

void CScreenGrid::Spread::Merge(const Spread& other) {
  if (other.any) Cover(other.left, other.top, other.right, other.bottom);
  sizes.insert(sizes.end(), other.sizes.begin(), other.sizes.end());
}

void CScreenGrid::Layout(std::span<CBox* const> boxes, std::span<const Bounds> bounds) {
  Spread spread;
  spread.sizes.reserve(bounds.size());
  for (const Bounds& box : bounds) spread.Add(box);
  Layout(boxes, bounds, std::move(spread));
}

void CScreenGrid::Layout(std::span<CBox* const> boxes, std::span<const Bounds> bounds,
                         Spread spread) {
  std::vector<double>& sizes = spread.sizes;
  // A finer grid serves boxes smaller than a pixel as well.
  const double leastCellSize = m_isFine ? 1.0 / 64 : 1.0;
  double cellSize = leastCellSize;
  if (!sizes.empty()) {
    const auto middle = sizes.begin() + static_cast<std::ptrdiff_t>(sizes.size() / 2);
    std::nth_element(sizes.begin(), middle, sizes.end());
    cellSize = std::max(*middle, leastCellSize);
  }
  const double boxCells = static_cast<double>(bounds.size()) * 2.0;
  LayoutArea(spread.left, spread.top, spread.right, spread.bottom, cellSize,
             std::max(boxCells, m_isFine ? 64.0 : 4096.0));
  m_fineOf.clear();
  m_fine.clear();
  if (!m_isFine) LayoutFineGrids(boxes, bounds);
}

CScreenGrid::CStart CScreenGrid::StartOf(const Bounds& bounds) {
  CStart start;
  start.finite = bounds.finite;
  if (!start.finite) return start;
  start.x = bounds.left;
  start.y = bounds.top;
  start.size = std::max(bounds.right - bounds.left, bounds.bottom - bounds.top);
  return start;
}

bool CScreenGrid::HomeCell(const CStart& start, std::size_t& cell) const {
  if (m_isFine || !start.finite) return false;
  if (start.size * kSmallRatio > m_cellSize) return false;
  bool clamped = false;
  const std::int32_t cx = CellOf(start.x, m_left, m_cellSize, m_columns, clamped);
  const std::int32_t cy = CellOf(start.y, m_top, m_cellSize, m_rows, clamped);
  cell = CellIndex(cx, cy);
  return !clamped;
}

void CScreenGrid::LayoutFineGrids(std::span<CBox* const> boxes, std::span<const Bounds> bounds) {
  std::vector<std::uint32_t> count(CellCount(), 0);
  std::size_t cell = 0;
  for (const Bounds& box : bounds) {
    if (HomeCell(StartOf(box), cell)) ++count[cell];
  }
  std::vector<std::vector<CBox*>> crowded;
  for (std::size_t c = 0; c < count.size(); ++c) {
    if (count[c] < kCrowdedCell) continue;
    if (m_fineOf.empty()) m_fineOf.assign(CellCount(), 0);
    crowded.emplace_back().reserve(count[c]);
    m_fineOf[c] = static_cast<std::uint32_t>(crowded.size());
  }
  if (crowded.empty()) return;
  for (std::size_t k = 0; k < boxes.size(); ++k) {
    if (HomeCell(StartOf(bounds[k]), cell) && m_fineOf[cell] != 0)
      crowded[m_fineOf[cell] - 1].push_back(boxes[k]);
  }
  for (const auto& small : crowded) {
    m_fine.push_back(std::make_unique<CScreenGrid>());
    m_fine.back()->m_isFine = true;
    m_fine.back()->Layout(small);
  }
}

void CScreenGrid::LayoutArea(double left, double top, double right, double bottom, double cellSize,
                             double leastCells) {
  // About two cells per box at most, so that laying out and clearing stay cheap.
  const double cells = leastCells;
  const double width = right - left;
  const double height = bottom - top;
  if (width / cellSize * (height / cellSize) > cells) cellSize = std::sqrt(width * height / cells);
  m_cellSize = std::max(cellSize, 1.0);
  m_left = left;
  m_top = top;
  m_columns =
      static_cast<std::int32_t>(std::clamp(std::ceil(width / m_cellSize) + 1.0, 1.0, cells));
  m_rows = static_cast<std::int32_t>(
      std::clamp(std::ceil(height / m_cellSize) + 1.0, 1.0, cells / m_columns + 1.0));
  // A grid reset or laid out with nothing filed since has its cells empty already.
  if (!m_fresh) ClearCells();
  if (m_cells[0].size() < CellCount()) m_cells[0].resize(CellCount());
  m_oversize.clear();
  m_clamped = 0;
  // Empty lists are in any order.
  m_fresh = m_stepOrdered = true;
}

void CScreenGrid::ClearCells() {
  for (auto& cells : m_cells) {
    for (auto& cell : cells) cell.clear();
  }
}

std::uint8_t CScreenGrid::Flatness(const Bounds& bounds) {
  return static_cast<std::uint8_t>((bounds.left < bounds.right ? 0 : kFlatX) |
                                   (bounds.top < bounds.bottom ? 0 : kFlatY));
}

std::vector<CScreenGrid::Entry>& CScreenGrid::Cell(std::uint8_t flatness, std::int32_t cx,
                                                   std::int32_t cy) {
  auto& cells = m_cells[flatness];
  if (cells.size() < CellCount()) cells.resize(CellCount());
  return cells[CellIndex(cx, cy)];
}

void CScreenGrid::Reset() {
  ClearCells();
  m_oversize.clear();
  m_clamped = 0;
  // Empty lists are in any order.
  m_fresh = m_stepOrdered = true;
  m_cellSize = 0.0;
  m_fineOf.clear();
  m_fine.clear();
}

bool CScreenGrid::CellRange(const Bounds& bounds, Filing& range) const {
  if (!bounds.finite) return false;
  bool clamped = false;
  range.x0 = CellOf(bounds.left, m_left, m_cellSize, m_columns, clamped);
  range.y0 = CellOf(bounds.top, m_top, m_cellSize, m_rows, clamped);
  range.x1 = CellOf(bounds.right, m_left, m_cellSize, m_columns, clamped);
  range.y1 = CellOf(bounds.bottom, m_top, m_cellSize, m_rows, clamped);
  range.clamped = clamped;
  return true;
}

void CScreenGrid::Add(CDisplayNode* node) { Add(node, BoundsOf(*node->box)); }

void CScreenGrid::Add(CDisplayNode* node, const Bounds& bounds) {
  File(node, bounds, node->step);
  m_fresh = m_stepOrdered = false;
}

void CScreenGrid::File(CDisplayNode* node, const Bounds& bounds, std::uint32_t step) {
  Filing& filing = node->filing;
  filing = Filing();
  if (!bounds.finite) return;
  if (m_cellSize <= 0.0) {
    // No layout yet: cells of this box's size around it.
    const double size = std::max({bounds.right - bounds.left, bounds.bottom - bounds.top, 1.0});
    LayoutArea(bounds.left - 32 * size, bounds.top - 32 * size, bounds.left + 32 * size,
               bounds.top + 32 * size, size, 4096.0);
  }
  m_fresh = false;
  std::size_t home = 0;
  if (!m_fine.empty() && HomeCell(StartOf(bounds), home) && m_fineOf[home] != 0) {
    m_fine[m_fineOf[home] - 1]->File(node, bounds, step);
    filing.home = static_cast<std::uint32_t>(home + 1);
    return;
  }
  CellRange(bounds, filing);
  filing.filed = true;
  filing.flatness = Flatness(bounds);
  if (filing.clamped) ++m_clamped;
  const std::int64_t cells =
      (std::int64_t{filing.x1} - filing.x0 + 1) * (std::int64_t{filing.y1} - filing.y0 + 1);
  if (cells > kMaxCellsPerNode) {
    filing.oversize = true;
    filing.slot = static_cast<std::uint32_t>(m_oversize.size());
    m_oversize.push_back({node, step});
    return;
  }
  for (std::int32_t cy = filing.y0; cy <= filing.y1; ++cy) {
    for (std::int32_t cx = filing.x0; cx <= filing.x1; ++cx) {
      std::vector<Entry>& list = Cell(filing.flatness, cx, cy);
      filing.slot = static_cast<std::uint32_t>(list.size());  // read only for a single cell
      list.push_back({node, step});
    }
  }
}

CScreenGrid::CBandFiling::CBandFiling(CScreenGrid& grid, std::span<CDisplayNode* const> nodes,
                                      std::span<const Bounds> bounds,
                                      std::span<const std::uint32_t> boundsOf, std::size_t bands)
    : m_grid(grid), m_nodes(nodes), m_bounds(bounds), m_boundsOf(boundsOf) {
  // Steps filed in turn into lists empty before keep every list in step order.
  grid.m_stepOrdered = grid.m_fresh;
  grid.m_fresh = false;
  // Without a layout the first Add lays the grid out: one band does it all.
  const bool laidOut = grid.m_cellSize > 0.0 && !grid.m_isFine;
  m_clamped.assign(laidOut ? std::clamp<std::size_t>(bands, 1, std::size_t(grid.m_rows)) : 1, 0);
  if (Bands() == 1) return;
  // The bands share the tables of cells, which must not grow meanwhile: those of every
  // flatness met are made first.
  std::array<bool, kFlatnessKinds> met{};
  for (const Bounds& box : bounds) {
    if (box.finite) met[Flatness(box)] = true;
  }
  for (std::uint8_t kind = 0; kind < kFlatnessKinds; ++kind) {
    if (met[kind] && grid.m_cells[kind].size() < grid.CellCount())
      grid.m_cells[kind].resize(grid.CellCount());
  }
}

void CScreenGrid::CBandFiling::Finish() {
  for (std::size_t& count : m_clamped) {
    m_grid.m_clamped += count;
    count = 0;
  }
}

void CScreenGrid::CBandFiling::File(std::size_t band, const std::atomic<bool>* stop) {
  CScreenGrid& grid = m_grid;
  auto stopped = [stop](std::size_t k) {
    return stop != nullptr && k % kNodesBetweenLooks == 0 && stop->load(std::memory_order_relaxed);
  };
  if (Bands() == 1) {
    for (std::size_t k = 0; k < m_nodes.size() && !stopped(k); ++k)
      grid.File(m_nodes[k], m_bounds[m_boundsOf[k]], static_cast<std::uint32_t>(k));
    return;
  }
  const auto rowFrom = static_cast<std::int32_t>(grid.m_rows * band / Bands());
  const auto rowTo = static_cast<std::int32_t>(grid.m_rows * (band + 1) / Bands());
  const bool first = band == 0;
  auto ours = [&](std::int32_t row) { return row >= rowFrom && row < rowTo; };
  // Whether bounds lie over this band's rows as they are filed (a node of a finer grid by
  // its home cell, in its top row).
  auto overOurRows = [&](const Bounds& box) {
    bool clamped = false;
    return CellOf(box.top, grid.m_top, grid.m_cellSize, grid.m_rows, clamped) < rowTo &&
           CellOf(box.bottom, grid.m_top, grid.m_cellSize, grid.m_rows, clamped) >= rowFrom;
  };
  std::size_t clamped = 0;
  for (std::size_t k = 0; k < m_nodes.size() && !stopped(k); ++k) {
    CDisplayNode* node = m_nodes[k];
    const Bounds& box = m_bounds[m_boundsOf[k]];
    if (!box.finite) {
      if (first) node->filing = Filing();
      continue;
    }
    // The other bands file only the nodes over their rows (the first files the oversize
    // ones as well): a node's rows are known before the rest of its filing.
    if (!first && !overOurRows(box)) continue;
    std::size_t home = 0;
    if (!grid.m_fine.empty() && grid.HomeCell(StartOf(box), home) && grid.m_fineOf[home] != 0) {
      // A finer grid lies within one cell, so one band has it all.
      if (!ours(static_cast<std::int32_t>(home / static_cast<std::size_t>(grid.m_columns))))
        continue;
      node->filing = Filing();
      grid.m_fine[grid.m_fineOf[home] - 1]->File(node, box, static_cast<std::uint32_t>(k));
      node->filing.home = static_cast<std::uint32_t>(home + 1);
      continue;
    }
    Filing filing;
    grid.CellRange(box, filing);
    filing.filed = true;
    filing.flatness = Flatness(box);
    const std::int64_t cells =
        (std::int64_t{filing.x1} - filing.x0 + 1) * (std::int64_t{filing.y1} - filing.y0 + 1);
    if (cells > kMaxCellsPerNode) {
      if (!first) continue;
      filing.oversize = true;
      filing.slot = static_cast<std::uint32_t>(grid.m_oversize.size());
      grid.m_oversize.push_back({node, static_cast<std::uint32_t>(k)});
    } else {
      auto& table = grid.m_cells[filing.flatness];
      for (std::int32_t cy = std::max(filing.y0, rowFrom); cy <= std::min(filing.y1, rowTo - 1);
           ++cy) {
        for (std::int32_t cx = filing.x0; cx <= filing.x1; ++cx) {
          std::vector<Entry>& list = table[grid.CellIndex(cx, cy)];
          filing.slot = static_cast<std::uint32_t>(list.size());  // read only for a single cell
          list.push_back({node, static_cast<std::uint32_t>(k)});
        }
      }
      if (!ours(filing.y0)) continue;
    }
    if (filing.clamped) ++clamped;
    node->filing = filing;
  }
  m_clamped[band] = clamped;
}

void CScreenGrid::Remove(CDisplayNode* node) {
  // A removal moves the last entry of a list into the node's place.
  m_fresh = m_stepOrdered = false;
  Filing& filing = node->filing;
  if (filing.home != 0) {
    const std::uint32_t home = filing.home;
    filing.home = 0;
    if (home - 1 < m_fineOf.size() && m_fineOf[home - 1] != 0)
      return m_fine[m_fineOf[home - 1] - 1]->Remove(node);
    filing = Filing();  // filed before the last layout
    return;
  }
  if (!filing.filed) return;
  if (filing.clamped) --m_clamped;
  if (filing.oversize) {
    Drop(m_oversize, node);
  } else {
    for (std::int32_t cy = filing.y0; cy <= filing.y1; ++cy) {
      for (std::int32_t cx = filing.x0; cx <= filing.x1; ++cx)
        Drop(Cell(filing.flatness, cx, cy), node);
    }
  }
  filing = Filing();
}

std::size_t CScreenGrid::RemovalSearches() const {
  std::size_t searches = m_removalSearches;
  for (const auto& fine : m_fine) searches += fine->RemovalSearches();
  return searches;
}

void CScreenGrid::Drop(std::vector<Entry>& list, CDisplayNode* node) {
  // The slot is trusted only when it holds the node: any other filing is searched for.
  std::size_t place = node->filing.slot;
  if (!InOneList(node->filing) || place >= list.size() || list[place].node != node) {
    ++m_removalSearches;
    const auto it = std::find_if(list.begin(), list.end(),
                                 [node](const Entry& entry) { return entry.node == node; });
    if (it == list.end()) return;
    place = static_cast<std::size_t>(it - list.begin());
  }
  CDisplayNode* const moved = list.back().node;
  list[place] = list.back();
  list.pop_back();
  if (moved != node && InOneList(moved->filing))
    moved->filing.slot = static_cast<std::uint32_t>(place);
}
