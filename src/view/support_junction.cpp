#include "view/support_junction.h"

#include "model/element/dev.h"

namespace {

using Quad = std::array<C3DPoint, 4>;

// Two elbows closer than a box width plus 50 share one support: the positions of the
// pair, the face b the plate stands back from, and the support face g.
struct CElbowPair {
  const CDev* first = nullptr;
  const CDev* second = nullptr;
  int b = -1;
  int g = -1;
};

bool IsElbow(const CDev* e) { return e != nullptr && e->GetKind() == CDev::kElbow; }

std::optional<Quad> CornerStrips(const CBox& box, int face, int g, int h, const Quad& p) {
  auto n = [&](int x) { return box.GetFaceNormal(x); };
  if (face == 2 || face == 3) {
    const bool t =
        (g == 4 && h == 5) || (g == 1 && h == 4) || (g == 0 && h == 1) || (g == 5 && h == 0);
    const std::size_t i = (face == 3) != t ? 3 : 2;
    const std::size_t j = (i + 2) % 4;
    return Quad{p[i], p[i] + n(g) * 50, p[j] - n(h) * 50, p[j]};
  }
  const std::size_t i = face == g ? 0 : 2;
  const int b = face == g ? h : CBoxOwner::OppositeDirection(g);
  return Quad{p[i], p[i] - n(b) * 50, p[i + 1] - n(b) * 50, p[i + 1]};
}

std::optional<Quad> PairPlate(const CBox& box, int face, const CElbowPair& pair) {
  auto n = [&](int x) { return box.GetFaceNormal(x); };
  const double h1 = box.GetExtent(1) / 2;
  const double h2 = box.GetExtent(2) / 2;
  const C3DPoint m = (pair.first->GetPosition() + pair.second->GetPosition()) * 0.5;
  const C3DPoint dv = n(pair.g) * h1 - n(pair.b) * h1;
  const C3DPoint back = n(pair.b) * 50;
  if (face == 2 || face == 3) {
    const C3DPoint x = m + n(face) * h2 + n(pair.b) * 25;
    return Quad{x + dv, x + dv - back, x - dv - back, x - dv};
  }
  if (face != pair.g && face != CBoxOwner::OppositeDirection(pair.g)) return std::nullopt;
  const C3DPoint x = m + n(2) * h2 + n(pair.b) * 25 + (face == pair.g ? dv : dv * -1.0);
  const C3DPoint across = n(3) * static_cast<double>(box.GetExtent(2));
  return Quad{x, x - back, x - back + across, x + across};
}

}  // namespace

std::optional<Quad> JunctionSupportShape(const CBox& box, const CDev& e, int face, int g, int h,
                                         const Quad& corners) {
  if (e.GetKind() != CDev::kElbow) return CornerStrips(box, face, g, h, corners);
  const int direction = e.GetDirection();
  const std::int32_t close = box.GetExtent(1) + 50;
  const CDev* back = e.GetBackNeighbour();
  if (IsElbow(back) && back->GetDirection() == h && e.GetLength() < close) {
    const CDev* beyond = back->GetNeighbour(direction);
    if (beyond == nullptr) return CornerStrips(box, face, back->GetDirection(), direction, corners);
    return PairPlate(box, face, {back, beyond, direction, back->GetDirection()});
  }
  const CDev* side = e.GetNeighbour(h);
  if (IsElbow(side) && side->GetNeighbour(direction) != nullptr && side->GetLength() < close)
    return PairPlate(box, face, {&e, side, h, g});
  return CornerStrips(box, face, g, h, corners);
}
