#include "view/dxf_entity_list.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

#include "geometry/plane_geometry.h"

namespace {

// Listings a cell holds on average before the cells are made finer.
constexpr std::size_t kEntriesPerCell = 4;
// Cells a side at most: the cells' own lists cost memory even when empty.
constexpr int kMostCellsPerSide = 512;

CPoint Middle(CPoint a, CPoint b) {
  return {static_cast<std::int32_t>((std::int64_t{a.x} + b.x) / 2),
          static_cast<std::int32_t>((std::int64_t{a.y} + b.y) / 2)};
}

// The index of the point after i on a closed figure of count points (no division: a hide
// takes it for every edge of every entity it meets).
std::size_t NextCorner(std::size_t i, std::size_t count) { return i + 1 == count ? 0 : i + 1; }

// Points this near the origin have coordinate differences below 2^31 and the products
// of two differences below 2^62, so the side of a point is exact in 64 bits.
constexpr std::int32_t kNear = 1 << 30;

bool IsNear(CPoint point) {
  return point.x > -kNear && point.x < kNear && point.y > -kNear && point.y < kNear;
}

// Positive left of the edge from `corner` by `step`, negative right of it, zero on its line.
std::int64_t SideOf(CPoint corner, CPoint step, CPoint point) {
  return std::int64_t{step.x} * (std::int64_t{point.y} - corner.y) -
         std::int64_t{step.y} * (std::int64_t{point.x} - corner.x);
}

// Whether the ends of a line lie strictly on either side of the line of an edge from
// `corner` by `step` (all near): the crossing lies at -sideOfFrom / (sideOfTo - sideOfFrom)
// of the way, strictly inside the line only then.
bool EndsApart(CPoint corner, CPoint step, CPoint from, CPoint to) {
  const std::int64_t sideOfFrom = SideOf(corner, step, from);
  const std::int64_t sideOfTo = SideOf(corner, step, to);
  return (sideOfFrom < 0 && sideOfTo > 0) || (sideOfFrom > 0 && sideOfTo < 0);
}

// PointInPolygon, apart from the hides' own test: far-out points are seldom met, and
// inlined it would cost every near one the registers it needs.
[[gnu::noinline]] bool InsideFarOut(CPoint point, std::span<const CPoint> polygon) {
  return PointInPolygon(point.x, point.y, polygon);
}

std::array<CPoint, 4> BoxCorners(CPoint p1, CPoint p2) {
  return {CPoint{p1.x, p1.y}, CPoint{p2.x, p1.y}, CPoint{p2.x, p2.y}, CPoint{p1.x, p2.y}};
}

}  // namespace

CDxfEntityList::CDxfEntityList(CPoint low, CPoint high, int cellsPerSide)
    : m_grid(low, high, cellsPerSide) {}

void CDxfEntityList::File(int id) {
  const Node& node = m_nodes[id];
  if (node.IsText()) {
    m_grid.AddBox(id, m_tags[id].generation, CDxfBounds::Of(node.p1, node.p2));
  } else {
    m_grid.AddLine(id, m_tags[id].generation, node.p1, node.p2);
  }
}

int CDxfEntityList::NewPlace() {
  if (m_freePlaces.empty()) {
    m_nodes.emplace_back();
    m_tags.emplace_back();
    m_links.emplace_back();
    return static_cast<int>(m_nodes.size()) - 1;
  }
  const int id = m_freePlaces.back();
  m_freePlaces.pop_back();
  return id;
}

int CDxfEntityList::AddNode(const Node& node, int payload, int after) {
  const int id = NewPlace();
  // The place keeps its tags: listings of the node that had it stay stale.
  m_nodes[id] = node;
  Link& link = m_links[id];
  link = {after, after < 0 ? -1 : m_links[after].next, payload};
  if (link.previous < 0) {
    m_first = id;
  } else {
    m_links[link.previous].next = id;
  }
  if (link.next < 0) {
    m_last = id;
  } else {
    m_links[link.next].previous = id;
  }
  ++m_alive;
  return id;
}

