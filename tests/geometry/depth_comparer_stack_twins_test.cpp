// A comparer that has just compared a box of a stack answers for a twin of it (the same
// origin and extents) from memory only when the twin's corners, world and projected, are
// the same to the last bit: a twin projected by another view, or one moved onto the stack
// without being projected again (it still shows where it was), is compared afresh.

#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/depth_comparer.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

enum class Twin {
  kSameView,       // projected as the first one: answered from memory
  kOtherView,      // projected by a projection turned elsewhere
  kHeldElsewhere,  // projected at another place, then moved onto the stack
};

struct TwinCase {
  int angle0;
  int angle1;
  Twin twin;
};

void PrintTo(const TwinCase& c, std::ostream* os) {
  *os << "angles " << c.angle0 << "/" << c.angle1 << ", twin " << static_cast<int>(c.twin);
}

const C3DPoint kStack(600.0, 90.0, 0.0);

class DepthComparerStackTwinsTest : public ::testing::TestWithParam<TwinCase> {};

TEST_P(DepthComparerStackTwinsTest, ATwinIsAnsweredAsAFreshComparisonWould) {
  const TwinCase c = GetParam();
  C3DProjection projection, turned;
  projection.SetViewAngles(c.angle0, c.angle1, 0, false, false);
  turned.SetViewAngles(c.angle0 + 90, c.angle1 + 45, 0, false, false);
  CBox front, first, twin;
  front.SetPlacement(C3DPoint(0, 0, 0), 220, 900, 220);
  first.SetPlacement(kStack, 220, 900, 220);
  for (CBox* box : {&front, &first}) {
    projection.ProjectBox(*box);
    projection.UpdateFaceVisibility(*box);
  }
  switch (c.twin) {
    case Twin::kSameView:
      twin.SetPlacement(kStack, 220, 900, 220);
      projection.ProjectBox(twin);
      break;
    case Twin::kOtherView:
      twin.SetPlacement(kStack, 220, 900, 220);
      turned.ProjectBox(twin);
      break;
    case Twin::kHeldElsewhere:
      // On the other side of the front box, where it still overlaps it on screen.
      twin.SetPlacement(C3DPoint(-600.0, -90.0, 0.0), 220, 900, 220);
      projection.ProjectBox(twin);
      twin.SetPlacement(kStack, 220, 900, 220);
      break;
  }
  twin.SetAttributes(first.GetAttributes());
  const int firstAnswer = CompareDepth(projection, front, first, 0, 0);
  const int twinAnswer = CompareDepth(projection, front, twin, 0, 0);
  ASSERT_NE(firstAnswer, 0) << "the boxes overlap on screen";
  if (c.twin == Twin::kHeldElsewhere) {
    ASSERT_NE(twinAnswer, 0) << "where it was, it overlaps the front box too";
  }
  EXPECT_EQ(twinAnswer == firstAnswer, c.twin == Twin::kSameView);

  CDepthComparer comparer(projection);
  EXPECT_EQ(comparer.Compare(front, first, 0, 0), firstAnswer);
  EXPECT_EQ(comparer.Compare(front, twin, 0, 0), twinAnswer);
}

INSTANTIATE_TEST_SUITE_P(
    Views, DepthComparerStackTwinsTest,
    ::testing::Values(TwinCase{330, 315, Twin::kSameView}, TwinCase{330, 315, Twin::kOtherView},
                      TwinCase{330, 315, Twin::kHeldElsewhere}, TwinCase{30, 45, Twin::kSameView},
                      TwinCase{30, 45, Twin::kOtherView}, TwinCase{30, 45, Twin::kHeldElsewhere}));

}  // namespace
