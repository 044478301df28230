#include "view/ui/qt_paint_recording.h"

#include <QFontMetrics>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

#include "geometry/parallel_chunks.h"
#include "view/ui/polygon_stamps.h"

namespace {

// Fewer figures than this are played on one painter: the threads would not pay.
constexpr int kMinFiguresForBands = 4000;

// QRect::intersects for a figure's reach and a band, inline for the usual normalized
// reach: each band weighs every figure of the picture.
bool Meets(const QRect& reach, const QRect& band) {
  if (!reach.isValid()) return reach.intersects(band);
  return reach.left() <= band.right() && band.left() <= reach.right() &&
         reach.top() <= band.bottom() && band.top() <= reach.bottom();
}

}  // namespace

CQtPaintRecording::CQtPaintRecording(QPainter& painter)
    : m_painter(&painter),
      m_pen(painter.pen()),
      m_strokeMargin(StrokeMarginOf(m_pen)),
      m_font(painter.font()) {}

CQtPaintRecording::CQtPaintRecording(const QPaintDevice* fontDevice) : m_fontDevice(fontDevice) {
  if (m_fontDevice != nullptr) m_font = QFont(m_font, m_fontDevice);
}

void CQtPaintRecording::Reuse(const QPaintDevice* fontDevice) {
  m_painter = nullptr;
  m_fontDevice = fontDevice;
  m_pen = QPen();
  m_strokeMargin = StrokeMarginOf(m_pen);
  m_font = m_fontDevice != nullptr ? QFont(QFont(), m_fontDevice) : QFont();
  m_ops.clear();
  m_points.clear();
  m_pens.clear();
  m_brushes.clear();
  m_penTools.clear();
  m_brushTools.clear();
  m_solidBrushes.clear();
  m_namedBrushes.clear();
  m_recentNamedBrushes = {};
  m_fonts.clear();
  m_colours.clear();
  m_regions.clear();
  m_texts.clear();
  m_textRects.clear();
  m_textBoxes.clear();
  m_images.clear();
  m_figures = 0;
  m_lastPen = m_lastBrush = -1;
  // Empty strips beyond those filed again are looked at by no band and weigh nothing.
  for (std::vector<int>& strip : m_strips) strip.clear();
  m_everywhere.clear();
  m_settings.clear();
}

void CQtPaintRecording::Keep(Op op, int index, int count, QRect reach) {
  // A figure carries the pen and brush it is drawn with, and the playback sets them from
  // there: pens and brushes need no operation of their own (a face sets its brush each).
  if (op == Op::Pen) {
    m_lastPen = index;
    return;
  }
  if (op == Op::Brush) {
    m_lastBrush = index;
    return;
  }
  const int at = static_cast<int>(m_ops.size());
  m_ops.push_back({op, index, count, reach, m_lastPen, m_lastBrush});
  if (!IsFigure(op)) return m_settings.push_back(at);
  ++m_figures;
  IndexFigure(at, reach);
}

void CQtPaintRecording::IndexFigure(int op, QRect reach) {
  if (reach.isNull() || !reach.isValid()) return m_everywhere.push_back(op);
  const int first = std::max(reach.top() / kStripRows, 0);
  const int last = std::max(reach.bottom() / kStripRows, 0);
  if (last >= kMaxStrips || last - first >= kMaxStripsSpanned) return m_everywhere.push_back(op);
  if (static_cast<int>(m_strips.size()) <= last)
    m_strips.resize(static_cast<std::size_t>(last) + 1);
  // Filed in every strip it spans (most figures span one or two), so that a band looks only
  // at the strips it covers, not at those far above it for the rare tall figure.
  for (int strip = first; strip <= last; ++strip)
    m_strips[static_cast<std::size_t>(strip)].push_back(op);
}

