#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "view/dxf_cell_grid.h"
#include "view/dxf_polygon_sides.h"
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
// the drawing's area, which forget what was hidden, so that a drawing with many fills is
// not quadratic; what it removes and cuts is exactly what testing every entity would.
// The cells grow finer as entities come, down to the mean size of the entities and of
// the areas hidden, so that a cell keeps holding a few of them however large the drawing.
class CDxfEntityList {
 public:
  // The area the cells cover (entities beyond it fall into the border cells), at first
  // in cellsPerSide cells a side.
  CDxfEntityList(CPoint low, CPoint high, int cellsPerSide = 16);

  // How many entities were appended so far: pass it as the start of a later hide to
  // reach only what is appended from now on.
  std::uint64_t AppendedCount() const { return m_appended; }
  // A line keeps its corners and layer (style and text are a text's own); a text its
  // whole record.
  void Append(CDxfEntity entity);
  // The same, for an entity whose order among those appended is given by the caller
  // (lists that share a drawing between them number its entities together); orders
  // grow from one call to the next.
  void Append(CDxfEntity entity, std::uint64_t order);
  // The entity at a place of another list, a piece with the line it was cut from.
  void AppendFrom(const CDxfEntityList& other, int place);

  // Hides what the polygon (at least 3 points, not closed) covers, among the entities
  // appended since start and the pieces cut from them: a line is cut at every point where
  // a polygon edge crosses it strictly inside (found exactly, then truncated; the pieces
  // follow it in order), and each piece whose middle lies inside is removed; a text is
  // removed when an edge crosses an edge of its box, when its box's centre lies inside,
  // or when the polygon's first point lies inside its box. The polygon is taken as
  // convex.
  void HideUnder(std::span<const CPoint> polygon, std::uint64_t start);

  // Takes the sizes of the figures and hidden areas another list met as if met here, so
  // that a list made from part of another grows its cells as fine as that one's would.
  void TakeSizesOf(const CDxfEntityList& other) {
    m_figureSizes = other.m_figureSizes;
    m_hideSizes = other.m_hideSizes;
  }

  std::size_t Size() const { return m_alive; }
  // How finely the cells divide the area now.
  int CellsPerSide() const { return m_grid.CellsPerSide(); }
  // The entities in file order.
  std::vector<CDxfEntity> InOrder() const;
  // Visits the entities in file order; the entity passed lives until the next visit.
  template <typename Visit>
  void ForEach(Visit visit) const {
    CDxfEntity line;
    for (int place = FirstPlace(); place >= 0; place = NextPlace(place)) visit(At(place, line));
  }

  // The entities in file order one at a time: from the first place to the next, -1 after
  // the last. A place's order is the order its entity (or the line it was cut from) was
  // appended in; a line is passed in `line`, which the entity returned may be.
  int FirstPlace() const { return m_first; }
  int NextPlace(int place) const { return m_links[place].next; }
  std::uint64_t OrderAt(int place) const { return m_nodes[place].Root(); }
  const CDxfEntity& At(int place, CDxfEntity& line) const {
    const Node& node = m_nodes[place];
    if (node.IsText()) return m_texts[m_links[place].payload];
    line.p1 = node.p1;
    line.p2 = node.p2;
    line.layer = m_links[place].payload;
    return line;
  }

 private:
  // What hiding reads of a node: its corners, the line as appended that it was cut from
  // (its own corners until it is cut) and the order of that entity, with its kind. A
  // piece is cut again on that line, never on its own corners, which truncation may have
  // put a unit off it: so a piece cut by fill after fill does not drift.
  struct Node {
    static constexpr std::uint64_t kTextBit = std::uint64_t{1} << 63;
    CPoint p1;
    CPoint p2;
    CPoint from;
    CPoint to;
    std::uint64_t rootAndKind = 0;
    std::uint64_t Root() const { return rootAndKind & ~kTextBit; }
    bool IsText() const { return (rootAndKind & kTextBit) != 0; }
  };
  // The tags of a node's place, apart from the node, so that the listings a hide passes
  // are checked in a small dense array. The generation grows when the node is removed or
  // listed anew: its listings in the cells become stale at once and leave a cell when a
  // hide passes them. The mark is the last hide that met the node.
  struct Tags {
    std::uint32_t generation = 0;
    std::uint32_t mark = 0;
  };
  // A node's place in file order and what only the file needs of it (a line's layer, or
  // a text's place in m_texts), apart from what hiding reads: removing a node touches its
  // neighbours' links only.
  struct Link {
    int previous = -1;
    int next = -1;
    int payload = 0;
  };

