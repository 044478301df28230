#include "view/dxf_entity_list.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "geometry/plane_geometry.h"

namespace {

CPoint Middle(CPoint a, CPoint b) {
  return {static_cast<std::int32_t>((std::int64_t{a.x} + b.x) / 2),
          static_cast<std::int32_t>((std::int64_t{a.y} + b.y) / 2)};
}

std::array<CPoint, 4> BoxCorners(const CDxfEntity& text) {
  return {CPoint{text.p1.x, text.p1.y}, CPoint{text.p2.x, text.p1.y}, CPoint{text.p2.x, text.p2.y},
          CPoint{text.p1.x, text.p2.y}};
}

}  // namespace

CDxfEntityList::CDxfEntityList(CPoint low, CPoint high, int cellsPerSide)
    : m_low(low),
      m_high(high),
      m_cells(std::max(1, cellsPerSide)),
      m_cellEntities(static_cast<std::size_t>(m_cells) * m_cells) {}

CDxfEntityList::Bounds CDxfEntityList::BoundsOf(const CDxfEntity& entity) {
  if (entity.kind == DxfEntityKind::Line) {
    const CWindowSegment segment(entity.p1, entity.p2);
    return {segment.minX, segment.maxX, segment.lowY, segment.highY};
  }
  // The box's edges are level or upright: their reach is one unit.
  return {std::min(entity.p1.x, entity.p2.x), std::max(entity.p1.x, entity.p2.x),
          std::min(entity.p1.y, entity.p2.y) - 1.0, std::max(entity.p1.y, entity.p2.y) + 1.0};
}

int CDxfEntityList::CellOf(double value, std::int64_t low, std::int64_t span) const {
  const double cell = std::floor((value - double(low)) * m_cells / double(span));
  if (!(cell >= 0.0)) return 0;
  return cell >= m_cells ? m_cells - 1 : static_cast<int>(cell);
}

CDxfEntityList::CellRange CDxfEntityList::CellsOf(const Bounds& bounds) const {
  const std::int64_t spanX = std::max<std::int64_t>(1, std::int64_t{m_high.x} - m_low.x);
  const std::int64_t spanY = std::max<std::int64_t>(1, std::int64_t{m_high.y} - m_low.y);
  return {CellOf(double(bounds.minX), m_low.x, spanX), CellOf(double(bounds.maxX), m_low.x, spanX),
          CellOf(bounds.lowY, m_low.y, spanY), CellOf(bounds.highY, m_low.y, spanY)};
}

int CDxfEntityList::AddNode(CDxfEntity entity, std::uint64_t root, int after) {
  const int id = static_cast<int>(m_nodes.size());
  const CellRange cells = CellsOf(BoundsOf(entity));
  m_nodes.push_back({std::move(entity), root, after, after < 0 ? -1 : m_nodes[after].next, true});
  m_visited.push_back(0);
  Node& node = m_nodes.back();
  if (node.previous < 0) {
    m_first = id;
  } else {
    m_nodes[node.previous].next = id;
  }
  if (node.next < 0) {
    m_last = id;
  } else {
    m_nodes[node.next].previous = id;
  }
  for (int y = cells.y0; y <= cells.y1; ++y) {
    for (int x = cells.x0; x <= cells.x1; ++x)
      m_cellEntities[static_cast<std::size_t>(y) * m_cells + x].push_back(id);
  }
  ++m_alive;
  return id;
}

void CDxfEntityList::Append(CDxfEntity entity) { AddNode(std::move(entity), m_appended++, m_last); }

void CDxfEntityList::Remove(int id) {
  Node& node = m_nodes[id];
  if (node.previous < 0) {
    m_first = node.next;
  } else {
    m_nodes[node.previous].next = node.next;
  }
  if (node.next < 0) {
    m_last = node.previous;
  } else {
    m_nodes[node.next].previous = node.previous;
  }
  node.alive = false;
  node.entity.text.clear();
  --m_alive;
}

std::vector<int> CDxfEntityList::CandidatesNear(const Bounds& area, std::uint64_t start) {
  if (++m_visit == 0) {
    std::fill(m_visited.begin(), m_visited.end(), 0);
    m_visit = 1;
  }
  std::vector<int> found;
  const CellRange cells = CellsOf(area);
  for (int y = cells.y0; y <= cells.y1; ++y) {
    for (int x = cells.x0; x <= cells.x1; ++x) {
      for (int id : m_cellEntities[static_cast<std::size_t>(y) * m_cells + x]) {
        if (m_visited[id] == m_visit) continue;
        m_visited[id] = m_visit;
        const Node& node = m_nodes[id];
        if (node.alive && node.root >= start && BoundsOf(node.entity).Meets(area))
          found.push_back(id);
      }
    }
  }
  return found;
}

void CDxfEntityList::HideUnder(std::span<const CPoint> polygon, std::uint64_t start) {
  if (polygon.size() < 3 || m_alive == 0) return;
  std::vector<CWindowSegment> edges;
  edges.reserve(polygon.size());
  Bounds area{INT64_MAX, INT64_MIN, HUGE_VAL, -HUGE_VAL};
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const CWindowSegment& edge = edges.emplace_back(polygon[i], polygon[(i + 1) % polygon.size()]);
    area = {std::min<std::int64_t>(area.minX, edge.minX),
            std::max<std::int64_t>(area.maxX, edge.maxX), std::min(area.lowY, edge.lowY),
            std::max(area.highY, edge.highY)};
  }
  for (int id : CandidatesNear(area, start)) HideOne(id, edges, polygon);
}

void CDxfEntityList::HideOne(int id, std::span<const CWindowSegment> edges,
                             std::span<const CPoint> polygon) {
  std::vector<int> pending{id};
  while (!pending.empty()) {
    const int current = pending.back();
    pending.pop_back();
    const bool hidden = m_nodes[current].entity.kind == DxfEntityKind::Line
                            ? LineHidden(current, edges, polygon, pending)
                            : TextHidden(m_nodes[current].entity, edges, polygon);
    if (hidden) Remove(current);
  }
}

bool CDxfEntityList::LineHidden(int id, std::span<const CWindowSegment> edges,
                                std::span<const CPoint> polygon, std::vector<int>& pieces) {
  for (const CWindowSegment& edge : edges) {
    const CDxfEntity& line = m_nodes[id].entity;
    const std::optional<CPoint> crossing =
        SegmentIntersection(edge, CWindowSegment(line.p1, line.p2), 0);
    if (!crossing) continue;
    CDxfEntity piece = line;
    piece.p1 = *crossing;
    m_nodes[id].entity.p2 = *crossing;
    pieces.push_back(AddNode(std::move(piece), m_nodes[id].root, id));
  }
  const CDxfEntity& line = m_nodes[id].entity;
  const CPoint middle = Middle(line.p1, line.p2);
  return PointInPolygon(middle.x, middle.y, polygon);
}

bool CDxfEntityList::TextHidden(const CDxfEntity& text, std::span<const CWindowSegment> edges,
                                std::span<const CPoint> polygon) const {
  const std::array<CPoint, 4> box = BoxCorners(text);
  for (const CWindowSegment& edge : edges) {
    for (std::size_t i = 0; i < box.size(); ++i) {
      if (SegmentIntersection(edge, CWindowSegment(box[i], box[(i + 1) % box.size()]), 0))
        return true;
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
