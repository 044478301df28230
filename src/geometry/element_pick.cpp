#include "geometry/element_pick.h"

#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/box_owner.h"
#include "platform/number_text.h"

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr int kAxisPartKind = 7;
constexpr std::int32_t kAxisPartReach = 801;
constexpr double kNodeSnap = 100.0;
constexpr std::int32_t kOutletSnap = 200;
constexpr std::int32_t kCornerSnap = 100;
constexpr std::int32_t kFarPart = 200;
constexpr std::int32_t kSupportSnap = 200;
constexpr int kOriginCode = 9;
constexpr int kSupportCode = 100000000;
// Outlet and support counts come from element data: a damaged value must not loop long.
constexpr std::int32_t kMaxPoints = 4096;

struct Found {
  C3DPoint point;
  int code = 0;
  CBox* box = nullptr;
};

int ParseInt(const std::string& text, int fallback) {
  const std::optional<CParsedInt> parsed = ParseIntPrefix(text);
  return parsed ? parsed->value : fallback;
}

std::int32_t PointCount(double x) {
  const std::int32_t count = C3DPoint::ToStoredInt(x);
  return count < 0 ? 0 : (count > kMaxPoints ? kMaxPoints : count);
}

class CElementPicker {
 public:
  CElementPicker(const C3DProjection& projection, CPoint point, int code, bool supportsShown)
      : m_projection(projection), m_point(point), m_code(code), m_supportsShown(supportsShown) {}

  // The whole pick with snapping.
  CElementPick Run();
  // Only the walk for the first face hit.
  CElementPick Walk() const;

 private:
  std::optional<Found> Snap(const C3DPoint& hit, CBox& box);
  std::optional<Found> SnapDirectionBox(const C3DPoint& hit, CBox& box, const CBoxOwner& element,
                                        int slot);
  std::optional<Found> SnapOutlet(const C3DPoint& hit, const CBoxOwner& element, int slot) const;
  Found SnapAxisCorner(const C3DPoint& hit, CBox& box, const CBoxOwner& element, int slot) const;
  std::optional<Found> SnapBody(const C3DPoint& hit, CBox& body, const CBoxOwner& element);
  std::optional<Found> SnapRefPoint(const C3DPoint& hit, CBox& box);
  std::optional<Found> FarPartPoint(CBox& box, const CBoxOwner* element, int slot) const;
  void SnapSupport(Found& found, CBox& hitBox) const;

  const C3DProjection& m_projection;
  CPoint m_point;
  int m_code;
  bool m_supportsShown;
  std::optional<CElementPick> m_retry;
};

CElementPick CElementPicker::Walk() const {
  const bool restricted = m_code > 1;
  for (const CDisplayNode* node = m_projection.GetDisplayList().Tail(); node != nullptr;
       node = node->prev) {
    CBox& box = *CDisplayList::PassBox(*node);
    const int face = box.HitTestFace(m_point.x, m_point.y, restricted);
    if (face != 0) {
      const int f = face - 1;
      const C3DPoint normal = C3DProjection::GetFaceNormalFromCorners(box, f);
      return {
          m_projection.IntersectViewRay(m_point, box.GetCorner(CBox::GetFaceCorner(f, 0)), normal),
          m_code, &box};
    }
    if (box.GetKindCode() != kAxisPartKind) continue;
    const auto onPlane =
        m_projection.IntersectViewRay(m_point, box.GetOrigin(), box.GetFaceNormal(2));
    if (!onPlane) return {std::nullopt, m_code, &box};
    if (PointDistance(*onPlane, box.GetOrigin()) < kAxisPartReach) return {onPlane, m_code, &box};
  }
  return {std::nullopt, m_code, nullptr};
}

CElementPick CElementPicker::Run() {
  const CElementPick walked = Walk();
  if (!walked.point) return walked;
  std::optional<Found> found = Snap(*walked.point, *walked.box);
  if (m_retry) return *m_retry;
  if (!found) return {std::nullopt, m_code, nullptr};
  SnapSupport(*found, *walked.box);
  if (m_code >= 10 && (found->code < 10 || found->code >= 30))
    return {std::nullopt, m_code, nullptr};
  return {found->point, found->code, found->box};
}

