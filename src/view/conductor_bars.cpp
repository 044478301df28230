#include <charconv>
#include <cmath>
#include <string>

#include "geometry/3d_projection.h"
#include "model/element/dev.h"
#include "model/run/phase_order.h"
#include "platform/text_conversions.h"
#include "view/draw_context.h"
#include "view/element_draw_support.h"
#include "view/outline_parts.h"

namespace outline {

namespace {

// Where the bar's end face lies: the reference side r and its frame on the face.
struct CBarFrame {
  int nibble = 0;  // the connection nibble, 100 added in bar mode, 150: no labels
  C3DPoint n, m;   // outward normal of side r, the direction across it in the face
  C3DPoint edgeMiddle;
  std::int32_t w = 0;  // length of the end edge
  std::int32_t depth = 0;
};

bool BroadEnough(const CBox& box, int face) {
  if (box.GetExtent(0) < 20 && face != 1 && face != 5) return false;
  if (box.GetExtent(1) < 20 && face != 0 && face != 4) return false;
  if (box.GetExtent(2) < 20 && face != 2 && face != 3) return false;
  return true;
}

// The side of the bar's end in bar mode, or -1 when the face gets nothing.
int BarModeSide(const COutlineFace& f, int& nibble) {
  const CDev& e = f.element;
  const CBox& box = f.box;
  if (!BroadEnough(box, f.face)) return -1;
  int r = nibble == 2 ? e.GetDirection() : box.MapSideToFace(3, 0);
  if (f.context.smallQm) r = box.MapSideToFace(1, 0);
  if (f.context.qg) {
    switch (e.GetVariant()) {
      case 2: r = e.GetDirection(); break;
      case 3: r = box.MapSideToFace(nibble == 3 ? 1 : 3, 0); break;
      case 6: r = box.MapSideToFace(nibble == 1 ? 1 : 3, 0); break;
      default:
        if (nibble != 3) nibble = 50;
    }
  }
  nibble += 100;
  if (CBox::GetFacePairEntry(f.face, r) < 0) return 2;
  const CBox* part = SlotBox(e, 7);
  if (part == nullptr) return -1;
  const C3DPoint centre = part->GetOrigin();
  const int opposite = CBoxOwner::OppositeDirection(r);
  const int d1 = FaceCorner(box, f.face, CBox::GetFacePairEntry(f.face, r)).DistanceTo(centre);
  const int d2 =
      FaceCorner(box, f.face, CBox::GetFacePairEntry(f.face, opposite) + 1).DistanceTo(centre);
  // bars at the end away from the part box, shims at the end toward it
  const bool flip = f.detail < 16 ? d1 < d2 : d1 >= d2;
  return flip ? opposite : r;
}

int SideOutsideBarMode(const COutlineFace& f, int nibble) {
  const CDev& e = f.element;
  const CBox& box = f.box;
  const int direction = e.GetDirection();
  if (nibble == 1) {
    if (f.face != box.MapSideToFace(0, 0) && f.face != box.MapSideToFace(1, 0)) return -1;
    return e.GetNeighbour(direction) != nullptr ? CBoxOwner::OppositeDirection(direction)
                                                : direction;
  }
  if (nibble == 2) {
    if (f.face != direction && f.face != CBoxOwner::OppositeDirection(direction)) return -1;
    // a stored code that names no order (6, 7) counts as the default order
    const int order = GetPhaseOrderAt(e, 0);
    const int t = order > 0 && order < phase_order::kCodeCount ? 2 : 0;
    const int d = f.detail;
    const bool second = d == 12 || d == 18 || d == 11 + t || d == 17 + t;
    return box.MapSideToFace(second ? 1 : 0, 0);
  }
  return -1;  // no reference side: the bars show nothing
}

bool MakeBarFrame(const COutlineFace& f, CBarFrame& frame) {
  const bool barMode = f.element.GetVariant() == 6 || f.context.qg;
  frame.nibble = ConnectionNibble(f.element);
  const int r = barMode ? BarModeSide(f, frame.nibble) : SideOutsideBarMode(f, frame.nibble);
  const int k = CBox::GetFacePairEntry(f.face, r);
  if (r < 0 || k < 0) return false;
  frame.n = f.box.GetFaceNormal(r);
  frame.m = barMode ? CrossProduct(frame.n, f.box.GetFaceNormal(f.face))
                    : f.box.GetFaceNormal(f.box.MapSideToFace(2, 0));
  const C3DPoint a = FaceCorner(f.box, f.face, k), b = FaceCorner(f.box, f.face, k + 1);
  frame.edgeMiddle = (a + b) * 0.5;
  frame.w = a.DistanceTo(b);
  frame.depth = b.DistanceTo(FaceCorner(f.box, f.face, k + 2));
  return true;
}

void Cross(CDrawContext& dc, const COutlineFace& f, const CBarFrame& fr, const C3DPoint& p) {
  Line(dc, f, p - fr.n * 7, p + fr.n * 7);
  Line(dc, f, p - fr.m * 7, p + fr.m * 7);
}

void BoltMarks(CDrawContext& dc, const COutlineFace& f, const CBarFrame& fr, const C3DPoint& c,
               int inset, int h) {
  C3DPoint p0 = c - fr.n * (inset / 2);
  if (h > 35) p0 = p0 - fr.m * 25;
  const C3DPoint p1 = p0 + fr.n * inset;
  Cross(dc, f, fr, p0);
  Cross(dc, f, fr, p1);
  if (h <= 35) return;
  const C3DPoint p2 = p1 + fr.m * 50;
  Cross(dc, f, fr, p2);
  Cross(dc, f, fr, p2 - fr.n * inset);
}

void BarOutline(CDrawContext& dc, const COutlineFace& f, const CBarFrame& fr, const C3DPoint& c,
                int inset, int h) {
  const C3DPoint ni = fr.n * inset, mh = fr.m * h;
  const std::array<C3DPoint, 4> corners = {c - ni - mh, c + ni - mh, c + ni + mh, c - ni + mh};
  const CPoint first = Project(f, corners[0]);
  dc.MoveTo(first.x, first.y);
  for (std::size_t i = 1; i <= 4; ++i) {
    const CPoint to = Project(f, corners[i % 4]);
    dc.LineTo(to.x, to.y);
  }
}

std::string LabelText(const COutlineFace& f, int first) {
  if (f.detail == 14 || f.detail == 15) return "PE";
  const int value = f.detail - first;
  if (value != 0) return std::to_string(value);
  if (f.context.qg) {
    const std::string neutral = f.element.GetRunProperty("Neutral");
    int stored = 0;
    const char* end = neutral.data() + neutral.size();
    const auto [ptr, ec] = std::from_chars(neutral.data(), end, stored);
    if (ec == std::errc() && ptr != neutral.data() && stored == 4 && neutral != "4") return "4";
  }
  return "N";
}

void PhaseLabel(CDrawContext& dc, const COutlineFace& f, const CBarFrame& fr, int first,
                const C3DPoint& anchor) {
  if (first == 0 || fr.nibble < 100 || fr.nibble == 150) return;
  const CBox* b11 = SlotBox(f.element, 11);
  const CBox* b13 = SlotBox(f.element, 13);
  if (b11 == nullptr || b13 == nullptr) return;
  const C3DPoint row = b13->GetOrigin() - b11->GetOrigin();
  const double d = std::sqrt(DotProduct(row, row));
  if (!(d >= 1.0)) return;
  const double along = DotProduct(f.projection.GetViewDirection(), row / d);
  if (!(along >= -0.99 && along <= 0.99)) return;  // the row seen end-on
  const CPoint at = Project(f, anchor + fr.n * 150.0);
  dc.Save();
  static const CLogFont kFont = [] {
    CLogFont font = TextToLogFont("Arial,90,0");
    font.height = std::abs(font.height);
    return font;
  }();
  dc.SelectFont(kFont);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.DrawText(LabelText(f, first), CRect{at.x, at.y, at.x, at.y},
              text_format::kCenter | text_format::kVerticalCenter | text_format::kSingleLine |
                  text_format::kNoClip);
  dc.Restore();
}

bool EntraxException(const COutlineFace& f, const CBarFrame& fr) {
  const int v = f.element.GetVariant();
  if ((v != 2 && v != 6) || fr.nibble % 100 != 1) return false;
  const std::string entrax = f.element.GetFieldText("ENTRAX").value_or(std::string());
  return entrax.find_first_not_of(' ') == std::string::npos;
}

// How the marks of one box repeat: the count, the offset across the face between them.
struct CRepeat {
  int count = 1;
  double offset = 0;
};

// Marks drawn count times, each repetition moving C by the rule of its range.
void RepeatMarks(CDrawContext& dc, const COutlineFace& f, const CBarFrame& fr, C3DPoint c,
                 const CRepeat& repeat, int inset, int h, bool marks) {
  const bool shim = f.detail >= 16;
  for (int i = 1; i <= repeat.count; ++i) {
    if (marks) BoltMarks(dc, f, fr, c, inset, h);
    if (!f.context.qg) {
      if (shim && i == 1) c = c + fr.m * 50 - fr.n * 50;
      continue;
    }
    if (i == 1 && repeat.offset != 0) c = c - fr.m * repeat.offset;
    else if (i == 1 || i == 2) c = c + fr.n * 80;
    else if (i == 3) c = c + fr.m * repeat.offset;
  }
}

void DrawBars(CDrawContext& dc, const COutlineFace& f, const CBarFrame& fr, int inset) {
  const CDev& e = f.element;
  const std::int32_t w = fr.w;
  const C3DPoint labelAt = fr.edgeMiddle - fr.n * inset;
  C3DPoint c = labelAt;
  int h = w >= 90 ? 50 : 35;
  std::int32_t shift = 0;
  if (f.context.qg) {
    if (w >= 350) shift = w / 2 + 15;
    else if (w >= 160 && w <= 200 && !EntraxException(f, fr)) shift = w / 2;
    h = shift == 0 ? (w < 100 ? w / 2 : 50) : (w >= 350 ? 50 : w / 4);
    c = c + fr.m * (shift / 2);
  }
  const int first =
      (f.detail == 14 || f.detail == 15) ? 1 : (e.GetBox(f.detail + 6) == nullptr ? 10 : 0);
  const bool marks = f.box.GetFaceFlags(f.face) != 0 && !(!f.context.qg && f.detail == 14);
  CRepeat repeat;
  if (marks) BarOutline(dc, f, fr, c, inset, h);
  if (marks && shift != 0) {
    c = c - fr.m * shift;
    BarOutline(dc, f, fr, c, inset, h);
    repeat = {2, -double(shift)};
  }
  RepeatMarks(dc, f, fr, c, repeat, inset, h, marks);
  PhaseLabel(dc, f, fr, first, labelAt);
}

// The shim pieces of range QG on wide ends: a white plate and the grey strip that holds
// it, across the middle of the end edge.
void ShimPlates(CDrawContext& dc, const COutlineFace& f, const CBarFrame& fr, int t) {
  const C3DPoint& e = fr.edgeMiddle;
  const C3DPoint q1 = e - fr.m * t - fr.n * 80, q4 = q1 + fr.m * (2 * t);
  const C3DPoint deep = fr.n * fr.depth;
  dc.SelectBrush(CBrush::Solid({255, 255, 255}));
  const std::array<C3DPoint, 4> plate = {q1, q1 - deep, q1 - deep + fr.m * (2 * t), q4};
  element_draw::FillProjected(dc, f.projection, plate);
  dc.SelectBrush(CBrush::Solid({150, 150, 150}));
  const std::array<C3DPoint, 4> strip = {q1, q4, q4 + fr.n * 80, e - fr.m * t};
  element_draw::FillProjected(dc, f.projection, strip);
  dc.SelectBrush(CBrush::Null());
}

void DrawShims(CDrawContext& dc, const COutlineFace& f, const CBarFrame& fr, int inset) {
  const int clinq = element_draw::FieldInt(f.element, "CLINQ");
  const std::int32_t w = fr.w;
  CRepeat repeat{clinq == 3 || clinq == 5 || clinq == 7 ? 2 : 1, 0};
  C3DPoint c = fr.edgeMiddle - fr.n * inset;
  const C3DPoint labelAt = c;
  int h = w;
  if (f.context.qg) {
    int o = 0;
    if (w == 160 || w == 200) o = EntraxException(f, fr) ? 0 : w / 2;
    else if (w == 270) o = 190;
    else if (w == 330) o = 230;
    else if (w == 390) o = 270;
    if (o == 190 || o == 230 || o == 270) {
      ShimPlates(dc, f, fr, o == 190 ? 55 : (o == 230 ? 65 : 75));
    } else if (o > 0) {
      Line(dc, f, fr.edgeMiddle, fr.edgeMiddle - fr.n * w);
      c = c + fr.m * o;
      repeat.count = 2;
    }
    repeat.offset = o;
    h = w < 100 ? w / 2 : 50;
    if (clinq == 8) repeat.count *= 2;
  }
  const bool marks = f.box.GetFaceFlags(f.face) != 0;
  RepeatMarks(dc, f, fr, c, repeat, inset, h, marks);
  PhaseLabel(dc, f, fr, 16, labelAt);
}

}  // namespace

// The ends of the conductor bars of ranges QM and QG: outline, bolt crosses and phase
// label of a bar box, the shim marks of a shim box.
void DrawConductorBars(CDrawContext& dc, const COutlineFace& f) {
  CBarFrame frame;
  if (f.detail >= CBoxOwner::kSlotCount || !MakeBarFrame(f, frame)) return;
  const int inset = f.context.qg ? 40 : 50;
  if (f.detail < 16) return DrawBars(dc, f, frame, inset);
  DrawShims(dc, f, frame, inset);
}

}  // namespace outline
