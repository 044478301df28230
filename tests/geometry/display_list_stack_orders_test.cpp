// Runs stacked at one place, of every height from two runs up, inserted in the orders a
// rebuild, an edit or a paste may bring them and partly taken out again: the list keeps
// exactly the order of the ordering rule applied pairwise, exactly on one another, each
// run a little above the last, and in levels of twins, at views from every side and after
// turns.

#include "reference_display_list.h"
#include "stacked_runs_scene.h"
#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/display_list.h"
#include "geometry/projection_depth_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <random>
#include <vector>

namespace {

enum class Arrival {
  kRunByRun,      // as a rebuild lists them
  kPlaceByPlace,  // the boxes of every run at one place, then the next place
  kTopRunFirst,   // the runs from the last one back
  kShuffled,
};

struct StackOrderCase {
  int angle0;
  int angle1;
  int runs;  // the highest stack
  int elements;
  double rise;  // of each run over the last
  Arrival arrival;
  bool prepared;         // the grid laid out for all the boxes first, as a rebuild does
  int runsPerLevel = 1;  // runs laid exactly on one another before the next rise
};

// Printed field by field: the padding between them holds no value to print.
void PrintTo(const StackOrderCase& c, std::ostream* os) {
  *os << "angles " << c.angle0 << "/" << c.angle1 << ", up to " << c.runs << " runs of "
      << c.elements << ", rise " << c.rise << ", arrival " << static_cast<int>(c.arrival)
      << (c.prepared ? ", prepared" : "") << ", " << c.runsPerLevel << " runs a level";
}

std::vector<CBox*> ArrivalOrder(const CStackedRuns& scene, Arrival arrival) {
  std::vector<CBox*> boxes;
  const int runs = scene.Runs();
  auto addElement = [&](int run, int element) {
    boxes.push_back(scene.Box(run, element, 0));
    boxes.push_back(scene.Box(run, element, 1));
  };
  if (arrival == Arrival::kPlaceByPlace) {
    for (int e = 0; e < scene.Elements(); ++e) {
      for (int r = 0; r < runs; ++r) addElement(r, e);
    }
    return boxes;
  }
  for (int r = 0; r < runs; ++r) {
    const int run = arrival == Arrival::kTopRunFirst ? runs - 1 - r : r;
    for (int e = 0; e < scene.Elements(); ++e) addElement(run, e);
  }
  if (arrival == Arrival::kShuffled) {
    std::mt19937 random(static_cast<unsigned>(runs * 7 + scene.Elements()));
    std::shuffle(boxes.begin(), boxes.end(), random);
  }
  return boxes;
}

// The list inside a projection and the pairwise reference on a copy of the scene, driven
// by the same steps.
class CTwinStacks {
 public:
  CTwinStacks(const StackOrderCase& c, int runs) : m_rules(m_referenceProjection) {
    m_projection.SetViewAngles(c.angle0, c.angle1, 0, false, false);
    m_referenceProjection.SetViewAngles(c.angle0, c.angle1, 0, false, false);
    m_fast = std::make_unique<CStackedRuns>(m_projection, runs, c.elements, c.rise, c.runsPerLevel);
    m_copy = std::make_unique<CStackedRuns>(m_referenceProjection, runs, c.elements, c.rise,
                                            c.runsPerLevel);
    m_reference = std::make_unique<CReferenceDisplayList>(m_rules);
  }