std::optional<Found> CElementPicker::Snap(const C3DPoint& hit, CBox& box) {
  const CBoxOwner* element = box.GetOwner();
  const int slot = element != nullptr ? element->GetBoxSlot(box) : CBoxOwner::kSlotCount;
  if (element != nullptr && slot >= 0 && slot < CBoxOwner::kBodySlot)
    return SnapDirectionBox(hit, box, *element, slot);
  if (element != nullptr && slot == CBoxOwner::kBodySlot) return SnapBody(hit, box, *element);
  return SnapRefPoint(hit, box);
}

std::optional<Found> CElementPicker::SnapDirectionBox(const C3DPoint& hit, CBox& box,
                                                      const CBoxOwner& element, int slot) {
  // Near the node of the element or of its neighbour across the face: that element.
  const C3DPoint normal = box.GetFaceNormal(slot);
  const CBoxOwner* neighbour = element.GetNeighbour(slot);
  const double own = std::fabs(DotProduct(hit - element.GetPosition(), normal));
  const double other = neighbour != nullptr
                           ? std::fabs(DotProduct(hit - neighbour->GetPosition(), normal))
                           : std::numeric_limits<double>::infinity();
  if (m_code < 10 && (own <= kNodeSnap || other <= kNodeSnap)) {
    const CBoxOwner& nearer = other < own ? *neighbour : element;
    if (CBox* body = nearer.GetBox(CBoxOwner::kBodySlot)) return SnapBody(hit, *body, nearer);
  }
  if (auto outlet = SnapOutlet(hit, element, slot)) return outlet;
  if (m_code >= 10) return Found{hit, 0, &box};
  return SnapAxisCorner(hit, box, element, slot);
}

std::optional<Found> CElementPicker::SnapOutlet(const C3DPoint& hit, const CBoxOwner& element,
                                                int slot) const {
  const int back = CBoxOwner::OppositeDirection(slot);
  const CBoxOwner* joint = element.FindKindToward(slot, 9);
  CBox* outlets = joint != nullptr ? joint->GetBox(back) : nullptr;
  if (outlets == nullptr) return std::nullopt;
  const C3DPoint header = joint->GetConnectionCode(*outlets, -1, 0);
  const std::int32_t count = PointCount(header.x);
  const auto word = static_cast<std::uint32_t>(C3DPoint::ToStoredInt(header.y));
  const std::uint32_t mask = word & ~0xFFu;
  if (m_code > 10 && (mask & static_cast<std::uint32_t>(m_code - 10)) == 0) return std::nullopt;
  if (m_code < 10 && mask > 4096) return std::nullopt;
  for (std::int32_t k = 0; k < count; ++k) {
    const C3DPoint centre = joint->GetConnectionCode(*outlets, k, 0);
    if (PointDistance(hit, centre) < kOutletSnap)
      return Found{centre, ((word & 1) ? 20 : 10) + k, outlets};
  }
  return std::nullopt;
}

Found CElementPicker::SnapAxisCorner(const C3DPoint& hit, CBox& box, const CBoxOwner& element,
                                     int slot) const {
  // A corner nearer than the element's axis line wins; else the point stays on the face.
  const C3DPoint normal = box.GetFaceNormal(slot);
  const C3DPoint position = element.GetPosition();
  const C3DPoint onAxis = position + normal * DotProduct(hit - position, normal);
  std::int32_t best = PointDistance(hit, onAxis);
  int corner = -1;
  for (int k = 0; k < CBox::kCornerCount; ++k) {
    const std::int32_t d = PointDistance(hit, box.GetRefPoint(k));
    if (d < best) {
      best = d;
      corner = k;
    }
  }
  if (corner < 0) return {hit, 0, &box};
  return {box.GetRefPoint(corner), corner + 1, &box};
}

std::optional<Found> CElementPicker::SnapBody(const C3DPoint& hit, CBox& body,
                                              const CBoxOwner& element) {
  const CBoxOwner* target = &element;
  CBox* box = &body;
  if (element.GetKind() == 9 && element.GetFlags() != 0) {
    const CBoxOwner* ahead = element.GetNeighbour(element.GetDirection());
    CBox* aheadBody = ahead != nullptr ? ahead->GetBox(CBoxOwner::kBodySlot) : nullptr;
    if (aheadBody != nullptr && PointDistance(ahead->GetPosition(), element.GetPosition()) == 0) {
      target = ahead;
      box = aheadBody;
    }
  }
  const int kind = target->GetKind();
  if (kind == 7 || kind == 8 || kind == 14 || kind == 9) return SnapRefPoint(hit, *box);
  return Found{box->GetOrigin(), kOriginCode, box};
}

