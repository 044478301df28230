#include "view/label_drawing.h"

#include <cmath>

#include "geometry/3d_projection.h"
#include "model/element/dev.h"
#include "model/run/phase_order.h"
#include "model/run/run.h"
#include "view/draw_context.h"
#include "view/element_draw_cache.h"
#include "view/element_draw_options.h"
#include "view/element_draw_support.h"
#include "view/outlet_drawing.h"

using namespace element_draw;

namespace {

constexpr CColor kBlack{0, 0, 0};
constexpr CPen kBlackPen{PenStyle::Solid, 0, kBlack};

bool FacesViewer(const CBox& box, int face) {
  return (box.GetFaceFlags(face) & CBox::kFaceVisible) != 0;
}
bool FaceDrawn(const CBox& box, int face) {
  return (box.GetFaceFlags(face) & CBox::kFaceOpen) != 0;
}

int SlotAmongFirstEight(const CDev& e, const CBox& box) {
  for (int slot = 0; slot < 8; ++slot) {
    if (e.GetBox(slot) == &box) return slot;
  }
  return 8;
}

bool StyleBit(const CDev& e, int bit) { return ((e.GetStyle() >> bit) & 1) != 0; }

int NeutralLabelFace(const CDev& e, const CBox& box, int neutralSide) {
  // Only ends, joints and two-way junctions carry the label: the run's catalogue, a look-up
  // by name, is not asked for the other boxes.
  const int kind = e.GetKind();
  if (kind != CDev::kEnd && kind != CDev::kJoint && kind != CDev::kJunction2) return -1;
  const std::string catalog = e.GetRunProperty("Catalog");
  const int slot = SlotAmongFirstEight(e, box);
  const bool qjf = catalog == "QJF";
  const bool built = e.GetRun() != nullptr && e.GetRun()->GetPartsState() != 0 && e.IsActive();
  const bool applies = (e.GetKind() == CDev::kEnd && slot <= 5 && !catalog.empty()) ||
                       (qjf && built &&
                        ((e.GetKind() == CDev::kJoint && slot != CBoxOwner::kBodySlot) ||
                         (e.GetKind() == CDev::kJunction2 && slot == 7)));
  if (!applies || neutralSide < 0 || neutralSide > 3) return -1;
  const int face = box.MapSideToFace(neutralSide, 0);
  if (face < 0 || e.GetKind() == CDev::kEnd) return face;
  if (!FaceDrawn(box, face)) return -1;
  const bool notDirectionSlot =
      e.GetBox(e.GetDirection()) != &box && e.GetKind() != CDev::kJunction2;
  if (StyleBit(e, 12) != notDirectionSlot) return -1;
  const int toward = StyleBit(e, 12) ? e.GetBackFace() : e.GetDirection();
  const CDev* n = toward >= 0 ? e.GetNeighbour(toward) : nullptr;
  return (n != nullptr && n->GetKind() == CDev::kEnd) ? face : -1;
}

C3DPoint DirectionNormal(const CDev& e, const CBox& box) {
  const C3DPoint d = box.GetFaceNormal(e.GetDirection());
  return e.GetNeighbour(e.GetDirection()) != nullptr ? d : d * -1.0;
}

std::string NeutralText(const CDev& e, int order) {
  const std::string neutral = e.GetRunProperty("Neutral");
  const int value = RunPropertyInt(e, "Neutral", 0);
  const bool qg = e.GetRunProperty("Catalog").substr(0, 2) == "QG";
  std::string text = "N";
  if (value == 3) text.clear();
  if (qg && value == 4 && neutral != "4") text = "4";
  const bool shown = order > 1 || (e.GetRun() != nullptr && (e.GetRun()->GetFlagsWord() & 8) != 0);
  if (!shown) return text;
  if (qg && value == 5) text = "P" + text;
  const bool reversed = (order & 0x80) != 0;
  text += phase_order::OrderText(order & ~0x80);
  if (reversed) text.assign(text.rbegin(), text.rend());
  return text;
}

void DrawNeutralText(CDrawContext& dc, const C3DProjection& projection, const std::string& text,
                     C3DPoint anchor, const C3DPoint& n, bool changedOrder,
                     const CElementDrawOptions& options) {
  dc.Save();
  CLogFont font;
  const CLogFont& style = options.labels[kLabelBusbar].font;
  font.faceName = style.faceName.empty() ? "Arial" : style.faceName;
  font.height = 150;
  dc.SelectFont(font);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.SetTextColor(changedOrder && !options.monochrome ? CColor{255, 0, 0} : kBlack);
  for (std::size_t i = text.size(); i-- > 0;) {
    const bool protective = text[i] == 'P';
    if (protective && i == 0) anchor = anchor + n * 0.2;
    const CPoint at = projection.ProjectPoint(anchor);
    dc.DrawText(protective ? std::string("PE") : std::string(1, text[i]),
                CRect{at.x, at.y, at.x, at.y},
                text_format::kSingleLine | text_format::kCenter | text_format::kVerticalCenter |
                    text_format::kNoClip);
    anchor = anchor + n * 0.5;
    if (protective && i != 0) anchor = anchor + n * 0.2;
  }
  dc.Restore();
}

void DrawNeutralLabel(CDrawContext& dc, const CDev& e, const CBox& box, int face,
                      const CElementDrawOptions& options) {
  const C3DProjection* projection = e.GetProjection();
  const CBox* base = e.GetKind() == CDev::kEnd ? e.GetBox(CBoxOwner::kBodySlot) : &box;
  if (projection == nullptr || base == nullptr) return;
  const C3DPoint p = FaceCentre(*base, face);
  const C3DPoint unit = base->GetFaceNormal(face);
  const C3DPoint n = unit * 300;
  const C3DPoint d = DirectionNormal(e, *base);
  const C3DPoint c = CrossProduct(unit, d) * 75;
  dc.SetLayer("NEUTRAL", 2);
  if (e.GetRunProperty("Catalog") == "QJF") {
    if (e.GetKind() != CDev::kEnd) return;
    dc.SelectPen(kBlackPen);
    dc.SelectBrush(CBrush::Solid(options.monochrome ? CColor{255, 255, 255} : CColor{255, 255, 0}));
    const std::array<C3DPoint, 4> band = {p - d * 150 - c * 0.5, p - d * 150 + c * 0.5,
                                          p + d * 150 + c * 0.5, p + d * 150 - c * 0.5};
    FillProjected(dc, *projection, band);
    return;
  }
  C3DPoint anchor = p;
  if (e.GetKind() == CDev::kEnd) {
    dc.SelectPen(CPen{PenStyle::Dot, 0, kBlack});
    LineProjected(dc, *projection, p, p + n);
    dc.SelectPen(kBlackPen);
    LineProjected(dc, *projection, p + n, p + n * 2);
    LineProjected(dc, *projection, p + n * 1.25 - c, p + n);
    const CPoint tip = projection->ProjectPoint(p + n * 1.25 + c);
    dc.LineTo(tip.x, tip.y);
    anchor = p + n * 2.45;
  }
  const double facing = DotProduct(unit, projection->GetViewDirection());
  if (facing < -0.99 || facing > 0.99) return;
  const int order = GetPhaseOrderAt(e, 0);
  DrawNeutralText(dc, *projection, NeutralText(e, order), anchor, n, order > 1, options);
}

bool IsQmaFlag(const CDev& e, const CBox& box) {
  return e.GetKind() == CDev::kEnd && e.GetVariant() == 9 && e.GetBox(7) == &box &&
         e.GetRunProperty("Catalog") == "QMA";
}

int FlagFace(const CDev& e, const CBox& box) {
  if (e.GetKind() != CDev::kEnd) return -1;
  if (e.GetRunProperty("Catalog") == "QJF") return box.MapSideToFace(StyleBit(e, 12) ? 3 : 2, 0);
  if (IsQmaFlag(e, box)) return box.MapSideToFace(StyleBit(e, 14) ? 3 : 2, 0);
  return -1;
}

void DrawPennant(CDrawContext& dc, const C3DProjection& projection, const C3DPoint& foot,
                 const C3DPoint& q, const C3DPoint& g, const C3DPoint& d) {
  LineProjected(dc, projection, foot, q);
  const std::array<C3DPoint, 4> pennant = {q, q + g * 100, q + g * 100 + d * 80, q + d * 100};
  FillProjected(dc, projection, pennant);
}

// Four strokes side by side that grow (or shrink) toward the run's end, an "N" and a
// pennant at the end of the last.
void DrawQmaFlag(CDrawContext& dc, const C3DProjection& projection, const CDev& e, const CBox& box,
                 const C3DPoint& c, const C3DPoint& g, const C3DPoint& d,
                 const CElementDrawOptions& options) {
  const C3DPoint s = box.GetFaceNormal(box.MapSideToFace(RunPropertyInt(e, "COTE_NEUTRE", -1), 0));
  const int back = e.GetBackFace();
  const bool t = (back < 0 || e.GetNeighbour(back) == nullptr) != StyleBit(e, 14);
  C3DPoint p = c + g * 400 - d * 700 - s * 225;
  int stroke = t ? 200 : 500;
  for (int i = 0; i < 4; ++i) {
    LineProjected(dc, projection, p, p + d * stroke);
    if (i == 3) break;
    p = p + s * 150;
    stroke += t ? 100 : -100;
  }
  p = p + d * stroke;
  dc.Save();
  CLogFont font;
  const CLogFont& style = options.labels[kLabelBusbar].font;
  font.faceName = style.faceName.empty() ? "Arial" : style.faceName;
  font.height = 120;
  dc.SelectFont(font);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  const CPoint at = projection.ProjectPoint(p + d * 120 + g * 60);
  dc.DrawText("N", CRect{at.x, at.y, at.x, at.y},
              text_format::kSingleLine | text_format::kCenter | text_format::kVerticalCenter |
                  text_format::kNoClip);
  dc.Restore();
  p = p - d * 100;
  DrawPennant(dc, projection, p, p, g, d);
}

void DrawFlag(CDrawContext& dc, const CDev& e, const CBox& box, int face,
              const CElementDrawOptions& options) {
  const C3DProjection* projection = e.GetProjection();
  const CBox* body = e.GetBox(CBoxOwner::kBodySlot);
  if (projection == nullptr || body == nullptr) return;
  dc.SetLayer("FLAGS", 6);
  dc.SelectPen(kBlackPen);
  dc.SelectBrush(CBrush::Solid({255, 255, 255}));
  const C3DPoint g = box.GetFaceNormal(face);
  const C3DPoint d = DirectionNormal(e, box);
  const C3DPoint c = FaceCentre(*body, face);
  if (IsQmaFlag(e, box)) {
    DrawQmaFlag(dc, *projection, e, box, c, g, d, options);
  } else {
    DrawPennant(dc, *projection, c, c + g * 200, g, d);
  }
}

void DrawOutletsOfLength(CDrawContext& dc, const CDev& e, const CBox& box, int neutralSide,
                         CElementDrawCache& cache, const CElementDrawOptions& options) {
  if (e.GetRun() == nullptr || e.GetRun()->GetPartsState() == 0 ||
      e.GetBox(CBoxOwner::kBodySlot) == &box)
    return;
  if (e.GetKind() != CDev::kJoint && e.GetKind() != CDev::kInLine) return;
  if (neutralSide < 0 || neutralSide > 3) return;
  const COutletChain chain = FindOutletChain(box);
  if (chain.joint == nullptr || ((chain.joint->GetStyle() >> 8) & 0xF) == 0) return;
  const int g = box.MapSideToFace(neutralSide, 1);
  if (g < 0) return;
  if (FacesViewer(box, g)) {
    DrawTapOffOutlets(dc, box, g, 0, chain, cache.Outlets(chain, 0), options);
  } else if (FacesViewer(box, CBoxOwner::OppositeDirection(g))) {
    DrawTapOffOutlets(dc, box, CBoxOwner::OppositeDirection(g), 1, chain, cache.Outlets(chain, 1),
                      options);
  }
}

}  // namespace