void CDxfEntityList::CSizes::Add(const CDxfBounds& bounds) {
  widths += double(bounds.maxX) - bounds.minX;
  heights += double(bounds.maxY) - bounds.minY;
  ++count;
}

void CDxfEntityList::Append(CDxfEntity entity) { Append(std::move(entity), m_appended); }

void CDxfEntityList::Append(CDxfEntity entity, std::uint64_t order) {
  m_figureSizes.Add(CDxfBounds::Of(entity.p1, entity.p2));
  Node node;
  node.p1 = node.from = entity.p1;
  node.p2 = node.to = entity.p2;
  node.rootAndKind = order & ~Node::kTextBit;
  m_appended = order + 1;
  int payload = entity.layer;
  if (entity.kind == DxfEntityKind::Text) {
    node.rootAndKind |= Node::kTextBit;
    payload = static_cast<int>(m_texts.size());
    m_texts.push_back(std::move(entity));
  }
  File(AddNode(node, payload, m_last));
  RefineCrowdedCells();
}

void CDxfEntityList::AppendFrom(const CDxfEntityList& other, int place) {
  CDxfEntity line;
  Append(other.At(place, line), other.OrderAt(place));
  const Node& source = other.m_nodes[place];
  m_nodes[m_last].from = source.from;
  m_nodes[m_last].to = source.to;
}

void CDxfEntityList::RefineCrowdedCells() {
  if (m_grid.EntryCount() <= kEntriesPerCell * m_grid.CellCount()) return;
  if (m_grid.CellsPerSide() * 2 > kMostCellsPerSide) return;
  // Cells smaller than the figures or the fills would list a figure in many cells and
  // have a hide pass over many: no finer than either on average.
  const double width = m_grid.CellWidth() / 2, height = m_grid.CellHeight() / 2;
  if (width < m_figureSizes.MeanWidth() || height < m_figureSizes.MeanHeight()) return;
  if (width < m_hideSizes.MeanWidth() || height < m_hideSizes.MeanHeight()) return;
  m_grid.Reset(m_grid.CellsPerSide() * 2);
  for (int id = m_first; id >= 0; id = m_links[id].next) File(id);
}

void CDxfEntityList::Remove(int id) {
  const Link& link = m_links[id];
  if (link.previous < 0) {
    m_first = link.next;
  } else {
    m_links[link.previous].next = link.next;
  }
  if (link.next < 0) {
    m_last = link.previous;
  } else {
    m_links[link.next].previous = link.previous;
  }
  ++m_tags[id].generation;
  m_freePlaces.push_back(id);
  --m_alive;
}

void CDxfEntityList::CandidatesNear(const CDxfBounds& area, std::uint64_t start) {
  if (++m_visit == 0) {
    for (Tags& tags : m_tags) tags.mark = 0;
    m_visit = 1;
  }
  std::vector<int>& found = m_found;
  found.clear();
  // What was hidden leaves the cells as they are passed, so that a place under many
  // fills is not walked over again and again.
  // The tags of the listings met lie anywhere: asked for all at once, they come together.
  const auto touch = [this](int id) { __builtin_prefetch(&m_tags[id]); };
  m_grid.Scan(area, touch, [&](int id, std::uint32_t generation) {
    Tags& tags = m_tags[id];
    if (generation != tags.generation) return false;
    // Only a hide that spares what came before reads the node here: the others fetch
    // the nodes found all together afterwards.
    const bool spared = start != 0 && m_nodes[id].Root() < start;
    const bool wanted = (tags.mark != m_visit) & !spared;
    tags.mark = m_visit;
    found.push_back(id);
    if (!wanted) found.pop_back();
    return true;
  });
}

