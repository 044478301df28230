#include "geometry/3d_point.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct StoredIntCase {
  double value;
  std::int32_t stored;
  const char* guards;
};

// Values in the range are truncated by a plain cast, the rest clamped: the rows stand on
// both sides of each end of the range.
TEST(C3DPointTest, StoredIntTruncatesTowardZeroAndClampsAtTheEnds) {
  const StoredIntCase cases[] = {
      {0.9, 0, "a fraction goes toward zero"},
      {-0.9, 0, "a negative fraction goes toward zero, not down"},
      {-7.5, -7, "a negative value goes toward zero"},
      {2147483646.5, 2147483646, "just below the top is cut, not rounded"},
      {2147483647.0, kMax, "the top itself"},
      {2147483647.9, kMax, "above the top by a fraction: a cast would overflow"},
      {3e9, kMax, "far above the top"},
      {kInfinity, kMax, "infinity"},
      {-2147483647.5, -2147483647, "just above the bottom"},
      {-2147483648.0, kMin, "the bottom itself"},
      {-2147483648.7, kMin, "below the bottom by a fraction, which truncates to it"},
      {-3e9, kMin, "far below the bottom"},
      {-kInfinity, kMin, "minus infinity"},
      {std::numeric_limits<double>::quiet_NaN(), 0, "not a number"},
  };
  for (const StoredIntCase& c : cases)
    EXPECT_EQ(C3DPoint::ToStoredInt(c.value), c.stored) << c.guards;
}

}  // namespace