std::vector<int> CQtPaintRecording::OpsOfBand(const QRect& band) const {
  // The operations found are marked by their numbers, a bit each, and read back in order:
  // the strips hand them over out of order, and a sort of them all would cost more.
  std::vector<std::uint64_t> marks((m_ops.size() + 63) / 64, 0);
  std::size_t count = m_settings.size();
  const auto mark = [&](int op) {
    marks[static_cast<std::size_t>(op) / 64] |= std::uint64_t{1}
                                                << (static_cast<unsigned>(op) % 64);
    ++count;
  };
  for (const int op : m_everywhere) {
    const QRect& reach = m_ops[static_cast<std::size_t>(op)].reach;
    if (reach.isNull() || Meets(reach, band)) mark(op);
  }
  // A figure that meets the band is filed in a strip the band covers; one filed in
  // several of them is marked once.
  const int first = std::max(band.top() / kStripRows, 0);
  const int last = std::min(band.bottom() / kStripRows, static_cast<int>(m_strips.size()) - 1);
  for (int strip = first; strip <= last; ++strip) {
    for (const int op : m_strips[static_cast<std::size_t>(strip)]) {
      if (Meets(m_ops[static_cast<std::size_t>(op)].reach, band)) mark(op);
    }
  }
  for (const int op : m_settings) {
    marks[static_cast<std::size_t>(op) / 64] |= std::uint64_t{1}
                                                << (static_cast<unsigned>(op) % 64);
  }
  std::vector<int> ops;
  ops.reserve(count);
  for (std::size_t word = 0; word < marks.size(); ++word) {
    for (std::uint64_t bits = marks[word]; bits != 0; bits &= bits - 1)
      ops.push_back(static_cast<int>(word * 64 + static_cast<std::size_t>(std::countr_zero(bits))));
  }
  return ops;
}

void CQtPaintRecording::Foresee(double times) {
  if (!(times > 1.0)) return;
  // A tenth more, for parts that draw a little more than the first.
  const auto room = [times](std::size_t kept) {
    return static_cast<std::size_t>(static_cast<double>(kept) * times * 1.1) + 16;
  };
  m_ops.reserve(room(m_ops.size()));
  m_points.reserve(room(m_points.size()));
}

int CQtPaintRecording::StrokeMarginOf(const QPen& pen) {
  // A cosmetic pen reaches a pixel beyond the outline; a wide one, with its mitred
  // corners, up to about its width.
  return pen.style() == Qt::NoPen ? 1 : 2 + 2 * static_cast<int>(std::ceil(pen.widthF()));
}

void CQtPaintRecording::SetPen(const QPen& pen) {
  m_pen = pen;
  m_strokeMargin = StrokeMarginOf(pen);
  if (m_painter != nullptr) return m_painter->setPen(pen);
  m_pens.push_back(pen);
  m_penTools.push_back(CPolygonStamps::PenTools(pen));
  Keep(Op::Pen, static_cast<int>(m_pens.size()) - 1);
}

void CQtPaintRecording::SetBrush(const QBrush& brush) {
  if (m_painter != nullptr) return m_painter->setBrush(brush);
  Keep(Op::Brush, KeptBrush(brush));
}

int CQtPaintRecording::NamedBrushIndex(std::uint32_t name) {
  CNamedBrush& recent =
      m_recentNamedBrushes[((name * 0x9E3779B1u) >> 28) & (m_recentNamedBrushes.size() - 1)];
  if (recent.index >= 0 && recent.name == name) return recent.index;
  const auto found = m_namedBrushes.find(name);
  if (found == m_namedBrushes.end()) return -1;
  recent = {name, found->second};
  return found->second;
}

bool CQtPaintRecording::SetNamedBrush(std::uint32_t name) {
  if (m_painter != nullptr) return false;
  const int index = NamedBrushIndex(name);
  if (index < 0) return false;
  Keep(Op::Brush, index);
  return true;
}

