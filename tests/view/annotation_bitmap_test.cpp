#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "view/annotation_bitmap.h"

namespace {

void PutDword(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void PutWord(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// A bottom-up 24-bit bitmap of 3 x 2 pixels: pixel (x, y) from the top is blue x, green y.
std::vector<std::uint8_t> SmallBitmap() {
  const std::size_t stride = 12;
  std::vector<std::uint8_t> b(54 + stride * 2, 0);
  b[0] = 'B';
  b[1] = 'M';
  PutDword(b, 2, static_cast<std::uint32_t>(b.size()));
  PutDword(b, 10, 54);
  PutDword(b, 14, 40);
  PutDword(b, 18, 3);
  PutDword(b, 22, 2);
  PutWord(b, 26, 1);
  PutWord(b, 28, 24);
  for (std::size_t row = 0; row < 2; ++row)
    for (std::size_t x = 0; x < 3; ++x) {
      const std::size_t at = 54 + (1 - row) * stride + x * 3;
      b[at] = static_cast<std::uint8_t>(x);
      b[at + 1] = static_cast<std::uint8_t>(row);
    }
  return b;
}

TEST(AnnotationBitmapTest, OnlyWellFormedBitmapsAreTaken) {
  const struct {
    const char* guards;
    std::size_t at;
    int width;  // 2 or 4 bytes written at `at`
    std::uint32_t value;
    bool sized;
    bool decoded;
  } rows[] = {
      {"the bitmap as made", 0, 0, 0, true, true},
      {"another file type", 0, 2, 0x4142, false, false},
      {"a reserved word set", 6, 2, 1, false, false},
      {"another information header", 14, 4, 108, false, false},
      {"no width", 18, 4, 0, false, false},
      {"a width past the limit", 18, 4, 20000, false, false},
      {"the smallest negative height", 22, 4, 0x80000000u, false, false},
      {"two planes", 26, 2, 2, false, false},
      {"four bits a pixel", 28, 2, 4, true, false},
      {"compressed", 30, 4, 1, true, false},
      {"pixels past the end", 10, 4, 60, true, false},
      {"an offset past the end", 10, 4, 0xFFFFFFF0u, true, false},
  };
  for (const auto& row : rows) {
    std::vector<std::uint8_t> bytes = SmallBitmap();
    if (row.width == 2) PutWord(bytes, row.at, static_cast<std::uint16_t>(row.value));
    if (row.width == 4) PutDword(bytes, row.at, row.value);
    EXPECT_EQ(ReadBitmapSize(bytes).has_value(), row.sized) << row.guards;
    EXPECT_EQ(DecodeBitmap(bytes).has_value(), row.decoded) << row.guards;
  }
  std::vector<std::uint8_t> cut = SmallBitmap();
  cut.resize(40);
  EXPECT_FALSE(ReadBitmapSize(cut)) << "a file shorter than its headers";
}

TEST(AnnotationBitmapTest, RowsComeTopDownAsBlueGreenRed) {
  const std::optional<CBitmapDesc> picture = DecodeBitmap(SmallBitmap());
  ASSERT_TRUE(picture);
  EXPECT_TRUE(picture->IsValid());
  EXPECT_EQ(picture->width, 3);
  EXPECT_EQ(picture->height, 2);
  const std::size_t second = static_cast<std::size_t>(picture->widthBytes);
  EXPECT_EQ(picture->bits[2 * 3], 2);       // top row, x = 2: blue 2
  EXPECT_EQ(picture->bits[second + 1], 1);  // second row: green 1
  EXPECT_EQ(picture->bits[0 * 3 + 1], 0);   // top row: green 0
}

TEST(AnnotationBitmapTest, AStoredPathThatIsGoneIsLookedForBesideTheDocument) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "tvr_annotation_bitmap_test";
  std::filesystem::create_directories(folder);
  const std::filesystem::path beside = folder / "logo.bmp";
  std::ofstream(beside, std::ios::binary) << "BM";
  EXPECT_EQ(FindPictureFile("C:\\old\\place\\logo.bmp", folder.string()), beside.string());
  EXPECT_EQ(FindPictureFile(beside.string(), ""), beside.string());
  EXPECT_FALSE(FindPictureFile("C:\\old\\place\\other.bmp", folder.string()));
  EXPECT_FALSE(FindPictureFile("", folder.string()));
  EXPECT_FALSE(FindPictureFile("C:\\old\\place\\", folder.string())) << "a folder, not a file";
  std::filesystem::remove_all(folder);
}

}  // namespace
