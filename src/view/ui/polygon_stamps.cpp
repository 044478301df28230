#include "view/ui/polygon_stamps.h"

#include <QPainter>

#include <algorithm>

std::size_t CPolygonStamps::KeyHash::operator()(const Key& key) const {
  std::uint64_t hash = key.corners * 0x9E3779B97F4A7C15ull;
  hash ^= key.tools + 0x632BE59BD9B4E019ull + (hash << 6u) + (hash >> 2u);
  return static_cast<std::size_t>(hash ^ (hash >> 31u));
}

CPolygonStamps::Tools CPolygonStamps::PenTools(const QPen& pen) {
  Tools tools;
  tools.hasPen = pen.style() != Qt::NoPen;
  if (tools.hasPen && (pen.style() != Qt::SolidLine || pen.widthF() != 0.0 ||
                       pen.brush().style() != Qt::SolidPattern || pen.color().alpha() != 255))
    return tools;
  tools.pen = tools.hasPen ? pen.color().rgba() : 0;
  tools.usable = true;
  return tools;
}

CPolygonStamps::Tools CPolygonStamps::BrushTools(const QBrush& brush) {
  Tools tools;
  tools.hasBrush = brush.style() != Qt::NoBrush;
  if (tools.hasBrush && (brush.style() != Qt::SolidPattern || brush.color().alpha() != 255 ||
                         !brush.transform().isIdentity()))
    return tools;
  tools.brush = tools.hasBrush ? brush.color().rgba() : 0;
  tools.usable = true;
  return tools;
}

std::optional<CPolygonStamps::Key> CPolygonStamps::KeyOf(std::span<const QPoint> points,
                                                         const Tools& tools, QPoint& origin) {
  if (!tools.usable || points.size() < 2 || points.size() > kMaxCorners) return std::nullopt;
  const QRect bounds = BoundsOfPoints(points);
  if (bounds.width() > kMaxSide || bounds.height() > kMaxSide) return std::nullopt;
  origin = bounds.topLeft();
  Key key;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const QPoint offset = points[i] - origin;
    const auto byte = static_cast<std::uint64_t>(offset.x() | (offset.y() << 4));
    key.corners |= byte << (8u * i);
  }
  key.tools = (std::uint64_t{tools.pen} & 0xFFFFFFu) |
              ((std::uint64_t{tools.brush} & 0xFFFFFFu) << 24u) |
              (std::uint64_t{tools.hasPen} << 48u) | (std::uint64_t{tools.hasBrush} << 49u) |
              (std::uint64_t{points.size()} << 50u);
  return key;
}

CPolygonStamps::Pixels CPolygonStamps::Draw(const Key& key, const QPen& pen, const QBrush& brush) {
  const int side = kMaxSide + 1 + 2 * kMargin;
  QImage picture(side, side, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(key.HasPen() ? pen : QPen(Qt::NoPen));
    painter.setBrush(key.HasBrush() ? brush : QBrush(Qt::NoBrush));
    std::array<QPoint, kMaxCorners> corners{};
    for (std::size_t i = 0; i < key.Count(); ++i)
      corners[i] = key.Corner(i) + QPoint(kMargin, kMargin);
    painter.drawPolygon(corners.data(), static_cast<int>(key.Count()), Qt::OddEvenFill);
  }
  Pixels made;
  made.usable = true;
  for (int y = 0; y < side; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    for (int x = 0; x < side; ++x) {
      const int alpha = qAlpha(row[x]);
      if (alpha == 0) continue;
      // A pixel at the picture's edge may have been cut off there.
      const bool edge = x == 0 || y == 0 || x == side - 1 || y == side - 1;
      if (alpha != 255 || edge) return {};
      made.pixels.push_back({x - kMargin, y - kMargin, row[x]});
    }
  }
  return made;
}

const CPolygonStamps::Pixels& CPolygonStamps::Find(const Key& key, const QPen& pen,
                                                   const QBrush& brush) {
  CRecent& recent = m_recent[KeyHash{}(key) & (kRecentShapes - 1)];
  if (recent.pixels != nullptr && recent.key == key) return *recent.pixels;
  const Pixels* pixels = nullptr;
  if (m_library != nullptr) {
    const auto kept = m_library->m_shapes.find(key);
    if (kept != m_library->m_shapes.end()) pixels = &kept->second;
  }
  if (pixels == nullptr) {
    auto found = m_shapes.find(key);
    if (found == m_shapes.end()) found = m_shapes.emplace(key, Draw(key, pen, brush)).first;
    pixels = &found->second;
  }
  recent = {key, pixels};
  return *pixels;
}

bool CPolygonStamps::Stamp(std::span<const QPoint> points, const Tools& tools, const QPen& pen,
                           const QBrush& brush, const QRect& band) {
  QPoint origin;
  const std::optional<Key> key = KeyOf(points, tools, origin);
  if (!key) return false;
  // Near the picture's edges Qt's own clipping decides.
  if (origin.x() < kMargin || origin.y() < kMargin || origin.x() + kMaxSide + kMargin >= m_width ||
      origin.y() + kMaxSide + kMargin >= m_height)
    return false;
  const Pixels& stamp = Find(*key, pen, brush);
  if (!stamp.usable) return false;
  const int top = band.isNull() ? 0 : band.top();
  const int bottom = band.isNull() ? m_height - 1 : band.bottom();
  for (const Pixel& pixel : stamp.pixels) {
    const int y = origin.y() + pixel.dy;
    if (y < top || y > bottom) continue;
    auto* row = reinterpret_cast<QRgb*>(m_bits + y * m_bytesPerLine);
    row[origin.x() + pixel.dx] = pixel.colour;
  }
  return true;
}

void CPolygonStamps::CLibrary::Take(CPolygonStamps& stamps) {
  if (m_shapes.size() + stamps.m_shapes.size() > kMaxShapes) m_shapes.clear();
  m_shapes.merge(stamps.m_shapes);
  stamps.m_shapes.clear();
  // The shapes met last now lie in the library, which may let them go.
  stamps.m_recent = {};
}
