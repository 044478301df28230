#pragma once

// Plain geometry of the grid, in pixels of the grid's client area (or of the page when
// printing). Rectangles include left and top and exclude right and bottom.
struct CGridPoint {
  int x = 0;
  int y = 0;
  bool operator==(const CGridPoint&) const = default;
};

struct CGridSize {
  int cx = 0;
  int cy = 0;
  bool operator==(const CGridSize&) const = default;
};

struct CGridRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool operator==(const CGridRect&) const = default;
};
