// A re-sort in a given order of so many boxes that they are looked up on several threads,
// against its definition: the list cleared and the boxes inserted anew one by one in that
// order. A box given again goes in once, at its first place, wherever its places fall among
// the threads' pieces; an order with a box not listed, or without one of the listed boxes,
// is refused and the list left untouched.

#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/display_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <random>
#include <vector>

namespace {

// More boxes than three threads' worth of look-ups, in rows that overlap on screen.
constexpr std::size_t kBoxes = 50000;

class CLargeScene {
 public:
  CLargeScene() {
    for (std::size_t i = 0; i < kBoxes; ++i) {
      auto& box = *boxes.emplace_back(std::make_unique<CBox>());
      const C3DPoint at(static_cast<double>(i % 250) * 90.0, static_cast<double>(i / 250) * 90.0,
                        static_cast<double>(i % 7) * 40.0);
      box.SetPlacement(at, 100, 100, 60 + static_cast<int>(i % 50));
      projection.ProjectBox(box);
      projection.InsertInDisplayList(box);
    }
  }
  ~CLargeScene() { projection.ClearDisplayList(); }
  CLargeScene(const CLargeScene&) = delete;
  CLargeScene& operator=(const CLargeScene&) = delete;

  // The boxes in an order of their own, the same for every case.
  std::vector<CBox*> Shuffled() const {
    std::vector<CBox*> order;
    for (const auto& box : boxes) order.push_back(box.get());
    std::shuffle(order.begin(), order.end(), std::mt19937(4));
    return order;
  }

  // The definition: the list built anew in that order, in painting order.
  std::vector<CBox*> BuiltAnew(const std::vector<CBox*>& order) {
    projection.ClearDisplayList();
    for (CBox* box : order) projection.ProjectBox(*box);
    projection.PrepareDisplayList(order);
    for (CBox* box : order) {
      if (!box->IsListed()) projection.InsertInDisplayList(*box);
    }
    return projection.GetDisplayList().CollectBoxes();
  }

  C3DProjection projection;
  std::vector<std::unique_ptr<CBox>> boxes;
};

struct LookupCase {
  const char* name;
  void (*shape)(std::vector<CBox*>& order, CBox& stranger);
  bool refused;
};

const LookupCase kCases[] = {
    {"each box once", [](std::vector<CBox*>&, CBox&) {}, false},
    {"every 97th box again at the end",
     [](std::vector<CBox*>& order, CBox&) {
       for (std::size_t i = 0; i < kBoxes; i += 97) order.push_back(order[i]);
     },
     false},
    {"boxes again in the same piece and in each later one",
     [](std::vector<CBox*>& order, CBox&) {
       for (const std::size_t at : {10u, 20000u, 30000u, 45000u})
         order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), order[at - 5]);
       order.insert(order.begin() + 40000, order[2]);
     },
     false},
    {"the first box given three times",
     [](std::vector<CBox*>& order, CBox&) {
       order.insert(order.begin() + 1, order[0]);
       order.push_back(order[0]);
     },
     false},
    {"a box not listed in the last piece",
     [](std::vector<CBox*>& order, CBox& stranger) { order.insert(order.end() - 3, &stranger); },
     true},
    {"a listed box left out of the middle",
     [](std::vector<CBox*>& order, CBox&) { order.erase(order.begin() + 25000); }, true},
    {"a listed box given in place of another",
     [](std::vector<CBox*>& order, CBox&) { order[33333] = order[11]; }, true},
    {"a null box", [](std::vector<CBox*>& order, CBox&) { order.push_back(nullptr); }, true},
};

TEST(DisplayListResortLookupTest, ALargeOrderSortsAsBuiltAnewOrIsRefusedUntouched) {
  for (const LookupCase& c : kCases) {
    SCOPED_TRACE(c.name);
    CLargeScene scene;
    CBox stranger;
    stranger.SetPlacement({100, 100, 100}, 50, 50, 50);
    scene.projection.ProjectBox(stranger);
    std::vector<CBox*> order = scene.Shuffled();
    c.shape(order, stranger);
    scene.projection.SetViewAngles(40, 70, 5, false, true);
    scene.projection.ProjectDisplayListUnordered();
    const std::vector<CBox*> before = scene.projection.GetDisplayList().CollectBoxes();
    const std::uint64_t changes = scene.projection.GetDisplayList().Changes();
    const std::atomic<bool> never{false};
    if (c.refused) {
      for (const bool stoppable : {false, true}) {
        EXPECT_FALSE(
            scene.projection.ResortDisplayListInOrder(order, stoppable ? &never : nullptr));
        EXPECT_TRUE(scene.projection.GetDisplayList().Unordered());
        EXPECT_EQ(scene.projection.GetDisplayList().CollectBoxes(), before);
        EXPECT_EQ(scene.projection.GetDisplayList().Changes(), changes);
      }
      EXPECT_FALSE(stranger.IsListed());
      continue;
    }
    ASSERT_TRUE(scene.projection.ResortDisplayListInOrder(order, &never));
    EXPECT_FALSE(scene.projection.GetDisplayList().Unordered());
    const std::vector<CBox*> sorted = scene.projection.GetDisplayList().CollectBoxes();
    ASSERT_EQ(sorted.size(), kBoxes);
    EXPECT_EQ(sorted, scene.BuiltAnew(order));
  }
}

}  // namespace
