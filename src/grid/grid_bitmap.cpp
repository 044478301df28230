#include "grid/grid_bitmap.h"

#include <algorithm>

CGridBitmap::CGridBitmap(const CBitmapDesc& bitmap) : CGridCell(kBitmap), m_bitmap(bitmap) {}

std::unique_ptr<CGridBitmap> CGridBitmap::Create(const CBitmapDesc& bitmap) {
  if (!bitmap.IsValid()) return nullptr;
  return std::unique_ptr<CGridBitmap>(new CGridBitmap(bitmap));
}

std::unique_ptr<CGridCell> CGridBitmap::Clone() const {
  return std::unique_ptr<CGridCell>(new CGridBitmap(*this));
}

void CGridBitmap::Draw(CGridCanvas& canvas, int x, int y, const CGridTextStyle&) const {
  canvas.DrawBitmap(x, y, m_bitmap, m_bitmap.width, m_bitmap.height);
}

void CGridBitmap::DrawFitted(CGridCanvas& canvas, const CRect& rect, const CGridTextStyle&) const {
  const int width = std::min(rect.Width(), m_bitmap.width);
  const int height = std::min(rect.Height(), m_bitmap.height);
  if (width <= 0 || height <= 0) return;
  canvas.DrawBitmap(rect.left, rect.top, m_bitmap, width, height);
}

CSize CGridBitmap::Measure(const CGridTextMeasurer&, const CGridTextStyle&) const {
  return {m_bitmap.width, m_bitmap.height};
}

bool CGridBitmap::SetBitmap(const CBitmapDesc& bitmap) {
  if (!bitmap.IsValid()) return false;
  m_bitmap = bitmap;
  return true;
}
