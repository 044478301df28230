#pragma once

#include <memory>

#include "grid/grid_canvas.h"
#include "platform/draw_types.h"
#include "grid/grid_text_measurer.h"
#include "grid/grid_text_style.h"

// The empty cell, and the base of the text and bitmap cells. Cells draw and measure
// themselves; the cell store owns them.
class CGridCell {
 public:
  enum Kind { kEmpty = 0, kText = 1, kBitmap = 2 };

  CGridCell() = default;
  virtual ~CGridCell() = default;
  CGridCell& operator=(const CGridCell&) = delete;

  int GetKind() const { return m_kind; }
  // Free for the grid's user; a text cell keeps its alignment here (0 left, 1 centred,
  // 2 right).
  unsigned GetItemData() const { return m_itemData; }
  void SetItemData(unsigned itemData) { m_itemData = itemData; }

  // A copy of the same kind with everything it holds.
  virtual std::unique_ptr<CGridCell> Clone() const;
  // Draws the contents at their natural size from (x, y).
  virtual void Draw(CGridCanvas& canvas, int x, int y, const CGridTextStyle& style) const;
  // Draws the contents fitted into the rectangle.
  virtual void DrawFitted(CGridCanvas& canvas, const CRect& rect,
                          const CGridTextStyle& style) const;
  // The size of the contents when drawn in the grid's font; (0, 0) for an empty cell.
  virtual CSize Measure(const CGridTextMeasurer& measurer, const CGridTextStyle& style) const;

 protected:
  explicit CGridCell(int kind) : m_kind(kind) {}
  CGridCell(const CGridCell&) = default;

 private:
  int m_kind = kEmpty;
  unsigned m_itemData = 0;
};