void CQtPaintRecording::SetNamedBrush(const QBrush& brush, std::uint32_t name) {
  if (m_painter != nullptr) return m_painter->setBrush(brush);
  if (SetNamedBrush(name)) return;
  m_brushes.push_back(brush);
  m_brushTools.push_back(CPolygonStamps::BrushTools(brush));
  const int index = static_cast<int>(m_brushes.size()) - 1;
  m_namedBrushes.emplace(name, index);
  Keep(Op::Brush, index);
}

int CQtPaintRecording::KeptBrush(const QBrush& brush) {
  // Faces take turns between a few solid shades: each is kept once, not once a face.
  const bool plainSolid = brush.style() == Qt::SolidPattern && brush.transform().isIdentity();
  if (!plainSolid) {
    m_brushes.push_back(brush);
    m_brushTools.push_back(CPolygonStamps::BrushTools(brush));
    return static_cast<int>(m_brushes.size()) - 1;
  }
  const QRgb colour = brush.color().rgba();
  const auto found = m_solidBrushes.find(colour);
  if (found != m_solidBrushes.end() && m_brushes[static_cast<std::size_t>(found->second)] == brush)
    return found->second;
  m_brushes.push_back(brush);
  m_brushTools.push_back(CPolygonStamps::BrushTools(brush));
  const int index = static_cast<int>(m_brushes.size()) - 1;
  m_solidBrushes[colour] = index;
  return index;
}

void CQtPaintRecording::SetCompositionMode(QPainter::CompositionMode mode) {
  if (m_painter != nullptr) return m_painter->setCompositionMode(mode);
  Keep(Op::Composition, static_cast<int>(mode));
}

void CQtPaintRecording::SetFont(const QFont& font) {
  if (m_painter != nullptr) {
    m_painter->setFont(font);
    m_font = m_painter->font();
    return;
  }
  m_font = m_fontDevice != nullptr ? QFont(font, m_fontDevice) : font;
  m_fonts.push_back(font);
  Keep(Op::Font, static_cast<int>(m_fonts.size()) - 1);
}

void CQtPaintRecording::SetBackgroundMode(Qt::BGMode mode) {
  if (m_painter != nullptr) return m_painter->setBackgroundMode(mode);
  Keep(Op::BackgroundMode, static_cast<int>(mode));
}

void CQtPaintRecording::SetBackground(const QColor& colour) {
  if (m_painter != nullptr) return m_painter->setBackground(colour);
  m_colours.push_back(colour);
  Keep(Op::Background, static_cast<int>(m_colours.size()) - 1);
}

void CQtPaintRecording::SetClipRegion(const QRegion& region) {
  if (m_painter != nullptr) return m_painter->setClipRegion(region);
  m_regions.push_back(region);
  Keep(Op::ClipRegion, static_cast<int>(m_regions.size()) - 1);
}

void CQtPaintRecording::SetClipping(bool on) {
  if (m_painter != nullptr) return m_painter->setClipping(on);
  if (!on) Keep(Op::ClipOff, 0);
}

void CQtPaintRecording::DrawPolygon(std::span<const QPoint> points) {
  if (m_painter != nullptr) {
    return m_painter->drawPolygon(points.data(), static_cast<int>(points.size()), Qt::OddEvenFill);
  }
  KeepPoints(Op::Polygon, points);
}

void CQtPaintRecording::KeepPoints(Op op, std::span<const QPoint> points) {
  const int at = static_cast<int>(m_points.size());
  m_points.insert(m_points.end(), points.begin(), points.end());
  Keep(op, at, static_cast<int>(points.size()), StrokeReach(BoundsOfPoints(points)));
}

void CQtPaintRecording::DrawPolyline(std::span<const QPoint> points) {
  if (m_painter != nullptr)
    return m_painter->drawPolyline(points.data(), static_cast<int>(points.size()));
  KeepPoints(Op::Polyline, points);
}

