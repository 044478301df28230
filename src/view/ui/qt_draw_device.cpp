#include "view/ui/qt_draw_device.h"

#include <QFontMetrics>
#include <QImage>
#include <QPolygon>
#include <QRegion>

#include <algorithm>

#include "grid/ui/grid_qt_convert.h"
#include "view/draw_context.h"

namespace {

using tvr::grid::ToQColor;

std::uint32_t ColourKey(CColor colour) {
  return colour.red | (colour.green << 8u) | (colour.blue << 16u);
}

QPoint ToQPoint(const CDrawContext& dc, CPoint logical) {
  const CPoint device = dc.ToDevice(logical);
  return {device.x, device.y};
}

QPolygon ToQPolygon(const CDrawContext& dc, std::span<const CPoint> points) {
  QPolygon polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (CPoint point : points) polygon.append(ToQPoint(dc, point));
  return polygon;
}

Qt::PenStyle ToQtPenStyle(PenStyle style) {
  switch (style) {
    case PenStyle::Solid: return Qt::SolidLine;
    case PenStyle::Dot: return Qt::DotLine;
    case PenStyle::DashDot: return Qt::DashDotLine;
    case PenStyle::DashDotDot: return Qt::DashDotDotLine;
    case PenStyle::Null: return Qt::NoPen;
  }
  return Qt::SolidLine;
}

Qt::BrushStyle ToQtHatch(HatchStyle hatch) {
  switch (hatch) {
    case HatchStyle::Horizontal: return Qt::HorPattern;
    case HatchStyle::Vertical: return Qt::VerPattern;
    case HatchStyle::ForwardDiagonal: return Qt::FDiagPattern;
    case HatchStyle::BackwardDiagonal: return Qt::BDiagPattern;
    case HatchStyle::Cross: return Qt::CrossPattern;
    case HatchStyle::DiagonalCross: return Qt::DiagCrossPattern;
  }
  return Qt::SolidPattern;
}

QBrush PatternBrush(const CDrawContext& dc) {
  QImage image(8, 8, QImage::Format_RGB32);
  const QRgb zero = ToQColor(dc.State().textColor).rgb();
  const QRgb one = ToQColor(dc.State().backgroundColor).rgb();
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x)
      image.setPixel(x, y, (dc.Brush().pattern[y] >> (7 - x)) & 1 ? one : zero);
  }
  return QBrush(image);
}

QBrush ToQBrush(const CDrawContext& dc) {
  const CBrush& brush = dc.Brush();
  switch (brush.style) {
    case BrushStyle::Solid: return QBrush(ToQColor(brush.color));
    case BrushStyle::Hatched: return QBrush(ToQColor(brush.color), ToQtHatch(brush.hatch));
    case BrushStyle::Pattern: return PatternBrush(dc);
    case BrushStyle::Null: break;
  }
  return Qt::NoBrush;
}

int QtTextFlags(unsigned format) {
  int flags = Qt::AlignLeft;
  if (format & text_format::kCenter) {
    flags = Qt::AlignHCenter;
  } else if (format & text_format::kRight) {
    flags = Qt::AlignRight;
  }
  if (format & text_format::kVerticalCenter) {
    flags |= Qt::AlignVCenter;
  } else if (format & text_format::kBottom) {
    flags |= Qt::AlignBottom;
  } else {
    flags |= Qt::AlignTop;
  }
  if (format & text_format::kSingleLine) flags |= Qt::TextSingleLine;
  if (format & text_format::kWordBreak) flags |= Qt::TextWordWrap;
  if (format & text_format::kNoClip) flags |= Qt::TextDontClip;
  return flags;
}

}  // namespace

CQtDrawDevice::CQtDrawDevice(QPainter& painter)
    : CDrawDevice(false),
      m_painter(&painter),
      m_direct(std::make_unique<CQtPaintRecording>(painter)),
      m_out(*m_direct) {
  m_painter->save();
  m_painter->setRenderHint(QPainter::Antialiasing, false);
  m_painter->setRenderHint(QPainter::TextAntialiasing, true);
}

CQtDrawDevice::CQtDrawDevice(CQtPaintRecording& recording) : CDrawDevice(false), m_out(recording) {}

