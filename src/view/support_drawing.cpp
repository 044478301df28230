#include "view/support_drawing.h"

#include <cmath>

#include "app/element_colors.h"
#include "geometry/3d_projection.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "view/draw_context.h"
#include "view/element_draw_options.h"
#include "view/element_draw_support.h"
#include "view/support_junction.h"
#include "view/support_text.h"

using namespace element_draw;

namespace {

constexpr int kMaxSupports = 9;
constexpr int kWalkLimit = 10000;  // stored links may run in a circle

bool IsSupportRange(const CDev& element) {
  const std::string catalog = element.GetRunProperty("Catalog");
  return catalog.size() >= 2 && (catalog[1] == 'M' || catalog[1] == 'G');
}

// From the element along face d, on past elements of kinds above 6 other than 9.
const CDev* Step(const CDev* element, int face) {
  const CDev* next = element->GetNeighbour(face);
  for (int guard = 0;
       next != nullptr && next->GetKind() > 6 && next->GetKind() != 9 && guard < kWalkLimit;
       ++guard) {
    next = next->GetNeighbour(face);
  }
  return next;
}

std::int32_t HalfExtentAlong(const CBox& box, int face) {
  const int index = (face == 1 || face == 5) ? 0 : (face == 0 || face == 4) ? 1 : 2;
  return box.GetExtent(index) / 2;
}

// The point of a placement, or none.
std::optional<C3DPoint> Place(const CBox& drawn, const CDev& support, const CSupportPlacement& p,
                              CSupportData& data) {
  const CDev* current = &support;
  for (int face : p.moves) {
    current = Step(current, face);
    if (current == nullptr) return std::nullopt;
  }
  const C3DPoint normal = drawn.GetFaceNormal(p.face);
  if (p.slot >= 0) {
    if (data.firstFace < 0) data.firstFace = p.face;
    const CBox* box = current->GetBox(p.slot);
    if (box == nullptr) return std::nullopt;
    std::int32_t distance = p.distance;
    if (p.halfExtent) {
      distance = HalfExtentAlong(*box, p.face);
      data.extraOffset = 10;
    }
    return box->GetOrigin() + normal * distance;
  }
  const CDev* n = current->GetNeighbour(p.face);
  std::int64_t distance = p.distance;
  // The distance is a booked (catalogue) distance: it is walked in booked lengths and
  // only then scaled to the drawing of the length it falls in.
  for (int guard = 0; n != nullptr && guard < kWalkLimit; ++guard) {
    const std::int64_t length = n->GetBookedLength();
    if (distance <= length || length <= 0) break;
    distance -= length;
    if (n->GetKind() == 9 || n->GetKind() <= 6) return std::nullopt;
    n = n->GetNeighbour(p.face);
  }
  if (n == nullptr) return std::nullopt;
  if (distance > 0 && n->GetBookedLength() > 0)
    distance = std::int64_t{n->GetDrawnLength()} * distance / n->GetBookedLength();
  const CDev* before = n->GetNeighbour(CBoxOwner::OppositeDirection(p.face));
  if (before == nullptr) return std::nullopt;
  return before->GetPosition() + normal * static_cast<double>(distance);
}

// Which face a band runs across (g), the face without supports (side) and the band mode
// (0 through the point, 1 cut back from the side face, 2 at half extents, alternating).
struct CBandFrame {
  int g = -1;
  int h = -1;  // the branch face of a junction's body: the support turns the corner
  int side = -1;
  int mode = 0;
};

// False when nothing is drawn on this box.
bool ChooseSupportFace(const CDev& element, int slot, const CSupportData& data, CBandFrame& frame) {
  if (slot >= 0 && slot < CBoxOwner::kBodySlot) {
    if (data.insideBody) return false;
    frame.g = slot;
    return true;
  }
  if (slot == CBoxOwner::kBodySlot) {
    frame.g = element.GetDirection();
    if (element.GetKind() >= 2 && element.GetKind() <= 6) {
      int q = -1;
      for (int f = 0; f < 6 && q < 0; ++f) {
        if (f != frame.g && f != CBoxOwner::OppositeDirection(frame.g) &&
            element.GetNeighbour(f) != nullptr)
          q = f;
      }
      if (frame.g == 2 || frame.g == 3) {
        frame.side = CBoxOwner::OppositeDirection(frame.g);
        frame.g = q;
      } else if (q == 2 || q == 3) {
        frame.side = q;
      } else {
        frame.h = q;
      }
    }
  } else {
    frame.g = data.firstFace;
    if (data.extraOffset == 10) {
      frame.g = (data.firstFace == 1 || data.firstFace == 5) ? 0 : 1;
      frame.mode = 2;
    }
  }
  if (frame.h < 0 && frame.mode == 0 && (frame.side == 2 || frame.side == 3)) frame.mode = 1;
  return frame.g >= 0 && frame.g <= 5;
}

// The face that shares edge e (0..3) of face f.
int FaceAcrossEdge(int face, int edge) {
  for (int j = 0; j < CBox::kFaceCount; ++j) {
    if (CBox::GetFacePairEntry(face, j) == edge) return j;
  }
  return -1;
}

// The joint ahead of a face box whose outlet layout is set: its outlets' side keeps
// clear of supports.
const CDev* OutletJointAhead(const CBox& box, int slot) {
  const CDev* e = dynamic_cast<const CDev*>(box.GetOwner());
  if (e == nullptr || slot < 0 || slot >= CBoxOwner::kBodySlot) return nullptr;
  if (slot == e->GetBackFace()) e = e->GetNeighbour(slot);
  if (e == nullptr || e->GetDirection() < 0) return nullptr;
  const CDev* j = e->GetNeighbour(e->GetDirection());
  for (int guard = 0; j != nullptr && j->GetKind() != CDev::kJoint && guard < kWalkLimit; ++guard)
    j = j->GetNeighbour(e->GetDirection());
  return j != nullptr && ((j->GetStyle() >> 8) & 0xF) != 0 ? j : nullptr;
}

// The face of the box that touches the box k (world bounds within 5 units), the last of
// the six tests that matches; `side` when none does.
int FaceTouching(const CBox& box, const CBox& k, int side) {
  auto near = [](double a, double b) { return std::fabs(a - b) <= 5; };
  const C3DPoint& kMin = k.GetWorldMin();
  const C3DPoint& kMax = k.GetWorldMax();
  const C3DPoint& bMin = box.GetWorldMin();
  const C3DPoint& bMax = box.GetWorldMax();
  if (near(kMin.x, bMax.x)) side = 4;
  if (near(kMax.x, bMin.x)) side = 0;
  if (near(kMin.y, bMax.y)) side = 2;
  if (near(kMax.y, bMin.y)) side = 3;
  if (near(kMin.z, bMax.z)) side = 5;
  if (near(kMax.z, bMin.z)) side = 1;
  return side;
}

// The side without supports as the element's surroundings decide it: beside the outlets
// of the joint ahead, or where an end's slot-11 part meets the box.
int SideFromSurroundings(const CBox& box, int slot, int side) {
  const CDev* e = dynamic_cast<const CDev*>(box.GetOwner());
  if (e == nullptr) return side;
  if (const CDev* joint = OutletJointAhead(box, slot)) {
    const int neutral = RunPropertyInt(*e, "COTE_NEUTRE", -1);
    if (neutral >= 0 && neutral <= 3) {
      side = box.MapSideToFace(neutral, 1);
      if (((joint->GetStyle() >> 12) & 1) != 0) side = CBoxOwner::OppositeDirection(side);
    }
  }
  const CBox* part = e->GetBox(11);
  if (slot == 7 && e->GetKind() == CDev::kEnd && part != nullptr)
    side = FaceTouching(box, *part, side);
  return side;
}

}  // namespace

