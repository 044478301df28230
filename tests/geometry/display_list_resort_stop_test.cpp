// A re-sort made on a thread of its own that another may call off: done, it is the
// re-sort; called off at any point, the list is given back unordered with the same nodes
// in the same order, and a re-sort then is the re-sort.

#include "resort_scene.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace {

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

// Some boxes listed twice: a box's two nodes must keep their marks.
void AddSecondNodes(CScene& scene) {
  for (std::size_t i = 0; i < scene.boxes.size(); i += 37)
    scene.projection.InsertInDisplayList(*scene.boxes[i]);
}

std::unique_ptr<CScene> CountingScene() {
  auto scene = std::make_unique<CScene>(1, [] { return std::make_unique<CCountingElement>(); });
  AddSecondNodes(*scene);
  return scene;
}

void Arm(long stopAt, bool stopNow) {
  g_kinds.store(0);
  g_stopAt = stopAt;
  g_stop.store(stopNow);
}

constexpr int kTurn[3] = {40, 70, 5};

// The scene turned for a quick picture: projected anew, the order left.
void TurnQuickly(CScene& scene) {
  scene.projection.SetViewAngles(kTurn[0], kTurn[1], kTurn[2], false, true);
  scene.projection.ProjectDisplayListUnordered();
}

// The definition: turned, then every box inserted again from the tail.
std::string TurnedDefinition() {
  CScene definition(1);
  AddSecondNodes(definition);
  definition.projection.SetViewAngles(kTurn[0], kTurn[1], kTurn[2], false, true);
  definition.ResortOneByOne();
  return definition.Describe();
}

TEST(DisplayListResortStopTest, ASortNotCalledOffIsTheReSort) {
  const std::string expected = TurnedDefinition();
  const auto scene = CountingScene();
  ASSERT_GT(scene->projection.GetDisplayList().Size(), 2400u);
  TurnQuickly(*scene);
  Arm(-1, false);
  EXPECT_TRUE(scene->projection.ResortDisplayListUnlessStopped(g_stop));
  EXPECT_FALSE(scene->projection.GetDisplayList().Unordered());
  EXPECT_EQ(scene->Describe(), expected);
}

// Stops at the first look, during the preparation, among the comparisons and after the
// last comparison (the stop then seen between the steps).
TEST(DisplayListResortStopTest, ASortCalledOffGivesTheUnorderedListBack) {
  const std::string expected = TurnedDefinition();
  long calls = 0;
  {
    const auto dry = CountingScene();
    TurnQuickly(*dry);
    Arm(-1, false);
    ASSERT_TRUE(dry->projection.ResortDisplayListUnlessStopped(g_stop));
    calls = g_kinds.load();
    ASSERT_GT(calls, 1000);
  }
  const struct {
    const char* name;
    long stopAt;
    bool stopNow;
  } stops[] = {{"before it starts", -1, true},
               {"at the first element", 1, false},
               {"a quarter in", calls / 4, false},
               {"half way", calls / 2, false},
               {"three quarters in", calls * 3 / 4, false},
               {"at the last call", calls, false}};
  for (const auto& stop : stops) {
    const auto scene = CountingScene();
    TurnQuickly(*scene);
    const std::string unordered = scene->DescribeOrder();
    const std::uint64_t changes = scene->projection.GetDisplayList().Changes();
    Arm(stop.stopAt, stop.stopNow);
    EXPECT_FALSE(scene->projection.ResortDisplayListUnlessStopped(g_stop)) << stop.name;
    EXPECT_TRUE(scene->projection.GetDisplayList().Unordered()) << stop.name;
    EXPECT_EQ(scene->DescribeOrder(), unordered) << stop.name;
    // Called off before it starts, nothing changed; later the nodes went round.
    EXPECT_EQ(scene->projection.GetDisplayList().Changes() == changes, stop.stopNow) << stop.name;
    Arm(-1, false);
    scene->projection.ResortDisplayList();
    EXPECT_EQ(scene->Describe(), expected) << stop.name;
  }
}

// Called off from another thread after a while, at whatever point the sort has reached:
// either the re-sort or the unordered list as it was.
TEST(DisplayListResortStopTest, ASortCalledOffFromAnotherThreadEndsInOneOfTheTwoLists) {
  const std::string expected = TurnedDefinition();
  for (const int microseconds : {0, 100, 500, 1000, 2000, 4000, 8000, 16000, 64000}) {
    SCOPED_TRACE(std::to_string(microseconds) + " us");
    const auto scene = CountingScene();
    TurnQuickly(*scene);
    const std::string unordered = scene->DescribeOrder();
    std::atomic<bool> stop{false};
    std::thread caller([&] {
      std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
      stop.store(true);
    });
    const bool done = scene->projection.ResortDisplayListUnlessStopped(stop);
    caller.join();
    EXPECT_EQ(scene->projection.GetDisplayList().Unordered(), !done);
    if (!done) {
      EXPECT_EQ(scene->DescribeOrder(), unordered);
      scene->projection.ResortDisplayList();
    }
    EXPECT_EQ(scene->Describe(), expected);
  }
}

// Lists the sort leaves alone, changing nothing: one in order, and one too short for the
// threads (Resort inserts its boxes one by one).
TEST(DisplayListResortStopTest, ListsInOrderOrShortAreLeftToResort) {
  CScene ordered(2);
  const std::string before = ordered.Describe();
  const std::uint64_t changes = ordered.projection.GetDisplayList().Changes();
  const std::atomic<bool> never{false};
  EXPECT_FALSE(ordered.projection.ResortDisplayListUnlessStopped(never));
  EXPECT_EQ(ordered.Describe(), before);
  EXPECT_EQ(ordered.projection.GetDisplayList().Changes(), changes);

  C3DProjection projection;
  CBox a, b;
  a.SetPlacement({0, 0, 0}, 100, 100, 100);
  b.SetPlacement({50, 0, 0}, 100, 100, 100);
  for (CBox* box : {&a, &b}) {
    projection.ProjectBox(*box);
    projection.InsertInDisplayList(*box);
  }
  projection.SetViewAngles(10, 20, 0, false, true);
  projection.ProjectDisplayListUnordered();
  EXPECT_FALSE(projection.ResortDisplayListUnlessStopped(never));
  EXPECT_TRUE(projection.GetDisplayList().Unordered());
  projection.ClearDisplayList();
}

}  // namespace
