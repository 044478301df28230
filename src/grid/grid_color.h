#pragma once

#include <cstdint>

// A colour as the grid and its files know it. Stored files hold colours as COLORREF
// values (0x00BBGGRR), hence the two conversions.
struct CGridColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  static constexpr CGridColor FromColorRef(std::uint32_t colorRef) {
    return {static_cast<std::uint8_t>(colorRef & 0xFFu),
            static_cast<std::uint8_t>((colorRef >> 8) & 0xFFu),
            static_cast<std::uint8_t>((colorRef >> 16) & 0xFFu)};
  }
  constexpr std::uint32_t ToColorRef() const {
    return static_cast<std::uint32_t>(red) | (static_cast<std::uint32_t>(green) << 8) |
           (static_cast<std::uint32_t>(blue) << 16);
  }
  bool operator==(const CGridColor&) const = default;
};
