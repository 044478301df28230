#include <algorithm>

#include "geometry/3d_projection.h"
#include "grid/bitmap_desc.h"
#include "model/element/dev.h"
#include "view/draw_context.h"
#include "view/outline_parts.h"

namespace outline {

namespace {

// The picture of a feed whose source is not drawn as a symbol: a framed plug, 20 by 20.
const CBitmapDesc& SourcePicture() {
  static const CBitmapDesc picture = [] {
    CBitmapDesc b;
    b.width = b.height = 20;
    b.bitsPixel = 24;
    b.widthBytes = 60;
    b.bits.assign(60 * 20, 0xFF);
    auto put = [&](int x, int y, std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
      const std::size_t at = static_cast<std::size_t>(y * 60 + x * 3);
      b.bits[at] = blue, b.bits[at + 1] = green, b.bits[at + 2] = red;
    };
    for (int i = 0; i < 20; ++i)
      put(i, 0, 0, 0, 0), put(i, 19, 0, 0, 0), put(0, i, 0, 0, 0), put(19, i, 0, 0, 0);
    for (int y = 6; y < 15; ++y)
      for (int x = 5; x < 15; ++x) put(x, y, 0, 128, 255);
    for (int y = 2; y < 6; ++y) put(7, y, 0, 0, 0), put(12, y, 0, 0, 0);
    for (int y = 15; y < 19; ++y) put(9, y, 0, 0, 0), put(10, y, 0, 0, 0);
    return b;
  }();
  return picture;
}

// The half vectors of the symbol's square on the face, and its centre.
struct CSymbolFrame {
  C3DPoint centre, u2, v2;
  std::int32_t side = 0;
};

bool FrameOnFace(const COutlineFace& f, CSymbolFrame& frame) {
  const C3DPoint f0 = FaceCorner(f.box, f.face, 0), f2 = FaceCorner(f.box, f.face, 2);
  const C3DPoint f3 = FaceCorner(f.box, f.face, 3);
  const C3DPoint u = f0 - f3, v = f2 - f3;
  const std::int32_t d1 = f0.DistanceTo(f3), d2 = f2.DistanceTo(f3);
  if (d1 <= 0 || d2 <= 0) return false;
  frame.centre = f3 + (u + v) * 0.5;
  frame.side = std::min(d1, d2);
  if (d1 < d2) {
    frame.u2 = u * 0.5, frame.v2 = v * (double(d1) / d2) * 0.5;
  } else {
    frame.v2 = v * 0.5, frame.u2 = u * (double(d2) / d1) * 0.5;
  }
  return true;
}

void DrawPicture(CDrawContext& dc, const COutlineFace& f, const CSymbolFrame& s) {
  std::int32_t w = s.side / 3, h = s.side / 3;
  const CPoint origin = dc.ToLogical({0, 0}), far = dc.ToLogical({10, 10});
  if (far.x > origin.x) w = -w;
  if (far.y > origin.y) h = -h;
  const CPoint anchor = Project(f, f.face == 2 ? s.centre - s.u2 : s.centre + s.v2);
  const CRect rect{anchor.x - w / 2, anchor.y - h / 2, anchor.x - w / 2 + w, anchor.y - h / 2 + h};
  if (!f.context.dxfRecording) {
    const CRect upright{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
                        std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
    dc.DrawBitmap(upright, SourcePicture());
    return;
  }
  dc.SelectBrush(CBrush::Solid({255, 255, 255}));
  dc.SelectPen(kBlackPen);
  dc.Ellipse(rect.left, rect.top, rect.right, rect.bottom);
}

void DrawSwitchboard(CDrawContext& dc, const COutlineFace& f, const CSymbolFrame& s) {
  static constexpr std::array<std::array<int, 2>, 12> kPoints = {{{2, -11},
                                                                  {7, -11},
                                                                  {-1, -3},
                                                                  {7, -3},
                                                                  {-5, 9},
                                                                  {-3, 11},
                                                                  {-9, 11},
                                                                  {-9, 5},
                                                                  {-7, 7},
                                                                  {0, 0},
                                                                  {-9, 0},
                                                                  {2, -11}}};
  std::array<CPoint, kPoints.size()> window{};
  for (std::size_t i = 0; i < kPoints.size(); ++i)
    window[i] =
        Project(f, s.centre + s.u2 * (0.04 * kPoints[i][0]) + s.v2 * (0.04 * kPoints[i][1]));
  dc.Polyline(window);
}

void DrawTransformer(CDrawContext& dc, const COutlineFace& f, const CSymbolFrame& s) {
  for (const double side : {-1.0, 1.0}) {
    const auto circle =
        f.projection.ProjectCircle(s.centre + s.u2 * (0.2 * side), s.u2 * 0.3, s.v2 * 0.24);
    dc.Polyline(circle);
    Line(dc, f, s.centre + s.u2 * (0.5 * side), s.centre + s.u2 * (0.8 * side));
  }
}

}  // namespace

// The source a feed unit connects to, on the faces of its source box: a switchboard or a
// transformer on the face toward the source (in grey on the face opposite), or a picture.
void DrawSourceSymbol(CDrawContext& dc, const COutlineFace& f) {
  const std::uint32_t pass = f.box.GetPassWord();
  const int type = static_cast<int>((pass >> 24) & 3);
  if (type == 3) return;
  if (type == 0 && f.face != 2 && f.face != 3) return;
  if (type != 0) {
    static constexpr std::array<int, 4> kSideFace = {5, 0, 1, 4};
    const int s = kSideFace[(pass >> 26) & 3];
    if (f.face != s && f.face != CBoxOwner::OppositeDirection(s)) return;
    dc.SelectPen(f.face == s ? kBlackPen : kGreyPen);
  }
  CSymbolFrame frame;
  if (!FrameOnFace(f, frame)) return;
  if (type == 0) return DrawPicture(dc, f, frame);
  if (type == 1) return DrawSwitchboard(dc, f, frame);
  DrawTransformer(dc, f, frame);
}

}  // namespace outline
