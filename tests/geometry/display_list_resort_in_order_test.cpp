// A re-sort in a given order (worked out ahead on several threads) against its definition:
// the list cleared, every box projected, the list laid out for them, and the boxes inserted
// one by one in that order, each once, as a scene built anew in that order. Same painting
// order, same edges in the same order, same face nibbles.

#include "resort_scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct OrderCase {
  const char* name;
  EBoxOrder order;
  unsigned seed;
};

std::vector<CBox*> OrderOf(const CScene& scene, const OrderCase& c) {
  return BoxesInOrder(scene, c.order, c.seed, 300);
}

// The definition: the scene turned, then built anew in that order.
std::string BuiltAnew(unsigned seed, const int turn[3], const OrderCase& c) {
  CScene scene(seed);
  const std::vector<CBox*> order = OrderOf(scene, c);
  scene.projection.SetViewAngles(turn[0], turn[1], turn[2], false, true);
  scene.projection.ClearDisplayList();
  for (CBox* box : order) scene.projection.ProjectBox(*box);
  scene.projection.PrepareDisplayList(order);
  for (CBox* box : order) {
    if (!box->IsListed()) scene.projection.InsertInDisplayList(*box);
  }
  return scene.Describe();
}

const OrderCase kOrders[] = {
    {"as created", EBoxOrder::kAsCreated, 0}, {"reversed", EBoxOrder::kReversed, 0},
    {"shuffled", EBoxOrder::kShuffled, 5},    {"shuffled otherwise", EBoxOrder::kShuffled, 9},
    {"some twice", EBoxOrder::kTwiceSome, 3}, {"in list order", EBoxOrder::kListOrder, 0},
};
const int kTurns[][3] = {{40, 70, 5}, {180, 0, 0}, {3, 1, 5}, {-1, 2, 0}};

TEST(DisplayListResortInOrderTest, AnUnorderedListSortsAsBuiltAnewInThatOrder) {
  for (const OrderCase& c : kOrders) {
    for (const auto& turn : kTurns) {
      SCOPED_TRACE(std::string(c.name) + ", turned by " + std::to_string(turn[0]));
      const unsigned seed = 1 + static_cast<unsigned>(&turn - kTurns) % 3;
      const std::string expected = BuiltAnew(seed, turn, c);
      for (const bool stoppable : {false, true}) {
        CScene scene(seed);
        ASSERT_GT(scene.projection.GetDisplayList().Size(), 2400u);
        const std::vector<CBox*> order = OrderOf(scene, c);
        scene.projection.SetViewAngles(turn[0], turn[1], turn[2], false, true);
        scene.projection.ProjectDisplayListUnordered();
        const std::atomic<bool> never{false};
        EXPECT_TRUE(scene.projection.ResortDisplayListInOrder(order, stoppable ? &never : nullptr));
        EXPECT_FALSE(scene.projection.GetDisplayList().Unordered());
        EXPECT_EQ(scene.Describe(), expected) << (stoppable ? "stoppable" : "not stoppable");
      }
    }
  }
}

// Without a stop flag a list in order is sorted as well (a scene turned and settled).
TEST(DisplayListResortInOrderTest, AListInOrderSortsAsBuiltAnewWithoutAStopFlag) {
  for (const OrderCase& c : kOrders) {
    SCOPED_TRACE(c.name);
    const std::string expected = BuiltAnew(2, kTurns[0], c);
    CScene scene(2);
    const std::vector<CBox*> order = OrderOf(scene, c);
    scene.projection.SetViewAngles(kTurns[0][0], kTurns[0][1], kTurns[0][2], true, true);
    const std::string resorted = scene.Describe();
    const std::atomic<bool> never{false};
    EXPECT_FALSE(scene.projection.ResortDisplayListInOrder(order, &never)) << "in order already";
    EXPECT_EQ(scene.Describe(), resorted);
    EXPECT_TRUE(scene.projection.ResortDisplayListInOrder(order, nullptr));
    EXPECT_EQ(scene.Describe(), expected);
  }
}

struct RefusalCase {
  const char* name;
  void (*spoil)(CScene& scene, std::vector<CBox*>& order, CBox& stranger);
};

