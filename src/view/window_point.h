#pragma once

#include <cstdint>

// A point of the window (logical) plane: two 32-bit integers. Projected model points
// become window points by truncation toward zero, never by rounding.
struct CWindowPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;

  bool operator==(const CWindowPoint& other) const = default;
};
