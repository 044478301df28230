#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// One support placement of an element's "SUPP" text: from the support element, the
// faces walked through (each step goes on past elements of kinds above 6 other than 9),
// then either a box slot whose box carries the point, or none (the point lies along the
// run); the face d and the distance along its normal. halfExtent: the distance was the
// letter "e" (half the slot box's extent along d).
struct CSupportPlacement {
  int slot = -1;
  std::vector<int> moves;
  int face = 0;
  std::int32_t distance = 0;
  bool halfExtent = false;
  bool operator==(const CSupportPlacement&) const = default;
};

// A parsed "SUPP" text: its placements in text order and the side value (face 0..5 set
// by the letters "a".."f", -1 when none).
struct CSupportText {
  std::vector<CSupportPlacement> placements;
  int side = -1;
  bool operator==(const CSupportText&) const = default;
};

// Reads the text by its grammar. Any text parses: characters outside the grammar end
// their item and reading goes on at the next "/"; numbers that overflow are cut at the
// largest 32-bit value.
CSupportText ParseSupportText(std::string_view text);