void DrawLabels(CDrawContext& dc, const CBox& box, bool first, int neutralSide, CLabelFaces& faces,
                CElementDrawCache& cache, const CElementDrawOptions& options) {
  const CDev* e = OwningElement(box);
  if (e == nullptr) return;
  if (first) {
    faces = CLabelFaces{};
    faces.neutral = NeutralLabelFace(*e, box, neutralSide);
    faces.neutralFirst = faces.neutral >= 0 && !FacesViewer(box, faces.neutral);
    faces.flag = FlagFace(*e, box);
    faces.flagFirst = faces.flag >= 0 && !FacesViewer(box, faces.flag);
    // Nearly every box shows no label behind its faces: nothing to keep and give back then
    // but the layer's colour, which every call sets.
    if (!faces.neutralFirst && !faces.flagFirst) return dc.SetLayer(dc.LayerName(), 7);
  }
  const std::string layer = dc.LayerName();
  const CPen pen = dc.Pen();
  const CBrush brush = dc.Brush();
  if (!first) DrawOutletsOfLength(dc, *e, box, neutralSide, cache, options);
  if (faces.neutral >= 0 && faces.neutralFirst == first) {
    DrawNeutralLabel(dc, *e, box, faces.neutral, options);
    faces.neutral = -1;
  }
  if (faces.flag >= 0 && faces.flagFirst == first) {
    DrawFlag(dc, *e, box, faces.flag, options);
    faces.flag = -1;
  }
  dc.SetLayer(layer, 7);
  dc.SelectPen(pen);
  dc.SelectBrush(brush);
}
