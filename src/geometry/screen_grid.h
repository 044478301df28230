#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <vector>

class CBox;
struct CDisplayNode;

// A grid of cells over the window area of the scene, each listing the display nodes
// whose box bounds meet it, so that a new box meets only the boxes whose bounds may
// overlap its own. Bounds outside the grid are clamped to its border cells, which keeps
// every overlap (only the speed suffers); a node whose box spans too many cells is kept
// in a separate list that every query visits. Clearing keeps the cells' storage.
//
// Bounds without width (or without height) are kept apart from the others: two such
// boxes never overlap with an area, so a design of thousands of zero-size boxes at one
// point, all in one cell, does not make every query meet all of them.
//
// A cell where many boxes much smaller than the cells start (small parts packed in one
// spot of a design whose other boxes set the cell size) gets a finer grid of its own for
// them, so that a query there meets only the small boxes near its own bounds.
//
// A node filed in one list only (one cell, or the oversize list) knows its place there, so
// that removing it costs no search even where thousands of nodes share a cell (zero-size
// boxes at one point); a node in several cells is searched for in each, as a query of its
// bounds visits them all anyway.
//
// Every entry keeps its node's step (its place in a re-sort's insertion order), so that a
// re-sort looking for the earlier steps a box meets reads neither the nodes met nor those
// of later steps: a grid filed by bands alone since its layout lists each cell in step
// order, and such a query stops in each cell at the first later step.
class CScreenGrid {
 public:
  // A node as a cell lists it, with its step as filed (see Add and CBandFiling).
  struct Entry {
    CDisplayNode* node = nullptr;
    std::uint32_t step = 0;
  };

  // Where a node is filed; kept by the node.
  struct Filing {
    std::int32_t x0 = 0;
    std::int32_t y0 = 0;
    std::int32_t x1 = -1;
    std::int32_t y1 = -1;
    bool filed = false;
    bool oversize = false;
    bool clamped = false;
    std::uint8_t flatness = 0;  // kFlatX, kFlatY
    std::uint32_t home = 0;     // 1 + the cell whose finer grid holds the node, 0 for none
    // The node's place in the one list that holds it (a single cell's or the oversize
    // list), so that it leaves that list without a search.
    std::uint32_t slot = 0;
  };

  // A box's window bounds as the grid reads them, which a caller that reads many boxes
  // anyway may take once for it (Bounds).
  struct Bounds {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    bool finite = false;
    // StrictlyOverlap of the two boxes, by their bounds.
    bool StrictlyOverlaps(const Bounds& other) const {
      return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
  };
  static Bounds BoundsOf(const CBox& box);
  // What a layout reads of the boxes' bounds as a whole: the area the finite ones cover and
  // the larger side of each that has one. A caller that takes the bounds piece by piece may
  // gather it alongside, a spread for each piece, merged in the pieces' order.
  struct Spread {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    bool any = false;
    std::vector<double> sizes;
    void Add(const Bounds& bounds);
    void Merge(const Spread& other);

   private:
    // Widens the area to cover that rectangle.
    void Cover(double l, double t, double r, double b);
  };

  CScreenGrid();
  ~CScreenGrid();
  CScreenGrid(const CScreenGrid&) = delete;
  CScreenGrid& operator=(const CScreenGrid&) = delete;
  CScreenGrid(CScreenGrid&&) noexcept = default;
  CScreenGrid& operator=(CScreenGrid&&) noexcept = default;

  // Lays the cells out for boxes like these (their current window bounds) and empties
  // the grid.
  void Layout(std::span<CBox* const> boxes);
  // The same from the boxes' bounds taken beforehand, one for each box (boxes of crowded
  // cells are read again, for their finer grids).
  void Layout(std::span<CBox* const> boxes, std::span<const Bounds> bounds);
  // The same with the spread of those bounds gathered beforehand.
  void Layout(std::span<CBox* const> boxes, std::span<const Bounds> bounds, Spread spread);
  // Empties the grid and forgets the layout: the next Add lays it out around its box.
  void Reset();
  // Nodes that spoil the layout: filed in the oversize list or clamped at the border.
  std::size_t MisfitCount() const { return m_oversize.size() + m_clamped; }