CQtDrawDevice::~CQtDrawDevice() {
  if (m_painter != nullptr) m_painter->restore();
}

void CQtDrawDevice::UsePen(const CDrawContext& dc) {
  const CPen& pen = dc.Pen();
  const int width = pen.width == 0 ? 0 : std::max(1, dc.Mapping().SizeToDevice({pen.width, 0}).cx);
  const CPenInUse wanted{pen, width, dc.State().rasterOp};
  if (m_pen == wanted) return;
  QPen qpen(ToQColor(pen.color), width, ToQtPenStyle(pen.style), Qt::FlatCap, Qt::MiterJoin);
  m_out.SetPen(qpen);
  m_out.SetCompositionMode(dc.State().rasterOp == RasterOp::NotXorPen
                               ? QPainter::RasterOp_NotSourceXorDestination
                               : QPainter::CompositionMode_SourceOver);
  m_pen = wanted;
}

const QBrush& CQtDrawDevice::SolidBrush(CColor colour) {
  const std::uint32_t key = ColourKey(colour);
  auto found = m_solidBrushes.find(key);
  if (found == m_solidBrushes.end()) found = m_solidBrushes.emplace(key, ToQColor(colour)).first;
  return found->second;
}

void CQtDrawDevice::ForgetTools() {
  m_pen.reset();
  m_brush.reset();
}

template <typename Draw>
void CQtDrawDevice::FillAndOutline(const CDrawContext& dc, Draw draw) {
  UsePen(dc);
  const CBrush& brush = dc.Brush();
  // Hatches and patterns leave the gaps to the background colour in opaque mode.
  if (brush.style == BrushStyle::Hatched && dc.State().backgroundMode == BackgroundMode::Opaque) {
    const QPen pen = m_out.Pen();
    m_out.SetPen(QPen(Qt::NoPen));
    m_out.SetBrush(QBrush(ToQColor(dc.State().backgroundColor)));
    draw();
    m_out.SetPen(pen);
    m_brush.reset();
  }
  const CBrushInUse wanted{brush, dc.State().textColor, dc.State().backgroundColor};
  if (m_brush != wanted) {
    // Faces take turns between a few shades: each is made and kept once, known by its colour.
    if (brush.style == BrushStyle::Solid) {
      const std::uint32_t name = ColourKey(brush.color);
      if (!m_out.SetNamedBrush(name)) m_out.SetNamedBrush(SolidBrush(brush.color), name);
    } else {
      m_out.SetBrush(ToQBrush(dc));
    }
    m_brush = wanted;
  }
  draw();
}

QRect CQtDrawDevice::DeviceBox(const CDrawContext& dc, const CRect& rect) const {
  const QPoint a = ToQPoint(dc, {rect.left, rect.top});
  const QPoint b = ToQPoint(dc, {rect.right, rect.bottom});
  // The right and bottom edges are outside the figure, as on Windows.
  return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
               QPoint(std::max(a.x(), b.x()) - 1, std::max(a.y(), b.y()) - 1));
}

void CQtDrawDevice::Line(const CDrawContext& dc, CPoint from, CPoint to) {
  UsePen(dc);
  m_out.DrawLine(ToQPoint(dc, from), ToQPoint(dc, to));
}

void CQtDrawDevice::Polyline(const CDrawContext& dc, std::span<const CPoint> points) {
  UsePen(dc);
  const QPolygon polygon = ToQPolygon(dc, points);
  m_out.DrawPolyline(std::span<const QPoint>(polygon.constData(), polygon.size()));
}

void CQtDrawDevice::Polygon(const CDrawContext& dc, std::span<const CPoint> points) {
  m_polygon.resize(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) m_polygon[i] = ToQPoint(dc, points[i]);
  FillAndOutline(
      dc, [&] { m_out.DrawPolygon(std::span<const QPoint>(m_polygon.data(), m_polygon.size())); });
}

void CQtDrawDevice::Rectangle(const CDrawContext& dc, const CRect& rect) {
  const QRect box = DeviceBox(dc, rect);
  FillAndOutline(dc, [&] { m_out.DrawRect(box.adjusted(0, 0, -1, -1)); });
}

