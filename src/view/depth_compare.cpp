#include "view/depth_compare.h"

#include "view/3d_projection.h"
#include "view/box.h"
#include "view/box_owner.h"
#include "view/depth_order_rules.h"
#include "view/plane_geometry.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr std::uint32_t kSecond = CDepthOrderRules::kSecondNode;

struct Placed {
  const CBoxOwner* element = nullptr;
  int slot = CBoxOwner::kSlotCount;
};

Placed PlaceOf(const CBox& box) {
  Placed placed;
  placed.element = box.GetOwner();
  if (placed.element != nullptr) placed.slot = placed.element->GetBoxSlot(box);
  return placed;
}

bool IsDirection(int value) { return value >= 0 && value < CBox::kFaceCount; }

bool Visible(const CBox& box, int face) { return (box.GetFaceFlags(face) & CBox::kFaceVisible) != 0; }

// The joint rule: the box whose joint face the viewer sees lies behind; when neither is
// seen, the direction in which the chain ends decides.
int JointRule(const CBox& a, const CBox& b, int p, int q, int g, const CBoxOwner& elementA) {
  if (Visible(a, p)) return -1;
  if (Visible(b, q)) return 1;
  return elementA.LastToward(g)->GetDirection() == g ? -1 : 1;
}

// Both boxes along element e's own line (body or its direction boxes), and the other
// element further back on that line: boxes of one straight chain.
bool OnStraightChain(const CBoxOwner& e, int slotOfE, int otherSlot, const CBoxOwner* other) {
  const int d = e.GetDirection();
  if (!IsDirection(d)) return false;
  const int back = CBoxOwner::OppositeDirection(d);
  auto onAxis = [&](int slot) { return slot == CBoxOwner::kBodySlot || slot == d || slot == back; };
  return onAxis(slotOfE) && onAxis(otherSlot) && e.MeetsToward(back, other);
}

std::optional<int> CompareJoints(const CBox& a, const CBox& b, const Placed& pa, const Placed& pb) {
  const int i = pa.slot;
  const int j = pb.slot;
  if (i > CBoxOwner::kBodySlot || j > CBoxOwner::kBodySlot || i < 0 || j < 0) return std::nullopt;
  const auto opposite = CBoxOwner::OppositeDirection;
  if (pa.element == pb.element) {
    if (i == opposite(j)) return 0;
    if (i == CBoxOwner::kBodySlot && j < CBoxOwner::kBodySlot) return JointRule(a, b, j, opposite(j), opposite(j), *pa.element);
    if (i < CBoxOwner::kBodySlot && j == CBoxOwner::kBodySlot) return JointRule(a, b, opposite(i), i, i, *pa.element);
    return std::nullopt;
  }
  if (i < CBoxOwner::kBodySlot && j == opposite(i) && pa.element->GetNeighbour(i) == pb.element) {
    return JointRule(a, b, i, opposite(i), opposite(i), *pa.element);
  }
  if (OnStraightChain(*pa.element, i, j, pb.element) || OnStraightChain(*pb.element, j, i, pa.element)) return 0;
  return std::nullopt;
}

bool ZeroExtentAlike(const CBox& a, const CBox& b) {
  for (int k = 0; k < 3; ++k) {
    if (a.GetExtent(k) == 0 && b.GetExtent(k) == 0) return true;
  }
  return false;
}

// Parts of one end element (kind 0), told apart by their kind codes.
std::optional<int> CompareParts(const CBox& a, const CBox& b, const Placed& pa, const Placed& pb,
                                std::uint32_t flagsA, std::uint32_t flagsB) {
  if (pa.element == nullptr || pa.element != pb.element || pa.element->GetKind() != 0) return std::nullopt;
  const int kA = a.GetKindCode();
  const int kB = b.GetKindCode();
  const int i = pa.slot;
  const int j = pb.slot;
  if (kA == 3 && (kB == 1 || kB == 2)) return (flagsA & kSecond) ? 1 : -1;
  if (kB == 3 && (kA == 1 || kA == 2)) return (flagsB & kSecond) ? -1 : 1;
  if (kA == 2 && i == j + 6 && ZeroExtentAlike(a, b)) return 1;
  if (kB == 2 && j == i + 6 && ZeroExtentAlike(a, b)) return -1;
  if (kA == 3 && kB == 3 && ((flagsA | flagsB) & kSecond)) return 0;
  const bool boxed = kA == 4 || kA == 5 || kB == 4 || kB == 5;
  if (boxed && C3DProjection::BoxesOverlap(a, b)) return 0;
  int e = pa.element->GetDirection();
  if (!IsDirection(e)) return std::nullopt;
  if (pa.element->GetNeighbour(e) != nullptr) e = CBoxOwner::OppositeDirection(e);
  if (i >= 21 && j == 7) return Visible(b, e) ? -1 : 1;
  if (j >= 21 && i == 7) return Visible(a, e) ? 1 : -1;
  return std::nullopt;
}

struct ScreenEdge {
  CWindowPoint p, q;
  double depthP = 0.0, depthQ = 0.0;
  std::int32_t minX = 0, maxX = 0;

