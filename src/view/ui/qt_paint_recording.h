#pragma once

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QRegion>
#include <QString>

#include "view/ui/polygon_stamps.h"

#include <array>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

// The QPainter operations of the drawing context's Qt target: made at once on a painter,
// or kept (in the painter's coordinates, each figure with the area it can touch) to be
// played back later: onto one painter, or onto a picture in horizontal bands on several
// threads, each band with a painter of its own, clipped to the band, that is handed only
// the figures that reach it, in their order. Either way the pixels are those one painter
// would make. The figures are indexed by strips of rows as they are kept, so that a band
// looks only at those near it.
class CQtPaintRecording {
 public:
  // Operations made at once on the painter.
  explicit CQtPaintRecording(QPainter& painter);
  // Operations kept; fonts are measured as on the device (none: as on a picture).
  explicit CQtPaintRecording(const QPaintDevice* fontDevice = nullptr);

  void SetPen(const QPen& pen);
  const QPen& Pen() const { return m_pen; }
  void SetBrush(const QBrush& brush);
  // The same for a brush that the caller names by a number of its own, which must always
  // come with an equal brush: the brush is then found by the number alone.
  void SetNamedBrush(const QBrush& brush, std::uint32_t name);
  // The brush kept under that name set again, without the caller making it: false, setting
  // nothing, when none is kept under it yet or the operations are made at once.
  bool SetNamedBrush(std::uint32_t name);
  void SetCompositionMode(QPainter::CompositionMode mode);
  void SetFont(const QFont& font);
  // The font as the target resolves it, for measuring texts.
  const QFont& Font() const { return m_font; }
  void SetBackgroundMode(Qt::BGMode mode);
  void SetBackground(const QColor& colour);
  void SetClipRegion(const QRegion& region);
  void SetClipping(bool on);

  void DrawPolygon(std::span<const QPoint> points);  // odd-even filled
  void DrawPolyline(std::span<const QPoint> points);
  void DrawLine(QPoint from, QPoint to);
  void DrawRect(const QRect& rect);
  void DrawEllipse(const QRect& rect);
  void DrawText(const QRectF& rect, int flags, const QString& text);
  void DrawText(QPoint at, const QString& text);
  void FillPixel(QPoint at, const QColor& colour);
  void DrawImage(const QRect& rect, const QImage& image);

  bool IsEmpty() const { return m_ops.empty() && m_lastPen < 0 && m_lastBrush < 0; }
  // Back to a recording just made for that font device, with no operations, but keeping the
  // room its lists had: a picture recorded again and again then writes into memory it has
  // used before rather than into fresh pages, which the system faults in one by one.
  void Reuse(const QPaintDevice* fontDevice);
  // Room for `times` as many operations and points as are kept now (a little more): a
  // recording whose first part shows what the whole will take then grows once, rather than
  // by doublings that copy everything kept so far.
  void Foresee(double times);
  // Plays the kept operations onto the painter, whose state is the same afterwards.
  void Play(QPainter& painter) const;
  // Plays them onto an image (whose painter, if any, waits meanwhile), in bands on
  // several threads when the figures are many.
  void PlayInBands(QImage& image) const;
  // The same in that many bands (fewer when the image has fewer rows).
  void PlayInBands(QImage& image, int bands) const;
  // Recordings made one after the other, each from a fresh painter's state (as on several
  // threads at once), played in their order as the one recording of them all would be.
  // Small polygons are stamped from the shapes of the library when given, which then keeps
  // those drawn anew as well.
  static void PlayInBands(QImage& image, std::span<const CQtPaintRecording* const> parts,
                          CPolygonStamps::CLibrary* stamps = nullptr);
  static void PlayInBands(QImage& image, std::span<const CQtPaintRecording* const> parts, int bands,
                          CPolygonStamps::CLibrary* stamps = nullptr);