void CQtPaintRecording::DrawLine(QPoint from, QPoint to) {
  if (m_painter != nullptr) return m_painter->drawLine(from, to);
  const QPoint ends[2] = {from, to};
  Keep(Op::Line, static_cast<int>(m_points.size()), 2, StrokeReach(BoundsOfPoints(ends)));
  m_points.insert(m_points.end(), std::begin(ends), std::end(ends));
}

void CQtPaintRecording::DrawRect(const QRect& rect) {
  if (m_painter != nullptr) return m_painter->drawRect(rect);
  m_textRects.push_back(rect);
  Keep(Op::Rect, static_cast<int>(m_textRects.size()) - 1, 0, StrokeReach(rect.normalized()));
}

void CQtPaintRecording::DrawEllipse(const QRect& rect) {
  if (m_painter != nullptr) return m_painter->drawEllipse(rect);
  m_textRects.push_back(rect);
  Keep(Op::Ellipse, static_cast<int>(m_textRects.size()) - 1, 0, StrokeReach(rect.normalized()));
}

QRect CQtPaintRecording::TextReach(const QRect& laidOut) const {
  // A line's height around the text covers overhanging glyphs and the opaque background.
  const int margin = QFontMetrics(m_font).height() + 2;
  return laidOut.adjusted(-margin, -margin, margin, margin);
}

void CQtPaintRecording::DrawText(const QRectF& rect, int flags, const QString& text) {
  if (m_painter != nullptr) return m_painter->drawText(rect, flags, text);
  const QRect box = rect.toAlignedRect();
  const QRect laidOut = QFontMetrics(m_font).boundingRect(box, flags, text).united(box);
  m_texts.push_back(text);
  m_textBoxes.resize(m_texts.size());
  m_textBoxes.back() = rect;
  Keep(Op::TextInRect, static_cast<int>(m_texts.size()) - 1, flags, TextReach(laidOut));
}

void CQtPaintRecording::DrawText(QPoint at, const QString& text) {
  if (m_painter != nullptr) return m_painter->drawText(at, text);
  const QRect laidOut = QFontMetrics(m_font).boundingRect(text).translated(at);
  m_points.push_back(at);
  m_texts.push_back(text);
  Keep(Op::TextAt, static_cast<int>(m_texts.size()) - 1, static_cast<int>(m_points.size()) - 1,
       TextReach(laidOut));
}

void CQtPaintRecording::FillPixel(QPoint at, const QColor& colour) {
  if (m_painter != nullptr) return m_painter->fillRect(at.x(), at.y(), 1, 1, colour);
  m_points.push_back(at);
  m_colours.push_back(colour);
  Keep(Op::Pixel, static_cast<int>(m_colours.size()) - 1, static_cast<int>(m_points.size()) - 1,
       QRect(at, QSize(1, 1)).adjusted(-1, -1, 1, 1));
}

void CQtPaintRecording::DrawImage(const QRect& rect, const QImage& image) {
  if (m_painter != nullptr) return m_painter->drawImage(rect, image);
  m_textRects.push_back(rect);
  // The image may only borrow the pixels of a bitmap that is gone before the playback.
  m_images.push_back(image.copy());
  Keep(Op::Image, static_cast<int>(m_images.size()) - 1, static_cast<int>(m_textRects.size()) - 1,
       rect.normalized().adjusted(-1, -1, 1, 1));
}

void CQtPaintRecording::Play(QPainter& painter) const { PlayBand(painter, QRect(), nullptr); }

