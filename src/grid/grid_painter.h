#pragma once

#include <vector>

#include "grid/grid_canvas.h"
#include "grid/grid_model.h"
#include "grid/grid_palette.h"
#include "grid/grid_text_style.h"
#include "grid/grid_viewport.h"

// Draws a grid onto a canvas: the window's view (fixed headers, the shown cells, the
// selection) or, for printing, every cell that meets an area of the page. Only the
// cells that are drawn are visited.
class CGridPainter {
 public:
  CGridPainter(const CGridModel& model, CGridCanvas& canvas, const CGridPalette& palette)
      : m_model(model), m_canvas(canvas), m_palette(palette) {}

  // Paints the fixed cells and the shown cells of the viewport: white cells, the shown
  // part of the selection in the highlight colour (its cells' text in the highlight text
  // colour), grid lines, raised fixed cells. Returns the number of cells visited.
  int Paint(const CGridViewport& viewport);
  // Draws, as if nothing were scrolled, every cell whose rectangle (edges included)
  // meets the area: fixed cells raised on the header colour, every cell outlined.
  // Returns the number of cells visited.
  int DrawCells(const CRect& area);
  // Draws a cell's contents from (x, y), the cell's top-left corner inside the margin:
  // fitted into the cell or at natural size, as the model says. Nothing for a missing
  // or empty cell.
  void DrawCell(int row, int column, int x, int y, const CGridTextStyle& style);

 private:
  // A row or column as drawn: its index, start and size in pixels.
  struct Band {
    int index;
    int start;
    int size;
    int End() const { return start + size; }
  };
  std::vector<Band> ShownBands(const CGridViewport& viewport, EGridAxis axis) const;
  std::vector<Band> BandsMeeting(EGridAxis axis, int low, int high) const;
  void FillShown(const std::vector<Band>& rows, const std::vector<Band>& columns,
                 const CGridViewport& viewport);
  void DrawGridLines(const std::vector<Band>& rows, const std::vector<Band>& columns);
  void DrawRaised(const Band& row, const Band& column);
  void DrawOutline(const Band& row, const Band& column);
  CGridTextStyle NormalStyle() const;

  const CGridModel& m_model;
  CGridCanvas& m_canvas;
  CGridPalette m_palette;
};
