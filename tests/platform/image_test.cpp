#include "platform/image.h"

#include <gtest/gtest.h>

namespace {

CBitmapDescription Description(int width, int height, int bytesPerRow, int bits) {
  return {0, width, height, bytesPerRow, 1, bits};
}

TEST(Image, NumberOfANameOnlyOfDigits) {
  EXPECT_EQ(CImage("FEEDUNIT_AA").Number(), 0);
  EXPECT_EQ(CImage("128").Number(), 128);
  EXPECT_EQ(CImage("12A").Number(), 0);
  EXPECT_EQ(CImage("").Number(), 0);
  EXPECT_EQ(CImage("99999999999999").Number(), 2147483647);
}

struct PictureCase {
  CBitmapDescription description;
  std::size_t byteCount;
  bool accepted;
  const char* guards;
};

TEST(ImagePictureTest, TakesOnlySoundPictures) {
  const PictureCase cases[] = {
      {Description(4, 2, 12, 24), 24, true, "24-bit rows"},
      {Description(4, 2, 12, 24), 25, false, "too many bytes"},
      {Description(4, 2, 12, 24), 23, false, "too few bytes"},
      {Description(4, 2, 2, 24), 4, false, "rows too narrow for the width"},
      {Description(0, 2, 12, 24), 0, false, "no width"},
      {Description(4, -2, 12, 24), 0, false, "negative height"},
      {Description(4, 2, 12, 0), 24, false, "no bits per pixel"},
      {Description(100000, 100000, 400000, 32), 0, false, "huge sides"}};
  for (const PictureCase& c : cases) {
    CImage image("X");
    EXPECT_EQ(image.SetPicture(c.description, std::vector<std::uint8_t>(c.byteCount, 7)),
              c.accepted)
        << c.guards;
    EXPECT_EQ(image.IsEmpty(), !c.accepted) << c.guards;
    EXPECT_EQ(image.Description(), c.accepted ? c.description : CBitmapDescription{}) << c.guards;
  }
}

TEST(Image, ARefusedPictureEmptiesAnEarlierOne) {
  CImage image("X");
  ASSERT_TRUE(image.SetPicture(Description(1, 1, 4, 32), {1, 2, 3, 4}));
  EXPECT_FALSE(image.SetPicture(Description(1, 1, 4, 32), {1}));
  EXPECT_TRUE(image.IsEmpty());
}

}  // namespace
