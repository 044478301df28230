#pragma once

#include "grid/grid_color.h"

// The colours the grid paints with besides the cells' own. The window side takes the
// highlight colours from the desktop.
struct CGridPalette {
  CGridColor headerBackground{192, 192, 192};  // fixed cells and the area beyond the grid
  CGridColor cellBackground{255, 255, 255};
  CGridColor line{0, 0, 0};
  CGridColor raised{255, 255, 255};  // the light edge that makes fixed cells look raised
  CGridColor highlight{0, 0, 128};
  CGridColor highlightText{255, 255, 255};
};
