// Hiding under filled figures through the cells of CDxfEntityList must remove and cut
// exactly what the literal walk over every entity does, in the same file order.
#include <gtest/gtest.h>

#include <random>

#include "geometry/plane_geometry.h"
#include "view/dxf_entity_list.h"

namespace {

struct Literal {
  CDxfEntity entity;
  std::uint64_t root;
};

CPoint Middle(CPoint a, CPoint b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

bool TextHidden(const CDxfEntity& t, const std::vector<CPoint>& polygon) {
  const CPoint box[4] = {{t.p1.x, t.p1.y}, {t.p2.x, t.p1.y}, {t.p2.x, t.p2.y}, {t.p1.x, t.p2.y}};
  for (std::size_t j = 0; j < polygon.size(); ++j) {
    const CPoint a = polygon[j], b = polygon[(j + 1) % polygon.size()];
    for (int k = 0; k < 4; ++k) {
      const CPoint c = box[k], d = box[(k + 1) % 4];
      if (SegmentIntersection(a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y, 0)) return true;
    }
  }
  const CPoint centre = Middle(t.p1, t.p2);
  return PointInPolygon(centre.x, centre.y, polygon) ||
         PointInPolygon(polygon[0].x, polygon[0].y, box);
}

// The walk over every entity from the start, with pieces inserted right after their line.
void LiteralHide(std::vector<Literal>& list, const std::vector<CPoint>& polygon,
                 std::uint64_t start) {
  for (std::size_t i = 0; i < list.size();) {
    if (list[i].root < start) {
      ++i;
      continue;
    }
    if (list[i].entity.kind == DxfEntityKind::Text) {
      if (TextHidden(list[i].entity, polygon)) {
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
      } else {
        ++i;
      }
      continue;
    }
    for (std::size_t j = 0; j < polygon.size(); ++j) {
      const CPoint a = polygon[j], b = polygon[(j + 1) % polygon.size()];
      CDxfEntity& line = list[i].entity;
      const auto c =
          SegmentIntersection(a.x, a.y, b.x, b.y, line.p1.x, line.p1.y, line.p2.x, line.p2.y, 0);
      if (!c) continue;
      Literal piece = list[i];
      piece.entity.p1 = *c;
      line.p2 = *c;
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(i) + 1, piece);
    }
    const CPoint m = Middle(list[i].entity.p1, list[i].entity.p2);
    if (PointInPolygon(m.x, m.y, polygon)) {
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
}

TEST(DxfHidingEquivalence, CellsRemoveAndCutWhatTheLiteralWalkDoes) {
  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> coordinate(-200, 10200);
  std::uniform_int_distribution<int> size(20, 2500);
  std::size_t changedByHiding = 0;
  for (int round = 0; round < 40; ++round) {
    CDxfEntityList fast({-1, -1}, {10001, 8001}, 1 + round % 9 * 8);
    std::vector<Literal> literal;
    std::uint64_t appended = 0, start = 0;
    for (int step = 0; step < 300; ++step) {
      const int what = static_cast<int>(random() % 10);
      const CPoint p{coordinate(random), coordinate(random)};
      if (what < 6) {
        const bool text = what == 5;
        const CPoint q =
            text ? CPoint{p.x + size(random), p.y + size(random) / 4}
                 : (random() % 4 ? CPoint{p.x + size(random) - 1250, p.y + size(random) - 1250}
                                 : CPoint{p.x, p.y + size(random)});
        CDxfEntity entity{text ? DxfEntityKind::Text : DxfEntityKind::Line, p, q, step % 3, 0, {}};
        fast.Append(entity);
        literal.push_back({entity, appended++});
      } else if (what == 8) {
        start = appended;  // an exclusion begins: later hides from it spare what came before
      } else {
        const int w = size(random), h = size(random);
        const std::vector<CPoint> polygon =
            random() % 2
                ? std::vector<CPoint>{{p.x, p.y},
                                      {p.x + w, p.y},
                                      {p.x + w, p.y + h},
                                      {p.x, p.y + h}}
                : std::vector<CPoint>{{p.x, p.y}, {p.x + w, p.y + h / 3}, {p.x + w / 2, p.y + h}};
        const std::vector<Literal> before = literal;
        fast.HideUnder(polygon, what == 9 ? start : 0);
        LiteralHide(literal, polygon, what == 9 ? start : 0);
        changedByHiding += literal.size() != before.size();
      }
    }
    std::vector<CDxfEntity> expected;
    for (const Literal& l : literal) expected.push_back(l.entity);
    ASSERT_EQ(fast.InOrder(), expected) << "round " << round;
  }
  EXPECT_GT(changedByHiding, 100u);  // the figures did hide and cut
}

}  // namespace