std::optional<Found> CElementPicker::SnapRefPoint(const C3DPoint& hit, CBox& box) {
  const CBoxOwner* element = box.GetOwner();
  const int slot = element != nullptr ? element->GetBoxSlot(box) : CBoxOwner::kSlotCount;
  const int kindCode = box.GetKindCode();
  const bool withMidPoints =
      kindCode == 1 || kindCode == 2 || kindCode == 4 || kindCode == 5 ||
      (slot == 7 && element != nullptr && (element->GetStyle() & 0xFF) == 20);
  const int count = withMidPoints ? CBox::kRefPointCount : CBox::kCornerCount;
  int nearest = -1;
  std::int32_t best = 0;
  for (int k = 0; k < count; ++k) {
    const C3DPoint p = box.GetRefPoint(k);
    if (kindCode == 6 && element != nullptr) {
      bool onSide = false;
      for (int side = 0; side < 4 && !onSide; ++side) {
        const int face = box.MapSideToFace(side, 0);
        for (int c = 0; c < 4 && face >= 0 && !onSide; ++c) {
          onSide = PointDistance(p, box.GetCorner(CBox::GetFaceCorner(face, c))) < 1;
        }
      }
      if (onSide) continue;
    }
    const std::int32_t d = PointDistance(hit, p);
    if (nearest < 0 || d < best) {
      nearest = k;
      best = d;
    }
  }
  if (nearest >= 0 && best <= kCornerSnap) {
    return Found{box.GetRefPoint(nearest),
                 nearest < CBox::kCornerCount ? nearest + 1 : nearest + 22, &box};
  }
  if (nearest < 0 || best > kFarPart) {
    if (auto part = FarPartPoint(box, element, slot)) return part;
  }
  if (m_code == 1) {
    CElementPick retry = CElementPicker(m_projection, m_point, 2, m_supportsShown).Run();
    if (retry.point) {
      m_retry = retry;
      return std::nullopt;
    }
  }
  if (slot == CBoxOwner::kBodySlot) return Found{box.GetOrigin(), kOriginCode, &box};
  return std::nullopt;
}

std::optional<Found> CElementPicker::FarPartPoint(CBox& box, const CBoxOwner* element,
                                                  int slot) const {
  // The connection point in front of an end cabinet, away from its part box.
  if (element == nullptr || slot != 7 || !element->HasFarConnectionPoint()) return std::nullopt;
  const CBox* main = element->GetBox(CBoxOwner::kBodySlot);
  if (main == nullptr) return std::nullopt;
  const int direction = element->GetDirection();
  C3DPoint normal = main->GetFaceNormal(direction);
  if (element->GetNeighbour(direction) != nullptr) normal = normal * -1.0;
  C3DPoint point = main->GetOrigin() + normal * 519.0;
  if (ParseInt(element->GetRunProperty("Neutral"), 0) == 7) {
    const int face = main->MapSideToFace(ParseInt(element->GetRunProperty("COTE_NEUTRE"), -1), 0);
    if (face >= 0) point = point + main->GetFaceNormal(face) * 36.0;
  }
  return Found{point, kOriginCode, &box};
}

void CElementPicker::SnapSupport(Found& found, CBox& hitBox) const {
  if (!m_supportsShown || m_code >= 10 || (found.code >= 9 && found.code < 30)) return;
  const CBoxOwner* element = hitBox.GetOwner();
  if (element == nullptr) return;
  const int slot = element->GetBoxSlot(hitBox);
  const std::int32_t count = PointCount(element->GetSupportPoint(hitBox, -1, slot).x);
  for (std::int32_t k = 0; k < count; ++k) {
    const C3DPoint support = element->GetSupportPoint(hitBox, k, slot);
    if (PointDistance(found.point, support) < kSupportSnap) {
      found = {support, kSupportCode + static_cast<int>(k), &hitBox};
      return;
    }
  }
}

}  // namespace

CElementPick HitTestElements(const C3DProjection& projection, CPoint point, std::optional<int> code,
                             bool supportsShown) {
  if (!code) {
    // Only the face hit, on restricted faces as with a code above 1.
    CElementPick walked = CElementPicker(projection, point, 2, false).Walk();
    walked.code = 0;
    return walked;
  }
  return CElementPicker(projection, point, *code, supportsShown).Run();
}
