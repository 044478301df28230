#include "view/outline_drawing.h"

#include <charconv>

#include "geometry/3d_projection.h"
#include "model/element/dev.h"
#include "view/draw_context.h"
#include "view/element_draw_support.h"
#include "view/outline_parts.h"

namespace outline {

int ConnectionNibble(const CDev& element) {
  return static_cast<int>((element.GetStyle() >> 20) & 0xF);
}

C3DPoint FaceCorner(const CBox& box, int face, int k) {
  return box.GetCorner(CBox::GetFaceCorner(face, ((k % 4) + 4) % 4));
}

const CBox* SlotBox(const CDev& element, int slot) { return element.GetBox(slot); }

CPoint Project(const COutlineFace& f, const C3DPoint& p) { return f.projection.ProjectPoint(p); }

void Line(CDrawContext& dc, const COutlineFace& f, const C3DPoint& a, const C3DPoint& b) {
  element_draw::LineProjected(dc, f.projection, a, b);
}

bool NumberAfterSlash(const std::string& text, int& value) {
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos) return false;
  const char* begin = text.data() + slash + 1;
  const char* end = text.data() + text.size();
  while (begin != end && *begin == ' ') ++begin;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  return ec == std::errc() && ptr != begin;
}

// The cover of a range QG element: a line across each face that touches the cover's far
// end, as far inside that end as the cover's stored length ("CAPOT" 25/L or 26/L).
void DrawCoverLine(CDrawContext& dc, const COutlineFace& f) {
  const CDev& e = f.element;
  const std::string capot = e.GetFieldText("CAPOT").value_or(std::string());
  const int code = element_draw::FieldInt(e, "CAPOT");
  int inset = 0;
  if ((code != 25 && code != 26) || !NumberAfterSlash(capot, inset) || inset < 0) return;
  const int nibble = ConnectionNibble(e);
  int r = -1;
  switch (e.GetVariant()) {
    case 2: r = e.GetDirection(); break;
    case 3: r = f.box.MapSideToFace(nibble == 3 ? 1 : 3, 0); break;
    case 6: r = f.box.MapSideToFace(nibble == 1 ? 1 : 3, 0); break;
    default: return;
  }
  int k = CBox::GetFacePairEntry(f.face, r);
  const CBox* part = SlotBox(e, 7);
  if (k < 0 || part == nullptr) return;
  const C3DPoint centre = part->GetOrigin();
  const int r2 = CBoxOwner::OppositeDirection(r);
  const int d1 = FaceCorner(f.box, f.face, k).DistanceTo(centre);
  const int d2 =
      FaceCorner(f.box, f.face, CBox::GetFacePairEntry(f.face, r2) + 1).DistanceTo(centre);
  if (d1 < d2) r = r2;
  const C3DPoint n = f.box.GetFaceNormal(r) * inset;
  k = CBox::GetFacePairEntry(f.face, r);
  Line(dc, f, FaceCorner(f.box, f.face, k) - n, FaceCorner(f.box, f.face, k + 1) - n);
}

namespace {

// The face beside the cabinet's front that shows its side panel.
int SidePanelFace(int front) {
  switch (front) {
    case 0: return 5;
    case 1: return 0;
    case 4: return 1;
    case 5: return 4;
    default: return -1;
  }
}

}  // namespace

// The outline of the cabinet of a range QMA feed unit, drawn on the screen only.
void DrawCabinetFrame(CDrawContext& dc, const COutlineFace& f) {
  const CBox* body = SlotBox(f.element, CBoxOwner::kBodySlot);
  if (body == nullptr) return;
  const C3DPoint centre = body->GetOrigin();
  const int s0 = f.box.MapSideToFace(0, 0), s1 = f.box.MapSideToFace(1, 0);
  const auto reach = [&](int s) {
    return FaceCorner(f.box, s, CBox::GetFacePairEntry(s, 3)).DistanceTo(centre);
  };
  if (s0 < 0 || s1 < 0 || CBox::GetFacePairEntry(s0, 3) < 0 || CBox::GetFacePairEntry(s1, 3) < 0)
    return;
  const int s = reach(s0) < reach(s1) ? s0 : s1;
  const int side = SidePanelFace(s);
  C3DPoint x;
  double p = 0, q = 0, w = 0, h = 0;
  if (f.face == s) {
    x = f.box.GetFaceNormal(f.box.MapSideToFace(2, 0)), q = 100, w = 600, h = 1900;
  } else if (side >= 0 && (f.face == side || f.face == CBoxOwner::OppositeDirection(side))) {
    x = f.box.GetFaceNormal(s), p = 155, q = -300, w = 100, h = 600;
  } else {
    return;
  }
  const C3DPoint up = f.box.GetFaceNormal(2);
  const C3DPoint centreOfFace = element_draw::FaceCentre(f.box, f.face);
  const C3DPoint start = centreOfFace + x * p + up * q - x * (w / 2) - up * (h / 2);
  const std::array<C3DPoint, 4> steps = {x * w, up * h, x * -w, up * -h};
  C3DPoint at = start;
  const CPoint first = Project(f, at);
  dc.MoveTo(first.x, first.y);
  for (const C3DPoint& step : steps) {
    at = at + step;
    const CPoint to = Project(f, at);
    dc.ScreenLineTo(to.x, to.y);
  }
}

}  // namespace outline

using namespace outline;

bool MayHaveOutline(const CDev& element, int detail) {
  const int kind = element.GetKind();
  return detail >= 10 || kind == CDev::kEnd ||
         (kind == CDev::kInLineVariant && element.GetVariant() >= 5);
}

COutlineBox OutlineBoxOf(const CDev& element, int slot, int neutralSide, bool dxfRecording) {
  COutlineBox context;
  context.projection = element.GetProjection();
  context.slot = slot;
  context.neutralSide = neutralSide;
  context.dxfRecording = dxfRecording;
  const std::string catalog = element.GetRunProperty("Catalog");
  context.qg = catalog.starts_with("QG");
  context.qma = catalog == "QMA";
  if (catalog == "QMC" || context.qma) {
    const std::string calibre = element.GetRunProperty("Calibre");
    context.smallQm = (catalog == "QMC" && calibre == "63") || (context.qma && calibre == "50");
  }
  return context;
}

void DrawOutline(CDrawContext& dc, const CBox& box, const CDev& element, int face, int detail,
                 const COutlineBox& context) {
  if (context.projection == nullptr || face < 0 || face >= CBox::kFaceCount) return;
  const int kind = element.GetKind();
  const COutlineFace f{box, element, context, *context.projection, face, detail};
  const CPen previous = dc.SelectPen(kBlackPen);
  if (detail >= 10) {
    DrawConductorBars(dc, f);
  } else if (context.qg && kind == CDev::kEnd && box.GetKindCode() == 3) {
    if (context.slot == 8) DrawCoverLine(dc, f);
  } else if (kind == CDev::kInLineVariant && element.GetVariant() >= 5) {
    DrawEndFaceSymbols(dc, f);
  } else if (kind == CDev::kEnd) {
    if ((box.GetPassWord() & 0x07000000u) != 0) DrawSourceSymbol(dc, f);
    if (element.GetVariant() == 10 && context.slot == 7 && context.qma) DrawCabinetFrame(dc, f);
  }
  dc.SelectPen(previous);
}