  // Files the node by its box's current window bounds, with the node's step; a box with a
  // non-finite projection is not filed.
  void Add(CDisplayNode* node);
  // The same with the node's box's current bounds, taken beforehand.
  void Add(CDisplayNode* node, const Bounds& bounds);
  // Add of many nodes in turn on several threads, once laid out: node k by
  // bounds[boundsOf[k]] with step k, the same cells listing their nodes in the same order.
  // Each band files the rows of cells of its own share, all bands at the same time, each
  // once (File); then Finish. When stop is seen set, some nodes are left unfiled.
  class CBandFiling {
   public:
    CBandFiling(CScreenGrid& grid, std::span<CDisplayNode* const> nodes,
                std::span<const Bounds> bounds, std::span<const std::uint32_t> boundsOf,
                std::size_t bands);
    std::size_t Bands() const { return m_clamped.size(); }
    void File(std::size_t band, const std::atomic<bool>* stop);
    void Finish();

   private:
    CScreenGrid& m_grid;
    std::span<CDisplayNode* const> m_nodes;
    std::span<const Bounds> m_bounds;
    std::span<const std::uint32_t> m_boundsOf;
    std::vector<std::size_t> m_clamped;  // by band
  };
  void Remove(CDisplayNode* node);
  // How many times removing a node searched a list for it, finer grids included.
  std::size_t RemovalSearches() const;

  // Calls visit(node) for every filed node whose cells meet the box's bounds (a node may
  // come more than once). Returns false, visiting nothing, when the box spans too many
  // cells for a query to pay: the caller then scans every node itself.
  template <class Visit>
  bool Query(const CBox& box, Visit&& visit) const;
  // The same for the given bounds (those of BoundsOf), visiting visit(entry) only for the
  // entries of steps before `before`.
  template <class Visit>
  bool QueryEarlier(const Bounds& bounds, std::uint32_t before, Visit&& visit) const;

 private:
  static constexpr std::uint8_t kFlatX = 1;  // no width
  static constexpr std::uint8_t kFlatY = 2;  // no height
  static constexpr std::size_t kFlatnessKinds = 4;
  static constexpr std::int64_t kMaxCellsPerNode = 64;
  static constexpr std::int64_t kMaxCellsPerQuery = 1024;
  // A box at least this many times smaller than a cell is small; a cell where this many
  // small boxes start gets a finer grid for them.
  static constexpr double kSmallRatio = 8.0;
  static constexpr std::size_t kCrowdedCell = 64;

  void LayoutArea(double left, double top, double right, double bottom, double cellSize,
                  double leastCells);
  void LayoutFineGrids(std::span<CBox* const> boxes, std::span<const Bounds> bounds);
  // Where a box's bounds start on screen and their larger side.
  struct CStart {
    double x = 0.0;
    double y = 0.0;
    double size = 0.0;
    bool finite = false;
  };
  static CStart StartOf(const Bounds& bounds);
  // The cell a small box starts in (its low corner's, within the grid), or none.
  bool HomeCell(const CStart& start, std::size_t& cell) const;
  // Query and QueryEarlier: the entries of steps before `before`, the cells of a grid in
  // step order (stepOrdered, the top grid's) left at their first later step.
  template <class Visit>
  bool QueryEntries(const Bounds& bounds, std::uint32_t before, bool stepOrdered,
                    Visit& visit) const;
  template <class Visit>
  static void VisitEarlier(const std::vector<Entry>& list, std::uint32_t before, bool stepOrdered,
                           Visit& visit);
  template <class Visit>
  void QueryCells(const Filing& range, std::uint32_t before, bool stepOrdered, Visit& visit) const;
  template <class Visit>
  void QueryFine(const Bounds& bounds, const Filing& range, std::uint32_t before, bool stepOrdered,
                 Visit& visit) const;
  // Add without the bookkeeping of the step order: the filing of a band or of a finer grid.
  void File(CDisplayNode* node, const Bounds& bounds, std::uint32_t step);
  bool CellRange(const Bounds& bounds, Filing& range) const;
  static std::uint8_t Flatness(const Bounds& bounds);
  void ClearCells();
  std::size_t CellCount() const {
    return static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_rows);
  }
  std::size_t CellIndex(std::int32_t cx, std::int32_t cy) const {
    return static_cast<std::size_t>(cy) * static_cast<std::size_t>(m_columns) +
           static_cast<std::size_t>(cx);
  }
  std::vector<Entry>& Cell(std::uint8_t flatness, std::int32_t cx, std::int32_t cy);
  static bool InOneList(const Filing& filing) {
    return filing.oversize || (filing.x0 == filing.x1 && filing.y0 == filing.y1);
  }
  void Drop(std::vector<Entry>& list, CDisplayNode* node);
  double m_cellSize = 0.0;  // 0: no layout yet
  double m_left = 0.0;
  double m_top = 0.0;
  std::int32_t m_columns = 0;
  std::int32_t m_rows = 0;
  // The cells of each flatness; those of flat bounds are made when first needed.
  std::array<std::vector<std::vector<Entry>>, kFlatnessKinds> m_cells;
  std::vector<Entry> m_oversize;
  // Laid out (or reset) and nothing filed since; and whether every list holds its entries
  // in step order, as when bands filed a fresh grid and nothing was added or removed since.
  bool m_fresh = true;
  bool m_stepOrdered = false;
  std::size_t m_clamped = 0;
  // The finer grids of crowded cells: for each cell 1 + its grid's index, or 0; empty
  // while there is none. A finer grid has no finer grids itself.
  std::vector<std::uint32_t> m_fineOf;
  std::vector<std::unique_ptr<CScreenGrid>> m_fine;
  bool m_isFine = false;
  std::size_t m_removalSearches = 0;
};