 private:
  enum class Op : unsigned char {
    Pen,
    Brush,
    Composition,
    Font,
    BackgroundMode,
    Background,
    ClipRegion,
    ClipOff,
    Polygon,
    Polyline,
    Line,
    Rect,
    Ellipse,
    TextInRect,
    TextAt,
    Pixel,
    Image
  };
  // One operation: what it is, where its data lies in the store of its kind, and for a
  // figure the area of the painter's coordinates it can touch (an empty area: anywhere).
  struct Recorded {
    Op op;
    int index = 0;
    int count = 0;
    QRect reach;
    int pen = -1;  // of a figure: the pen and brush kept last before it (none: -1)
    int brush = -1;
  };
  // The strips of rows of the index, and how many strips a figure may span in it (it is
  // filed in each): a taller figure is looked at by every band.
  static constexpr int kStripRows = 16;
  static constexpr int kMaxStripsSpanned = 8;
  static constexpr int kMaxStrips = 1 << 12;

  // Rectangles go by value here: taken by reference, each figure's was stored by halves and
  // read back whole, which waited for the stores.
  void Keep(Op op, int index, int count = 0, QRect reach = QRect());
  // Keeps a figure of these points (a polygon or polyline) with the reach of its stroke.
  void KeepPoints(Op op, std::span<const QPoint> points);
  // The index in m_brushes of a brush equal to that one, kept now if need be.
  int KeptBrush(const QBrush& brush);
  // The index in m_brushes of the brush kept under the name, or -1.
  int NamedBrushIndex(std::uint32_t name);
  static int StrokeMarginOf(const QPen& pen);
  QRect StrokeReach(QRect bounds) const {
    return bounds.adjusted(-m_strokeMargin, -m_strokeMargin, m_strokeMargin, m_strokeMargin);
  }
  QRect TextReach(const QRect& laidOut) const;
  // The first row of each band and, last, the image's row count.
  static std::vector<int> BandTops(std::span<const CQtPaintRecording* const> parts, int rows,
                                   int bands);
  void PlayBand(QPainter& painter, const QRect& band, CPolygonStamps* stamps) const;
  // The figures that may meet the band, by the index, and the other operations: the
  // numbers of the operations in their order.
  std::vector<int> OpsOfBand(const QRect& band) const;
  void IndexFigure(int op, QRect reach);
  void Apply(QPainter& painter, const Recorded& r) const;
  bool IsFigure(Op op) const { return op >= Op::Polygon; }

  QPainter* m_painter = nullptr;  // operations made at once
  const QPaintDevice* m_fontDevice = nullptr;
  QPen m_pen;
  int m_strokeMargin = StrokeMarginOf(QPen());  // what figures drawn with m_pen reach beyond
  QFont m_font;
  std::vector<Recorded> m_ops;
  std::vector<QPoint> m_points;
  std::vector<QPen> m_pens;
  std::vector<QBrush> m_brushes;
  // What stamps take from each pen and brush kept.
  std::vector<CPolygonStamps::Tools> m_penTools;
  std::vector<CPolygonStamps::Tools> m_brushTools;
  std::unordered_map<QRgb, int> m_solidBrushes;           // by colour, into m_brushes
  std::unordered_map<std::uint32_t, int> m_namedBrushes;  // by the caller's name for them
  // The names met last, by a few bits of each: faces take turns between a few shades, and
  // the table above is asked for every face.
  struct CNamedBrush {
    std::uint32_t name = 0;
    int index = -1;
  };
  std::array<CNamedBrush, 16> m_recentNamedBrushes{};
  std::vector<QFont> m_fonts;
  std::vector<QColor> m_colours;
  std::vector<QRegion> m_regions;
  std::vector<QString> m_texts;
  std::vector<QRectF> m_textRects;
  // The box of each text of m_texts (empty for a text placed at a point).
  std::vector<QRectF> m_textBoxes;
  std::vector<QImage> m_images;
  int m_figures = 0;
  int m_lastPen = -1;
  int m_lastBrush = -1;
  std::vector<std::vector<int>> m_strips;  // figures by the strips their reach spans
  std::vector<int> m_everywhere;           // figures taller than that, or reaching anywhere
  std::vector<int> m_settings;             // operations but figures, pens and brushes
};
