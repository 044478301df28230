#include "geometry/depth_comparer.h"

#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/box_owner.h"
#include "geometry/depth_order_rules.h"
#include "geometry/plane_geometry.h"

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

// Whether the face hit test, restricted as the comparison asks, finds nothing on the box.
bool HitBlocked(const CBox& box) {
  if ((box.GetPassWord() & CBox::kPassBitsMask) == 0) return false;
  const CBoxOwner* owner = box.GetOwner();
  return owner == nullptr || owner->GetBox(CBoxOwner::kBodySlot) != &box;
}

bool IsDirection(int value) { return value >= 0 && value < CBox::kFaceCount; }

// A face's nibble in an attribute word: the comparison reads the boxes' words as given,
// which need not be the ones they hold now (see CDepthComparer::Compare).
std::uint32_t Nibble(std::uint32_t attributes, int face) {
  return (attributes >> (4 * face)) & 0xF;
}

bool Visible(std::uint32_t attributes, int face) {
  return (Nibble(attributes, face) & CBox::kFaceVisible) != 0;
}

// The joint rule: the box whose joint face the viewer sees lies behind; when neither is
// seen, the direction in which the chain ends decides.
int JointRule(std::uint32_t wordA, std::uint32_t wordB, int p, int q, int g,
              const CBoxOwner& elementA) {
  if (Visible(wordA, p)) return -1;
  if (Visible(wordB, q)) return 1;
  return elementA.LastToward(g)->GetDirection() == g ? -1 : 1;
}

// The direction back along element e's own line when both boxes lie along it (body or its
// direction boxes); -1 otherwise.
int BackAlongLine(const CBoxOwner& e, int slotOfE, int otherSlot) {
  const int d = e.GetDirection();
  if (!IsDirection(d)) return -1;
  const int back = CBoxOwner::OppositeDirection(d);
  auto onAxis = [&](int slot) { return slot == CBoxOwner::kBodySlot || slot == d || slot == back; };
  return onAxis(slotOfE) && onAxis(otherSlot) ? back : -1;
}

// Both boxes along the line of one element, and the other element further back on that
// line: boxes of one straight chain.
bool OnStraightChain(const Placed& pa, const Placed& pb, CChainMemo& chains) {
  const int backA = BackAlongLine(*pa.element, pa.slot, pb.slot);
  const int backB = BackAlongLine(*pb.element, pb.slot, pa.slot);
  if (backA >= 0 && backB >= 0) return chains.MeetsEither(*pa.element, backA, *pb.element, backB);
  if (backA >= 0) return chains.Meets(*pa.element, backA, pb.element);
  return backB >= 0 && chains.Meets(*pb.element, backB, pa.element);
}

std::optional<int> CompareJoints(std::uint32_t wordA, std::uint32_t wordB, const Placed& pa,
                                 const Placed& pb, CChainMemo& chains) {
  const int i = pa.slot;
  const int j = pb.slot;
  if (i > CBoxOwner::kBodySlot || j > CBoxOwner::kBodySlot || i < 0 || j < 0) return std::nullopt;
  const auto opposite = CBoxOwner::OppositeDirection;
  if (pa.element == pb.element) {
    if (i == opposite(j)) return 0;
    if (i == CBoxOwner::kBodySlot && j < CBoxOwner::kBodySlot)
      return JointRule(wordA, wordB, j, opposite(j), opposite(j), *pa.element);
    if (i < CBoxOwner::kBodySlot && j == CBoxOwner::kBodySlot)
      return JointRule(wordA, wordB, opposite(i), i, i, *pa.element);
    return std::nullopt;
  }
  if (i < CBoxOwner::kBodySlot && j == opposite(i) && pa.element->GetNeighbour(i) == pb.element) {
    return JointRule(wordA, wordB, i, opposite(i), opposite(i), *pa.element);
  }
  if (OnStraightChain(pa, pb, chains)) return 0;
  return std::nullopt;
}

bool ZeroExtentAlike(const CBox& a, const CBox& b) {
  for (int k = 0; k < 3; ++k) {
    if (a.GetExtent(k) == 0 && b.GetExtent(k) == 0) return true;
  }
  return false;
}

// Parts of one end element (kind 0), told apart by their kind codes.
std::optional<int> CompareParts(const CBox& a, const CBox& b, std::uint32_t wordA,
                                std::uint32_t wordB, const Placed& pa, const Placed& pb,
                                std::uint32_t flagsA, std::uint32_t flagsB) {
  if (pa.element == nullptr || pa.element != pb.element || pa.element->GetKind() != 0)
    return std::nullopt;
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
  if (i >= 21 && j == 7) return Visible(wordB, e) ? -1 : 1;
  if (j >= 21 && i == 7) return Visible(wordA, e) ? 1 : -1;
  return std::nullopt;
}

}  // namespace