void CDxfEntityList::HideUnder(std::span<const CPoint> polygon, std::uint64_t start) {
  if (polygon.size() < 3 || m_alive == 0) return;
  CDxfBounds area = CDxfBounds::Of(polygon[0], polygon[0]);
  for (CPoint corner : polygon) area.Add(corner);
  m_hideSizes.Add(area);
  MeasureEdges(polygon);
  CandidatesNear(area, start);
  for (int id : m_found) __builtin_prefetch(&m_nodes[id]);
  for (int id : m_found) HideOne(id, polygon);
}

void CDxfEntityList::MeasureEdges(std::span<const CPoint> polygon) {
  m_edges.clear();
  m_edgesNear = std::all_of(polygon.begin(), polygon.end(), IsNear);
  m_sides.Take(polygon);
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const CPoint a = polygon[i], b = polygon[NextCorner(i, polygon.size())];
    const CPoint step = m_edgesNear ? CPoint{b.x - a.x, b.y - a.y} : CPoint{};
    m_edges.push_back({a, step, CDxfBounds::Of(a, b)});
  }
}

bool CDxfEntityList::Inside(CPoint point, std::span<const CPoint> polygon) const {
  if (!m_edgesNear || !IsNear(point)) return InsideFarOut(point, polygon);
  // As PointInPolygon: strictly on the same side of every edge. Which side each edge
  // gives cannot be foreseen, so all are taken without a branch.
  bool notLeft = false, notRight = false;
  for (const Edge& edge : m_edges) {
    const std::int64_t side = SideOf(edge.corner, edge.step, point);
    notLeft |= side <= 0;
    notRight |= side >= 0;
  }
  return !(notLeft && notRight);
}

template <typename InsideTest>
void CDxfEntityList::HidePieces(InsideTest inside) {
  // The pieces that stay are listed by where they lie now: a cut point may lie up to a
  // unit off the line as it was listed.
  for (int piece : m_pieces) {
    if (inside(Middle(m_nodes[piece].p1, m_nodes[piece].p2))) {
      Remove(piece);
    } else {
      File(piece);
    }
  }
}

void CDxfEntityList::HideOne(int id, std::span<const CPoint> polygon) {
  const Node& node = m_nodes[id];
  if (node.IsText()) {
    if (TextHidden(node, polygon)) Remove(id);
    return;
  }
  // The pieces of a line lie on it: when the line is within reach, so are they.
  if (m_sides.Taken() && CDxfPolygonSides::InReach(node.from) &&
      CDxfPolygonSides::InReach(node.to)) {
    HideLineInReach(id);
    return;
  }
  if (!CutLine(id, polygon)) {
    if (Inside(Middle(m_nodes[id].p1, m_nodes[id].p2), polygon)) Remove(id);
    return;
  }
  HidePieces([&](CPoint point) { return Inside(point, polygon); });
}

void CDxfEntityList::HideLineInReach(int id) {
  // Every crossing is taken on the line as it came, as CutLine does.
  m_cuts.clear();
  const Node& node = m_nodes[id];
  bool middleInside = m_sides.CrossingsAndMiddle(
      node.from, node.to, [this](CPoint crossing) { m_cuts.push_back(crossing); });
  if (m_cuts.empty() || !CutAtCuts(id)) {
    const Node& uncut = m_nodes[id];
    if (uncut.p1 != uncut.from || uncut.p2 != uncut.to)
      middleInside = m_sides.Inside(Middle(uncut.p1, uncut.p2));
    if (middleInside) Remove(id);
    return;
  }
  HidePieces([this](CPoint point) { return m_sides.Inside(point); });
}

bool CDxfEntityList::CutLine(int id, std::span<const CPoint> polygon) {
  // Every crossing is taken on the line as it came, never on a piece cut from it, so a
  // line is cut at most once an edge: pieces ending a unit off the line cannot be cut
  // again and again.
  m_cuts.clear();
  FindCuts(m_nodes[id].from, m_nodes[id].to, polygon);
  return !m_cuts.empty() && CutAtCuts(id);
}