// Orders and lists that are not the same set of boxes, each once, are refused untouched.
TEST(DisplayListResortInOrderTest, OtherBoxesOrBoxesListedTwiceAreRefusedUntouched) {
  const RefusalCase cases[] = {
      {"a listed box left out",
       [](CScene&, std::vector<CBox*>& order, CBox&) { order.erase(order.begin() + 1234); }},
      {"a box left out at each end",
       [](CScene&, std::vector<CBox*>& order, CBox&) {
         order.erase(order.begin());
         order.pop_back();
       }},
      {"a box not listed", [](CScene&, std::vector<CBox*>& order,
                              CBox& stranger) { order.insert(order.begin() + 50, &stranger); }},
      {"a box not listed instead of a listed one",
       [](CScene&, std::vector<CBox*>& order, CBox& stranger) { order[700] = &stranger; }},
      {"a null box", [](CScene&, std::vector<CBox*>& order, CBox&) { order.push_back(nullptr); }},
      {"nothing", [](CScene&, std::vector<CBox*>& order, CBox&) { order.clear(); }},
      {"a box listed twice",
       [](CScene& scene, std::vector<CBox*>&, CBox&) {
         scene.projection.SetViewAngles(0, 0, 0, true, true);
         scene.projection.InsertInDisplayList(*scene.boxes[10]);
         scene.projection.ProjectDisplayListUnordered();
       }},
  };
  for (const RefusalCase& c : cases) {
    CScene scene(3);
    CBox stranger;
    stranger.SetPlacement({100, 100, 100}, 50, 50, 50);
    scene.projection.ProjectBox(stranger);
    std::vector<CBox*> order = OrderOf(scene, kOrders[2]);
    scene.projection.SetViewAngles(25, 35, 0, false, true);
    scene.projection.ProjectDisplayListUnordered();
    c.spoil(scene, order, stranger);
    const std::string before = scene.DescribeOrder();
    const std::uint64_t changes = scene.projection.GetDisplayList().Changes();
    for (const bool stoppable : {false, true}) {
      const std::atomic<bool> never{false};
      EXPECT_FALSE(scene.projection.ResortDisplayListInOrder(order, stoppable ? &never : nullptr))
          << c.name;
      EXPECT_TRUE(scene.projection.GetDisplayList().Unordered()) << c.name;
      EXPECT_EQ(scene.DescribeOrder(), before) << c.name;
      EXPECT_EQ(scene.projection.GetDisplayList().Changes(), changes) << c.name;
    }
    EXPECT_FALSE(stranger.IsListed()) << c.name;
  }
}

// A short list is left to a sort without a stop flag, which inserts its boxes anew one by
// one in that order.
TEST(DisplayListResortInOrderTest, AShortListIsBuiltAnewOneByOneWithoutAStopFlag) {
  C3DProjection projection;
  CBox a, b, c;
  a.SetPlacement({0, 0, 0}, 100, 100, 100);
  b.SetPlacement({50, 0, 0}, 100, 100, 100);
  c.SetPlacement({0, 60, 40}, 100, 100, 100);
  for (CBox* box : {&a, &b, &c}) {
    projection.ProjectBox(*box);
    projection.InsertInDisplayList(*box);
  }
  projection.SetViewAngles(10, 20, 0, false, true);
  projection.ProjectDisplayListUnordered();
  const std::atomic<bool> never{false};
  const std::vector<CBox*> before = projection.GetDisplayList().CollectBoxes();
  CBox* const order[] = {&c, &b, &a, &b};
  EXPECT_FALSE(projection.ResortDisplayListInOrder(order, &never));
  EXPECT_EQ(projection.GetDisplayList().CollectBoxes(), before);
  EXPECT_TRUE(projection.ResortDisplayListInOrder(order, nullptr));
  EXPECT_FALSE(projection.GetDisplayList().Unordered());
  const std::vector<CBox*> sorted = projection.GetDisplayList().CollectBoxes();
  projection.ClearDisplayList();
  for (CBox* box : {&c, &b, &a}) projection.InsertInDisplayList(*box);
  EXPECT_EQ(sorted, projection.GetDisplayList().CollectBoxes());
  projection.ClearDisplayList();
}

// Called off from another thread, at whatever point it reached: either the list built
// anew in that order, or the unordered list as it was, which a sort without a stop then
// makes the list built anew.
TEST(DisplayListResortInOrderTest, ASortCalledOffEndsInOneOfTheTwoLists) {
  const OrderCase& c = kOrders[2];
  const std::string expected = BuiltAnew(1, kTurns[0], c);
  int stopped = 0;
  for (const int microseconds : {0, 50, 200, 500, 1000, 2000, 4000, 8000, 64000}) {
    SCOPED_TRACE(std::to_string(microseconds) + " us");
    CScene scene(1);
    const std::vector<CBox*> order = OrderOf(scene, c);
    scene.projection.SetViewAngles(kTurns[0][0], kTurns[0][1], kTurns[0][2], false, true);
    scene.projection.ProjectDisplayListUnordered();
    const std::string unordered = scene.DescribeOrder();
    std::atomic<bool> stop{microseconds == 0};
    std::thread caller([&] {
      std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
      stop.store(true);
    });
    const bool done = scene.projection.ResortDisplayListInOrder(order, &stop);
    caller.join();
    EXPECT_EQ(scene.projection.GetDisplayList().Unordered(), !done);
    if (!done) {
      ++stopped;
      EXPECT_EQ(scene.DescribeOrder(), unordered);
      EXPECT_TRUE(scene.projection.ResortDisplayListInOrder(order, nullptr));
    }
    EXPECT_EQ(scene.Describe(), expected);
  }
  EXPECT_GE(stopped, 1) << "stopped before it starts at least";
}

