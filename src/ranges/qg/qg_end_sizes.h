#pragma once

#include <array>
#include <cstdint>

// The two sizes of a range QG end (variants 2, 3 and 6) that its cover spans: the width
// across the centre distances and the height that the bars' shape (the sub-variant, the
// bars nibble of the style word) gives. The cover's sides are raised to half of them; a
// nibble outside 1..3 has no height.
struct CQGEndSizes {
  std::int64_t width;
  std::int64_t height;
};
struct CQGEndInput {
  int variant = 0;
  int nibble = 0;  // bars nibble of the style word
  bool entraxEmpty = true;
  std::array<std::int64_t, 4> distances{};
  int barSize = 0;          // second value of the bar geometry
  int barValue = 0;         // third value of the bar geometry
  int referenceFirst = 0;   // the housing row's width
  int referenceSecond = 0;  // the housing row's height
  int neutralCount = 4;     // conductors
};
CQGEndSizes QGEndSizes(const CQGEndInput& in);