const CDev* FindSupportElement(const CBox& box, int slot) {
  const CDev* e = OwningElement(box);
  if (e == nullptr || e->GetRun() == nullptr || e->GetRun()->GetPartsState() == 0 ||
      !IsSupportRange(*e))
    return nullptr;
  const int back = e->GetBackFace();
  if (slot >= CBoxOwner::kBodySlot) {
    if (e->GetKind() == 9 || e->GetKind() == 7 || box.GetKindCode() != 0) return nullptr;
    if (e->GetKind() == 0 && back >= 0 && e->GetNeighbour(back) != nullptr)
      e = e->GetNeighbour(back);
  } else if (slot == back) {
    e = e->GetNeighbour(back);
    if (e == nullptr) return nullptr;
  }
  for (int guard = 0; e != nullptr && e->GetKind() != 9 && e->GetKind() != 0; ++guard) {
    if (guard >= kWalkLimit) return nullptr;
    e = e->GetBackFace() >= 0 ? e->GetNeighbour(e->GetBackFace()) : nullptr;
  }
  return e;
}

CSupportData ComputeSupports(const CBox& box, int slot, const CDev& supportElement,
                             const std::string& text) {
  CSupportData data;
  if (text.empty()) return data;
  const CSupportText parsed = ParseSupportText(text);
  data.side = parsed.side;
  for (const CSupportPlacement& placement : parsed.placements) {
    if (static_cast<int>(data.points.size()) >= kMaxSupports) break;
    if (auto point = Place(box, supportElement, placement, data)) data.points.push_back(*point);
  }
  if (data.points.empty()) return CSupportData{};
  data.side = SideFromSurroundings(box, slot, data.side);
  for (std::size_t k = 0; k < data.points.size(); ++k) {
    CBox cube;
    cube.SetPlacement(data.points[k], 50, 50, 50);
    if (C3DProjection::BoxesOverlap(box, cube)) data.touching.push_back(k);
  }
  const CDev* element = dynamic_cast<const CDev*>(box.GetOwner());
  const CBox* body = element != nullptr ? element->GetBox(CBoxOwner::kBodySlot) : nullptr;
  if (slot >= 0 && slot < CBoxOwner::kBodySlot && body != nullptr) {
    CBox shrunk = box;
    shrunk.SetOwner(nullptr);
    shrunk.SetPlacement(box.GetOrigin(), box.GetExtent(0) - 2, box.GetExtent(1) - 2,
                        box.GetExtent(2) - 2);
    data.insideBody = C3DProjection::BoxesOverlap(shrunk, *body);
  }
  return data;
}