  // An edge of the polygon a hide is made under.
  struct Edge {
    CPoint corner;
    CPoint step;  // to the next corner; known only when m_edgesNear
    CDxfBounds bounds;
  };

  void File(int id);
  // Finer cells, with only the entities still there, when the cells have grown crowded.
  void RefineCrowdedCells();
  int AddNode(const Node& node, int payload, int after);
  void Remove(int id);
  // A place for a new node: a removed one's, or a new one at the end.
  int NewPlace();
  // Into m_found: the entities from start listed in the cells the area reaches whose
  // bounds meet it.
  void CandidatesNear(const CDxfBounds& area, std::uint64_t start);
  void HideOne(int id, std::span<const CPoint> polygon);
  // Cuts the line where the polygon's edges cross it strictly inside; into m_pieces: the
  // line and its pieces in file order, the pieces not yet listed in the cells. False
  // when nothing was cut.
  bool CutLine(int id, std::span<const CPoint> polygon);
  // Into m_cuts: where the polygon's edges cross the line from `from` to `to` strictly
  // inside, in the order of the edges.
  void FindCuts(CPoint from, CPoint to, std::span<const CPoint> polygon);
  // HideOne of a line when it and the polygon lie within the reach of m_sides.
  void HideLineInReach(int id);
  // Removes the pieces in m_pieces whose middle `inside` says lies inside, lists the others.
  template <typename InsideTest>
  void HidePieces(InsideTest inside);
  // Cuts the line at m_cuts (those on its line beyond its ends, and repeats, left out)
  // into m_pieces as CutLine says.
  bool CutAtCuts(int id);
  bool TextHidden(const Node& text, std::span<const CPoint> polygon) const;
  // Takes the polygon's edges for the hide about to be made.
  void MeasureEdges(std::span<const CPoint> polygon);
  // PointInPolygon of the hide's polygon, in 64 bits from its edges' steps where they are
  // known and the point lies near enough.
  bool Inside(CPoint point, std::span<const CPoint> polygon) const;

  CDxfCellGrid m_grid;
  // A removed node's place is taken by the next node made, so that the nodes a hide
  // walks stay as many as the entities alive (not all ever cut) and in the cache.
  std::vector<Node> m_nodes;
  std::vector<Tags> m_tags;
  std::vector<Link> m_links;
  std::vector<int> m_freePlaces;
  // The texts as appended (a text is never cut, so its corners stay its node's); a
  // removed text's record stays, unread, until the list goes.
  std::vector<CDxfEntity> m_texts;
  std::uint32_t m_visit = 0;
  // Working lists of a hide, kept to spare an allocation for every entity met.
  std::vector<int> m_found;
  std::vector<CPoint> m_cuts;
  // The polygon's edges, the first from its first point: every piece and line a hide
  // meets is tested against them.
  std::vector<Edge> m_edges;
  // Every corner lies near enough for the side of a point to be worked out in 64 bits.
  bool m_edgesNear = false;
  // The polygon's edges when all its corners lie within reach: the sides of a point and
  // the crossings of a line are worked out several edges at a time.
  CDxfPolygonSides m_sides;
  std::vector<int> m_pieces;
  int m_first = -1;
  int m_last = -1;
  std::size_t m_alive = 0;
  std::uint64_t m_appended = 0;
  // The mean size of the entities appended and of the areas hidden so far.
  struct CSizes {
    double widths = 0.0;
    double heights = 0.0;
    double count = 0.0;
    void Add(const CDxfBounds& bounds);
    double MeanWidth() const { return count > 0 ? widths / count : 0.0; }
    double MeanHeight() const { return count > 0 ? heights / count : 0.0; }
  };
  CSizes m_figureSizes;
  CSizes m_hideSizes;
};
