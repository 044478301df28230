#include "view/view_window.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/document/dorne_doc.h"
#include "view/draw_mapping.h"

namespace {

std::int32_t HeldExtent(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 1, CViewWindow::kMaxExtent));
}

std::int32_t HeldCoordinate(std::int64_t value) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(value, -CViewWindow::kMaxExtent, CViewWindow::kMaxExtent));
}

// A double truncated toward zero into 64 bits (held well inside them).
std::int64_t Truncated(double value) {
  if (!std::isfinite(value)) return value < 0 ? -(std::int64_t{1} << 53) : (std::int64_t{1} << 53);
  return static_cast<std::int64_t>(std::clamp(value, -9.0e15, 9.0e15));
}

}  // namespace

CSize AtLeastOnePixel(CSize client) { return {std::max(client.cx, 1), std::max(client.cy, 1)}; }

CViewWindow::CViewWindow(CPoint centre, CSize size) {
  SetCentre(centre);
  SetSize(size.cx, size.cy);
}

CViewWindow CViewWindow::FromDocument(const CDorneDoc& document) {
  const auto& centre = document.GetViewCentre();
  const auto& size = document.GetViewSize();
  return CViewWindow({centre[0], centre[1]}, {size[0], size[1]});
}

void CViewWindow::StoreIn(CDorneDoc& document) const {
  document.SetViewCentre(m_centre.x, m_centre.y);
  document.SetViewSize(m_size.cx, m_size.cy);
}

void CViewWindow::SetCentre(CPoint centre) {
  m_centre = {HeldCoordinate(centre.x), HeldCoordinate(centre.y)};
}

void CViewWindow::SetSize(std::int64_t width, std::int64_t height) {
  m_size = {HeldExtent(width), HeldExtent(height)};
}

bool CViewWindow::ZoomIn(double step) {
  const std::int64_t width = Truncated(m_size.cx * (1.0 - step));
  const std::int64_t height = Truncated(m_size.cy * (1.0 - step));
  if (width < 1 || height < 1) return false;
  SetSize(width, height);
  return true;
}

bool CViewWindow::ZoomOut(double step) {
  std::int64_t width = Truncated(m_size.cx * (1.0 + step));
  std::int64_t height = Truncated(m_size.cy * (1.0 + step));
  if (width < 0 || height < 0) return false;
  if (m_size.cx >= kMaxExtent && m_size.cy >= kMaxExtent) return false;
  if (width == m_size.cx || height == m_size.cy) {
    width = std::int64_t{m_size.cx} + 1;
    height = std::int64_t{m_size.cy} + 1;
  }
  SetSize(width, height);
  return true;
}

bool CViewWindow::ZoomToRect(CPoint first, CPoint second, CSize client) {
  const std::int64_t width = std::llabs(std::int64_t{second.x} - first.x);
  const std::int64_t height = std::llabs(std::int64_t{second.y} - first.y);
  if (width < 3 || height < 3) return false;
  m_centre = {HeldCoordinate(std::min(first.x, second.x) + width / 2),
              HeldCoordinate(std::min(first.y, second.y) + height / 2)};
  client = AtLeastOnePixel(client);
  const float rx = static_cast<float>(width) / static_cast<float>(client.cx);
  const float ry = static_cast<float>(height) / static_cast<float>(client.cy);
  if (rx >= ry) {
    SetSize(width, Truncated(client.cy * static_cast<double>(rx)));
  } else {
    SetSize(Truncated(client.cx * static_cast<double>(ry)), height);
  }
  return true;
}

void CViewWindow::ZoomAll(const CRect& extent, double fill, CSize client) {
  if (!(fill > 0.0)) fill = 1.0;
  std::int64_t width = Truncated((double(extent.right) - extent.left) / fill);
  std::int64_t height = Truncated((double(extent.bottom) - extent.top) / fill);
  width = std::max<std::int64_t>(width, 1);
  height = std::max<std::int64_t>(height, 1);
  SetCentre({HeldCoordinate(Truncated(double(width / 2) * fill + extent.left)),
             HeldCoordinate(Truncated(double(height / 2) * fill + extent.top))});
  client = AtLeastOnePixel(client);
  const double ax = double(width) / client.cx;
  const double ay = double(height) / client.cy;
  if (ax < ay) {
    width = Truncated(client.cx * ay);
  } else {
    height = Truncated(client.cy * ax);
  }
  SetSize(width, height);
}

void CViewWindow::Resize(CSize previousClient, CSize client) {
  std::int64_t width = m_size.cx;
  std::int64_t height = m_size.cy;
  if (previousClient.cx > 0 && client.cx > 0 && client.cx != previousClient.cx) {
    width = width * client.cx / previousClient.cx;
  }
  if (previousClient.cy > 0 && client.cy > 0 && client.cy != previousClient.cy) {
    height = height * client.cy / previousClient.cy;
  }
  SetSize(width, height);
}

void CViewWindow::Pan(std::int32_t dx, std::int32_t dy) {
  m_centre = {HeldCoordinate(std::int64_t{m_centre.x} + dx),
              HeldCoordinate(std::int64_t{m_centre.y} + dy)};
}

void CViewWindow::ApplyTo(CDrawMapping& mapping, CSize client) const {
  client = AtLeastOnePixel(client);
  mapping.SetMode(MapMode::Isotropic);
  mapping.SetWindowOrigin({0, 0});
  mapping.SetWindowExtent(m_size);
  mapping.SetViewportExtent({client.cx, -client.cy});
  mapping.SetViewportOrigin({0, 0});
  const CPoint centre = mapping.ToDevice(m_centre);
  mapping.SetViewportOrigin({client.cx / 2 - centre.x, client.cy / 2 - centre.y});
}
