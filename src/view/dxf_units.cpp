#include "view/dxf_units.h"

#include <limits>

#include "geometry/plane_geometry.h"
#include "geometry/window_point.h"

namespace {

constexpr double kUnitsWide = 10000.0;

struct Extent {
  std::int64_t w;
  std::int64_t h;
  std::int64_t dh;
};

Extent ExtentOf(CSize deviceSize) {
  const std::int64_t w = deviceSize.cx > 0 ? deviceSize.cx : 1;
  const std::int64_t h = deviceSize.cy > 0 ? deviceSize.cy : 1;
  return {w, h, h * 10000 / w};
}

std::int32_t Held(std::int64_t value) {
  constexpr std::int64_t kLow = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kHigh = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value < kLow ? kLow : (value > kHigh ? kHigh : value));
}

std::int64_t NonZero(std::int32_t value) { return value == 0 ? 1 : value; }

// Which end of the segment lies beyond an edge of the frame.
enum class Side { Above, Right, Below, Left };

bool Beyond(const CDxfUnits::Frame& frame, Side side, CPoint point) {
  switch (side) {
    case Side::Above: return point.y > frame.corners[0].y;
    case Side::Right: return point.x > frame.corners[1].x;
    case Side::Below: return point.y < frame.corners[2].y;
    case Side::Left: return point.x < frame.corners[3].x;
  }
  return false;
}

}  // namespace

CPoint CDxfUnits::Convert(const CDrawMapping& mapping, CSize deviceSize, CPoint point) const {
  const Extent e = ExtentOf(deviceSize);
  const CPoint wo = mapping.WindowOrigin();
  const CPoint vo = mapping.ViewportOrigin();
  if (mapping.Mode() == MapMode::Text) {
    const double x = (double(point.x) - wo.x) * (kUnitsWide / e.w);
    const double y = double(e.dh) / -double(e.h) * (double(point.y) - double(e.h - 1));
    return {Held(std::int64_t{TruncateCoordinate(x)} + vo.x),
            Held(std::int64_t{TruncateCoordinate(y)} + vo.y)};
  }
  const CSize we = mapping.WindowExtent();
  const double x = (double(point.x) - wo.x) * (kUnitsWide / double(NonZero(we.cx)));
  const double y = double(e.dh) / double(NonZero(we.cy)) * (double(point.y) - wo.y);
  return {Held(TruncateCoordinate(x) + std::int64_t{vo.x} * 10000 / e.w),
          Held(TruncateCoordinate(y) + (e.h - vo.y - 1) * e.dh / e.h)};
}

CDxfUnits::Frame CDxfUnits::FrameOf(CSize deviceSize) {
  const Extent e = ExtentOf(deviceSize);
  const std::int32_t wd = TruncateCoordinate(kUnitsWide / double(e.w) * double(e.w - 1)) + 1;
  const std::int32_t hd = TruncateCoordinate(double(e.dh) / double(e.h) * double(e.h - 1)) + 1;
  return {{CPoint{-1, hd}, CPoint{wd, hd}, CPoint{wd, -1}, CPoint{-1, -1}}};
}

bool CDxfUnits::ClipToFrame(const Frame& frame, CPoint& from, CPoint& to) {
  const auto inside = [&frame](CPoint p) {
    return p.x > frame.corners[3].x && p.x < frame.corners[1].x && p.y > frame.corners[2].y &&
           p.y < frame.corners[0].y;
  };
  if (inside(from) && inside(to)) return true;  // no edge can reach it
  constexpr Side kSides[] = {Side::Above, Side::Right, Side::Below, Side::Left};
  for (int edge = 0; edge < 4; ++edge) {
    const CPoint a = frame.corners[edge];
    const CPoint b = frame.corners[(edge + 1) % 4];
    const std::optional<CPoint> crossing = CrossingStrictlyInside(a, b, from, to);
    if (!crossing) continue;
    if (Beyond(frame, kSides[edge], to)) {
      to = *crossing;
    } else if (Beyond(frame, kSides[edge], from)) {
      from = *crossing;
    }
  }
  const CPoint middle{Held((std::int64_t{from.x} + to.x) / 2),
                      Held((std::int64_t{from.y} + to.y) / 2)};
  return PointInPolygon(middle.x, middle.y, frame.corners);
}