void CDxfEntityList::FindCuts(CPoint from, CPoint to, std::span<const CPoint> polygon) {
  const CDxfBounds line = CDxfBounds::Of(from, to);
  const bool sidesKnown = m_edgesNear && IsNear(from) && IsNear(to);
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    // Most edges pass far from a line near them: their bounds, then the sides of the
    // line's ends, tell without the crossing.
    const Edge& edge = m_edges[i];
    if (!edge.bounds.Meets(line)) continue;
    if (sidesKnown && !EndsApart(edge.corner, edge.step, from, to)) continue;
    const CPoint b = polygon[NextCorner(i, polygon.size())];
    if (const auto crossing = CrossingStrictlyInside(edge.corner, b, from, to))
      m_cuts.push_back(*crossing);
  }
}

bool CDxfEntityList::CutAtCuts(int id) {
  const CPoint lineStart = m_nodes[id].from;
  const CPoint to = m_nodes[id].p2;
  std::vector<CPoint>& cuts = m_cuts;
  // Truncation keeps each coordinate moving one way along the line, so the distance from
  // the line's start in steps orders the crossings and the pieces' ends, and is equal
  // only for equal points.
  const auto steps = [lineStart](CPoint c) {
    return std::llabs(std::int64_t{c.x} - lineStart.x) +
           std::llabs(std::int64_t{c.y} - lineStart.y);
  };
  const std::int64_t first = steps(m_nodes[id].p1), last = steps(to);
  std::erase_if(cuts, [&](CPoint c) { return steps(c) <= first || steps(c) >= last; });
  if (cuts.size() > 1) {
    std::sort(cuts.begin(), cuts.end(),
              [&steps](CPoint a, CPoint b) { return steps(a) < steps(b); });
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  }
  if (cuts.empty()) return false;
  std::vector<int>& pieces = m_pieces;
  pieces.assign(1, id);
  // The line is listed anew as it is now: its old listings go stale, so that they leave
  // the cells instead of being met again by every later hide there.
  m_nodes[id].p2 = cuts.front();
  ++m_tags[id].generation;
  Node piece = m_nodes[id];
  const int layer = m_links[id].payload;
  for (std::size_t i = 0; i < cuts.size(); ++i) {
    piece.p1 = cuts[i];
    piece.p2 = i + 1 < cuts.size() ? cuts[i + 1] : to;
    pieces.push_back(AddNode(piece, layer, pieces.back()));
  }
  return true;
}

bool CDxfEntityList::TextHidden(const Node& text, std::span<const CPoint> polygon) const {
  const std::array<CPoint, 4> box = BoxCorners(text.p1, text.p2);
  if (m_sides.Taken() && CDxfPolygonSides::InReach(text.p1) && CDxfPolygonSides::InReach(text.p2)) {
    return m_sides.CrossesAnySideOf(box) || m_sides.Inside(Middle(text.p1, text.p2)) ||
           PointInPolygon(polygon[0].x, polygon[0].y, box);
  }
  for (std::size_t j = 0; j < polygon.size(); ++j) {
    const CPoint a = polygon[j], b = polygon[NextCorner(j, polygon.size())];
    for (std::size_t i = 0; i < box.size(); ++i) {
      if (CrossesStrictlyInside(a, b, box[i], box[NextCorner(i, box.size())])) return true;
    }
  }
  const CPoint centre = Middle(text.p1, text.p2);
  return PointInPolygon(centre.x, centre.y, polygon) ||
         PointInPolygon(polygon[0].x, polygon[0].y, box);
}

std::vector<CDxfEntity> CDxfEntityList::InOrder() const {
  std::vector<CDxfEntity> entities;
  entities.reserve(m_alive);
  ForEach([&entities](const CDxfEntity& entity) { entities.push_back(entity); });
  return entities;
}
