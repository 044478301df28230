#include "view/dxf_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "geometry/window_point.h"
#include "platform/int_clamp.h"
#include "view/draw_context.h"
#include "view/draw_tools.h"

namespace {

constexpr std::size_t kMostPolygonPoints = 100;
constexpr int kEllipsePoints = 40;
constexpr double kEllipseStep = 0.157079632;
constexpr std::size_t kLongestFaceName = 256;
// Entities from which the hiding goes to bands beside the drawing: below, handing it
// over costs more than it saves.
constexpr std::uint64_t kBandedFromEntities = 16384;

}  // namespace

CDxfWriter::CDxfWriter(int hidingBands) : m_hidingBands(hidingBands), m_layers{{"0", 7}} {}

CDxfWriter::~CDxfWriter() = default;

CPoint CDxfWriter::ToDxf(const CDrawContext& dc, CPoint logical) {
  if (!m_frame) {
    m_frame = CDxfUnits::FrameOf(dc.DeviceSize());
    // The cells cover the frame; figures beyond it fall into the border cells.
    m_entities =
        std::make_unique<CDxfBandedEntities>(m_frame->corners[3], m_frame->corners[1],
                                             m_hidingBands, kHidingWorkers, kBandedFromEntities);
  }
  return m_units.Convert(dc.Mapping(), dc.DeviceSize(), logical);
}

void CDxfWriter::RecordLine(CPoint from, CPoint to) {
  if (!CDxfUnits::ClipToFrame(*m_frame, from, to)) return;
  m_entities->Append({DxfEntityKind::Line, from, to, m_currentLayer, 0, {}});
}

void CDxfWriter::Line(const CDrawContext& dc, CPoint from, CPoint to) {
  const CPoint a = ToDxf(dc, from);
  RecordLine(a, ToDxf(dc, to));
}

void CDxfWriter::Polyline(const CDrawContext& dc, std::span<const CPoint> points) {
  for (std::size_t i = 1; i < points.size(); ++i) Line(dc, points[i - 1], points[i]);
}

namespace {

// The figure without a last point that repeats the first; none when it has fewer than
// 3 or more than 100 points left (such figures hide nothing).
std::optional<std::span<const CPoint>> HidingFigure(std::span<const CPoint> points) {
  std::size_t count = points.size();
  if (count > 1 && points[count - 1] == points[0]) --count;
  if (count < 3 || count > kMostPolygonPoints) return std::nullopt;
  return points.first(count);
}

}  // namespace

void CDxfWriter::HideUnderConverted(std::span<const CPoint> dxfPoints, std::uint64_t start) {
  if (const auto figure = HidingFigure(dxfPoints)) m_entities->HideUnder(*figure, start);
}

void CDxfWriter::HideUnder(const CDrawContext& dc, std::span<const CPoint> points) {
  const auto figure = HidingFigure(points);
  if (!figure) return;
  std::vector<CPoint> converted;
  converted.reserve(figure->size());
  for (CPoint point : *figure) converted.push_back(ToDxf(dc, point));
  m_entities->HideUnder(converted, 0);
}

void CDxfWriter::Polygon(const CDrawContext& dc, std::span<const CPoint> points) {
  if (dc.Brush().IsFilled()) HideUnder(dc, points);
  if (!dc.Pen().IsVisible()) return;
  // The closed outline, drawn backwards from the first point.
  CPoint from = points[0];
  for (std::size_t i = points.size(); i-- > 0;) {
    Line(dc, from, points[i]);
    from = points[i];
  }
}

void CDxfWriter::RecordConvertedPolygon(const CDrawContext& dc, std::span<const CPoint> dxfPoints) {
  if (dc.Brush().IsFilled()) HideUnderConverted(dxfPoints, 0);
  if (!dc.Pen().IsVisible()) return;
  CPoint from = dxfPoints[0];
  for (std::size_t i = dxfPoints.size(); i-- > 0;) {
    RecordLine(from, dxfPoints[i]);
    from = dxfPoints[i];
  }
}

void CDxfWriter::Rectangle(const CDrawContext& dc, const CRect& rect) {
  const CPoint corners[] = {{rect.left, rect.top},
                            {rect.right, rect.top},
                            {rect.right, rect.bottom},
                            {rect.left, rect.bottom}};
  if (dc.Brush().IsFilled()) HideUnder(dc, corners);
  if (!dc.Pen().IsVisible()) return;
  for (int i = 0; i < 4; ++i) Line(dc, corners[i], corners[(i + 1) % 4]);
}

