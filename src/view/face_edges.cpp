#include "view/face_edges.h"

#include "geometry/3d_projection.h"
#include "geometry/plane_geometry.h"
#include "model/element/dev.h"

namespace {

bool IsJunctionKind(int kind) { return (kind >= 1 && kind <= 6) || kind == CDev::kBend; }

bool Has(const CDev& e, int slot) { return e.GetBox(slot) != nullptr; }

void Remove(CFaceEdges& out, int face, int other) {
  const int k = CBox::GetFacePairEntry(face, other);
  if (k >= 0) out.draw[static_cast<std::size_t>(k)] = false;
}

void Add(CFaceEdges& out, int face, int other) {
  const int k = CBox::GetFacePairEntry(face, other);
  if (k >= 0) out.draw[static_cast<std::size_t>(k)] = true;
}

// The body of a junction: edges where exactly one of two neighbouring faces carries a
// box of its own join that box, so they are left out.
void BodyEdges(const CFaceEdgeQuery& q, CFaceEdges& out) {
  if (q.shape.shape == BevelFaceShape::Triangle) {
    out.draw = {false, false, false, false};
    out.draw[static_cast<std::size_t>((q.shape.moved + 3) % 4)] = true;
    return;
  }
  if (q.shape.shape == BevelFaceShape::Slanted) return;
  const CDev& e = *q.element;
  for (int j = 0; j < CBox::kFaceCount; ++j) {
    if (Has(e, j) == Has(e, q.face)) continue;
    if (q.qjShaped && !Has(e, CBoxOwner::OppositeDirection(j))) continue;
    Remove(out, q.face, j);
  }
}

// A box on one of the element's faces: it joins the body on the slot's face.
void FaceBoxEdges(const CFaceEdgeQuery& q, CFaceEdges& out) {
  const CDev& e = *q.element;
  const int s = q.slot;
  if (q.face == s) {
    out.draw = {false, false, false, false};
    out.faceHidden = true;
    return;
  }
  const bool junction = IsJunctionKind(e.GetKind());
  const int pair = CBox::GetFacePairEntry(q.face, s);
  if (pair >= 0) {
    Remove(out, q.face, s);
    const int back = CBoxOwner::OppositeDirection(s);
    const bool keptByBevel = q.bevelledBody && Has(e, CBoxOwner::OppositeDirection(q.face));
    if (junction && !Has(e, q.face) && !keptByBevel && (!q.qjShaped || Has(e, back)))
      Remove(out, q.face, back);
  } else if (pair == -2 && junction) {
    for (int j = 0; j < CBox::kFaceCount; ++j) {
      if (!Has(e, j)) Remove(out, q.face, j);
    }
  }
}

// The cover's edge toward its open back stops where the element's slot-8 box, seen from
// here, crosses it: the end nearer that crossing moves onto it.
void CutCoverEdge(const CFaceEdgeQuery& q, int coverFace, CFaceEdges& out) {
  const int open = CBoxOwner::OppositeDirection(coverFace);
  const int k = CBox::GetFacePairEntry(q.face, open);
  const CBox* inner = q.element->GetBox(8);
  if (k < 0 || inner == nullptr) return;
  for (int m = 0; m < CBox::kFaceCount; ++m) {
    if (m == q.face || m == coverFace || m == open) continue;
    if ((inner->GetFaceFlags(m) & CBox::kFaceOpen) == 0) continue;
    const int p = CBox::GetFacePairEntry(m, open);
    if (p < 0) return;
    const CPoint c = inner->GetWindowCorner(CBox::GetFaceCorner(m, p));
    const CPoint d = inner->GetWindowCorner(CBox::GetFaceCorner(m, (p + 1) % 4));
    CPoint& from = out.polygon[static_cast<std::size_t>((k + 1) % 4)];
    CPoint& to = out.polygon[static_cast<std::size_t>(k)];
    const auto at = SegmentIntersection(from.x, from.y, to.x, to.y, c.x, c.y, d.x, d.y, 1);
    if (!at) return;
    (WindowDistance(from, *at) < WindowDistance(to, *at) ? from : to) = *at;
    return;
  }
}

void CoverEdges(const CFaceEdgeQuery& q, CFaceEdges& out) {
  const CDev& e = *q.element;
  const int cover = CoverFace(e);
  const int open = CBoxOwner::OppositeDirection(cover);
  if (q.face == cover || q.face == open) {
    out.draw = {false, false, false, false};
    return;
  }
  for (int j = 0; j < CBox::kFaceCount; ++j) {
    if (j != open && (q.box->GetFaceFlags(j) & CBox::kFaceOpen) == 0) Remove(out, q.face, j);
  }
  if (q.slot != 9 || e.GetRunProperty("Catalog").substr(0, 2) == "QG") return;
  if ((q.box->GetFaceFlags(cover) & CBox::kFaceOpen) != 0) {
    Remove(out, q.face, cover);
  } else {
    Add(out, q.face, cover);
  }
  const int direction = e.GetDirection();
  if (q.coverCode == 16 && (q.face == direction || q.face == e.GetBackFace()))
    Add(out, q.face, cover);
  if ((q.box->GetFaceFlags(open) & CBox::kFaceOpen) == 0) CutCoverEdge(q, cover, out);
}

}  // namespace

int CoverFace(const CDev& e) {
  const std::uint32_t bits = (e.GetStyle() >> 26) & 3;
  if (bits == 2)
    return e.GetNeighbour(e.GetDirection()) != nullptr ? e.GetDirection() : e.GetBackFace();
  return bits == 0 ? 2 : 3;
}

CFaceEdges ChooseFaceEdges(const CFaceEdgeQuery& q) {
  CFaceEdges out;
  out.polygon = q.shape.polygon;
  if (q.element == nullptr || q.box == nullptr) return out;
  if (q.slot == CBoxOwner::kBodySlot && IsJunctionKind(q.element->GetKind())) {
    BodyEdges(q, out);
  } else if (q.slot >= 0 && q.slot < CBoxOwner::kBodySlot) {
    FaceBoxEdges(q, out);
    if (out.faceHidden) return out;
  }
  if (q.role == 3) CoverEdges(q, out);
  return out;
}
