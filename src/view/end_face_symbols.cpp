#include <vector>

#include "geometry/3d_projection.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "view/draw_context.h"
#include "view/outline_parts.h"

namespace outline {

namespace {

struct CFigureStyle {
  CPen pen;
  int pattern = 0;
};

// Whether the element's direction lies on the face's edge toward the neutral side, or on
// the edge after it.
bool Aligned(const COutlineFace& f, int neutralFace) {
  if (neutralFace < 0) return false;
  const int entry = CBox::GetFacePairEntry(f.face, f.element.GetDirection());
  const int neutral = CBox::GetFacePairEntry(f.face, neutralFace);
  return neutral >= 0 && (entry == neutral || entry == (neutral + 1) % 4);
}

CFigureStyle StyleOf(const COutlineFace& f, int variant, int neutralFace) {
  constexpr CColor kBlack{0, 0, 0}, kBlue{0, 0, 200}, kRed{200, 0, 0};
  switch (variant) {
    case 5: return {{PenStyle::Solid, 10, kBlack}, 1};
    case 6: return {{PenStyle::Solid, 10, kBlack}, 5};
    case 7: return {{PenStyle::Solid, 15, kBlue}, Aligned(f, neutralFace) ? 1 : 2};
    case 8: return {{PenStyle::Solid, 15, kRed}, 3};
    case 13: return {{PenStyle::Solid, 15, kRed}, Aligned(f, neutralFace) ? 18 : 17};
    default: return {{PenStyle::Solid, 10, kBlack}, 8};  // 9, 10, 11
  }
}

// The frame of the pictogram on the face: c0..c3 from the edge toward the direction face.
struct CFigureFrame {
  std::array<C3DPoint, 4> c;
  C3DPoint a, b, m, e01, e23;
};

bool MakeFrame(const COutlineFace& f, int k, CFigureFrame& fr) {
  for (int i = 0; i < 4; ++i) fr.c[static_cast<std::size_t>(i)] = FaceCorner(f.box, f.face, k + i);
  fr.a = (fr.c[0] - fr.c[1]) / 5.0;
  const std::int32_t across = fr.c[0].DistanceTo(fr.c[3]);
  if (across <= 0) return false;
  fr.b = (fr.c[0] - fr.c[3]) * (double(fr.a.DistanceTo(C3DPoint())) / across);
  fr.m = (fr.c[0] + fr.c[2]) * 0.5;
  fr.e01 = (fr.c[0] + fr.c[1]) * 0.5;
  fr.e23 = (fr.c[2] + fr.c[3]) * 0.5;
  return true;
}

std::vector<C3DPoint> FigurePoints(int variant, const CFigureFrame& fr) {
  const C3DPoint &a = fr.a, &b = fr.b, &m = fr.m, &c0 = fr.c[0], &c1 = fr.c[1], &c2 = fr.c[2],
                 &c3 = fr.c[3];
  switch (variant) {
    case 5: return {fr.e23 + b, m - b * 2, m - b + a * 1.5, m + b - a * 1.5, m + b * 2, fr.e01 - b};
    case 6: {
      const C3DPoint q = fr.e23 + b * 2;
      return {m - b, q, q + a, q - b, q - a, q};
    }
    case 7:
    case 8:
    case 13: return {c3 + b - a, m - (b - a) * 1.5, m + (b - a) * 1.5, c1 - b + a};
    default: return {c0 - b * 0.5, c1 - b * 0.5, c2 + b * 0.5, c3 + b * 0.5, c0 - b * 0.5};
  }
}

void DrawPolyline(CDrawContext& dc, const COutlineFace& f, const std::vector<C3DPoint>& points,
                  std::size_t count) {
  std::array<CPoint, 8> window{};
  count = std::min({count, points.size(), window.size()});
  for (std::size_t i = 0; i < count; ++i) window[i] = Project(f, points[i]);
  dc.Polyline(std::span<const CPoint>(window.data(), count));
}

// The switch of variants 9 to 11: a lever across the figure, with a coil (9, 11) or a
// crossed contact (10).
void DrawSwitch(CDrawContext& dc, const COutlineFace& f, int variant, const CFigureFrame& fr,
                const std::vector<C3DPoint>& p) {
  const C3DPoint &a = fr.a, &b = fr.b, &m = fr.m, mb = m + b;
  DrawPolyline(dc, f, {(p[2] + p[3]) * 0.5, m - b * 2, m + a * 2}, 3);
  Line(dc, f, (p[0] + p[1]) * 0.5, mb);
  Line(dc, f, mb + a, mb - a);
  const C3DPoint a6 = a * 0.6, b6 = b * 0.6;
  if (variant == 10) {
    Line(dc, f, mb + b6 * 0.5 + a6, mb + b6 * 2.5 - a6);
    Line(dc, f, mb + b6 * 2.5 + a6, mb + b6 * 0.5 - a6);
    return;
  }
  dc.Polyline(f.projection.ProjectCircle(mb - b6, b6, a6));
}

void DrawPattern(CDrawContext& dc, const COutlineFace& f, int variant, int code,
                 const CFigureFrame& fr) {
  std::vector<C3DPoint> p = FigurePoints(variant, fr);
  const C3DPoint& a = fr.a;
  if ((code & 1) != 0) DrawPolyline(dc, f, p, p.size());
  if ((code & 2) != 0 && p.size() >= 4) {
    p[0] = p[0] - a * 1.5, p[1] = p[1] - a * 1.5, p[2] = p[2] + a * 1.5, p[3] = p[3] + a * 1.5;
    DrawPolyline(dc, f, p, 4);
  }
  if ((code & 4) != 0) {
    std::vector<C3DPoint> mirrored;
    for (const C3DPoint& q : p) mirrored.push_back(fr.m * 2 - q);
    DrawPolyline(dc, f, mirrored, mirrored.size());
  }
  if ((code & 8) != 0 && p.size() >= 5) DrawSwitch(dc, f, variant, fr, p);
  if ((code & 16) != 0 && p.size() >= 4) {
    const double d = (code & 1) != 0 ? 1.5 : -0.5;
    std::vector<C3DPoint> q = {p[0] - a * (2 * d), p[1] - a * (2 * d), p[2] + a * d, p[3] + a * d};
    DrawPolyline(dc, f, q, 4);
    for (C3DPoint& point : q) point = point + a * d;
    DrawPolyline(dc, f, q, 4);
  }
  if (variant == 5) {
    // a double stroke just beyond the edge toward the direction face
    const C3DPoint out = f.box.GetFaceNormal(f.element.GetDirection()) * 12;
    const C3DPoint from = fr.c[0] - a, to = fr.c[1] + a;
    DrawPolyline(dc, f, {from + out, to + out}, 2);
    DrawPolyline(dc, f, {from + out * 2, to + out * 2}, 2);
  }
}

void HatchNeutralFace(CDrawContext& dc, const COutlineFace& f, int variant, int neutralFace,
                      const CFigureFrame& fr, CPoint p1, CPoint p2) {
  const CRun* run = f.element.GetRun();
  if (run == nullptr || (run->GetFlagsWord() & 2) == 0) return;
  if (variant != 7 && f.face != neutralFace) return;
  const int slot = f.context.slot;
  if (slot == 10 || slot == 12 || slot == 13 || slot == 15) return;
  std::array<CPoint, 4> polygon{};
  for (std::size_t i = 0; i < 4; ++i) polygon[i] = Project(f, fr.c[i]);
  if (variant == 7 && f.face == neutralFace) polygon[0] = p1, polygon[1] = p2;
  if (variant == 7 && f.face != neutralFace) polygon[2] = p2, polygon[3] = p1;
  dc.SelectPen({PenStyle::Null, 0, {}});
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.SelectBrush(CBrush::Hatched(HatchStyle::DiagonalCross, {0, 0, 0}));
  dc.ScreenPolygon(polygon);
  dc.SetBackgroundMode(BackgroundMode::Opaque);
}

}  // namespace

// The pictogram of a kind-8 element (phase changers, fire barriers, switches) on the faces
// of its part boxes, and the hatching of its neutral-side faces.
void DrawEndFaceSymbols(CDrawContext& dc, const COutlineFace& f) {
  const int variant = f.element.GetVariant();
  const int slot = f.context.slot;
  if (slot < 6 || variant > 13 || variant == 12) return;
  const int k = CBox::GetFacePairEntry(f.face, f.element.GetDirection());
  CFigureFrame fr;
  if (k < 0 || !MakeFrame(f, k, fr)) return;
  const CPoint p1 = Project(f, (fr.c[3] + fr.c[0]) * 0.5);
  const CPoint p2 = Project(f, (fr.c[1] + fr.c[2]) * 0.5);
  if (variant == 7 || variant == 8 || variant == 13) {
    dc.MoveTo(p1.x, p1.y);
    dc.LineTo(p2.x, p2.y);
    dc.SetPixel(p2.x, p2.y, {0, 0, 0});
  }
  const int side = f.context.neutralSide;
  const int neutralFace = side >= 0 ? f.box.MapSideToFace(side, 0) : -1;
  if (neutralFace >= 0 &&
      (f.face == neutralFace || f.face == CBoxOwner::OppositeDirection(neutralFace))) {
    return HatchNeutralFace(dc, f, variant, neutralFace, fr, p1, p2);
  }
  if (slot == 11 || slot == 14) return;
  if (slot == CBoxOwner::kBodySlot && f.element.GetBox(10) != nullptr) return;
  const CFigureStyle style = StyleOf(f, variant, neutralFace);
  dc.SelectPen(style.pen);
  DrawPattern(dc, f, variant, style.pattern, fr);
}

}  // namespace outline
