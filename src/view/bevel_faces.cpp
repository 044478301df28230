#include "view/bevel_faces.h"

#include "geometry/3d_projection.h"
#include "model/element/dev.h"

namespace {

// Box faces facing the viewer by less than this are seen edge on (the scene's own rule).
constexpr double kFacingThreshold = 0.01;

bool StyleBit(const CDev& e, int bit) { return ((e.GetStyle() >> bit) & 1) != 0; }

// The ends of the edge that face x shares with face y, in x's corner order.
std::array<C3DPoint, 2> SharedEdge(const CBox& box, int x, int y) {
  const int p = CBox::GetFacePairEntry(x, y);
  return {box.GetCorner(CBox::GetFaceCorner(x, p)),
          box.GetCorner(CBox::GetFaceCorner(x, (p + 1) % 4))};
}

bool FaceHasCorner(int face, int corner) {
  for (int k = 0; k < 4; ++k) {
    if (CBox::GetFaceCorner(face, k) == corner) return true;
  }
  return false;
}

// The slanted face through the edge (opposite s1, s2) and the edge (s1, opposite s2), in
// the corner order of a box's face 0; skipped when it turns away from the viewer.
CBevelledFace SlantedFace(const CBevel& bevel, const CBox& box, const C3DProjection& projection) {
  const auto near = SharedEdge(box, CBoxOwner::OppositeDirection(bevel.s1), bevel.s2);
  const auto far = SharedEdge(box, bevel.s1, CBoxOwner::OppositeDirection(bevel.s2));
  const std::array<C3DPoint, 4> corners = {near[1], near[0], far[0], far[1]};
  CBevelledFace out;
  const C3DPoint normal = CrossProduct(corners[2] - corners[0], corners[1] - corners[0]);
  if (DotProduct(projection.GetViewDirection(), normal) <= kFacingThreshold) {
    out.shape = BevelFaceShape::Skipped;
    return out;
  }
  out.shape = BevelFaceShape::Slanted;
  for (std::size_t i = 0; i < 4; ++i) out.polygon[i] = projection.ProjectPoint(corners[i]);
  return out;
}

}  // namespace

CBevel BevelOf(const CDev& e, const CBox& box, int slot, int role) {
  CBevel bevel;
  const int direction = e.GetDirection();
  if (e.GetKind() == CDev::kElbow && slot == CBoxOwner::kBodySlot &&
      ((e.GetStyle() >> 16) & 0xFF) == 100) {
    bevel.body = true;
    bevel.s1 = direction;
    for (int d = 0; d < CBox::kFaceCount && bevel.s2 < 0; ++d) {
      if (d != direction && e.GetBox(CBoxOwner::OppositeDirection(d)) != nullptr) bevel.s2 = d;
    }
  } else if (role == 6) {
    bool a = StyleBit(e, 13);
    if (e.GetBackNeighbour() == nullptr) a = !a;
    if (StyleBit(e, 14)) a = !a;
    const bool b = StyleBit(e, 12) != StyleBit(e, 14);
    bevel.s1 = box.MapSideToFace(a ? 0 : 1, 0);
    bevel.s2 = box.MapSideToFace(b ? 3 : 2, 0);
  }
  // Two faces that share no edge cut nothing.
  if (bevel.IsSet() && CBox::GetFacePairEntry(bevel.s1, bevel.s2) < 0) bevel = CBevel{};
  return bevel;
}

CBevelledFace ShapeBevelledFace(const CBevel& bevel, const CBox& box,
                                const C3DProjection& projection, int face,
                                const std::array<CPoint, 4>& polygon) {
  CBevelledFace out;
  out.polygon = polygon;
  if (!bevel.IsSet() || face == CBoxOwner::OppositeDirection(bevel.s1) ||
      face == CBoxOwner::OppositeDirection(bevel.s2))
    return out;
  if (face == bevel.s1 && (box.GetFaceFlags(bevel.s2) & CBox::kFaceOpen) != 0) {
    out.shape = BevelFaceShape::Skipped;
    return out;
  }
  if (face == bevel.s1 || face == bevel.s2) return SlantedFace(bevel, box, projection);
  for (int k = 0; k < 4; ++k) {
    const int corner = CBox::GetFaceCorner(face, k);
    if (FaceHasCorner(bevel.s1, corner) && FaceHasCorner(bevel.s2, corner)) {
      out.shape = BevelFaceShape::Triangle;
      out.moved = k;
      out.polygon[static_cast<std::size_t>(k)] = polygon[static_cast<std::size_t>((k + 1) % 4)];
      break;
    }
  }
  return out;
}
