// A re-sort of a long list holding boxes that coincide with others, worked out on several
// threads, against its definition: every box inserted again from the tail (or, for a given
// order, in that order into an emptied list). Same riders, same painting order, same edges.

#include "resort_scene.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace {

std::size_t RiderCount(const CScene& scene) {
  std::size_t riders = 0;
  for (const CDisplayNode* n = scene.projection.GetDisplayList().Head(); n != nullptr; n = n->next)
    riders += n->head != nullptr ? 1 : 0;
  return riders;
}

enum class EResort { kAfterTurn, kUnordered, kInOrder };

struct RiderCase {
  const char* name;
  EResort resort;
  unsigned seed;
  int turn[3];
};

const RiderCase kCases[] = {
    {"after a turn", EResort::kAfterTurn, 1, {40, 70, 5}},
    {"after a turn, face on", EResort::kAfterTurn, 2, {0, 0, 0}},
    {"after a turn, from below", EResort::kAfterTurn, 3, {200, 300, 10}},
    {"unordered", EResort::kUnordered, 1, {3, 1, 5}},
    {"unordered, turned half round", EResort::kUnordered, 2, {180, 0, 0}},
    {"in a shuffled order", EResort::kInOrder, 1, {40, 70, 5}},
    {"in reverse order", EResort::kInOrder, 3, {-1, 2, 0}},
};

std::vector<CBox*> OrderOf(const CScene& scene, const RiderCase& c) {
  return BoxesInOrder(
      scene,
      c.resort == EResort::kInOrder && c.seed == 3 ? EBoxOrder::kReversed : EBoxOrder::kShuffled,
      c.seed, 0);
}

// The definition, one box at a time.
std::string Defined(const RiderCase& c, std::size_t& riders) {
  const auto scene = SceneWithCopies(c.seed);
  scene->projection.SetViewAngles(c.turn[0], c.turn[1], c.turn[2], false, true);
  if (c.resort != EResort::kInOrder) {
    scene->ResortOneByOne();
  } else {
    const std::vector<CBox*> order = OrderOf(*scene, c);
    scene->projection.ClearDisplayList();
    for (CBox* box : order) scene->projection.ProjectBox(*box);
    scene->projection.PrepareDisplayList(order);
    for (CBox* box : order) {
      if (!box->IsListed()) scene->projection.InsertInDisplayList(*box);
    }
  }
  riders = RiderCount(*scene);
  return scene->Describe();
}

TEST(DisplayListResortRidersTest, CoincidingBoxesSortOnSeveralThreadsAsOneByOne) {
  for (const RiderCase& c : kCases) {
    SCOPED_TRACE(c.name);
    std::size_t definedRiders = 0;
    const std::string expected = Defined(c, definedRiders);
    const auto scene = SceneWithCopies(c.seed);
    ASSERT_GT(scene->projection.GetDisplayList().Size(), 2400u);
    ASSERT_GT(RiderCount(*scene), 100u);
    std::atomic<bool> stop{false};
    switch (c.resort) {
      case EResort::kAfterTurn:
        scene->projection.SetViewAngles(c.turn[0], c.turn[1], c.turn[2], true, true);
        break;
      case EResort::kUnordered:
        // Done only on several threads: false would mean one box at a time.
        scene->projection.SetViewAngles(c.turn[0], c.turn[1], c.turn[2], false, true);
        scene->projection.ProjectDisplayListUnordered();
        EXPECT_TRUE(scene->projection.ResortDisplayListUnlessStopped(stop));
        break;
      case EResort::kInOrder: {
        scene->projection.SetViewAngles(c.turn[0], c.turn[1], c.turn[2], false, true);
        scene->projection.ProjectDisplayListUnordered();
        const std::vector<CBox*> order = OrderOf(*scene, c);
        EXPECT_TRUE(scene->projection.ResortDisplayListInOrder(order, &stop));
        break;
      }
    }
    EXPECT_GT(definedRiders, 100u);
    EXPECT_EQ(RiderCount(*scene), definedRiders);
    EXPECT_EQ(scene->Describe(), expected);
    EXPECT_TRUE(KeptWalkIsTheList(scene->projection.GetDisplayList()));
  }
}

// Calls to GetKind, made by the preparation and the comparisons of a re-sort; the stop
// flag is set at the call numbered g_stopAt.
std::atomic<bool> g_stop{false};
std::atomic<long> g_kinds{0};
long g_stopAt = -1;

class CCountingElement : public CFakeElement {
 public:
  int GetKind() const override {
    if (g_kinds.fetch_add(1) + 1 == g_stopAt) g_stop.store(true);
    return CFakeElement::GetKind();
  }
};

std::unique_ptr<CScene> CountingSceneTurned() {
  auto scene = SceneWithCopies(1, [] { return std::make_unique<CCountingElement>(); });
  scene->projection.SetViewAngles(40, 70, 5, false, true);
  scene->projection.ProjectDisplayListUnordered();
  g_kinds.store(0);
  g_stop.store(false);
  return scene;
}

// Called off on the way, the list is given back unordered with its riders as they were; a
// re-sort then is the re-sort.
TEST(DisplayListResortRidersTest, ASortCalledOffKeepsItsRiders) {
  std::size_t definedRiders = 0;
  const RiderCase turned{"", EResort::kAfterTurn, 1, {40, 70, 5}};
  const std::string expected = Defined(turned, definedRiders);
  long calls = 0;
  {
    const auto dry = CountingSceneTurned();
    g_stopAt = -1;
    ASSERT_TRUE(dry->projection.ResortDisplayListUnlessStopped(g_stop));
    calls = g_kinds.load();
    ASSERT_GT(calls, 1000);
  }
  for (const long stopAt : {calls / 4, calls / 2, calls * 3 / 4, calls}) {
    SCOPED_TRACE(stopAt);
    const auto scene = CountingSceneTurned();
    const std::string unordered = scene->DescribeOrder();
    const std::size_t riders = RiderCount(*scene);
    g_stopAt = stopAt;
    EXPECT_FALSE(scene->projection.ResortDisplayListUnlessStopped(g_stop));
    EXPECT_EQ(scene->DescribeOrder(), unordered);
    EXPECT_EQ(RiderCount(*scene), riders);
    g_stopAt = -1;
    g_stop.store(false);
    scene->projection.ResortDisplayList();
    EXPECT_EQ(scene->Describe(), expected);
    EXPECT_EQ(RiderCount(*scene), definedRiders);
  }
}

}  // namespace
