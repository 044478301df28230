#pragma once

// A cell of the grid by row and column; -1 in either means no cell.
struct CCellPos {
  int row = -1;
  int column = -1;

  bool IsCell() const { return row >= 0 && column >= 0; }
  bool operator==(const CCellPos&) const = default;
};

// A rectangle of cells, bounds included; -1 bounds mean no range.
struct CCellRange {
  int top = -1;
  int left = -1;
  int bottom = -1;
  int right = -1;

  // Valid when no bound is negative, top <= bottom and left <= right.
  bool IsValid() const;
  bool Contains(int row, int column) const;
  bool IsSingleCell() const { return IsValid() && top == bottom && left == right; }
  CCellPos TopLeft() const { return {top, left}; }

  // The range spanned by two cells, in whichever order they come.
  static CCellRange Span(CCellPos a, CCellPos b);
  // The smallest range holding both (smaller top and left, larger bottom and right).
  static CCellRange Bounding(const CCellRange& a, const CCellRange& b);
  // The cells both hold; an invalid range when they do not meet.
  static CCellRange Intersect(const CCellRange& a, const CCellRange& b);

  bool operator==(const CCellRange&) const = default;
};