  // The boxes of the scene and of its copy at the same numbers.
  void Insert(const std::vector<std::size_t>& numbers, bool prepared) {
    if (prepared) {
      std::vector<CBox*> boxes;
      for (const std::size_t i : numbers) boxes.push_back(FastBox(i));
      m_projection.PrepareDisplayList(boxes);
    }
    for (const std::size_t i : numbers) {
      m_projection.InsertInDisplayList(*FastBox(i));
      m_reference->Insert(*CopyBox(i));
    }
  }
  void Remove(const std::vector<std::size_t>& numbers) {
    for (const std::size_t i : numbers) {
      m_projection.RemoveFromDisplayList(*FastBox(i));
      m_reference->Remove(*CopyBox(i));
    }
  }
  // A turn of the view re-sorts: the same as inserting the boxes again from the tail.
  void Turn(int angle0, int angle1) {
    m_projection.SetViewAngles(angle0, angle1, 0, true, false);
    m_referenceProjection.SetViewAngles(angle0, angle1, 0, false, false);
    m_reference->ReinsertFromTail([&](CBox& box) { m_referenceProjection.ProjectBox(box); });
  }
  std::vector<std::size_t> FastOrder() const {
    return m_fast->Numbers(m_projection.GetDisplayList().CollectBoxes());
  }
  std::vector<std::size_t> ReferenceOrder() const {
    return m_copy->Numbers(m_reference->CollectBoxes());
  }
  const CStackedRuns& Scene() const { return *m_fast; }

 private:
  CBox* FastBox(std::size_t i) const { return m_fast->Numbered(i); }
  CBox* CopyBox(std::size_t i) const { return m_copy->Numbered(i); }

