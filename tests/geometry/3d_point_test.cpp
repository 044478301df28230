#include "geometry/3d_point.h"

#include "platform/archive.h"
#include "support/archive_bytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

C3DPoint ThroughArchive(const C3DPoint& point) {
  C3DPoint loaded(7, 7, 7);
  return ReadBytes(loaded, WrittenBytes(point));
}

TEST(C3DPointTest, DistanceIsTruncated) {
  const struct {
    C3DPoint a, b;
    std::int32_t distance;
  } cases[] = {
      {{0, 0, 0}, {3, 4, 0}, 5},
      {{0, 0, 0}, {1, 1, 1}, 1},
      {{0, 0, 0}, {2.9, 0, 0}, 2},
      {{-1, -1, -1}, {-1, -1, -1}, 0},
      {{0, 0, 0}, {1e12, 0, 0}, std::numeric_limits<std::int32_t>::max()},
      {{0, 0, 0}, {std::nan(""), 0, 0}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.a.DistanceTo(c.b), c.distance);
}

TEST(C3DPointTest, StoredFormIsThreeTruncatedIntegers) {
  EXPECT_EQ(WrittenBytes(C3DPoint(1.9, -1.9, 258.5)),
            (Bytes{0x01, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x01, 0, 0}));
  const C3DPoint once = ThroughArchive({1.9, -1.9, 1e3 + 0.25});
  EXPECT_EQ(once, C3DPoint(1, -1, 1000));
  EXPECT_EQ(ThroughArchive(once), once);  // storing twice changes nothing more
}

TEST(C3DPointTest, OutOfRangeAndNanAreClampedOrZero) {
  const double inf = std::numeric_limits<double>::infinity();
  const C3DPoint loaded = ThroughArchive({1e20, -inf, std::nan("")});
  EXPECT_EQ(loaded.x, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(loaded.y, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(loaded.z, 0.0);
  EXPECT_EQ(ThroughArchive({2147483647.9, -2147483648.9, 0}),
            C3DPoint(2147483647.0, -2147483648.0, 0));
}

TEST(C3DPointTest, TruncatedStreamThrowsAndLeavesPointUnchanged) {
  C3DPoint p(5, 6, 7);
  EXPECT_THROW(ReadBytes(p, Bytes(11, 0)), CArchiveError);
  EXPECT_EQ(p, C3DPoint(5, 6, 7));
}

}  // namespace