int CompareDepth(const C3DProjection& projection, const CBox& a, const CBox& b,
                 std::uint32_t flagsA, std::uint32_t flagsB) {
  return CDepthComparer(projection).Compare(a, b, flagsA, flagsB);
}

int CDepthComparer::Compare(const CBox& a, const CBox& b, std::uint32_t flagsA,
                            std::uint32_t flagsB) {
  return Compare(a, a.GetAttributes(), b, b.GetAttributes(), flagsA, flagsB);
}

int CDepthComparer::Compare(const CBox& a, std::uint32_t wordA, const CBox& b, std::uint32_t wordB,
                            std::uint32_t flagsA, std::uint32_t flagsB) {
  if (&a == &b) return (flagsA & kSecond) ? 1 : -1;
  if (!a.HasFiniteProjection() || !b.HasFiniteProjection()) return 0;
  const C3DPoint& aMin = a.GetProjectedMin();
  const C3DPoint& aMax = a.GetProjectedMax();
  const C3DPoint& bMin = b.GetProjectedMin();
  const C3DPoint& bMax = b.GetProjectedMax();
  if (bMax.x <= aMin.x || aMax.x <= bMin.x || bMax.y <= aMin.y || aMax.y <= bMin.y) return 0;

  const Placed pa = PlaceOf(a);
  const Placed pb = PlaceOf(b);
  m_chains.SetSubject(pa.element);
  if (const auto joint = CompareJoints(wordA, wordB, pa, pb, m_chains)) return *joint;
  if (const auto part = CompareParts(a, b, wordA, wordB, pa, pb, flagsA, flagsB)) return *part;
  m_wordA = wordA;
  m_wordB = wordB;
  if (const Remembered* known = Recall(a, b)) return known->answer;
  const int answer = CompareGeometry(a, b);
  Remember(b, answer);
  return answer;
}

int CDepthComparer::CompareGeometry(const CBox& a, const CBox& b) {
  const C3DPoint& aMin = a.GetProjectedMin();
  const C3DPoint& aMax = a.GetProjectedMax();
  const C3DPoint& bMin = b.GetProjectedMin();
  const C3DPoint& bMax = b.GetProjectedMax();

  // A box wholly in front of the other by more than one unit of depth: every edge
  // crossing says so, and the first crossing settles the answer unless a face probe
  // says otherwise more strongly.
  // The margin covers the rounding of the depths interpolated along the edges.
  const double margin =
      1e-9 * (1.0 + std::fabs(aMin.z) + std::fabs(aMax.z) + std::fabs(bMin.z) + std::fabs(bMax.z));
  const double aInFront = aMin.z - bMax.z - margin;
  const double bInFront = bMin.z - aMax.z - margin;
  if (aInFront > 1.0) {
    if (const int r = CompareSeparated(a, b, aInFront, 1)) return r;
  } else if (bInFront > 1.0) {
    if (const int r = CompareSeparated(a, b, bInFront, -1)) return r;
  }
  m_best = 0.0;
  m_magnitude = 2;
  CompareEdgeCrossings(a, b, false);
  CompareFaceCentres(a, m_wordA, b, m_second.window, 1.0);
  CompareFaceCentres(b, m_wordB, a, m_first.window, -1.0);
  if (m_best > 1.0) return m_magnitude;
  if (m_best < -1.0) return -m_magnitude;
  return 0;
}

void CDepthComparer::Likeness::Take(const CBox& box, std::uint32_t boxWord) {
  projected = box.GetProjectedCorners();
  corners = box.GetCorners();
  origin = box.GetOrigin();
  for (int k = 0; k < 3; ++k) extents[k] = box.GetExtent(k);
  word = boxWord;
  attributes = box.GetAttributes();
  rotation = box.ExactRotation();
  hitBlocked = HitBlocked(box);
}

bool CDepthComparer::Likeness::Matches(const CBox& box, std::uint32_t boxWord) const {
  // The cheap tests first: most boxes differ in their place or their projection. The face
  // normals follow from the corners alone.
  if (word != boxWord || attributes != box.GetAttributes() || !(origin == box.GetOrigin()))
    return false;
  for (int k = 0; k < 3; ++k) {
    if (extents[k] != box.GetExtent(k)) return false;
  }
  // Boxes of a stack: the corners follow from what matched already, without working them
  // out for every box of the stack.
  if (rotation != nullptr && rotation == box.ExactRotation()) return hitBlocked == HitBlocked(box);
  return projected == box.GetProjectedCorners() && hitBlocked == HitBlocked(box) &&
         corners == box.GetCorners();
}