template <class Visit>
bool CScreenGrid::Query(const CBox& box, Visit&& visit) const {
  auto visitNode = [&visit](const Entry& entry) { visit(entry.node); };
  return QueryEntries(BoundsOf(box), std::numeric_limits<std::uint32_t>::max(), false, visitNode);
}

template <class Visit>
bool CScreenGrid::QueryEarlier(const Bounds& bounds, std::uint32_t before, Visit&& visit) const {
  return QueryEntries(bounds, before, m_stepOrdered, visit);
}

template <class Visit>
bool CScreenGrid::QueryEntries(const Bounds& bounds, std::uint32_t before, bool stepOrdered,
                               Visit& visit) const {
  Filing range;
  if (m_cellSize <= 0.0 || !CellRange(bounds, range)) return true;
  range.flatness = Flatness(bounds);
  const std::int64_t cells =
      (std::int64_t{range.x1} - range.x0 + 1) * (std::int64_t{range.y1} - range.y0 + 1);
  // A finer grid lies within its parent's cell, so a query of any size visits it whole.
  if (cells > kMaxCellsPerQuery && !m_isFine) return false;
  QueryCells(range, before, stepOrdered, visit);
  if (!m_fine.empty()) QueryFine(bounds, range, before, stepOrdered, visit);
  return true;
}

template <class Visit>
void CScreenGrid::VisitEarlier(const std::vector<Entry>& list, std::uint32_t before,
                               bool stepOrdered, Visit& visit) {
  for (const Entry& entry : list) {
    if (entry.step < before) {
      visit(entry);
    } else if (stepOrdered) {
      return;
    }
  }
}

template <class Visit>
void CScreenGrid::QueryCells(const Filing& range, std::uint32_t before, bool stepOrdered,
                             Visit& visit) const {
  const std::uint8_t flatness = range.flatness;
  for (std::uint8_t kind = 0; kind < kFlatnessKinds; ++kind) {
    // Bounds flat along an axis that the box is flat along too cannot overlap it.
    if ((kind & flatness) != 0 || m_cells[kind].size() < CellCount()) continue;
    for (std::int32_t cy = range.y0; cy <= range.y1; ++cy) {
      for (std::int32_t cx = range.x0; cx <= range.x1; ++cx)
        VisitEarlier(m_cells[kind][CellIndex(cx, cy)], before, stepOrdered, visit);
    }
  }
  VisitEarlier(m_oversize, before, stepOrdered, visit);
}

template <class Visit>
void CScreenGrid::QueryFine(const Bounds& bounds, const Filing& range, std::uint32_t before,
                            bool stepOrdered, Visit& visit) const {
  // A small box reaches less than a cell beyond the cell it starts in.
  for (std::int32_t cy = std::max(range.y0 - 1, 0); cy <= range.y1; ++cy) {
    for (std::int32_t cx = std::max(range.x0 - 1, 0); cx <= range.x1; ++cx) {
      if (const std::uint32_t fine = m_fineOf[CellIndex(cx, cy)])
        m_fine[fine - 1]->QueryEntries(bounds, before, stepOrdered, visit);
    }
  }
}