void CDxfWriter::Ellipse(const CDrawContext& dc, const CRect& rect) {
  const CPoint a = ToDxf(dc, {rect.left, rect.top});
  const CPoint b = ToDxf(dc, {rect.right, rect.bottom});
  const std::int64_t left = std::min(a.x, b.x), right = std::max(a.x, b.x);
  const std::int64_t bottom = std::min(a.y, b.y), top = std::max(a.y, b.y);
  const std::int64_t cx = (left + right) / 2, cy = (bottom + top) / 2;
  const double rx = double((right - left) / 2), ry = double((top - bottom) / 2);
  std::vector<CPoint> points;
  points.reserve(kEllipsePoints);
  for (int k = 0; k < kEllipsePoints; ++k) {
    const double t = k * kEllipseStep;
    points.push_back({TruncateCoordinate(double(cx) + std::trunc(rx * std::cos(t))),
                      TruncateCoordinate(double(cy) + std::trunc(ry * std::sin(t)))});
  }
  RecordConvertedPolygon(dc, points);
}

int CDxfWriter::StyleOf(const Style& style) {
  const auto found = std::find(m_styles.begin(), m_styles.end(), style);
  if (found != m_styles.end()) return static_cast<int>(found - m_styles.begin());
  m_styles.push_back(style);
  return static_cast<int>(m_styles.size() - 1);
}

void CDxfWriter::Text(const CDrawContext& dc, std::string_view text, const CRect& rect,
                      unsigned format) {
  const CSize extent = dc.GetTextExtent(text);
  const std::int32_t yb =
      static_cast<std::int32_t>((std::int64_t{rect.top} + rect.bottom + extent.cy) / 2);
  // A text near the edge of the coordinate range keeps its box at that edge.
  std::int64_t xa = rect.left;
  if (format & text_format::kCenter) {
    xa = (std::int64_t{rect.right} - extent.cx + rect.left) / 2;
  } else if (format & text_format::kRight) {
    xa = std::int64_t{rect.right} - extent.cx;
  }
  const CPoint a = ToDxf(dc, {ClampToInt32(xa), yb});
  const CPoint b =
      ToDxf(dc, {ClampToInt32(xa + extent.cx), ClampToInt32(std::int64_t{yb} - extent.cy)});

  const CTextMetrics metrics = dc.GetTextMetrics();
  const CPoint origin = ToDxf(dc, {0, 0});
  const CPoint size = ToDxf(dc, {metrics.descent, metrics.ascent - metrics.internalLeading});
  Style style;
  style.face = dc.Font().faceName.substr(0, kLongestFaceName);
  style.height = static_cast<std::int32_t>(std::llabs(std::int64_t{size.y} - origin.y));
  style.descent = static_cast<std::int32_t>(std::llabs(std::int64_t{size.x} - origin.x));
  style.weight = metrics.weight;
  style.italic = metrics.italic;
  // The box is kept lower-left first whichever way the view's y axis points.
  const CPoint lowerLeft{a.x, std::min(a.y, b.y)};
  const CPoint upperRight{b.x, std::max(a.y, b.y)};
  m_entities->Append({DxfEntityKind::Text, lowerLeft, upperRight, m_currentLayer, StyleOf(style),
                      std::string(text)});
}

void CDxfWriter::ApplyPendingExclusion() {
  if (!m_exclusion) return;
  const Exclusion exclusion = *m_exclusion;
  m_exclusion.reset();
  const CPoint& first = exclusion.corners[0];
  const CPoint& third = exclusion.corners[2];
  if (first.x != third.x && first.y != third.y)
    HideUnderConverted(exclusion.corners, exclusion.start);
}

void CDxfWriter::ExcludeClip(const CDrawContext& dc, const CRect& rect) {
  ApplyPendingExclusion();
  Exclusion exclusion;
  exclusion.corners = {ToDxf(dc, {rect.left, rect.top}), ToDxf(dc, {rect.right, rect.top}),
                       ToDxf(dc, {rect.right, rect.bottom}), ToDxf(dc, {rect.left, rect.bottom})};
  exclusion.start = m_entities->AppendedCount();
  exclusion.depth = dc.State().excluded.size();
  m_exclusion = exclusion;
}

void CDxfWriter::ClipChanged(const CDrawContext& dc) {
  // Once the context no longer excludes the rectangle, what follows is drawn inside it.
  if (m_exclusion && dc.State().excluded.size() < m_exclusion->depth) ApplyPendingExclusion();
}

void CDxfWriter::SetLayer(std::string_view name, int colorNumber) {
  const auto found = std::find_if(m_layers.begin(), m_layers.end(),
                                  [name](const Layer& layer) { return layer.name == name; });
  if (found != m_layers.end()) {
    m_currentLayer = static_cast<int>(found - m_layers.begin());
    return;
  }
  m_layers.push_back({std::string(name), colorNumber});
  m_currentLayer = static_cast<int>(m_layers.size() - 1);
}

std::vector<CDxfEntity> CDxfWriter::Entities() const {
  return m_entities ? m_entities->InOrder() : std::vector<CDxfEntity>{};
}

std::vector<std::size_t> CDxfWriter::LayerUses() const {
  std::vector<std::size_t> uses(m_layers.size(), 0);
  if (m_entities) m_entities->ForEach([&uses](const CDxfEntity& entity) { ++uses[entity.layer]; });
  return uses;
}
