#include "grid/bitmap_desc.h"

bool CBitmapDesc::IsValid() const {
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return false;
  if (planes != 1) return false;
  switch (bitsPixel) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: return false;
  }
  const std::int64_t lineBits = static_cast<std::int64_t>(width) * bitsPixel;
  const std::int64_t minLineBytes = (lineBits + 7) / 8;
  if (widthBytes < minLineBytes) return false;
  const std::int64_t needed = static_cast<std::int64_t>(widthBytes) * height;
  return static_cast<std::int64_t>(bits.size()) >= needed;
}
