#pragma once

#include "grid/bitmap_desc.h"
#include "grid/grid_cell.h"

// The bitmap cell: a picture drawn from its top-left corner, never stretched.
class CGridBitmap : public CGridCell {
 public:
  // Null when the description is not valid (CBitmapDesc::IsValid).
  static std::unique_ptr<CGridBitmap> Create(const CBitmapDesc& bitmap);

  std::unique_ptr<CGridCell> Clone() const override;
  void Draw(CGridCanvas& canvas, int x, int y, const CGridTextStyle& style) const override;
  // The top-left piece of the bitmap that fits the rectangle.
  void DrawFitted(CGridCanvas& canvas, const CRect& rect,
                  const CGridTextStyle& style) const override;
  // The bitmap's width and height.
  CSize Measure(const CGridTextMeasurer& measurer, const CGridTextStyle& style) const override;

  const CBitmapDesc& GetBitmap() const { return m_bitmap; }
  // False, and the cell unchanged, when the description is not valid.
  bool SetBitmap(const CBitmapDesc& bitmap);

 private:
  explicit CGridBitmap(const CBitmapDesc& bitmap);
  CGridBitmap(const CGridBitmap&) = default;

  CBitmapDesc m_bitmap;
};
