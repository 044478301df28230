#include "platform/image.h"

#include <algorithm>
#include <climits>

namespace {

int NameNumber(const std::string& name) {
  if (name.empty() ||
      !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return 0;
  }
  long long value = 0;
  for (char c : name) value = std::min<long long>(value * 10 + (c - '0'), INT_MAX);
  return static_cast<int>(value);
}

bool IsSound(const CBitmapDescription& d) {
  if (d.width <= 0 || d.height <= 0 || d.width > CImage::kMaxSide || d.height > CImage::kMaxSide) {
    return false;
  }
  if (d.planes < 1 || d.planes > 4 || d.bitsPerPixel < 1 || d.bitsPerPixel > 32) return false;
  long long rowBits = static_cast<long long>(d.width) * d.bitsPerPixel * d.planes;
  return d.bytesPerRow > 0 && static_cast<long long>(d.bytesPerRow) * 8 >= rowBits &&
         d.bytesPerRow <= CImage::kMaxSide * 16;
}

}  // namespace

CImage::CImage(std::string resourceName)
    : m_number(NameNumber(resourceName)), m_resourceName(std::move(resourceName)) {}

bool CImage::SetPicture(const CBitmapDescription& description, std::vector<std::uint8_t> pixels) {
  bool sound =
      IsSound(description) && pixels.size() == static_cast<std::size_t>(description.bytesPerRow) *
                                                   static_cast<std::size_t>(description.height);
  m_description = sound ? description : CBitmapDescription{};
  m_pixels = sound ? std::move(pixels) : std::vector<std::uint8_t>{};
  return sound;
}