const CDepthComparer::Remembered* CDepthComparer::Recall(const CBox& a, const CBox& b) {
  if (m_likeFor != &a || m_likeWord != m_wordA || m_likeAttributes != a.GetAttributes()) {
    m_likeFor = &a;
    m_likeWord = m_wordA;
    m_likeAttributes = a.GetAttributes();
    m_rememberedCount = m_nextRemembered = 0;
    return nullptr;
  }
  for (std::size_t i = 0; i < m_rememberedCount; ++i) {
    if (m_remembered[i].second.Matches(b, m_wordB)) return &m_remembered[i];
  }
  return nullptr;
}

void CDepthComparer::Remember(const CBox& b, int answer) {
  Remembered& slot = m_remembered[m_nextRemembered];
  slot.second.Take(b, m_wordB);
  slot.answer = answer;
  m_nextRemembered = (m_nextRemembered + 1) % kRemembered;
  m_rememberedCount = std::min(m_rememberedCount + 1, kRemembered);
}

int CDepthComparer::CompareSeparated(const CBox& a, const CBox& b, double separation, int sign) {
  // Every crossing depth difference has this sign and at least this size, so one
  // crossing makes the answer sign * 1; only a probe of the other sign larger than the
  // separation could still change it, and then the full comparison decides.
  m_best = 0.0;
  m_magnitude = 2;
  if (!CompareEdgeCrossings(a, b, true)) return 0;
  m_expectedSign = sign;
  m_tolerated = separation;
  m_conflict = false;
  CompareFaceCentres(a, m_wordA, b, m_second.window, 1.0);
  CompareFaceCentres(b, m_wordB, a, m_first.window, -1.0);
  m_expectedSign = 0;
  return m_conflict ? 0 : sign;
}

double CDepthComparer::Edge::DepthAt(CPoint c) const {
  const CPoint p = segment.a;
  const CPoint q = segment.b;
  const double t = p.x != q.x ? (static_cast<double>(c.x) - p.x) / (static_cast<double>(q.x) - p.x)
                              : (static_cast<double>(c.y) - p.y) / (static_cast<double>(q.y) - p.y);
  return depthA + t * (depthB - depthA);
}

// The corner pairs of the edges of the open faces for each of the 64 sets of open
// faces: face by face, edge k from corner k to corner k + 1, each pair once.
struct OpenEdgeTable {
  std::array<std::array<std::array<std::uint8_t, 2>, 12>, 64> pairs{};
  std::array<std::uint8_t, 64> counts{};

  constexpr OpenEdgeTable() {
    for (int mask = 0; mask < 64; ++mask) {
      std::uint64_t handled = 0;
      for (int f = 0; f < CBox::kFaceCount; ++f) {
        if ((mask & (1 << f)) == 0) continue;
        for (int k = 0; k < 4; ++k) {
          const int c0 = CBox::kFaceCorners[f][k];
          const int c1 = CBox::kFaceCorners[f][(k + 1) % 4];
          const std::uint64_t bit = std::uint64_t{1} << (std::min(c0, c1) * 8 + std::max(c0, c1));
          if ((handled & bit) != 0) continue;
          handled |= bit;
          pairs[mask][counts[mask]++] = {static_cast<std::uint8_t>(c0),
                                         static_cast<std::uint8_t>(c1)};
        }
      }
    }
  }
};

constexpr OpenEdgeTable kOpenEdges;

// The window edges of the box's open faces, each corner pair once; an edge whose ends
// fall on one window point is left out.
void CDepthComparer::OpenEdges(const CBox& box, std::uint32_t attributes, EdgeSet& set) {
  int mask = 0;
  for (int f = 0; f < CBox::kFaceCount; ++f) {
    if (Nibble(attributes, f) & CBox::kFaceOpen) mask |= 1 << f;
  }
  // The window corners are the projected ones truncated, whichever way the box holds them.
  const std::array<C3DPoint, CBox::kCornerCount> projected = box.GetProjectedCorners();
  std::array<CPoint, CBox::kCornerCount>& window = set.window;
  for (int n = 0; n < CBox::kCornerCount; ++n)
    window[n] = {TruncateCoordinate(projected[n].x), TruncateCoordinate(projected[n].y)};
  set.count = 0;
  for (int e = 0; e < kOpenEdges.counts[mask]; ++e) {
    const auto [c0, c1] = kOpenEdges.pairs[mask][e];
    if (window[c0] == window[c1]) continue;
    Edge& edge = set.edges[set.count++];
    edge.segment = CWindowSegment(window[c0], window[c1]);
    edge.depthA = projected[c0].z;
    edge.depthB = projected[c1].z;
  }
  if (set.count == 0) {
    set.minX = 0;
    set.maxX = -1;
    return;
  }
  set.minX = set.edges[0].segment.minX;
  set.maxX = set.edges[0].segment.maxX;
  set.lowY = set.edges[0].segment.lowY;
  set.highY = set.edges[0].segment.highY;
  for (int e = 1; e < set.count; ++e) {
    const CWindowSegment& s = set.edges[e].segment;
    set.minX = std::min(set.minX, s.minX);
    set.maxX = std::max(set.maxX, s.maxX);
    set.lowY = std::min(set.lowY, s.lowY);
    set.highY = std::max(set.highY, s.highY);
  }
}

