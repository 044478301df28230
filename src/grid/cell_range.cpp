#include "grid/cell_range.h"

#include <algorithm>

bool CCellRange::IsValid() const {
  return top >= 0 && left >= 0 && bottom >= 0 && right >= 0 && top <= bottom && left <= right;
}

bool CCellRange::Contains(int row, int column) const {
  return IsValid() && row >= top && row <= bottom && column >= left && column <= right;
}

CCellRange CCellRange::Span(CCellPos a, CCellPos b) {
  return {std::min(a.row, b.row), std::min(a.column, b.column), std::max(a.row, b.row),
          std::max(a.column, b.column)};
}

CCellRange CCellRange::Bounding(const CCellRange& a, const CCellRange& b) {
  return {std::min(a.top, b.top), std::min(a.left, b.left), std::max(a.bottom, b.bottom),
          std::max(a.right, b.right)};
}

CCellRange CCellRange::Intersect(const CCellRange& a, const CCellRange& b) {
  if (!a.IsValid() || !b.IsValid()) return {};
  CCellRange result{std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom),
                    std::min(a.right, b.right)};
  return result.IsValid() ? result : CCellRange{};
}
