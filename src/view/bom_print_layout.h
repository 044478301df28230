#pragma once

#include <cstdint>

// How the bill of materials is cut into printed sheets. Sizes are in screen pixels
// unless named millimetres; a sheet shows a window of the grid scaled by the print
// scale, and sheets run down the first column of sheets, then the next.
struct CBOMPrintLayout {
  static constexpr double kMarginLeft = 10, kMarginRight = 10, kMarginTop = 20, kMarginBottom = 20;

  // The print scale as the layout uses it: a scale of 0 or less (a damaged or unset
  // setting) counts as 1, so that it can neither divide by zero nor mirror the page.
  static double EffectiveScale(double scale) { return scale > 0 ? scale : 1.0; }

  // paperWidthMm/paperHeightMm: the printable area; mmPerPixel: the screen's
  // millimetres per pixel; gridWidth/gridHeight: the grid's total size in pixels.
  CBOMPrintLayout(double paperWidthMm, double paperHeightMm, double mmPerPixel,
                  std::int64_t gridWidth, std::int64_t gridHeight, double scale);

  int SheetCount() const { return rows * columns; }
  // The grid rectangle (pixels) that sheet p (from 0) shows; false past the last sheet.
  bool SheetCells(int sheet, std::int64_t& left, std::int64_t& top, std::int64_t& right,
                  std::int64_t& bottom) const;

  double scale = 1;
  double mmPerPixel = 1;
  double pageWidth = 0;  // the sheet in screen pixels
  double pageHeight = 0;
  int rows = 1;                // sheets down
  int columns = 1;             // sheets across
  std::int64_t cellWidth = 1;  // grid pixels per sheet
  std::int64_t cellHeight = 1;
};
