#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/draw_types.h"

// The sides of points of the edges of a polygon whose corners all lie within reach of
// the origin (as a drawing's frame does), and the crossings of lines within reach with
// those edges. There every side is an integer below 2^41, exact in a double, so the sides
// are worked out two edges at a time; the answers are those of PointInPolygon and
// CrossingStrictlyInside to the bit.
class CDxfPolygonSides {
 public:
  // Corners and ends beyond this, either way, are out of reach.
  static constexpr std::int32_t kReach = 1 << 19;
  // Polygons of more corners are not taken.
  static constexpr std::size_t kMostCorners = 128;

  static bool InReach(CPoint point) {
    return point.x > -kReach && point.x < kReach && point.y > -kReach && point.y < kReach;
  }

  // Takes the edges of the polygon (at least one corner), from its first corner on;
  // false, and no polygon taken, when a corner lies out of reach or there are too many.
  bool Take(std::span<const CPoint> polygon);
  bool Taken() const { return !m_pairs.empty(); }

  // PointInPolygon of the polygon taken, for a point within reach.
  bool Inside(CPoint point) const;
  // For the line from `from` to `to`, both within reach: calls crossing(point) for every
  // edge, in order, that CrossingStrictlyInside says crosses the line, with the point it
  // gives; returns whether the line's middle (truncated) lies inside, as Inside says.
  template <typename Crossing>
  bool CrossingsAndMiddle(CPoint from, CPoint to, Crossing crossing) const;
  // Whether CrossesStrictlyInside(a, b, p, q) holds for an edge a-b and a side p-q of the
  // box within reach (corners in order around it, as a text's).
  bool CrossesAnySideOf(const std::array<CPoint, 4>& box) const;

 private:
  using Lanes = double __attribute__((vector_size(16)));
  using Mask = std::int64_t __attribute__((vector_size(16)));
  // Two edges (a polygon of an odd number of corners repeats its first edge in its last
  // pair, which changes no side's verdict): where each starts and its step to the next
  // corner.
  struct Pair {
    Lanes cornerX, cornerY, stepX, stepY;
  };

  static Lanes All(double value) { return Lanes{value, value}; }
  static Lanes SidesOf(const Pair& pair, Lanes x, Lanes y) {
    return pair.stepX * (y - pair.cornerY) - pair.stepY * (x - pair.cornerX);
  }
  static bool Any(Mask mask) { return (mask[0] | mask[1]) != 0; }
  // Where the edge crosses a line whose ends lie strictly on either side of the edge's
  // line, as the fraction u / den of the way along the line; none when it passes beside.
  struct Fraction {
    std::int64_t u;
    std::int64_t den;
  };
  std::optional<Fraction> FractionAt(std::size_t edge, CPoint from, CPoint to,
                                     std::int64_t sideOfFrom, std::int64_t sideOfTo) const;
  std::optional<CPoint> CrossingAt(std::size_t edge, CPoint from, CPoint to,
                                   std::int64_t sideOfFrom, std::int64_t sideOfTo) const;

  std::vector<Pair> m_pairs;
  std::vector<CPoint> m_corners;
};

template <typename Crossing>
bool CDxfPolygonSides::CrossingsAndMiddle(CPoint from, CPoint to, Crossing crossing) const {
  const CPoint middle{(from.x + to.x) / 2, (from.y + to.y) / 2};
  const Lanes fromX = All(from.x), fromY = All(from.y), toX = All(to.x), toY = All(to.y);
  const Lanes middleX = All(middle.x), middleY = All(middle.y);
  Mask notLeft{}, notRight{};
  for (std::size_t p = 0; p < m_pairs.size(); ++p) {
    const Lanes sidesOfFrom = SidesOf(m_pairs[p], fromX, fromY);
    const Lanes sidesOfTo = SidesOf(m_pairs[p], toX, toY);
    // The sign of a product of sides is exact, whatever its rounding. Most lines a fill
    // meets lie across none of its edges' lines.
    const Mask apart = sidesOfFrom * sidesOfTo < 0;
    if (Any(apart)) {
      for (std::size_t lane = 0; lane < 2; ++lane) {
        const std::size_t edge = 2 * p + lane;
        if (apart[lane] == 0 || edge >= m_corners.size()) continue;
        if (const auto point =
                CrossingAt(edge, from, to, static_cast<std::int64_t>(sidesOfFrom[lane]),
                           static_cast<std::int64_t>(sidesOfTo[lane])))
          crossing(*point);
      }
    }
    const Lanes sidesOfMiddle = SidesOf(m_pairs[p], middleX, middleY);
    notLeft |= sidesOfMiddle <= 0;
    notRight |= sidesOfMiddle >= 0;
  }
  return !(Any(notLeft) && Any(notRight));
}
