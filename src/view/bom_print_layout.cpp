#include "view/bom_print_layout.h"

#include <algorithm>
#include <cmath>

namespace {

int SheetsFor(double extentMm, double usableMm) {
  if (usableMm <= 0) return 1;
  return std::max(1, static_cast<int>(std::ceil(extentMm / usableMm)));
}

}  // namespace

CBOMPrintLayout::CBOMPrintLayout(double paperWidthMm, double paperHeightMm, double mmPerPixelIn,
                                 std::int64_t gridWidth, std::int64_t gridHeight, double scaleIn)
    : scale(EffectiveScale(scaleIn)), mmPerPixel(mmPerPixelIn > 0 ? mmPerPixelIn : 1.0) {
  pageWidth = paperWidthMm / mmPerPixel;
  pageHeight = paperHeightMm / mmPerPixel;
  rows = SheetsFor(static_cast<double>(gridHeight) * scale * mmPerPixel,
                   paperHeightMm - kMarginTop - kMarginBottom);
  columns = SheetsFor(static_cast<double>(gridWidth) * scale * mmPerPixel,
                      paperWidthMm - kMarginLeft - kMarginRight);
  const double usableWidth = pageWidth - (kMarginLeft + kMarginRight) / mmPerPixel;
  const double usableHeight = pageHeight - (kMarginTop + kMarginBottom) / mmPerPixel;
  cellWidth = std::max<std::int64_t>(1, static_cast<std::int64_t>(usableWidth / scale));
  cellHeight = std::max<std::int64_t>(1, static_cast<std::int64_t>(usableHeight / scale));
}

bool CBOMPrintLayout::SheetCells(int sheet, std::int64_t& left, std::int64_t& top,
                                 std::int64_t& right, std::int64_t& bottom) const {
  if (sheet < 0 || sheet >= SheetCount()) return false;
  const int column = sheet / rows;
  const int row = sheet % rows;
  left = column * cellWidth;
  top = row * cellHeight;
  right = left + cellWidth;
  bottom = top + cellHeight;
  return true;
}
