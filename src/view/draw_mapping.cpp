#include "view/draw_mapping.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

using draw_mapping::Held;
using draw_mapping::Map;

// The extent scaled by ratio (< 1), rounded to the nearest pixel, never to 0, sign kept.
std::int32_t Shrunk(std::int32_t extent, double ratio) {
  const auto shrunk =
      static_cast<std::int32_t>(std::floor(std::fabs(double(extent)) * ratio + 0.5));
  const std::int32_t magnitude = shrunk < 1 ? 1 : shrunk;
  return extent < 0 ? -magnitude : magnitude;
}

}  // namespace

void CDrawMapping::SetMode(MapMode mode) {
  m_mode = mode;
  if (mode == MapMode::Text) {
    m_windowExtent = {1, 1};
    m_viewportExtent = {1, 1};
  }
}

void CDrawMapping::SetWindowExtent(CSize extent) {
  if (m_mode == MapMode::Text || extent.cx == 0 || extent.cy == 0) return;
  m_windowExtent = extent;
  if (m_mode == MapMode::Isotropic) FitIsotropic();
}

void CDrawMapping::SetViewportExtent(CSize extent) {
  if (m_mode == MapMode::Text || extent.cx == 0 || extent.cy == 0) return;
  m_viewportExtent = extent;
  if (m_mode == MapMode::Isotropic) FitIsotropic();
}

void CDrawMapping::FitIsotropic() {
  const double scaleX = std::fabs(double(m_viewportExtent.cx) / m_windowExtent.cx);
  const double scaleY = std::fabs(double(m_viewportExtent.cy) / m_windowExtent.cy);
  if (scaleX > scaleY) {
    m_viewportExtent.cx = Shrunk(m_viewportExtent.cx, scaleY / scaleX);
  } else if (scaleY > scaleX) {
    m_viewportExtent.cy = Shrunk(m_viewportExtent.cy, scaleX / scaleY);
  }
}

CPoint CDrawMapping::ToLogical(CPoint device) const {
  return {
      Map(device.x, m_viewportOrigin.x, m_windowExtent.cx, m_viewportExtent.cx, m_windowOrigin.x),
      Map(device.y, m_viewportOrigin.y, m_windowExtent.cy, m_viewportExtent.cy, m_windowOrigin.y)};
}

CSize CDrawMapping::SizeToDevice(CSize logical) const {
  return {Held(std::llabs(Map(logical.cx, 0, m_viewportExtent.cx, m_windowExtent.cx, 0))),
          Held(std::llabs(Map(logical.cy, 0, m_viewportExtent.cy, m_windowExtent.cy, 0)))};
}

CSize CDrawMapping::SizeToLogical(CSize device) const {
  return {Held(std::llabs(Map(device.cx, 0, m_windowExtent.cx, m_viewportExtent.cx, 0))),
          Held(std::llabs(Map(device.cy, 0, m_windowExtent.cy, m_viewportExtent.cy, 0)))};
}
