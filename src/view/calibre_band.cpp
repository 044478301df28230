#include "view/calibre_band.h"

#include <array>

#include "geometry/3d_projection.h"
#include "model/element/dev.h"
#include "view/draw_context.h"
#include "view/element_draw_support.h"

using namespace element_draw;

namespace {

constexpr CColor kBandGrey{210, 210, 210};

bool IsJunctionKind(int kind) { return (kind >= 1 && kind <= 6) || kind == CDev::kBend; }

// The element whose neutral side and direction lay the band out on this face.
const CDev* BandReference(const CDev& e, int slot, int face) {
  if (slot < CBoxOwner::kBodySlot) return slot == e.GetBackFace() ? &e : e.GetNeighbour(slot);
  if (!IsJunctionKind(e.GetKind()) || face != e.GetDirection()) return &e;
  for (int f = 0; f < CBox::kFaceCount; ++f) {
    if (f == face || f == CBoxOwner::OppositeDirection(face)) continue;
    if (const CDev* n = e.GetNeighbour(f)) return n;
  }
  return nullptr;
}

// The four corners of one piece of band: B, A on the near end, C, D on the far one.
struct CPiece {
  C3DPoint a, b, c, d;
};

class CBandPainter {
 public:
  CBandPainter(CDrawContext& dc, const C3DProjection& projection, const CCalibreBandFace& band)
      : m_dc(dc), m_projection(projection), m_band(band) {}

  void Piece(const CPiece& p) {
    m_dc.SelectPen(CPen{PenStyle::Null, 0, {}});
    m_dc.SelectBrush(CBrush::Solid(kBandGrey));
    const std::array<C3DPoint, 4> quad = {p.b, p.a, p.d, p.c};
    FillProjected(m_dc, m_projection, quad);
    if (m_band.edges) {
      m_dc.SelectPen(m_band.pen);
      LineProjected(m_dc, m_projection, p.c, p.b);
      LineProjected(m_dc, m_projection, p.d, p.a);
    }
    m_last = p;
  }

  void Corner(const std::array<C3DPoint, 4>& quad) {
    m_dc.SelectPen(CPen{PenStyle::Null, 0, {}});
    m_dc.SelectBrush(CBrush::Solid(kBandGrey));
    FillProjected(m_dc, m_projection, quad);
  }

  // The last piece's short sides in the band's own grey, so that the band keeps its
  // width on the screen up to its ends; its corner pixels black under outlined faces.
  void Finish() {
    m_dc.SelectPen(CPen{PenStyle::Solid, 0, kBandGrey});
    ScreenSide(m_last.b, m_last.a);
    ScreenSide(m_last.d, m_last.c);
    if (!m_band.edges) return;
    for (const C3DPoint& corner : {m_last.a, m_last.b, m_last.c, m_last.d}) {
      const CPoint at = m_projection.ProjectPoint(corner);
      m_dc.SetPixel(at.x, at.y, {0, 0, 0});
    }
  }

 private:
  void ScreenSide(const C3DPoint& from, const C3DPoint& to) {
    const CPoint a = m_projection.ProjectPoint(from);
    const CPoint b = m_projection.ProjectPoint(to);
    m_dc.MoveTo(a.x, a.y);
    m_dc.ScreenLineTo(b.x, b.y);
  }

