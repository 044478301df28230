// The six face normals of a box worked out together are, bit for bit, those worked out one
// face at a time, whatever rule the box's corners follow: from origin and extents, those
// truncated as a record keeps them, or listed as read.

#include "geometry/box.h"

#include "support/archive_bytes.h"
#include "support/golden_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

bool SameBits(const C3DPoint& a, const C3DPoint& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Empty when every face agrees, else the first face that does not.
std::string FirstDisagreement(const CBox& box) {
  const std::array<C3DPoint, CBox::kFaceCount> together = box.GetCornerNormals();
  for (int face = 0; face < CBox::kFaceCount; ++face) {
    if (!SameBits(together[static_cast<std::size_t>(face)], box.GetCornerNormal(face)))
      return "face " + std::to_string(face);
  }
  return {};
}

// A box read back from the record of one placed so: its corners then follow the rule
// the record allows.
CBox ReadBack(const C3DPoint& origin, std::int32_t e0, std::int32_t e1, std::int32_t e2) {
  CBox placed;
  placed.SetPlacement(origin, e0, e1, e2);
  CBox loaded;
  ReadBytes(loaded, WrittenBytes(placed));
  return loaded;
}

struct PlacementCase {
  const char* name;
  C3DPoint origin;
  std::int32_t e0, e1, e2;
};

const PlacementCase kPlacements[] = {
    {"whole corners", {100, 200, 300}, 10, 20, 30},
    {"half units", {0, 0, 0}, 3, 5, 7},
    {"fractions that round", {0.1, -0.7, 1e-9}, 3, 7, 11},
    {"far out", {-7, 9, -11}, kMax, 1, kMax},
    {"an origin that no longer gives the corners", {1.5, -2.5, 3}, 10, 20, 30},
    {"flat along one axis", {5, 5, 5}, 0, 20, 30},
    {"flat along two axes", {5, 5, 5}, 0, 0, 30},
    {"a point", {5, 5, 5}, 0, 0, 0},
    {"large coordinates", {1e15, -3e14, 7e13}, 1, 1, 1},
    {"not a number", {kNaN, 0, 0}, 10, 10, 10},
    {"infinite", {0, kInf, 0}, 10, 10, 10},
};

TEST(BoxCornerNormalsTest, AllSixAgreeWithOneAtATimeForEveryPlacement) {
  for (const PlacementCase& c : kPlacements) {
    CBox box;
    box.SetPlacement(c.origin, c.e0, c.e1, c.e2);
    EXPECT_EQ(FirstDisagreement(box), "") << c.name << ", as placed";
    EXPECT_EQ(FirstDisagreement(ReadBack(c.origin, c.e0, c.e1, c.e2)), "") << c.name << ", read";
  }
}

TEST(BoxCornerNormalsTest, CornersReadAsListedAgree) {
  CBox box;
  ReadBytes(box, ReadGoldenBytes("geometry/box_stored_corners.hex"));
  EXPECT_EQ(FirstDisagreement(box), "");
  CBox extremes;
  ReadBytes(extremes, ReadGoldenBytes("geometry/box_extremes.hex"));
  EXPECT_EQ(FirstDisagreement(extremes), "");
}

TEST(BoxCornerNormalsTest, RandomBoxesAgree) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> coordinate(-1e6, 1e6);
  std::uniform_int_distribution<std::int32_t> extent(0, 5000);
  for (int i = 0; i < 2000; ++i) {
    const C3DPoint origin(coordinate(random), coordinate(random), coordinate(random));
    // Some extents zero, so that flat faces take their other corners or the axis normal.
    auto some = [&] { return random() % 5 == 0 ? 0 : extent(random); };
    const std::int32_t e0 = some(), e1 = some(), e2 = some();
    CBox box;
    box.SetPlacement(origin, e0, e1, e2);
    ASSERT_EQ(FirstDisagreement(box), "") << "box " << i;
    ASSERT_EQ(FirstDisagreement(ReadBack(origin, e0, e1, e2)), "") << "box " << i << " read";
  }
}

}  // namespace