  double DepthAt(CWindowPoint c) const {
    const double t = p.x != q.x ? (static_cast<double>(c.x) - p.x) / (static_cast<double>(q.x) - p.x)
                                : (static_cast<double>(c.y) - p.y) / (static_cast<double>(q.y) - p.y);
    return depthP + t * (depthQ - depthP);
  }
};

// The window edges of the box's open faces, each corner pair once.
int OpenEdges(const CBox& box, ScreenEdge (&edges)[12]) {
  int count = 0;
  std::uint64_t handled = 0;
  for (int f = 0; f < CBox::kFaceCount; ++f) {
    if ((box.GetFaceFlags(f) & CBox::kFaceOpen) == 0) continue;
    for (int k = 0; k < 4; ++k) {
      const int c0 = CBox::GetFaceCorner(f, k);
      const int c1 = CBox::GetFaceCorner(f, (k + 1) % 4);
      const CWindowPoint p = box.GetWindowCorner(c0);
      const CWindowPoint q = box.GetWindowCorner(c1);
      const std::uint64_t bit = std::uint64_t{1} << (std::min(c0, c1) * 8 + std::max(c0, c1));
      if (p == q || (handled & bit) != 0) continue;
      handled |= bit;
      edges[count++] = {p, q, box.GetProjectedCorner(c0).z, box.GetProjectedCorner(c1).z,
                        std::min(p.x, q.x), std::max(p.x, q.x)};
    }
  }
  return count;
}

struct Verdict {
  double best = 0.0;
  int magnitude = 2;

  void Offer(double d) {
    if (std::fabs(d) > std::fabs(best)) best = d;
  }
};

void CompareEdgeCrossings(const CBox& a, const CBox& b, Verdict& verdict) {
  ScreenEdge edgesA[12], edgesB[12];
  const int countA = OpenEdges(a, edgesA);
  const int countB = OpenEdges(b, edgesB);
  for (int i = 0; i < countA; ++i) {
    const ScreenEdge& ea = edgesA[i];
    for (int j = 0; j < countB; ++j) {
      const ScreenEdge& eb = edgesB[j];
      // Disjoint x ranges never cross: the crossing must lie in both.
      if (ea.maxX < eb.minX || eb.maxX < ea.minX) continue;
      const auto c = SegmentIntersection(ea.p.x, ea.p.y, ea.q.x, ea.q.y, eb.p.x, eb.p.y, eb.q.x, eb.q.y, 1);
      if (!c) continue;
      verdict.Offer(ea.DepthAt(*c) - eb.DepthAt(*c));
      verdict.magnitude = 1;
    }
  }
}

// The depth of `first`'s open face centres against the face of `second` under them.
void CompareFaceCentres(const C3DProjection& projection, const CBox& first, const CBox& second, double sign,
                        Verdict& verdict) {
  for (int f = 0; f < CBox::kFaceCount; ++f) {
    if ((first.GetFaceFlags(f) & CBox::kFaceOpen) == 0) continue;
    const C3DPoint centre =
        (first.GetCorner(CBox::GetFaceCorner(f, 0)) + first.GetCorner(CBox::GetFaceCorner(f, 2))) / 2.0;
    const C3DPoint rotated = projection.Rotate(centre);
    const int hit = second.HitTestFace(C3DPoint::ToStoredInt(rotated.x), C3DPoint::ToStoredInt(rotated.y), true);
    if (hit == 0) continue;
    const int g = hit - 1;
    const auto onFace = projection.IntersectViewRayAt(rotated.x, rotated.y, second.GetCorner(CBox::GetFaceCorner(g, 0)),
                                                      C3DProjection::GetFaceNormalFromCorners(second, g));
    if (!onFace) continue;
    verdict.Offer(sign * (rotated.z - projection.Rotate(*onFace).z));
  }
}

}  // namespace

int CompareDepth(const C3DProjection& projection, const CBox& a, const CBox& b, std::uint32_t flagsA,
                 std::uint32_t flagsB) {
  if (&a == &b) return (flagsA & kSecond) ? 1 : -1;
  if (!a.HasFiniteProjection() || !b.HasFiniteProjection()) return 0;
  const C3DPoint& aMin = a.GetProjectedMin();
  const C3DPoint& aMax = a.GetProjectedMax();
  const C3DPoint& bMin = b.GetProjectedMin();
  const C3DPoint& bMax = b.GetProjectedMax();
  if (bMax.x <= aMin.x || aMax.x <= bMin.x || bMax.y <= aMin.y || aMax.y <= bMin.y) return 0;

  const Placed pa = PlaceOf(a);
  const Placed pb = PlaceOf(b);
  if (const auto joint = CompareJoints(a, b, pa, pb)) return *joint;
  if (const auto part = CompareParts(a, b, pa, pb, flagsA, flagsB)) return *part;

  Verdict verdict;
  CompareEdgeCrossings(a, b, verdict);
  CompareFaceCentres(projection, a, b, 1.0, verdict);
  CompareFaceCentres(projection, b, a, -1.0, verdict);
  if (verdict.best > 1.0) return verdict.magnitude;
  if (verdict.best < -1.0) return -verdict.magnitude;
  return 0;
}