  CDrawContext& m_dc;
  const C3DProjection& m_projection;
  const CCalibreBandFace& m_band;
  CPiece m_last;
};

// The band's frame on the face: its half width, the unit vectors across it (u) and along
// it (v), and the face q beside it.
struct CBandFrame {
  int face = 0;
  int o = 0;
  int q = 0;
  double hw = 0;
  std::int32_t width = 0;
  C3DPoint u, v;
};

// The edge of the face toward face x: its two ends, or none when x is the face itself
// or its opposite.
bool EdgeToward(const CBox& box, int face, int x, C3DPoint& from, C3DPoint& to) {
  const int p = CBox::GetFacePairEntry(face, x);
  if (p < 0) return false;
  const auto corners = FaceCorners(box, face, p);
  from = corners[0];
  to = corners[1];
  return true;
}

CPiece StraightPiece(const CBox& box, const CBandFrame& f) {
  const auto p = FaceCorners(box, f.face, CBox::GetFacePairEntry(f.face, f.o));
  const C3DPoint m1 = MidPoint(p[0], p[1]);
  const C3DPoint m2 = MidPoint(p[2], p[3]);
  return {m1 + f.u * f.hw, m1 - f.u * f.hw, m2 - f.u * f.hw, m2 + f.u * f.hw};
}

// An elbow's band: a leg from the far edge cut on the diagonal, a leg toward face q and a
// closing piece to its edge; each leg stops short where the neighbour on its side lies
// closer than the leg is long.
void DrawElbowBand(CBandPainter& painter, const CDev& e, const CBox& box, CBandFrame f) {
  CPiece p = StraightPiece(box, f);
  p.b = MidPoint(p.b, p.c) + f.v * f.hw;
  p.a = MidPoint(p.a, p.d) - f.v * f.hw;
  const int notQ = CBoxOwner::OppositeDirection(f.q);
  const CDev* back = e.GetBackNeighbour();
  bool corner = false;
  if (back != nullptr && back->GetNeighbour(notQ) != nullptr) {
    const double d = PointDistance(e.GetPosition(), back->GetPosition());
    if (PointDistance(p.b, p.c) > d) {
      p.c = p.b - f.v * d;
      p.d = p.a - f.v * d;
      corner = true;
    }
  }
  painter.Piece(p);
  C3DPoint from, to;
  if (corner && EdgeToward(box, f.face, notQ, from, to)) {
    const double edge = PointDistance(from, to);
    const C3DPoint e1 = p.c - f.u * ((edge - f.width) / 2);
    const C3DPoint e2 = p.d - f.u * ((edge + f.width) / 2);
    painter.Corner({p.d, p.c, e1, e2});
  }
  if (!EdgeToward(box, f.face, f.q, from, to)) return;
  p.c = p.b;
  p.d = p.a;
  const C3DPoint m3 = MidPoint(from, to);
  p.a = m3 - f.v * f.hw;
  p.b = m3 + f.v * f.hw;
  const CDev* side = e.GetNeighbour(f.q);
  if (side != nullptr && side->GetNeighbour(f.o) != nullptr) {
    const double d = PointDistance(e.GetPosition(), side->GetPosition());
    if (PointDistance(p.b, p.c) > d) {
      p.b = p.c + f.u * d;
      p.a = p.d + f.u * d;
    }
  }
  painter.Piece(p);
  const double edge = PointDistance(from, to);
  p.c = p.b;
  p.d = p.a;
  p.b = p.c + f.v * ((edge - f.width) / 2);
  p.a = p.d + f.v * ((edge + f.width) / 2);
  painter.Piece(p);
}

}  // namespace

bool IsSpecialCalibre(const CDev& e) {
  const std::string catalog = e.GetRunProperty("Catalog");
  const int calibre = RunPropertyInt(e, "Calibre", 0);
  return (calibre == 63 && catalog == "QMC") || (calibre == 50 && catalog == "QMA");
}

int CalibreBandMode(const CDev& e, int slot, bool special) {
  if (!special) return 0;
  const int kind = e.GetKind();
  const int variant = e.GetVariant();
  int mode = 0;
  if (slot < CBoxOwner::kBodySlot || (slot == CBoxOwner::kBodySlot && IsJunctionKind(kind)))
    mode = 1;
  if (slot >= CBoxOwner::kBodySlot &&
      ((kind == CDev::kInLineVariant && variant != 0 && variant != 16) || kind == CDev::kJoint))
    mode = 2;
  if (slot == 7 && kind == CDev::kEnd &&
      (variant == 0 || variant == 1 || variant == 2 || variant == 6))
    mode = 2;
  if (kind == CDev::kInLine && (slot == 10 || slot == 12 || slot == 14 || slot == 16)) mode = 5;
  return mode;
}

void DrawCalibreBand(CDrawContext& dc, const CBox& box, const CCalibreBandFace& band) {
  const CDev* e = dynamic_cast<const CDev*>(box.GetOwner());
  const C3DProjection* projection = e != nullptr ? e->GetProjection() : nullptr;
  if (projection == nullptr || band.mode == 0) return;
  const CDev* r = BandReference(*e, band.slot, band.face);
  const CBox* body = r != nullptr ? r->GetBox(CBoxOwner::kBodySlot) : nullptr;
  if (body == nullptr) return;
  CBandFrame f;
  f.face = band.face;
  const int n = body->MapSideToFace(band.neutralSide, 0);
  if (n < 0) return;
  const int direction = r->GetDirection();
  if (band.face == n || band.face == CBoxOwner::OppositeDirection(n)) {
    f.o = direction;
  } else if ((band.mode == 2 || band.mode == 5) &&
             (band.face == direction || band.face == CBoxOwner::OppositeDirection(direction))) {
    f.o = n;
  } else {
    return;
  }
  if (CBox::GetFacePairEntry(band.face, f.o) < 0) return;
  f.width = band.mode == 5 ? 15 : 130;
  f.hw = f.width / 2;
  f.q = body->MapSideToFace(band.neutralSide, 1);
  if (f.q < 0) return;
  f.u = box.GetFaceNormal(f.q);
  f.v = box.GetFaceNormal(f.o);
  CBandPainter painter(dc, *projection, band);
  bool elbow = false;
  if (band.slot == CBoxOwner::kBodySlot && e->GetKind() == CDev::kElbow) {
    if (e->GetNeighbour(f.q) != nullptr) {
      elbow = true;
    } else if (e->GetNeighbour(CBoxOwner::OppositeDirection(f.q)) != nullptr) {
      f.q = CBoxOwner::OppositeDirection(f.q);
      f.u = f.u * -1.0;
      elbow = true;
    }
  }
  if (elbow) {
    DrawElbowBand(painter, *e, box, f);
  } else {
    painter.Piece(StraightPiece(box, f));
  }
  painter.Finish();
}
