#include "view/annotation_icons.h"

#include <cstdint>

#include "view/annotation_bitmap.h"

namespace {

constexpr int kSupportIconNumber = 383;
constexpr int kSide = 32;
constexpr int kRowBytes = kSide * 3;

struct CIconPainter {
  CBitmapDesc& b;
  void Fill(int left, int top, int right, int bottom, std::uint8_t grey) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) {
        const auto at = static_cast<std::size_t>(y * kRowBytes + x * 3);
        b.bits[at] = b.bits[at + 1] = b.bits[at + 2] = grey;
      }
  }
};

// The support symbol of the run information label: a ceiling plate, the threaded rod
// and the bracket holding the busbar housing.
CBitmapDesc SupportIcon() {
  CBitmapDesc b;
  b.width = b.height = kSide;
  b.bitsPixel = 24;
  b.widthBytes = kRowBytes;
  b.bits.assign(static_cast<std::size_t>(kRowBytes * kSide), 0xFF);
  CIconPainter paint{b};
  paint.Fill(6, 2, 26, 5, 0x40);    // plate
  paint.Fill(15, 5, 17, 20, 0x00);  // rod
  paint.Fill(6, 20, 26, 22, 0x00);  // bracket
  paint.Fill(6, 22, 8, 30, 0x00);
  paint.Fill(24, 22, 26, 30, 0x00);
  paint.Fill(9, 23, 23, 29, 0xA0);  // housing
  return b;
}

}  // namespace

const CBitmapDesc* AnnotationIcon(int number) {
  static const CBitmapDesc support = SupportIcon();
  return number == kSupportIconNumber ? &support : nullptr;
}

std::optional<CBitmapDesc> TitleBlockLogo(const std::string& programFolder) {
  const auto bytes = ReadPictureFile(programFolder + kTitleBlockLogoFile);
  return bytes ? DecodeBitmap(*bytes) : std::nullopt;
}