void CDepthComparer::Offer(double d) {
  if (m_expectedSign != 0) {
    if (d * m_expectedSign < 0.0 && std::fabs(d) > m_tolerated) m_conflict = true;
    return;
  }
  if (std::fabs(d) > std::fabs(m_best)) m_best = d;
}

// Offers the depth difference at every crossing of a's open edges with b's (a's edges
// in the outer loop); true when there was one. With stopAtFirst, stops after the first.
bool CDepthComparer::CompareEdgeCrossings(const CBox& a, const CBox& b, bool stopAtFirst) {
  if (m_edgesOf != &a || m_edgesWord != m_wordA) {
    OpenEdges(a, m_wordA, m_first);
    m_edgesOf = &a;
    m_edgesWord = m_wordA;
    m_firstCentresKnown = false;
  }
  OpenEdges(b, m_wordB, m_second);
  // Only edges that reach the other box's edge area can cross any of its edges.
  int nearCount = 0;
  for (int j = 0; j < m_second.count; ++j) {
    if (m_first.MayMeet(m_second.edges[j].segment)) m_secondNear[nearCount++] = j;
  }
  bool crossed = false;
  for (int i = 0; i < m_first.count && nearCount > 0; ++i) {
    const Edge& ea = m_first.edges[i];
    if (!m_second.MayMeet(ea.segment)) continue;
    for (int n = 0; n < nearCount; ++n) {
      const Edge& eb = m_second.edges[m_secondNear[n]];
      if (!ea.segment.MayMeet(eb.segment)) continue;
      const auto c = SegmentIntersection(ea.segment, eb.segment, 1);
      if (!c) continue;
      Offer(ea.DepthAt(*c) - eb.DepthAt(*c));
      m_magnitude = 1;
      crossed = true;
      if (stopAtFirst) return true;
    }
  }
  return crossed;
}

void CDepthComparer::OpenFaceCentres(const CBox& box, std::uint32_t attributes,
                                     FaceCentres& centres) const {
  const std::array<C3DPoint, CBox::kCornerCount> corners = box.GetCorners();
  centres.count = 0;
  for (int f = 0; f < CBox::kFaceCount; ++f) {
    if ((Nibble(attributes, f) & CBox::kFaceOpen) == 0) continue;
    const C3DPoint centre =
        (corners[CBox::GetFaceCorner(f, 0)] + corners[CBox::GetFaceCorner(f, 2)]) / 2.0;
    centres.rotated[centres.count++] = m_projection.Rotate(centre);
  }
}

void CDepthComparer::CompareFaceCentres(const CBox& first, std::uint32_t firstWord,
                                        const CBox& second,
                                        const std::array<CPoint, CBox::kCornerCount>& secondWindow,
                                        double sign) {
  // The first box of an insertion meets many others: its centres are worked out once.
  FaceCentres other;
  const FaceCentres* centres = &m_firstCentres;
  if (&first != m_edgesOf || firstWord != m_edgesWord) {
    OpenFaceCentres(first, firstWord, other);
    centres = &other;
  } else if (!m_firstCentresKnown) {
    OpenFaceCentres(first, firstWord, m_firstCentres);
    m_firstCentresKnown = true;
  }
  // A face only holds points strictly inside the window bounds of its box's corners.
  const CPoint low{TruncateCoordinate(second.GetProjectedMin().x),
                   TruncateCoordinate(second.GetProjectedMin().y)};
  const CPoint high{TruncateCoordinate(second.GetProjectedMax().x),
                    TruncateCoordinate(second.GetProjectedMax().y)};
  for (int i = 0; i < centres->count; ++i) {
    const C3DPoint& rotated = centres->rotated[i];
    const CPoint at{TruncateCoordinate(rotated.x), TruncateCoordinate(rotated.y)};
    if (at.x <= low.x || at.x >= high.x || at.y <= low.y || at.y >= high.y) continue;
    const int hit = second.HitTestFace(at.x, at.y, true, secondWindow);
    if (hit == 0) continue;
    const int g = hit - 1;
    const auto onFace = m_projection.IntersectViewRayAt(
        rotated.x, rotated.y, second.GetCorner(CBox::GetFaceCorner(g, 0)),
        C3DProjection::GetFaceNormalFromCorners(second, g));
    if (!onFace) continue;
    Offer(sign * (rotated.z - m_projection.Rotate(*onFace).z));
  }
}
