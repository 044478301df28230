#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "platform/draw_types.h"

// The pens, brushes and modes of a drawing context, numbered as the drawing code and the
// stored styles number them.

enum class PenStyle : std::uint8_t {
  Solid = 0,
  Dot = 2,
  DashDot = 3,
  DashDotDot = 4,
  Null = 5,
};

// width is in logical units; 0 is one device pixel whatever the mapping.
struct CPen {
  PenStyle style = PenStyle::Solid;
  std::int32_t width = 0;
  CColor color;

  bool IsVisible() const { return style != PenStyle::Null; }
  bool operator==(const CPen&) const = default;
};

enum class BrushStyle : std::uint8_t {
  Solid = 0,
  Null = 1,
  Hatched = 2,
  Pattern = 3,
};

enum class HatchStyle : std::uint8_t {
  Horizontal = 0,
  Vertical = 1,
  ForwardDiagonal = 2,   // top-left to bottom-right
  BackwardDiagonal = 3,  // bottom-left to top-right
  Cross = 4,
  DiagonalCross = 5,
};

// A hatched brush draws its lines in color over the background colour (opaque mode) or
// over what lies below (transparent mode). A pattern brush is an 8x8 monochrome bitmap,
// one byte a row from the top, most significant bit left: a 0 bit takes the text colour
// and a 1 bit the background colour of the context.
struct CBrush {
  BrushStyle style = BrushStyle::Solid;
  CColor color{255, 255, 255};
  HatchStyle hatch = HatchStyle::Horizontal;
  std::array<std::uint8_t, 8> pattern{};

  static CBrush Null() { return {BrushStyle::Null, {}, HatchStyle::Horizontal, {}}; }
  static CBrush Solid(CColor color) {
    return {BrushStyle::Solid, color, HatchStyle::Horizontal, {}};
  }
  static CBrush Hatched(HatchStyle hatch, CColor color) {
    return {BrushStyle::Hatched, color, hatch, {}};
  }
  static CBrush Pattern(const std::array<std::uint8_t, 8>& rows) {
    return {BrushStyle::Pattern, {}, HatchStyle::Horizontal, rows};
  }
  bool IsFilled() const { return style != BrushStyle::Null; }
  // The pattern's rows compared as one word: every figure filled compares its brush with
  // the one set last, and the library call the rows' comparison made cost more than the
  // rest of it.
  bool operator==(const CBrush& other) const {
    return style == other.style && color == other.color && hatch == other.hatch &&
           std::bit_cast<std::uint64_t>(pattern) == std::bit_cast<std::uint64_t>(other.pattern);
  }
};

enum class MapMode : std::uint8_t {
  Text = 1,         // one logical unit is one pixel, y down
  Isotropic = 7,    // window to viewport, one scale on both axes
  Anisotropic = 8,  // window to viewport, a scale per axis
};

enum class BackgroundMode : std::uint8_t {
  Transparent = 1,
  Opaque = 2,
};

enum class RasterOp : std::uint8_t {
  NotXorPen = 10,  // drawing the same figure twice leaves the pixels as they were
  CopyPen = 13,
};

// Text alignment of TextOut: the reference point is the text's left, right or centre and
// its top, bottom or baseline; UpdateCurrentPosition draws at the current position and
// moves it past the text.
namespace text_align {
constexpr unsigned kUpdateCurrentPosition = 0x01;
constexpr unsigned kLeft = 0x00;
constexpr unsigned kRight = 0x02;
constexpr unsigned kCenter = 0x06;
constexpr unsigned kTop = 0x00;
constexpr unsigned kBottom = 0x08;
constexpr unsigned kBaseline = 0x18;
constexpr unsigned kHorizontalMask = 0x06;
constexpr unsigned kVerticalMask = 0x18;
}  // namespace text_align

// Format flags of DrawText.
namespace text_format {
constexpr unsigned kLeft = 0x000;
constexpr unsigned kCenter = 0x001;
constexpr unsigned kRight = 0x002;
constexpr unsigned kVerticalCenter = 0x004;
constexpr unsigned kBottom = 0x008;
constexpr unsigned kWordBreak = 0x010;
constexpr unsigned kSingleLine = 0x020;
constexpr unsigned kNoClip = 0x100;
}  // namespace text_format
