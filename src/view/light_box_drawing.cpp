#include "view/light_box_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <span>

#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "view/draw_context.h"
#include "view/element_draw_support.h"

namespace {

// A box at most this many pixels across is drawn as its outline in one shade.
constexpr std::int64_t kOutlinePixels = 8;
constexpr double kFacingThreshold = 0.01;
constexpr CPen kNullPen{PenStyle::Null, 0, {}};

CPoint LogicalPoint(const C3DPoint& p) {
  const auto clamp = [](double v) { return static_cast<std::int32_t>(std::clamp(v, -2e9, 2e9)); };
  return CPoint{clamp(p.x), clamp(p.y)};
}

std::int64_t PixelsAcross(const CDrawContext& dc, const CBox& box) {
  const CPoint a = dc.ToDevice(LogicalPoint(box.GetProjectedMin()));
  const CPoint b = dc.ToDevice(LogicalPoint(box.GetProjectedMax()));
  return std::max(std::abs(std::int64_t{b.x} - a.x), std::abs(std::int64_t{b.y} - a.y));
}

// How much each face looks toward the viewer (the cosine of its normal with the view); the
// six normals worked out together come to the same bits as one at a time.
std::array<double, CBox::kFaceCount> Facing(const CLightBox& light) {
  const C3DPoint view =
      light.projection != nullptr ? light.projection->GetViewDirection() : C3DPoint(0, 0, 1);
  const std::array<C3DPoint, CBox::kFaceCount> normals = light.box.GetCornerNormals();
  std::array<double, CBox::kFaceCount> facing{};
  for (std::size_t face = 0; face < normals.size(); ++face) {
    const C3DPoint& normal = normals[face];
    const double length = std::sqrt(DotProduct(normal, normal));
    facing[face] = length > 0 ? DotProduct(view, normal) / length : 0;
  }
  return facing;
}

// The convex outline of the box's window corners, counter-clockwise: its first `count`
// points. Kept on the stack, since every box of a distant view comes this way.
struct COutline {
  std::array<CPoint, 2 * CBox::kCornerCount> points{};
  std::size_t count = 0;
  std::span<const CPoint> Points() const { return std::span(points).first(count); }
};

COutline Outline(const CBox& box) {
  std::array<CPoint, CBox::kCornerCount> p = box.GetWindowCorners();
  std::sort(p.begin(), p.end(),
            [](CPoint a, CPoint b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
  auto cross = [](CPoint o, CPoint a, CPoint b) {
    return (std::int64_t{a.x} - o.x) * (std::int64_t{b.y} - o.y) -
           (std::int64_t{a.y} - o.y) * (std::int64_t{b.x} - o.x);
  };
  COutline outline;
  std::array<CPoint, 2 * CBox::kCornerCount>& hull = outline.points;
  std::size_t k = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    while (k >= 2 && cross(hull[k - 2], hull[k - 1], p[i]) <= 0) --k;
    hull[k++] = p[i];
  }
  for (std::size_t i = p.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && cross(hull[k - 2], hull[k - 1], p[i]) <= 0) --k;
    hull[k++] = p[i];
  }
  outline.count = k > 1 ? k - 1 : k;
  return outline;
}

void Fill(CDrawContext& dc, const CLightBox& light, int face, std::span<const CPoint> polygon) {
  dc.SelectBrush(light.outlined ? CBrush::Null() : CBrush::Solid(FaceShade(light.colours, face)));
  dc.Polygon(polygon);
}

}  // namespace

void DrawLightBox(CDrawContext& dc, const CLightBox& light) {
  const CBox& box = light.box;
  if (!box.HasFiniteProjection()) return;
  const std::array<double, CBox::kFaceCount> facing = Facing(light);
  const int front =
      static_cast<int>(std::max_element(facing.begin(), facing.end()) - facing.begin());
  const std::int64_t across = PixelsAcross(dc, box);
  if (across <= 1) {
    const CPoint at = LogicalPoint(box.GetProjectedMin());
    dc.SetPixel(at.x, at.y, light.outlined ? light.colours.pen : FaceShade(light.colours, front));
    return;
  }
  dc.SelectPen(light.outlined ? light.pen : kNullPen);
  if (across <= kOutlinePixels) {
    Fill(dc, light, front, Outline(box).Points());
    return;
  }
  for (int face = 0; face < CBox::kFaceCount; ++face) {
    if (facing[static_cast<std::size_t>(face)] > kFacingThreshold)
      Fill(dc, light, face, element_draw::FacePolygon(box, face));
  }
}
