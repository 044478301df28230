// The area of the annotation layer laid over the scene: every pixel that is not wholly
// transparent within it, whatever the colour bits of the transparent ones.

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>

#include <utility>
#include <vector>

#include "view/ui/covered_area.h"

namespace {

TEST(CoveredAreaTest, BoundsThePixelsThatAreNotWhollyTransparent) {
  constexpr QRgb kInk = 0xFF102030;
  constexpr QRgb kFaint = 0x01010101;            // the least ink, premultiplied
  constexpr QRgb kClearWithColour = 0x00FF8040;  // transparent, whatever its colour bits
  const struct {
    const char* name;
    QImage::Format format;
    std::vector<std::pair<QPoint, QRgb>> pixels;
    QRect covered;
  } rows[] = {
      {"nothing", QImage::Format_ARGB32_Premultiplied, {}, QRect()},
      {"one pixel in the first corner",
       QImage::Format_ARGB32_Premultiplied,
       {{{0, 0}, kInk}},
       QRect(0, 0, 1, 1)},
      {"one pixel in the last corner",
       QImage::Format_ARGB32_Premultiplied,
       {{{39, 29}, kFaint}},
       QRect(39, 29, 1, 1)},
      {"spots apart",
       QImage::Format_ARGB32_Premultiplied,
       {{{5, 20}, kInk}, {{30, 3}, kInk}, {{12, 11}, kFaint}},
       QRect(QPoint(5, 3), QPoint(30, 20))},
      {"transparent pixels with colour bits around one of ink",
       QImage::Format_ARGB32,
       {{{1, 1}, kClearWithColour}, {{38, 28}, kClearWithColour}, {{20, 15}, kInk}},
       QRect(20, 15, 1, 1)},
      {"transparent pixels with colour bits alone",
       QImage::Format_ARGB32,
       {{{0, 0}, kClearWithColour}, {{39, 29}, kClearWithColour}},
       QRect()},
      {"a row with colour bits before and after its ink",
       QImage::Format_ARGB32,
       {{{2, 7}, kClearWithColour}, {{9, 7}, kInk}, {{35, 7}, kClearWithColour}},
       QRect(9, 7, 1, 1)},
  };
  for (const auto& row : rows) {
    QImage layer(40, 30, row.format);
    layer.fill(Qt::transparent);
    for (const auto& [at, colour] : row.pixels) layer.setPixel(at, colour);
    EXPECT_EQ(CoveredArea(layer), row.covered) << row.name;
  }
}

}  // namespace