// Boxes whose faces the preparation of their element's body closes: the direction boxes of
// the first elements past the first of each chain.
std::vector<CBox*> JointBoxes(const CScene& scene) {
  std::vector<CBox*> boxes;
  for (std::size_t k = 1; k < 12; ++k) {
    const CFakeElement& element = *scene.elements[k];
    if (element.kind != 0) boxes.push_back(element.boxes[element.direction]);
  }
  return boxes;
}

void TakeOutAndPutBack(C3DProjection& projection, const std::vector<CBox*>& boxes) {
  for (CBox* box : boxes) projection.RemoveFromDisplayList(*box);
  for (CBox* box : boxes) projection.InsertInDisplayList(*box);
}

struct BetweenCase {
  const char* name;
  void (*change)(CScene& scene, const std::vector<CBox*>& order);
};

// A view turned again is sorted in the same order as the turn before, which finds each box's
// node without looking it up while the list keeps the same boxes with the same nodes; whatever
// happened in between, the second sort gives the list built anew in that order.
TEST(DisplayListResortInOrderTest, ASecondSortInTheSameOrderSortsAsBuiltAnewWhateverCameBetween) {
  const BetweenCase cases[] = {
      {"nothing", [](CScene&, const std::vector<CBox*>&) {}},
      {"boxes taken out and put back",
       [](CScene& scene, const std::vector<CBox*>&) {
         TakeOutAndPutBack(scene.projection, JointBoxes(scene));
       }},
      {"boxes listed twice, then once again",
       [](CScene& scene, const std::vector<CBox*>&) {
         for (CBox* box : JointBoxes(scene)) scene.projection.InsertInDisplayList(*box);
         TakeOutAndPutBack(scene.projection, JointBoxes(scene));
       }},
      {"a coinciding box riding, its head taken out and put back",
       [](CScene& scene, const std::vector<CBox*>&) {
         CBox& free = **std::find_if(scene.boxes.begin(), scene.boxes.end(),
                                     [](const auto& box) { return box->GetOwner() == nullptr; });
         CBox twin;
         twin.SetPlacement(free.GetOrigin(), free.GetExtent(0), free.GetExtent(1),
                           free.GetExtent(2));
         scene.projection.ProjectBox(twin);
         scene.projection.InsertInDisplayList(twin);
         ASSERT_EQ(scene.projection.GetDisplayList().Size(), scene.boxes.size() + 1);
         scene.projection.RemoveFromDisplayList(free);
         scene.projection.InsertInDisplayList(free);
         scene.projection.RemoveFromDisplayList(twin);
       }},
      {"sorted in its own order",
       [](CScene& scene, const std::vector<CBox*>&) { scene.projection.ResortDisplayList(); }},
      {"sorted in another order",
       [](CScene& scene, const std::vector<CBox*>& order) {
         const std::vector<CBox*> reversed(order.rbegin(), order.rend());
         ASSERT_TRUE(scene.projection.ResortDisplayListInOrder(reversed, nullptr));
       }},
      {"a sort called off",
       [](CScene& scene, const std::vector<CBox*>& order) {
         scene.projection.SetViewAngles(0, 0, 0, false, true);
         scene.projection.ProjectDisplayListUnordered();
         const std::atomic<bool> stop{true};
         ASSERT_FALSE(scene.projection.ResortDisplayListInOrder(order, &stop));
       }},
      {"cleared and built anew in another order",
       [](CScene& scene, const std::vector<CBox*>& order) {
         scene.projection.ClearDisplayList();
         for (auto it = order.rbegin(); it != order.rend(); ++it)
           scene.projection.InsertInDisplayList(**it);
       }},
      {"swapped out, boxes taken out and put back there, swapped in",
       [](CScene& scene, const std::vector<CBox*>&) {
         C3DProjection other;
         scene.projection.SwapDisplayList(other);
         TakeOutAndPutBack(other, JointBoxes(scene));
         scene.projection.SwapDisplayList(other);
       }},
  };
  const OrderCase& c = kOrders[2];
  // Turned by the first, then by the second: as built anew turned by both.
  const int* first = kTurns[2];
  const int* second = kTurns[0];
  const int both[3] = {first[0] + second[0], first[1] + second[1], first[2] + second[2]};
  const std::string expected = BuiltAnew(1, both, c);
  for (const BetweenCase& between : cases) {
    for (const bool stoppable : {false, true}) {
      SCOPED_TRACE(std::string(between.name) + (stoppable ? ", stoppable" : ""));
      CScene scene(1);
      const std::vector<CBox*> order = OrderOf(scene, c);
      scene.projection.SetViewAngles(first[0], first[1], first[2], false, true);
      scene.projection.ProjectDisplayListUnordered();
      ASSERT_TRUE(scene.projection.ResortDisplayListInOrder(order, nullptr));
      between.change(scene, order);
      scene.projection.SetViewAngles(second[0], second[1], second[2], false, true);
      scene.projection.ProjectDisplayListUnordered();
      const std::atomic<bool> never{false};
      EXPECT_TRUE(scene.projection.ResortDisplayListInOrder(order, stoppable ? &never : nullptr));
      EXPECT_TRUE(scene.Describe() == expected) << "not the list built anew";
    }
  }
}

