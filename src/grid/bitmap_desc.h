#pragma once

#include <cstdint>
#include <vector>

// A device bitmap as the part records describe it (the fields of a BITMAP) together with
// its bits: scan lines top to bottom, each widthBytes long. Pixels of 16 bits are
// 5-5-5 little-endian words, of 24 bits blue-green-red, of 32 bits blue-green-red-unused;
// a 1-bit pixel is black when 0 and white when 1 (most significant bit first).
struct CBitmapDesc {
  static constexpr int kMaxSide = 16384;

  std::int32_t type = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t widthBytes = 0;
  std::uint16_t planes = 1;
  std::uint16_t bitsPixel = 0;
  std::vector<std::uint8_t> bits;

  // True when the description is one the grid can hold and draw: sides 1..kMaxSide, one
  // plane, 1, 4, 8, 16, 24 or 32 bits a pixel, scan lines long enough for the width, and
  // at least widthBytes x height bytes of bits. Descriptions come from stored part
  // records, so nothing is assumed.
  bool IsValid() const;

  bool operator==(const CBitmapDesc&) const = default;
};
