#pragma once

#include <algorithm>
#include <cstdint>

// A 64-bit intermediate held to the range of a 32-bit integer.
inline std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}