void CQtDrawDevice::Ellipse(const CDrawContext& dc, const CRect& rect) {
  const QRect box = DeviceBox(dc, rect);
  FillAndOutline(dc, [&] { m_out.DrawEllipse(box.adjusted(0, 0, -1, -1)); });
}

void CQtDrawDevice::UseTextStyle(const CDrawContext& dc) {
  ForgetTools();
  m_out.SetCompositionMode(QPainter::CompositionMode_SourceOver);
  // Labels come by the thousand in a few fonts: a font is made only when it changes.
  const CLogFont font = dc.DeviceFont();
  if (!m_textFont || !(*m_textFont == font)) {
    m_out.SetFont(tvr::grid::ToQFont(font));
    m_textFont = font;
  }
  m_out.SetPen(QPen(ToQColor(dc.State().textColor)));
  const bool opaque = dc.State().backgroundMode == BackgroundMode::Opaque;
  m_out.SetBackgroundMode(opaque ? Qt::OpaqueMode : Qt::TransparentMode);
  m_out.SetBackground(ToQColor(dc.State().backgroundColor));
}

void CQtDrawDevice::Text(const CDrawContext& dc, std::string_view text, const CRect& rect,
                         unsigned format) {
  UseTextStyle(dc);
  const QPoint a = ToQPoint(dc, {rect.left, rect.top});
  const QPoint b = ToQPoint(dc, {rect.right, rect.bottom});
  const QRect box(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                  QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
  m_out.DrawText(QRectF(box.x(), box.y(), box.width() - 1, box.height() - 1), QtTextFlags(format),
                 tvr::grid::ToQString(text));
}

void CQtDrawDevice::TextOut(const CDrawContext& dc, CPoint point, std::string_view text) {
  UseTextStyle(dc);
  const QString qtext = tvr::grid::ToQString(text);
  const QFontMetrics metrics(m_out.Font());
  QPoint at = ToQPoint(dc, point);
  const unsigned align = dc.State().textAlign;
  const int width = metrics.horizontalAdvance(qtext);
  if ((align & text_align::kHorizontalMask) == text_align::kCenter) {
    at.rx() -= width / 2;
  } else if ((align & text_align::kHorizontalMask) == text_align::kRight) {
    at.rx() -= width;
  }
  if ((align & text_align::kVerticalMask) == text_align::kTop) {
    at.ry() += metrics.ascent();
  } else if ((align & text_align::kVerticalMask) == text_align::kBottom) {
    at.ry() -= metrics.descent();
  }
  m_out.DrawText(at, qtext);
}

void CQtDrawDevice::ExcludeClip(const CDrawContext& dc, const CRect&) { ClipChanged(dc); }

void CQtDrawDevice::ClipChanged(const CDrawContext& dc) {
  const CDrawState& state = dc.State();
  if (!state.clip && state.excluded.empty()) {
    m_out.SetClipping(false);
    return;
  }
  const CRect whole = state.clip.value_or(CRect{0, 0, dc.DeviceSize().cx, dc.DeviceSize().cy});
  QRegion region(whole.left, whole.top, whole.Width(), whole.Height());
  for (const CRect& rect : state.excluded)
    region -= QRegion(rect.left, rect.top, rect.Width(), rect.Height());
  m_out.SetClipRegion(region);
}

void CQtDrawDevice::Pixel(const CDrawContext& dc, CPoint point, CColor color) {
  const QPoint at = ToQPoint(dc, point);
  m_out.FillPixel(at, ToQColor(color));
}

void CQtDrawDevice::Bitmap(const CDrawContext& dc, const CRect& rect, const CBitmapDesc& bitmap) {
  const QRect box = DeviceBox(dc, rect);
  const QImage image = tvr::grid::ToQImage(bitmap);
  ForgetTools();
  m_out.SetCompositionMode(QPainter::CompositionMode_SourceOver);
  if (!image.isNull()) {
    m_out.DrawImage(box, image);
    return;
  }
  m_out.SetPen(QPen(Qt::red, 0));
  m_out.SetBrush(Qt::NoBrush);
  m_out.DrawRect(box);
  m_out.DrawLine(box.topLeft(), box.bottomRight());
  m_out.DrawLine(box.topRight(), box.bottomLeft());
}
