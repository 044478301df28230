#pragma once

#include <QFont>
#include <QPainter>

#include "grid/grid_canvas.h"

// The grid's canvas on a QPainter: the screen, a printer or an image. Lines are one
// pixel wide and not antialiased, so that a grid line covers exactly its pixels.
class CQtGridCanvas : public CGridCanvas {
 public:
  // The painter must outlive the canvas; its state is restored when the canvas goes.
  explicit CQtGridCanvas(QPainter& painter);
  ~CQtGridCanvas() override;

  void DrawLine(int x1, int y1, int x2, int y2, CColor color) override;
  void FillRect(const CRect& rect, CColor color) override;
  void DrawText(int x, int y, std::string_view text, const CLogFont& font, CColor color) override;
  void DrawTextInRect(const CRect& rect, std::string_view text, int alignment, const CLogFont& font,
                      CColor color) override;
  // Bitmaps of 4 or 8 bits carry no colours of their own here: their piece is crossed out.
  void DrawBitmap(int x, int y, const CBitmapDesc& bitmap, int width, int height) override;

 private:
  const QFont& Font(const CLogFont& font);

  QPainter& m_painter;
  CLogFont m_lastLogFont;
  QFont m_lastFont;
  bool m_hasFont = false;
};
