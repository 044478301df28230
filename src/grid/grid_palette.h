#pragma once

#include "platform/draw_types.h"

// The colours the grid paints with besides the cells' own. The window side takes the
// highlight colours from the desktop.
struct CGridPalette {
  CColor headerBackground{192, 192, 192};  // fixed cells and the area beyond the grid
  CColor cellBackground{255, 255, 255};
  CColor line{0, 0, 0};
  CColor raised{255, 255, 255};  // the light edge that makes fixed cells look raised
  CColor highlight{0, 0, 128};
  CColor highlightText{255, 255, 255};
};
