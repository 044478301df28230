#include "view/bom_print_layout.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// A4 portrait printable area, a 0.25 mm screen pixel.
constexpr double kWidthMm = 210, kHeightMm = 297, kMmPerPixel = 0.25;

TEST(BOMPrintLayoutTest, SheetsCoverTheGridAtTheScale) {
  struct Row {
    std::int64_t width, height;
    double scale;
    int rows, columns;
    std::int64_t cellWidth;
  };
  // Usable area: 190 x 257 mm, that is 760 x 1028 screen pixels.
  const Row rows[] = {
      {760, 1028, 1, 1, 1, 760},
      {761, 1028, 1, 1, 2, 760},
      {760, 1029, 1, 2, 1, 760},
      {1520, 3000, 0.5, 2, 1, 1520},
      {400, 400, 2, 1, 2, 380},
      // A scale of 0 or less counts as 1: no division by zero, no mirrored sheets.
      {761, 100, 0, 1, 2, 760},
      {761, 100, -2, 1, 2, 760},
  };
  for (const Row& row : rows) {
    const CBOMPrintLayout layout(kWidthMm, kHeightMm, kMmPerPixel, row.width, row.height,
                                 row.scale);
    EXPECT_EQ(layout.rows, row.rows) << row.width << "x" << row.height << " at " << row.scale;
    EXPECT_EQ(layout.columns, row.columns) << row.width << "x" << row.height << " at " << row.scale;
    EXPECT_EQ(layout.cellWidth, row.cellWidth) << row.scale;
    EXPECT_GT(layout.scale, 0);
  }
}

// Sheets run down the first column of sheets, then the next.
TEST(BOMPrintLayoutTest, SheetsRunDownFirst) {
  const CBOMPrintLayout layout(kWidthMm, kHeightMm, kMmPerPixel, 1000, 2500, 1);
  ASSERT_EQ(layout.SheetCount(), 6);
  const std::int64_t expected[6][2] = {{0, 0},   {0, 1028},   {0, 2056},
                                       {760, 0}, {760, 1028}, {760, 2056}};
  for (int sheet = 0; sheet < 6; ++sheet) {
    std::int64_t left = -1, top = -1, right = -1, bottom = -1;
    ASSERT_TRUE(layout.SheetCells(sheet, left, top, right, bottom));
    EXPECT_EQ(left, expected[sheet][0]) << sheet;
    EXPECT_EQ(top, expected[sheet][1]) << sheet;
    EXPECT_EQ(right - left, 760);
    EXPECT_EQ(bottom - top, 1028);
  }
  std::int64_t unused = 0;
  EXPECT_FALSE(layout.SheetCells(6, unused, unused, unused, unused));
  EXPECT_FALSE(layout.SheetCells(-1, unused, unused, unused, unused));
}

}  // namespace