// The listed nodes in painting order with their edges, and the attributes of the listed
// boxes: boxes taken out keep whatever their last projection left.
std::string DescribeListed(const CScene& scene) {
  std::ostringstream out;
  for (const CDisplayNode* n = scene.projection.GetDisplayList().Head(); n != nullptr;
       n = n->next) {
    out << scene.ids.at(n->box) << "[";
    for (const CDisplayNode* t : CDisplayList::EdgeTargets(*n)) out << scene.ids.at(t->box) << ",";
    out << "]" << std::hex << n->box->GetAttributes() << std::dec << " ";
  }
  return out.str();
}

struct TakenOutCase {
  const char* name;
  int stopAfterMicroseconds;  // -1: never stopped
  std::size_t every;          // every so many boxes of the order are taken out
  std::size_t first;
};

// After a sort called off at whatever point, boxes taken out of the unordered list, and the
// rest sorted in the order without them: the list built anew of the rest in that order. A
// node kept from before the stop (an edge, a place in the former grid) would show in the
// edges, or fail the removal.
TEST(DisplayListResortInOrderTest, BoxesTakenOutAfterASortCalledOffSortAsBuiltAnewWithout) {
  const TakenOutCase cases[] = {
      {"never stopped, every 7th out", -1, 7, 3},
      {"stopped at once, every 5th out", 0, 5, 0},
      {"stopped soon, every 3rd out", 100, 3, 1},
      {"stopped later, every 11th out", 700, 11, 4},
      {"stopped late, the first out", 3000, 100000, 0},
      {"stopped very late, every other out", 20000, 2, 1},
  };
  const OrderCase& c = kOrders[2];
  for (const TakenOutCase& t : cases) {
    SCOPED_TRACE(t.name);
    CScene scene(2);
    const std::vector<CBox*> order = OrderOf(scene, c);
    std::vector<CBox*> kept, out;
    for (std::size_t i = 0; i < order.size(); ++i)
      (i % t.every == t.first ? out : kept).push_back(order[i]);
    const int* turn = kTurns[0];
    scene.projection.SetViewAngles(turn[0], turn[1], turn[2], false, false);
    scene.projection.ProjectDisplayListUnordered();
    std::atomic<bool> stop{t.stopAfterMicroseconds == 0};
    std::thread caller([&] {
      if (t.stopAfterMicroseconds <= 0) return;
      std::this_thread::sleep_for(std::chrono::microseconds(t.stopAfterMicroseconds));
      stop.store(true);
    });
    const bool done = scene.projection.ResortDisplayListInOrder(order, &stop);
    caller.join();
    EXPECT_TRUE(done || t.stopAfterMicroseconds >= 0);
    // A sorted list is turned again, to the same view, so that it is unordered as well.
    if (done) {
      scene.projection.SetViewAngles(turn[0], turn[1], turn[2], false, false);
      scene.projection.ProjectDisplayListUnordered();
    }
    for (CBox* box : out) scene.projection.RemoveFromDisplayList(*box);
    ASSERT_TRUE(scene.projection.ResortDisplayListInOrder(kept, nullptr));

    CScene anew(2);
    std::vector<CBox*> keptAnew;
    for (CBox* box : kept) keptAnew.push_back(anew.boxes[scene.ids.at(box)].get());
    anew.projection.SetViewAngles(turn[0], turn[1], turn[2], false, false);
    anew.projection.ClearDisplayList();
    for (CBox* box : keptAnew) anew.projection.ProjectBox(*box);
    anew.projection.PrepareDisplayList(keptAnew);
    for (CBox* box : keptAnew) anew.projection.InsertInDisplayList(*box);
    EXPECT_EQ(DescribeListed(scene), DescribeListed(anew));
    EXPECT_EQ(scene.projection.GetDisplayList().Size(), kept.size());
  }
}

}  // namespace