void CQtPaintRecording::PlayBand(QPainter& painter, const QRect& band,
                                 CPolygonStamps* stamps) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  if (!band.isNull()) painter.setClipRect(band);
  // Pens and brushes are set only before a figure that this band draws.
  int penSet = -1, brushSet = -1;
  // Stamps stand for figures drawn plainly: painted over, with no clip but the band's.
  bool plain = true, unclipped = true;
  const auto play = [&](const Recorded& r) {
    if (r.op == Op::Composition) plain = r.index == QPainter::CompositionMode_SourceOver;
    if (r.op == Op::ClipRegion || r.op == Op::ClipOff) unclipped = r.op == Op::ClipOff;
    if (IsFigure(r.op)) {
      if (stamps != nullptr && r.op == Op::Polygon && plain && unclipped && r.pen >= 0 &&
          r.brush >= 0) {
        const auto pen = static_cast<std::size_t>(r.pen);
        const auto brush = static_cast<std::size_t>(r.brush);
        const CPolygonStamps::Tools tools =
            CPolygonStamps::Together(m_penTools[pen], m_brushTools[brush]);
        if (stamps->Stamp(std::span(&m_points[static_cast<std::size_t>(r.index)],
                                    static_cast<std::size_t>(r.count)),
                          tools, m_pens[pen], m_brushes[brush], band))
          return;
      }
      if (r.pen != penSet) painter.setPen(m_pens[static_cast<std::size_t>(penSet = r.pen)]);
      if (r.brush != brushSet)
        painter.setBrush(m_brushes[static_cast<std::size_t>(brushSet = r.brush)]);
    }
    Apply(painter, r);
    if (!band.isNull() && (r.op == Op::ClipRegion || r.op == Op::ClipOff))
      painter.setClipRect(band, r.op == Op::ClipOff ? Qt::ReplaceClip : Qt::IntersectClip);
  };
  if (band.isNull()) {
    for (const Recorded& r : m_ops) play(r);
  } else {
    for (const int op : OpsOfBand(band)) play(m_ops[static_cast<std::size_t>(op)]);
  }
  painter.restore();
}

void CQtPaintRecording::Apply(QPainter& painter, const Recorded& r) const {
  const auto at = [](int index) { return static_cast<std::size_t>(index); };
  switch (r.op) {
    case Op::Pen:
    case Op::Brush: break;
    case Op::Composition:
      painter.setCompositionMode(static_cast<QPainter::CompositionMode>(r.index));
      break;
    case Op::Font: painter.setFont(m_fonts[at(r.index)]); break;
    case Op::BackgroundMode: painter.setBackgroundMode(static_cast<Qt::BGMode>(r.index)); break;
    case Op::Background: painter.setBackground(m_colours[at(r.index)]); break;
    case Op::ClipRegion: painter.setClipRegion(m_regions[at(r.index)]); break;
    case Op::ClipOff: painter.setClipping(false); break;
    case Op::Polygon: painter.drawPolygon(&m_points[at(r.index)], r.count, Qt::OddEvenFill); break;
    case Op::Polyline: painter.drawPolyline(&m_points[at(r.index)], r.count); break;
    case Op::Line: painter.drawLine(m_points[at(r.index)], m_points[at(r.index) + 1]); break;
    case Op::Rect: painter.drawRect(m_textRects[at(r.index)].toRect()); break;
    case Op::Ellipse: painter.drawEllipse(m_textRects[at(r.index)].toRect()); break;
    case Op::TextInRect:
      painter.drawText(m_textBoxes[at(r.index)], r.count, m_texts[at(r.index)]);
      break;
    case Op::TextAt: painter.drawText(m_points[at(r.count)], m_texts[at(r.index)]); break;
    case Op::Pixel:
      painter.fillRect(m_points[at(r.count)].x(), m_points[at(r.count)].y(), 1, 1,
                       m_colours[at(r.index)]);
      break;
    case Op::Image:
      painter.drawImage(m_textRects[at(r.count)].toRect(), m_images[at(r.index)]);
      break;
  }
}

void CQtPaintRecording::PlayInBands(QImage& image) const {
  const CQtPaintRecording* self = this;
  PlayInBands(image, std::span(&self, 1));
}

void CQtPaintRecording::PlayInBands(QImage& image, int bands) const {
  const CQtPaintRecording* self = this;
  PlayInBands(image, std::span(&self, 1), bands);
}

