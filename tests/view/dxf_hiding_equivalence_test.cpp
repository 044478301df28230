// Hiding under filled figures through the cells of CDxfEntityList must remove and cut
// exactly what the literal walk over every entity does, in the same file order: each line
// cut where the figure's edges cross it (found exactly on the line as appended, then
// truncated; a piece is cut where they cross that line between its ends), each piece
// whose middle lies inside removed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "geometry/plane_geometry.h"
#include "view/dxf_entity_list.h"

namespace {

struct Literal {
  CDxfEntity entity;
  std::uint64_t root;
  CPoint from, to;  // the line as appended
};

// Where a cut lies along the line from `from`: truncation keeps each coordinate moving
// one way, so this orders the points of the line and is equal only for equal points.
std::int64_t Steps(CPoint from, CPoint c) {
  return std::llabs(std::int64_t{c.x} - from.x) + std::llabs(std::int64_t{c.y} - from.y);
}

CPoint Middle(CPoint a, CPoint b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

// The crossing of p-q with the edge a-b as the fraction u / den along p-q (den > 0):
// on the edge, its ends included, and strictly inside p-q. Coordinates here are small
// enough for 64-bit products.
struct Fraction {
  std::int64_t u, den;
};

std::optional<Fraction> Crossing(CPoint a, CPoint b, CPoint p, CPoint q) {
  const std::int64_t d1x = b.x - a.x, d1y = b.y - a.y, d2x = q.x - p.x, d2y = q.y - p.y;
  const std::int64_t wx = p.x - a.x, wy = p.y - a.y;
  const std::int64_t den = d1x * d2y - d1y * d2x;
  if (den == 0) return std::nullopt;
  const std::int64_t sign = den < 0 ? -1 : 1;
  const std::int64_t t = sign * (wx * d2y - wy * d2x), u = sign * (wx * d1y - wy * d1x);
  if (t < 0 || t > sign * den || u <= 0 || u >= sign * den) return std::nullopt;
  return Fraction{u, sign * den};
}

CPoint At(CPoint p, CPoint q, Fraction f) {
  return {static_cast<std::int32_t>((p.x * f.den + f.u * (q.x - p.x)) / f.den),
          static_cast<std::int32_t>((p.y * f.den + f.u * (q.y - p.y)) / f.den)};
}

bool TextHidden(const CDxfEntity& t, const std::vector<CPoint>& polygon) {
  const CPoint box[4] = {{t.p1.x, t.p1.y}, {t.p2.x, t.p1.y}, {t.p2.x, t.p2.y}, {t.p1.x, t.p2.y}};
  for (std::size_t j = 0; j < polygon.size(); ++j) {
    const CPoint a = polygon[j], b = polygon[(j + 1) % polygon.size()];
    for (int k = 0; k < 4; ++k) {
      if (Crossing(a, b, box[k], box[(k + 1) % 4])) return true;
    }
  }
  const CPoint centre = Middle(t.p1, t.p2);
  return PointInPolygon(centre.x, centre.y, polygon) ||
         PointInPolygon(polygon[0].x, polygon[0].y, box);
}

// The piece cut where the edges cross its line between its ends, in order from its start.
std::vector<CDxfEntity> CutLine(const Literal& item, const std::vector<CPoint>& polygon) {
  const CDxfEntity& line = item.entity;
  std::vector<Fraction> crossings;
  for (std::size_t j = 0; j < polygon.size(); ++j) {
    if (auto f = Crossing(polygon[j], polygon[(j + 1) % polygon.size()], item.from, item.to))
      crossings.push_back(*f);
  }
  std::sort(crossings.begin(), crossings.end(),
            [](Fraction a, Fraction b) { return a.u * b.den < b.u * a.den; });
  std::vector<CDxfEntity> pieces{line};
  for (const Fraction& f : crossings) {
    const CPoint cut = At(item.from, item.to, f);
    if (Steps(item.from, cut) <= Steps(item.from, pieces.back().p1) ||
        Steps(item.from, cut) >= Steps(item.from, line.p2))
      continue;
    pieces.back().p2 = cut;
    CDxfEntity piece = line;
    piece.p1 = cut;
    pieces.push_back(piece);
  }
  return pieces;
}

// The walk over every entity from the start, with pieces inserted right after their line.
void LiteralHide(std::vector<Literal>& list, const std::vector<CPoint>& polygon,
                 std::uint64_t start) {
  std::vector<Literal> result;
  for (const Literal& item : list) {
    if (item.root < start) {
      result.push_back(item);
    } else if (item.entity.kind == DxfEntityKind::Text) {
      if (!TextHidden(item.entity, polygon)) result.push_back(item);
    } else {
      for (const CDxfEntity& piece : CutLine(item, polygon)) {
        const CPoint m = Middle(piece.p1, piece.p2);
        if (!PointInPolygon(m.x, m.y, polygon))
          result.push_back({piece, item.root, item.from, item.to});
      }
    }
  }
  list = std::move(result);
}

// Figures of up to `largest` units and fills `fillScale` times their size at random over
// the area, hidden through the cells and by the literal walk alike: false when the two
// differ. Counts the fills that changed the drawing. With `records`, each figure carries
// a layer, and each text a text and a style, of its own.
bool SameAsTheLiteralWalk(CDxfEntityList& fast, std::mt19937& random, int largest, int fillScale,
                          int steps, std::size_t& changedByHiding, bool records = false) {
  std::uniform_int_distribution<int> coordinate(-200, 10200);
  std::uniform_int_distribution<int> size(largest / 125, largest);
  std::vector<Literal> literal;
  std::uint64_t appended = 0, start = 0;
  for (int step = 0; step < steps; ++step) {
    const int what = static_cast<int>(random() % 10);
    const CPoint p{coordinate(random), coordinate(random)};
    if (what < 6) {
      const bool text = what == 5;
      const CPoint q = text ? CPoint{p.x + size(random), p.y + size(random) / 4}
                            : (random() % 4 ? CPoint{p.x + size(random) - largest / 2,
                                                     p.y + size(random) - largest / 2}
                                            : CPoint{p.x, p.y + size(random)});
      CDxfEntity entity{text ? DxfEntityKind::Text : DxfEntityKind::Line, p, q, step % 3, 0, {}};
      if (records) {
        entity.layer = step % 7;
        if (text) {
          entity.style = step % 5;
          entity.text = "T" + std::to_string(step) + std::string(step % 40, 'x');
        }
      }
      fast.Append(entity);
      literal.push_back({entity, appended++, entity.p1, entity.p2});
    } else if (what == 8) {
      start = appended;  // an exclusion begins: later hides from it spare what came before
    } else {
      const int w = size(random) * fillScale, h = size(random) * fillScale;
      const std::vector<CPoint> polygon =
          random() % 2
              ? std::vector<CPoint>{{p.x, p.y}, {p.x + w, p.y}, {p.x + w, p.y + h}, {p.x, p.y + h}}
              : std::vector<CPoint>{{p.x, p.y}, {p.x + w, p.y + h / 3}, {p.x + w / 2, p.y + h}};
      const std::size_t before = literal.size();
      fast.HideUnder(polygon, what == 9 ? start : 0);
      LiteralHide(literal, polygon, what == 9 ? start : 0);
      changedByHiding += literal.size() != before;
    }
  }
  std::vector<CDxfEntity> expected;
  for (const Literal& l : literal) expected.push_back(l.entity);
  return fast.InOrder() == expected;
}

TEST(DxfHidingEquivalence, CellsRemoveAndCutWhatTheLiteralWalkDoes) {
  std::mt19937 random(20261207);
  std::size_t changedByHiding = 0;
  for (int round = 0; round < 40; ++round) {
    CDxfEntityList fast({-1, -1}, {10001, 8001}, 1 + round % 9 * 8);
    ASSERT_TRUE(SameAsTheLiteralWalk(fast, random, 2500, 1, 300, changedByHiding)) << round;
  }
  EXPECT_GT(changedByHiding, 100u);  // the figures did hide and cut
}

// Many small figures: the cells grow finer as they come (from one cell to many), and
// what is hidden stays exactly what the literal walk hides. Large figures keep the cells
// as coarse as they are.
TEST(DxfHidingEquivalence, CellsGrowFinerWithManySmallFiguresOnly) {
  struct Row {
    int largest;
    int fillScale;
    int steps;
    int fewestCells;
    int mostCells;
  };
  const Row rows[] = {{60, 8, 4000, 32, 512}, {125, 4, 1500, 16, 512}, {20000, 1, 1500, 1, 4}};
  std::mt19937 random(7);
  for (const Row& row : rows) {
    std::size_t changedByHiding = 0;
    CDxfEntityList fast({-1, -1}, {10001, 8001}, 1);
    ASSERT_TRUE(
        SameAsTheLiteralWalk(fast, random, row.largest, row.fillScale, row.steps, changedByHiding))
        << row.largest;
    EXPECT_GE(fast.CellsPerSide(), row.fewestCells) << row.largest;
    EXPECT_LE(fast.CellsPerSide(), row.mostCells) << row.largest;
    EXPECT_GT(changedByHiding, 10u) << row.largest;
  }
}

// The hiding reads a line's corners apart from its layer and a text's corners apart
// from its whole record: the pieces of a cut line keep its layer, and every text that
// stays keeps its text and style, through fills that cut, remove and spare (from a
// start) alike, at every fineness of the cells.
TEST(DxfHidingEquivalence, PiecesKeepTheLayerOfTheirLineAndTextsTheirWholeRecord) {
  struct Row {
    int cellsPerSide;
    int largest;
    int fillScale;
  };
  const Row rows[] = {{1, 2500, 1}, {16, 2500, 1}, {64, 400, 3}, {512, 125, 4}, {1, 60, 8}};
  std::mt19937 random(65);
  for (const Row& row : rows) {
    std::size_t changedByHiding = 0;
    CDxfEntityList fast({-1, -1}, {10001, 8001}, row.cellsPerSide);
    ASSERT_TRUE(
        SameAsTheLiteralWalk(fast, random, row.largest, row.fillScale, 1500, changedByHiding, true))
        << row.cellsPerSide << " " << row.largest;
    EXPECT_GT(changedByHiding, 10u) << row.cellsPerSide << " " << row.largest;
  }
}

// A piece of the line from `from` to `to` hidden under a polygon with the exact crossings
// (on that line) and containment of the plane geometry, which hold for any 32-bit
// coordinates: the pieces that stay, in order.
std::vector<CDxfEntity> ExactlyLeftOf(const CDxfEntity& line, const std::vector<CPoint>& polygon,
                                      CPoint lineFrom, CPoint lineTo) {
  const auto middle = [](CPoint a, CPoint b) {
    return CPoint{static_cast<std::int32_t>((std::int64_t{a.x} + b.x) / 2),
                  static_cast<std::int32_t>((std::int64_t{a.y} + b.y) / 2)};
  };
  const auto steps = [lineFrom](CPoint c) { return Steps(lineFrom, c); };
  std::vector<CPoint> cuts;
  for (std::size_t j = 0; j < polygon.size(); ++j) {
    const auto crossing =
        CrossingStrictlyInside(polygon[j], polygon[(j + 1) % polygon.size()], lineFrom, lineTo);
    if (crossing && steps(*crossing) > steps(line.p1) && steps(*crossing) < steps(line.p2))
      cuts.push_back(*crossing);
  }
  std::sort(cuts.begin(), cuts.end(), [&](CPoint a, CPoint b) { return steps(a) < steps(b); });
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  std::vector<CDxfEntity> left;
  CPoint from = line.p1;
  for (std::size_t k = 0; k <= cuts.size(); ++k) {
    const CPoint to = k < cuts.size() ? cuts[k] : line.p2;
    const CPoint m = middle(from, to);
    if (!PointInPolygon(m.x, m.y, polygon))
      left.push_back({DxfEntityKind::Line, from, to, line.layer, 0, {}});
    from = to;
  }
  return left;
}

// Lines and fills from near the origin out to the ends of the 32-bit range, across the
// bounds beyond which a crossing's point and then a point's sides of an edge no longer
// fit in 64 bits: the hiding removes and cuts what the exact geometry says, near, far and
// astride alike.
TEST(DxfHidingEquivalence, FarOutFiguresAreHiddenAsTheExactGeometrySays) {
  const std::int32_t scales[] = {1000,          (1 << 19) - 1, 1 << 19,   1 << 23,
                                 (1 << 30) - 2, 1 << 30,       2147483647};
  std::mt19937 random(20261209);
  std::size_t cut = 0;
  for (int round = 0; round < 980; ++round) {
    const std::int32_t lineScale = scales[round % 7], fillScale = scales[round / 7 % 7];
    const auto at = [&random](std::int32_t scale) {
      std::uniform_int_distribution<std::int32_t> coordinate(-scale, scale);
      return CPoint{coordinate(random), coordinate(random)};
    };
    const CPoint c = at(fillScale), d = at(fillScale);
    const std::vector<CPoint> polygon =
        round % 2 ? std::vector<CPoint>{{std::min(c.x, d.x), std::min(c.y, d.y)},
                                        {std::max(c.x, d.x), std::min(c.y, d.y)},
                                        {std::max(c.x, d.x), std::max(c.y, d.y)},
                                        {std::min(c.x, d.x), std::max(c.y, d.y)}}
                  : std::vector<CPoint>{c, d, at(fillScale)};
    CDxfEntityList fast({-1, -1}, {10001, 8001});
    std::vector<CDxfEntity> expected;
    for (int i = 0; i < 8; ++i) {
      const CDxfEntity line{DxfEntityKind::Line, at(lineScale), at(lineScale), i, 0, {}};
      fast.Append(line);
      const std::vector<CDxfEntity> left = ExactlyLeftOf(line, polygon, line.p1, line.p2);
      cut += left.size() > 1;
      expected.insert(expected.end(), left.begin(), left.end());
    }
    fast.HideUnder(polygon, 0);
    ASSERT_EQ(fast.InOrder(), expected) << round;
  }
  EXPECT_GT(cut, 50u);  // the fills did cut lines, not only remove or spare them
}

// Lines and fills whose corners are taken from a few values only, so that ends fall on
// edges and on their lines, lines run along edges or through corners, lines have no
// length, fills have repeated corners or none of area, and bounds touch exactly: at the
// edges of the cells, on either side of the bound of the 64-bit sides, and at the ends of
// the 32-bit range. Several fills in turn cut and remove what the ones before left, and
// every fill hides what the exact geometry says of each piece.
TEST(DxfHidingEquivalence, DegenerateFiguresAreHiddenAsTheExactGeometrySays) {
  constexpr std::int32_t kLeast = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kMost = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kBound = 1 << 30;
  constexpr std::int32_t kSmall = 1 << 19;
  struct Row {
    const char* values;  // what the row guards
    std::vector<std::int32_t> coordinates;
  };
  const Row rows[] = {
      {"cell edges", {-1, 0, 1, 624, 625, 626, 1250, 1251, 5001, 10001}},
      {"64-bit crossings", {-kSmall - 1, -kSmall, -kSmall + 1, -3, 0, 5, kSmall - 1, kSmall}},
      {"64-bit sides", {-kBound - 1, -kBound, -kBound + 1, -7, 0, 9, kBound - 1, kBound}},
      {"32-bit ends", {kLeast, kLeast + 1, -kBound, -1, 0, 1, kBound, kMost - 1, kMost}},
  };
  std::mt19937 random(20261210);
  for (const Row& row : rows) {
    std::uniform_int_distribution<std::size_t> pick(0, row.coordinates.size() - 1);
    const auto at = [&] {
      return CPoint{row.coordinates[pick(random)], row.coordinates[pick(random)]};
    };
    std::size_t cut = 0, removed = 0;
    for (int round = 0; round < 300; ++round) {
      CDxfEntityList fast({-1, -1}, {10001, 8001});
      std::vector<CDxfEntity> expected, appended;  // a piece's layer names its line
      for (int i = 0; i < 12; ++i) {
        const CPoint from = at();
        const CDxfEntity line{DxfEntityKind::Line, from, round % 5 == 0 ? from : at(), i, 0, {}};
        fast.Append(line);
        expected.push_back(line);
        appended.push_back(line);
      }
      for (int fill = 0; fill < 3; ++fill) {
        std::vector<CPoint> polygon{at(), at(), at()};
        if (round % 2) polygon.push_back(round % 3 ? at() : polygon[1]);
        std::vector<CDxfEntity> left;
        for (const CDxfEntity& piece : expected) {
          const CDxfEntity& line = appended[static_cast<std::size_t>(piece.layer)];
          const std::vector<CDxfEntity> pieces = ExactlyLeftOf(piece, polygon, line.p1, line.p2);
          cut += pieces.size() > 1;
          removed += pieces.empty();
          left.insert(left.end(), pieces.begin(), pieces.end());
        }
        fast.HideUnder(polygon, 0);
        expected = std::move(left);
        ASSERT_EQ(fast.InOrder(), expected) << row.values << " " << round << " " << fill;
      }
    }
    // The fills did cut and remove, not only spare.
    EXPECT_GT(cut, 20u) << row.values;
    EXPECT_GT(removed, 20u) << row.values;
  }
}

// Fills of every number of corners, odd and even, up to beyond the most whose edges are
// taken several at a time, near the origin and astride the reach of those edges: every
// fill, round or with its corners in any order (crossed, not convex), cuts and removes
// lines and removes texts as the exact geometry says.
TEST(DxfHidingEquivalence, FillsOfAnyCornersHideAsTheExactGeometrySays) {
  struct Row {
    const char* guards;
    std::int32_t centre;
    std::int32_t radius;
  };
  const Row rows[] = {{"within reach", 5000, 3000},
                      {"astride the reach", (1 << 19) - 2000, 3000},
                      {"beyond the reach", (1 << 19) + 4000, 3000}};
  const std::size_t cornerCounts[] = {3, 4, 5, 6, 7, 31, 127, 128, 129, 200};
  std::mt19937 random(20261211);
  for (const Row& row : rows) {
    std::uniform_int_distribution<std::int32_t> around(row.centre - row.radius * 3 / 2,
                                                       row.centre + row.radius * 3 / 2);
    std::size_t cut = 0, removed = 0, textsRemoved = 0, textsKept = 0;
    for (std::size_t corners : cornerCounts) {
      for (int round = 0; round < 12; ++round) {
        std::vector<CPoint> polygon;
        for (std::size_t i = 0; i < corners; ++i) {
          const double angle = 6.283185307179586 * double(i) / double(corners);
          polygon.push_back({row.centre + static_cast<std::int32_t>(row.radius * std::cos(angle)),
                             row.centre + static_cast<std::int32_t>(row.radius * std::sin(angle))});
        }
        if (round % 3 == 1) std::shuffle(polygon.begin(), polygon.end(), random);
        if (round % 3 == 2) std::reverse(polygon.begin(), polygon.end());
        CDxfEntityList fast({-1, -1}, {10001, 8001});
        std::vector<CDxfEntity> expected;
        for (int i = 0; i < 16; ++i) {
          const CDxfEntity line{DxfEntityKind::Line,
                                {around(random), around(random)},
                                {around(random), around(random)},
                                i,
                                0,
                                {}};
          fast.Append(line);
          const std::vector<CDxfEntity> left = ExactlyLeftOf(line, polygon, line.p1, line.p2);
          cut += left.size() > 1;
          removed += left.empty();
          expected.insert(expected.end(), left.begin(), left.end());
          const CPoint corner{around(random), around(random)};
          const CDxfEntity text{DxfEntityKind::Text,
                                corner,
                                {corner.x + 40 + i * 150, corner.y + 10 + i * 40},
                                i,
                                1,
                                "T" + std::to_string(i)};
          fast.Append(text);
          const bool hidden = TextHidden(text, polygon);
          textsRemoved += hidden;
          textsKept += !hidden;
          if (!hidden) expected.push_back(text);
        }
        fast.HideUnder(polygon, 0);
        ASSERT_EQ(fast.InOrder(), expected) << row.guards << " " << corners << " " << round;
      }
    }
    EXPECT_GT(cut, 100u) << row.guards;
    EXPECT_GT(removed, 20u) << row.guards;
    EXPECT_GT(textsRemoved, 20u) << row.guards;
    EXPECT_GT(textsKept, 20u) << row.guards;
  }
}

}  // namespace
