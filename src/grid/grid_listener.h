#pragma once

// Told by a grid model when what it shows changes; the grid window implements it.
class CGridListener {
 public:
  virtual ~CGridListener() = default;
  // Cells, colours, fonts or the selection changed: repaint.
  virtual void GridInvalidated() = 0;
  // Counts or sizes changed: recompute the scroll ranges and repaint.
  virtual void GridLayoutChanged() = 0;
};
