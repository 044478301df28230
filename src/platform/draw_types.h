#pragma once

#include <cstdint>

// The plain values every drawing and every stored window position is made of: a colour,
// a point, a size and a rectangle in whole units (pixels, logical units or stored
// coordinates, as their user says). The drawing context, the grid, the geometry and the
// settings share them, so that a value moves between them without conversion.

// A colour. Stored files and settings hold colours as COLORREF values (0x00BBGGRR),
// hence the two conversions.
struct CColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  static constexpr CColor FromColorRef(std::uint32_t colorRef) {
    return {static_cast<std::uint8_t>(colorRef & 0xFFu),
            static_cast<std::uint8_t>((colorRef >> 8) & 0xFFu),
            static_cast<std::uint8_t>((colorRef >> 16) & 0xFFu)};
  }
  constexpr std::uint32_t ToColorRef() const {
    return static_cast<std::uint32_t>(red) | (static_cast<std::uint32_t>(green) << 8) |
           (static_cast<std::uint32_t>(blue) << 16);
  }
  bool operator==(const CColor&) const = default;
};

// Each channel's low byte, as RGB() does.
constexpr CColor MakeColor(int red, int green, int blue) {
  return {static_cast<std::uint8_t>(red & 0xFF), static_cast<std::uint8_t>(green & 0xFF),
          static_cast<std::uint8_t>(blue & 0xFF)};
}

struct CPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const CPoint&) const = default;
};

struct CSize {
  std::int32_t cx = 0;
  std::int32_t cy = 0;
  bool operator==(const CSize&) const = default;
};

// Where a rectangle is drawn or hit, left and top are inside and right and bottom
// outside; a stored rectangle is simply its four numbers.
struct CRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool operator==(const CRect&) const = default;
};