void DrawSupports(CDrawContext& dc, const CBox& box, int face, int slot, const CSupportData& data,
                  const CElementDrawOptions& options) {
  if (data.touching.empty() || options.supportDisplay == 0) return;
  const CDev* element = OwningElement(box);
  const C3DProjection* projection = element != nullptr ? element->GetProjection() : nullptr;
  if (projection == nullptr) return;
  CBandFrame frame;
  frame.side = data.side >= 0 && data.side <= 5 ? data.side : -1;
  if (!ChooseSupportFace(*element, slot, data, frame)) return;
  int p = CBox::GetFacePairEntry(face, frame.g);
  if (p < 0 && frame.h >= 0) p = CBox::GetFacePairEntry(face, frame.h);
  if (p < 0 || face == frame.side) return;
  const auto corners = FaceCorners(box, face, p);
  const C3DPoint ng = box.GetFaceNormal(frame.g);
  const double w = corners[0].DistanceTo(corners[1]);
  dc.SelectPen(CPen{PenStyle::Null, 0, {}});
  dc.SelectBrush(
      CBrush::Solid(options.monochrome ? CColor{255, 255, 255} : GetColor(options.colors, 14)));
  if (frame.h >= 0) {
    const auto shape = JunctionSupportShape(box, *element, face, frame.g, frame.h, corners);
    if (!shape) return;
    for (std::size_t k = 0; k < data.touching.size(); ++k) FillProjected(dc, *projection, *shape);
    return;
  }
  for (std::size_t k : data.touching) {
    C3DPoint v = data.points[k] - box.GetOrigin();
    if (frame.mode == 2) {
      const int a = k % 2 == 0 ? data.firstFace : CBoxOwner::OppositeDirection(data.firstFace);
      if (face != a) continue;
      v = C3DPoint();
      frame.side = CBoxOwner::OppositeDirection(face);
    }
    C3DPoint c1 = MidPoint(corners[0], corners[3]) + v;
    C3DPoint c2 = MidPoint(corners[1], corners[2]) + v;
    if (frame.mode != 0 && w > 70 && frame.side >= 0) {
      // the band keeps the 70 units next to the edge away from the side face
      const C3DPoint cut = box.GetFaceNormal(frame.side) * (w - 70);
      if (FaceAcrossEdge(face, (p + 3) % 4) == frame.side) c1 = c1 - cut;
      if (FaceAcrossEdge(face, (p + 1) % 4) == frame.side) c2 = c2 - cut;
    }
    const std::array<C3DPoint, 4> band = {c1 + ng * 25, c2 + ng * 25, c2 - ng * 25, c1 - ng * 25};
    FillProjected(dc, *projection, band);
  }
}