  // In this order, so that the reference lets the boxes go before the scenes free them,
  // and the scenes clear the lists before the projections go.
  C3DProjection m_projection;
  C3DProjection m_referenceProjection;
  CProjectionDepthRules m_rules;
  std::unique_ptr<CStackedRuns> m_fast;
  std::unique_ptr<CStackedRuns> m_copy;
  std::unique_ptr<CReferenceDisplayList> m_reference;
};

class DisplayListStackOrdersTest : public ::testing::TestWithParam<StackOrderCase> {};

TEST_P(DisplayListStackOrdersTest, EveryStackHeightKeepsThePairwiseOrder) {
  const StackOrderCase c = GetParam();
  for (int runs = 2; runs <= c.runs; ++runs) {
    CTwinStacks twins(c, runs);
    twins.Insert(twins.Scene().Numbers(ArrivalOrder(twins.Scene(), c.arrival)), c.prepared);
    ASSERT_EQ(twins.FastOrder().size(), twins.Scene().Size()) << runs << " runs";
    EXPECT_EQ(twins.FastOrder(), twins.ReferenceOrder()) << runs << " runs";
  }
}

// The middle run taken out whole, and every other box of the run below it; then put back,
// the last taken out first.
TEST_P(DisplayListStackOrdersTest, TakingBoxesOutOfTheMiddleOfAStackKeepsThePairwiseOrder) {
  const StackOrderCase c = GetParam();
  CTwinStacks twins(c, c.runs);
  const CStackedRuns& scene = twins.Scene();
  twins.Insert(scene.Numbers(ArrivalOrder(scene, c.arrival)), c.prepared);
  std::vector<CBox*> out;
  const int middle = c.runs / 2;
  for (int e = 0; e < c.elements; ++e) {
    out.push_back(scene.Box(middle, e, 0));
    out.push_back(scene.Box(middle, e, 1));
    out.push_back(scene.Box(middle - 1, e, e % 2));
  }
  std::vector<std::size_t> numbers = scene.Numbers(out);
  twins.Remove(numbers);
  ASSERT_EQ(twins.FastOrder().size(), scene.Size() - numbers.size());
  EXPECT_EQ(twins.FastOrder(), twins.ReferenceOrder()) << "taken out";
  std::reverse(numbers.begin(), numbers.end());
  twins.Insert(numbers, false);
  ASSERT_EQ(twins.FastOrder().size(), scene.Size());
  EXPECT_EQ(twins.FastOrder(), twins.ReferenceOrder()) << "put back";
}

// Every box at one place of every run taken out (a whole slice of the stack) and put back in
// the order they came, then the view turned and the lowest run taken out: the edges made by
// the re-sort are the ones the removal must undo.
TEST_P(DisplayListStackOrdersTest, TakingASliceOutThenTurningKeepsThePairwiseOrder) {
  const StackOrderCase c = GetParam();
  CTwinStacks twins(c, c.runs);
  const CStackedRuns& scene = twins.Scene();
  const std::vector<CBox*> arrival = ArrivalOrder(scene, c.arrival);
  twins.Insert(scene.Numbers(arrival), c.prepared);
  const int place = c.elements / 2;
  std::vector<CBox*> slice;
  for (CBox* box : arrival) {
    for (int r = 0; r < c.runs; ++r) {
      if (box == scene.Box(r, place, 0) || box == scene.Box(r, place, 1)) slice.push_back(box);
    }
  }
  const std::vector<std::size_t> numbers = scene.Numbers(slice);
  twins.Remove(numbers);
  ASSERT_EQ(twins.FastOrder().size(), scene.Size() - numbers.size());
  EXPECT_EQ(twins.FastOrder(), twins.ReferenceOrder()) << "slice taken out";
  twins.Insert(numbers, false);
  EXPECT_EQ(twins.FastOrder(), twins.ReferenceOrder()) << "slice put back";
  twins.Turn((c.angle0 + 100) % 360, (c.angle1 + 250) % 360);
  ASSERT_EQ(twins.FastOrder().size(), scene.Size());
  EXPECT_EQ(twins.FastOrder(), twins.ReferenceOrder()) << "turned";
  std::vector<CBox*> lowest;
  for (int e = 0; e < c.elements; ++e) {
    lowest.push_back(scene.Box(0, e, 0));
    lowest.push_back(scene.Box(0, e, 1));
  }
  twins.Remove(scene.Numbers(lowest));
  EXPECT_EQ(twins.FastOrder(), twins.ReferenceOrder()) << "lowest run taken out after the turn";
}

INSTANTIATE_TEST_SUITE_P(
    Stacks, DisplayListStackOrdersTest,
    ::testing::Values(StackOrderCase{330, 315, 6, 4, 0.0, Arrival::kRunByRun, true},
                      StackOrderCase{330, 315, 6, 4, 10.0, Arrival::kRunByRun, true},
                      StackOrderCase{30, 45, 6, 4, 0.0, Arrival::kPlaceByPlace, false},
                      StackOrderCase{30, 45, 6, 4, 10.0, Arrival::kTopRunFirst, true},
                      StackOrderCase{300, 200, 5, 5, 0.0, Arrival::kTopRunFirst, false},
                      StackOrderCase{300, 200, 5, 5, 10.0, Arrival::kPlaceByPlace, true},
                      StackOrderCase{0, 0, 5, 4, 10.0, Arrival::kShuffled, false},
                      StackOrderCase{0, 90, 5, 4, 0.0, Arrival::kShuffled, true},
                      StackOrderCase{210, 30, 6, 3, 10.0, Arrival::kRunByRun, false},
                      StackOrderCase{120, 340, 6, 3, 0.0, Arrival::kShuffled, true}));

// Levels of twins: runs exactly on one another within a level, each level a little above
// the last (one run a level: raised runs only). Views and arrivals where the order of
// twins depends on the order in which each box's edges were made, and where an edge that
// adds no reach still decides the order once a box it bypasses is taken out.
INSTANTIATE_TEST_SUITE_P(
    Levels, DisplayListStackOrdersTest,
    ::testing::Values(StackOrderCase{330, 315, 6, 4, 10.0, Arrival::kRunByRun, true, 2},
                      StackOrderCase{30, 45, 6, 4, 10.0, Arrival::kShuffled, false, 3},
                      StackOrderCase{300, 200, 6, 4, 10.0, Arrival::kRunByRun, false, 3},
                      StackOrderCase{300, 200, 6, 4, 10.0, Arrival::kShuffled, true, 2},
                      StackOrderCase{120, 340, 6, 4, 10.0, Arrival::kTopRunFirst, false, 2},
                      StackOrderCase{60, 300, 6, 4, 10.0, Arrival::kTopRunFirst, true, 2},
                      StackOrderCase{120, 340, 6, 4, 10.0, Arrival::kPlaceByPlace, false, 3},
                      StackOrderCase{250, 80, 6, 4, 10.0, Arrival::kShuffled, false, 1},
                      StackOrderCase{0, 90, 5, 4, 10.0, Arrival::kPlaceByPlace, true, 2},
                      StackOrderCase{210, 30, 6, 3, 10.0, Arrival::kTopRunFirst, true, 3}));

}  // namespace
