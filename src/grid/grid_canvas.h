#pragma once

#include <string_view>

#include "grid/bitmap_desc.h"
#include "platform/draw_types.h"
#include "platform/log_font.h"

// What the grid needs to draw itself: the screen and the printer are implementations
// of it (the window side paints with QPainter), and tests record the calls. All
// coordinates are pixels of the target.
class CGridCanvas {
 public:
  virtual ~CGridCanvas() = default;

  // A one-pixel line from (x1, y1) up to, not including, (x2, y2).
  virtual void DrawLine(int x1, int y1, int x2, int y2, CColor color) = 0;
  // Fills the rectangle (right and bottom excluded).
  virtual void FillRect(const CRect& rect, CColor color) = 0;
  // The text as one run whose top-left corner is (x, y); not clipped.
  virtual void DrawText(int x, int y, std::string_view text, const CLogFont& font,
                        CColor color) = 0;
  // The text broken at line feeds, from the rectangle's top, each line aligned
  // (0 left, 1 centred, 2 right) and the whole clipped to the rectangle.
  virtual void DrawTextInRect(const CRect& rect, std::string_view text, int alignment,
                              const CLogFont& font, CColor color) = 0;
  // The top-left width x height piece of the bitmap (cut to the bitmap) at (x, y), not
  // stretched. A target that cannot show the bitmap's format marks the piece instead of
  // leaving it blank.
  virtual void DrawBitmap(int x, int y, const CBitmapDesc& bitmap, int width, int height) = 0;
};
