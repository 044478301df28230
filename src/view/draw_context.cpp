#include "view/draw_context.h"

#include <algorithm>
#include <utility>

#include "platform/int_clamp.h"

namespace {

CRect Normalized(CPoint a, CPoint b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// The font's size on the other axes follows the height's scale.
std::int32_t ScaledHeight(std::int32_t height, std::int32_t scaled) {
  if (height == 0 || scaled != 0) return height < 0 ? -scaled : scaled;
  return height < 0 ? -1 : 1;
}

}  // namespace

CDrawContext::CDrawContext(CDrawDevice& device, const CFontMeasurer& measurer, CSize deviceSize)
    : m_device(device), m_measurer(measurer), m_deviceSize(deviceSize) {}

CLogFont CDrawContext::SelectFont(const CLogFont& font) {
  return std::exchange(m_state.font, font);
}
unsigned CDrawContext::SetTextAlign(unsigned align) {
  return std::exchange(m_state.textAlign, align);
}
RasterOp CDrawContext::SetRasterOp(RasterOp op) { return std::exchange(m_state.rasterOp, op); }

void CDrawContext::Save() { m_saved.push_back(m_state); }

void CDrawContext::Restore() {
  if (m_saved.empty()) return;
  const bool clipChanged =
      m_saved.back().clip != m_state.clip || m_saved.back().excluded != m_state.excluded;
  m_state = std::move(m_saved.back());
  m_saved.pop_back();
  if (clipChanged) m_device.ClipChanged(*this);
}

CLogFont CDrawContext::DeviceFont() const {
  CLogFont font = m_state.font;
  const CSize scaled = m_state.mapping.SizeToDevice({font.width, font.height});
  font.height = ScaledHeight(font.height, scaled.cy);
  font.width = font.width == 0 ? 0 : ScaledHeight(font.width, scaled.cx);
  return font;
}

CTextMetrics CDrawContext::GetTextMetrics() const {
  CTextMetrics metrics = m_measurer.Metrics(DeviceFont());
  const CDrawMapping& mapping = m_state.mapping;
  auto vertical = [&mapping](std::int32_t value) { return mapping.SizeToLogical({0, value}).cy; };
  metrics.height = vertical(metrics.height);
  metrics.ascent = vertical(metrics.ascent);
  metrics.descent = vertical(metrics.descent);
  metrics.internalLeading = vertical(metrics.internalLeading);
  metrics.averageCharWidth = mapping.SizeToLogical({metrics.averageCharWidth, 0}).cx;
  return metrics;
}

CSize CDrawContext::GetTextExtent(std::string_view text) const {
  return m_state.mapping.SizeToLogical(m_measurer.Extent(DeviceFont(), text));
}

CPoint CDrawContext::MoveTo(std::int32_t x, std::int32_t y) {
  return std::exchange(m_state.position, {x, y});
}

void CDrawContext::LineTo(std::int32_t x, std::int32_t y) {
  const CPoint from = std::exchange(m_state.position, {x, y});
  m_device.Line(*this, from, {x, y});
}

void CDrawContext::Polyline(std::span<const CPoint> points) {
  if (points.size() >= 2) m_device.Polyline(*this, points);
}

void CDrawContext::Polygon(std::span<const CPoint> points) {
  if (points.size() >= 2) m_device.Polygon(*this, points);
}

void CDrawContext::Rectangle(std::int32_t left, std::int32_t top, std::int32_t right,
                             std::int32_t bottom) {
  m_device.Rectangle(*this, {left, top, right, bottom});
}

void CDrawContext::Ellipse(std::int32_t left, std::int32_t top, std::int32_t right,
                           std::int32_t bottom) {
  m_device.Ellipse(*this, {left, top, right, bottom});
}

void CDrawContext::DrawText(std::string_view text, const CRect& rect, unsigned format) {
  m_device.Text(*this, text, rect, format);
}

CRect CDrawContext::DeviceRect(std::int32_t left, std::int32_t top, std::int32_t right,
                               std::int32_t bottom) const {
  return Normalized(ToDevice({left, top}), ToDevice({right, bottom}));
}

void CDrawContext::ExcludeClipRect(std::int32_t left, std::int32_t top, std::int32_t right,
                                   std::int32_t bottom) {
  m_state.excluded.push_back(DeviceRect(left, top, right, bottom));
  m_device.ExcludeClip(*this, {left, top, right, bottom});
}

void CDrawContext::IntersectClipRect(std::int32_t left, std::int32_t top, std::int32_t right,
                                     std::int32_t bottom) {
  CRect rect = DeviceRect(left, top, right, bottom);
  if (m_state.clip) {
    const CRect& old = *m_state.clip;
    rect = {std::max(rect.left, old.left), std::max(rect.top, old.top),
            std::min(rect.right, old.right), std::min(rect.bottom, old.bottom)};
    if (rect.IsEmpty()) rect = {rect.left, rect.top, rect.left, rect.top};
  }
  m_state.clip = rect;
  m_device.ClipChanged(*this);
}

void CDrawContext::SetLayer(std::string_view name, int colorNumber) {
  // Each face of a box names its layer again, nearly always the one it is on, often by the
  // name the context holds.
  // Layer names are a few letters: compared here, not by a call to the library's compare.
  bool same = name.size() == m_layer.size();
  for (std::size_t i = 0; same && i < name.size() && name.data() != m_layer.data(); ++i)
    same = name[i] == m_layer[i];
  if (!same) m_layer.assign(name);
  if (m_device.KeepsLayers()) m_device.SetLayer(name, colorNumber);
}

void CDrawContext::ScreenLineTo(std::int32_t x, std::int32_t y) {
  const CPoint from = std::exchange(m_state.position, {x, y});
  m_device.ScreenLine(*this, from, {x, y});
}

void CDrawContext::ScreenPolygon(std::span<const CPoint> points) {
  if (points.size() >= 2) m_device.ScreenPolygon(*this, points);
}

void CDrawContext::SetPixel(std::int32_t x, std::int32_t y, CColor color) {
  m_device.Pixel(*this, {x, y}, color);
}

void CDrawContext::TextOut(std::int32_t x, std::int32_t y, std::string_view text) {
  if (!(m_state.textAlign & text_align::kUpdateCurrentPosition)) {
    m_device.TextOut(*this, {x, y}, text);
    return;
  }
  const CPoint at = m_state.position;
  m_device.TextOut(*this, at, text);
  const std::int64_t width = GetTextExtent(text).cx;
  const bool leftToRight =
      m_state.mapping.ViewportExtent().cx * std::int64_t{m_state.mapping.WindowExtent().cx} > 0;
  // The position stops at the edge of the coordinate range rather than wrapping round.
  switch (m_state.textAlign & text_align::kHorizontalMask) {
    case text_align::kLeft:
      m_state.position.x = ClampToInt32(at.x + (leftToRight ? width : -width));
      break;
    case text_align::kRight:
      m_state.position.x = ClampToInt32(at.x - (leftToRight ? width : -width));
      break;
    default:  // centred text leaves the position where it was
      break;
  }
}

void CDrawContext::DrawBitmap(const CRect& rect, const CBitmapDesc& bitmap) {
  m_device.Bitmap(*this, rect, bitmap);
}
