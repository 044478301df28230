#pragma once

#include <QBrush>
#include <QImage>
#include <QPen>
#include <QPoint>
#include <QRect>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

// The smallest rectangle holding the points (a pixel at the origin for none). Defined
// here: a rectangle handed back from a call was stored by halves and read back whole,
// which waited for the stores on every figure kept.
inline QRect BoundsOfPoints(std::span<const QPoint> points) {
  if (points.empty()) return QRect(0, 0, 1, 1);
  int left = points[0].x(), right = left, top = points[0].y(), bottom = top;
  for (const QPoint& p : points) {
    left = std::min(left, p.x());
    right = std::max(right, p.x());
    top = std::min(top, p.y());
    bottom = std::max(bottom, p.y());
  }
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

// Small polygons in opaque plain colours, stamped onto the picture from the pixels Qt made
// for the same figure once: at a fitted view most faces span a few pixels, and Qt's work
// per figure outweighs their pixels many times. Qt's aliased fill and cosmetic outline of
// a polygon of whole-pixel corners depend only on the corners' offsets from one another,
// so a stamp leaves the pixels Qt would leave.
class CPolygonStamps {
 public:
  // What a stamp takes from a pen or a brush, worked out once for the figures that share
  // them; those of a pen and a brush together are usable only when both are.
  struct Tools {
    bool usable = false;
    bool hasPen = false;
    bool hasBrush = false;
    QRgb pen = 0;
    QRgb brush = 0;
  };
  static Tools PenTools(const QPen& pen);
  static Tools BrushTools(const QBrush& brush);
  // Asked for every small face played back: defined here, so that it costs a few moves.
  static Tools Together(const Tools& pen, const Tools& brush) {
    return {pen.usable && brush.usable, pen.hasPen, brush.hasBrush, pen.pen, brush.brush};
  }
  static Tools ToolsOf(const QPen& pen, const QBrush& brush) {
    return Together(PenTools(pen), BrushTools(brush));
  }

 private:
  static constexpr std::size_t kMaxCorners = 8;
  static constexpr int kMaxSide = 16;
  // A shape and its colours packed in two words, which every figure stamped looks up: the
  // corners' offsets from their least x and y (below kMaxSide, four bits each), a byte a
  // corner; then the pen's and the brush's colours (opaque: 24 bits each), whether each is
  // drawn, and the count of corners.
  struct Key {
    std::uint64_t corners = 0;
    std::uint64_t tools = 0;
    bool operator==(const Key&) const = default;
    std::size_t Count() const { return static_cast<std::size_t>(tools >> 50u); }
    bool HasPen() const { return ((tools >> 48u) & 1u) != 0; }
    bool HasBrush() const { return ((tools >> 49u) & 1u) != 0; }
    QPoint Corner(std::size_t i) const {
      const auto byte = static_cast<int>((corners >> (8u * i)) & 0xFFu);
      return {byte & 0xF, byte >> 4};
    }
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const;
  };
  struct Pixel {
    int dx, dy;
    QRgb colour;
  };
  struct Pixels {
    bool usable = false;  // every pixel Qt touched, it made opaque
    std::vector<Pixel> pixels;
  };
  using Shapes = std::unordered_map<Key, Pixels, KeyHash>;

 public:
  // Stamps kept from one playback to the next: a stamp depends on nothing but its shape and
  // colours, and a view turned or moved a little shows mostly the shapes it showed.
  class CLibrary {
   public:
    // The shapes the stamps drew, added (the stamps keep none); the library starts over
    // rather than hold more than kMaxShapes.
    void Take(CPolygonStamps& stamps);
    std::size_t Size() const { return m_shapes.size(); }
    static constexpr std::size_t kMaxShapes = 1u << 14;

   private:
    friend class CPolygonStamps;
    Shapes m_shapes;
  };

  // Stamps onto that picture, looking first among the shapes of the library (which must
  // not change meanwhile) when one is given.
  CPolygonStamps(uchar* bits, int width, int height, qsizetype bytesPerLine,
                 const CLibrary* library = nullptr)
      : m_bits(bits),
        m_width(width),
        m_height(height),
        m_bytesPerLine(bytesPerLine),
        m_library(library) {}
  // Stamps the figure within the band (none: the whole picture); false, with nothing
  // drawn, for a figure left to the painter.
  bool Stamp(std::span<const QPoint> points, const Tools& tools, const QPen& pen,
             const QBrush& brush, const QRect& band);
  // How many shapes these stamps had Qt draw, not finding them in the library.
  std::size_t Drawn() const { return m_shapes.size(); }

 private:
  static constexpr int kMargin = 4;  // around the figure in the picture it is drawn on once

  static std::optional<Key> KeyOf(std::span<const QPoint> points, const Tools& tools,
                                  QPoint& origin);
  static Pixels Draw(const Key& key, const QPen& pen, const QBrush& brush);
  const Pixels& Find(const Key& key, const QPen& pen, const QBrush& brush);

  uchar* m_bits;
  int m_width, m_height;
  qsizetype m_bytesPerLine;
  const CLibrary* m_library;
  Shapes m_shapes;
  // The shapes found last, by a few bits of their keys, in front of the maps: a band
  // stamps a few shapes over and over, and a map's look-up (a division for the bucket)
  // cost more than most stamps. The maps' entries stay where they are while stamping.
  struct CRecent {
    Key key;
    const Pixels* pixels = nullptr;
  };
  static constexpr std::size_t kRecentShapes = 256;
  std::array<CRecent, kRecentShapes> m_recent{};
};