void CQtPaintRecording::PlayInBands(QImage& image, std::span<const CQtPaintRecording* const> parts,
                                    CPolygonStamps::CLibrary* stamps) {
  std::size_t figures = 0;
  for (const CQtPaintRecording* part : parts) figures += static_cast<std::size_t>(part->m_figures);
  const int bands = figures < kMinFiguresForBands
                        ? 1
                        : static_cast<int>(CParallelChunks::ChunkCount(figures, 1000));
  PlayInBands(image, parts, bands, stamps);
}

std::vector<int> CQtPaintRecording::BandTops(std::span<const CQtPaintRecording* const> parts,
                                             int rows, int bands) {
  if (bands <= 1) return {0, rows};
  // Bands of about as many figures each: the figures gather where the scene is.
  // The index counts them by strips, near enough.
  std::vector<int> perRow(static_cast<std::size_t>(rows) + 1, 0);
  int figures = 0;
  for (const CQtPaintRecording* part : parts) {
    for (std::size_t strip = 0; strip < part->m_strips.size(); ++strip) {
      const int row = std::min(static_cast<int>(strip) * kStripRows, rows - 1);
      const int count = static_cast<int>(part->m_strips[strip].size());
      perRow[static_cast<std::size_t>(row)] += count;
      figures += count;
    }
    for (const int op : part->m_everywhere) {
      const QRect& reach = part->m_ops[static_cast<std::size_t>(op)].reach;
      const int row = reach.isNull() ? 0 : std::clamp(reach.center().y(), 0, rows - 1);
      ++perRow[static_cast<std::size_t>(row)];
      ++figures;
    }
  }
  if (figures == 0) return {0, rows};
  std::vector<int> tops{0};
  int seen = 0;
  for (int row = 0; row < rows && static_cast<int>(tops.size()) < bands; ++row) {
    seen += perRow[static_cast<std::size_t>(row)];
    if (std::int64_t{seen} * bands >= std::int64_t{figures} * static_cast<int>(tops.size()))
      tops.push_back(row + 1);
  }
  tops.push_back(rows);
  tops.erase(std::unique(tops.begin(), tops.end()), tops.end());
  return tops;
}

void CQtPaintRecording::PlayInBands(QImage& image, std::span<const CQtPaintRecording* const> parts,
                                    int bands, CPolygonStamps::CLibrary* stamps) {
  const int rows = image.height();
  if (rows <= 0 || image.width() <= 0) return;
  const std::vector<int> tops = BandTops(parts, rows, std::clamp(bands, 1, std::max(rows, 1)));
  const std::size_t count = tops.size() - 1;
  uchar* bits = image.bits();
  // Each band stamps the shapes it draws itself apart, for the library to take once all
  // are done: the library stays the same while they read it.
  std::vector<CPolygonStamps> banded;
  banded.reserve(count);
  for (std::size_t band = 0; band < count; ++band)
    banded.emplace_back(bits, image.width(), rows, image.bytesPerLine(), stamps);
  CParallelChunks::Run(count, count, [&](std::size_t band, std::size_t, std::size_t) {
    // The whole picture, clipped to the band: a painter on the band's rows alone would
    // cut lines at its edges and so step them otherwise. The same resolution gives the
    // same fonts, and a picture of its own leaves the image to any painter on it.
    QImage whole(bits, image.width(), rows, image.bytesPerLine(), image.format());
    whole.setDotsPerMeterX(image.dotsPerMeterX());
    whole.setDotsPerMeterY(image.dotsPerMeterY());
    QPainter painter(&whole);
    const int top = tops[band];
    const QRect clip = count == 1 ? QRect() : QRect(0, top, image.width(), tops[band + 1] - top);
    CPolygonStamps* stamping = image.format() == QImage::Format_RGB32 ? &banded[band] : nullptr;
    for (const CQtPaintRecording* part : parts) part->PlayBand(painter, clip, stamping);
  });
  if (stamps == nullptr) return;
  for (CPolygonStamps& band : banded) stamps->Take(band);
}
