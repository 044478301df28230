#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "geometry/window_segment.h"
#include "platform/draw_types.h"

enum class DxfEntityKind : std::uint8_t { Line = 0, Text = 2 };

// A figure of a DXF drawing in DXF units: a line from p1 to p2, or a text whose box runs
// from its lower-left p1 to its upper-right p2.
struct CDxfEntity {
  DxfEntityKind kind = DxfEntityKind::Line;
  CPoint p1;
  CPoint p2;
  int layer = 0;
  int style = 0;     // texts: index of their text style
  std::string text;  // texts: the text as drawn (UTF-8)
  bool operator==(const CDxfEntity&) const = default;
};

// The lines and texts of a drawing in file order, and what a filled figure drawn later
// hides of them. Hiding finds the entities near a figure through a grid of cells over
// the drawing's area, so that a drawing with many fills is not quadratic; what it
// removes and cuts is exactly what testing every entity would.
class CDxfEntityList {
 public:
  // The area the cells cover (entities beyond it fall into the border cells).
  CDxfEntityList(CPoint low, CPoint high, int cellsPerSide = 64);

  // How many entities were appended so far: pass it as the start of a later hide to
  // reach only what is appended from now on.
  std::uint64_t AppendedCount() const { return m_appended; }
  void Append(CDxfEntity entity);

  // Hides what the polygon (at least 3 points, not closed) covers, among the entities
  // appended since start and the pieces cut from them: each polygon edge that crosses a
  // line strictly inside it cuts the line in two (the far piece is inserted right after
  // it), a line whose middle lies inside is removed; a text is removed when an edge
  // crosses an edge of its box, when its box's centre lies inside, or when the polygon's
  // first point lies inside its box. The polygon is taken as convex.
  void HideUnder(std::span<const CPoint> polygon, std::uint64_t start);

  std::size_t Size() const { return m_alive; }
  // The entities in file order.
  std::vector<CDxfEntity> InOrder() const;
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (int id = m_first; id >= 0; id = m_nodes[id].next) visit(m_nodes[id].entity);
  }

 private:
  struct Bounds {
    std::int64_t minX = 0;
    std::int64_t maxX = 0;
    double lowY = 0.0;
    double highY = 0.0;
    bool Meets(const Bounds& other) const {
      return maxX >= other.minX && other.maxX >= minX && highY >= other.lowY && other.highY >= lowY;
    }
  };
  struct Node {
    CDxfEntity entity;
    std::uint64_t root = 0;  // order of the appended entity this one was cut from
    int previous = -1;
    int next = -1;
    bool alive = true;
  };
  struct CellRange {
    int x0, x1, y0, y1;
  };

  static Bounds BoundsOf(const CDxfEntity& entity);
  CellRange CellsOf(const Bounds& bounds) const;
  int CellOf(double value, std::int64_t low, std::int64_t span) const;
  int AddNode(CDxfEntity entity, std::uint64_t root, int after);
  void Remove(int id);
  std::vector<int> CandidatesNear(const Bounds& area, std::uint64_t start);
  void HideOne(int id, std::span<const CWindowSegment> edges, std::span<const CPoint> polygon);
  bool LineHidden(int id, std::span<const CWindowSegment> edges, std::span<const CPoint> polygon,
                  std::vector<int>& pieces);
  bool TextHidden(const CDxfEntity& text, std::span<const CWindowSegment> edges,
                  std::span<const CPoint> polygon) const;

  CPoint m_low;
  CPoint m_high;
  int m_cells;
  std::vector<std::vector<int>> m_cellEntities;
  std::vector<Node> m_nodes;
  std::vector<std::uint32_t> m_visited;
  std::uint32_t m_visit = 0;
  int m_first = -1;
  int m_last = -1;
  std::size_t m_alive = 0;
  std::uint64_t m_appended = 0;
};
