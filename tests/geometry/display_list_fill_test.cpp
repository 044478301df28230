// An empty list filled with many boxes in one call (worked out on several threads) against
// the same boxes inserted one at a time in that order: the same nodes in the same order,
// the same edges in the same order, the same riders, keys and stamps, the same face
// nibbles, still filled by keys; and a group of boxes replaced afterwards by its keys as in
// a list filled one at a time.

#include "resort_scene.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct FillCase {
  const char* name;
  bool copies;  // boxes coinciding with others, which ride with them
  bool keyed;
  EBoxOrder order;
  unsigned seed;
  int turn[3];
};

const FillCase kCases[] = {
    {"keyed, as created", false, true, EBoxOrder::kAsCreated, 1, {0, 0, 0}},
    {"keyed, owners shuffled together", false, true, EBoxOrder::kShuffled, 2, {40, 70, 5}},
    {"keyed, riding copies", true, true, EBoxOrder::kAsCreated, 3, {330, 315, 0}},
    {"keyed, riding copies, reversed", true, true, EBoxOrder::kReversed, 1, {180, 0, 0}},
    {"keyed, riding copies, shuffled", true, true, EBoxOrder::kShuffled, 2, {3, 1, 5}},
    {"without keys, riding copies", true, false, EBoxOrder::kShuffled, 3, {90, 0, 0}},
    {"keyed, some boxes twice", true, true, EBoxOrder::kTwiceSome, 4, {40, 70, 5}},
};

std::unique_ptr<CScene> SceneOf(const FillCase& c) {
  return c.copies ? SceneWithCopies(c.seed) : std::make_unique<CScene>(c.seed);
}

// Increasing, in groups of 200 as a scene's runs are.
std::vector<std::uint64_t> KeysOf(std::size_t count) {
  std::vector<std::uint64_t> keys;
  for (std::size_t k = 0; k < count; ++k) keys.push_back(((k / 200) << 32) | (k % 200));
  return keys;
}

// Emptied, turned, and filled with the first count boxes of the order (all of them
// projected): in one call, or one at a time (the first alone, then the others into a list
// no longer empty).
void Fill(CScene& scene, const FillCase& c, std::span<CBox* const> order, std::size_t count,
          bool inOneCall) {
  C3DProjection& projection = scene.projection;
  projection.ClearDisplayList();
  projection.SetViewAngles(c.turn[0], c.turn[1], c.turn[2], false, false);
  for (CBox* box : order) projection.ProjectBox(*box);
  projection.PrepareDisplayList(order);
  const std::vector<std::uint64_t> keys = c.keyed ? KeysOf(count) : std::vector<std::uint64_t>();
  const std::span<const std::uint64_t> all(keys);
  if (inOneCall) return projection.InsertUnlistedInDisplayList(order.first(count), all);
  const std::size_t first = keys.empty() ? 0 : 1;
  projection.InsertUnlistedInDisplayList(order.first(1), all.first(first));
  projection.InsertUnlistedInDisplayList(order.subspan(1, count - 1), all.subspan(first));
}

void Fill(CScene& scene, const FillCase& c, std::span<CBox* const> order, bool inOneCall) {
  Fill(scene, c, order, order.size(), inOneCall);
}

// Everything the list holds, node by node, and the boxes' attributes.
std::string DescribeFilled(const CScene& scene) {
  const CDisplayList& list = scene.projection.GetDisplayList();
  std::ostringstream out;
  out << (list.Keyed() ? "keyed" : "not keyed") << ", " << list.Size() << " nodes\n";
  for (const CDisplayNode* n = list.Head(); n != nullptr; n = n->next) {
    out << scene.ids.at(n->box) << ((n->flags & 2) ? "'" : "") << " head "
        << (n->head != nullptr ? std::to_string(scene.ids.at(n->head->box)) : "-") << " riders "
        << n->riders << std::hex << " key " << n->key << " stamp " << n->stamp << std::dec << " [";
    for (const CDisplayNode* t : CDisplayList::EdgeTargets(*n))
      out << scene.ids.at(t->box) << ((t->flags & 2) ? "'" : "") << ",";
    out << "]\n";
  }
  for (const auto& box : scene.boxes) out << std::hex << box->GetAttributes() << " ";
  return out.str();
}

std::size_t Riders(const CDisplayList& list) {
  std::size_t riders = 0;
  for (const CDisplayNode* n = list.Head(); n != nullptr; n = n->next)
    riders += n->head != nullptr ? 1 : 0;
  return riders;
}

// The scene's boxes, or the first 1500 of them: fewer than a re-sort on threads needs.
std::vector<CBox*> OrderOf(const CScene& scene, const FillCase& c, bool fewer) {
  std::vector<CBox*> order = BoxesInOrder(scene, c.order, c.seed, 100);
  if (fewer) order.resize(1500);
  return order;
}

TEST(DisplayListFillTest, AnEmptyListFilledInOneCallIsTheListFilledOneBoxAtATime) {
  for (const FillCase& c : kCases) {
    for (const bool fewer : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (fewer ? ", 1500 boxes" : ""));
      const auto byOne = SceneOf(c);
      const std::vector<CBox*> orderByOne = OrderOf(*byOne, c, fewer);
      Fill(*byOne, c, orderByOne, false);
      const auto inOneCall = SceneOf(c);
      const std::vector<CBox*> order = OrderOf(*inOneCall, c, fewer);
      ASSERT_GT(order.size(), fewer ? 1024u : 2400u);
      Fill(*inOneCall, c, order, true);
      const CDisplayList& list = inOneCall->projection.GetDisplayList();
      const std::string expected = DescribeFilled(*byOne);
      EXPECT_EQ(DescribeFilled(*inOneCall), expected);
      EXPECT_TRUE(fewer || (Riders(list) > 100) == c.copies) << "copies ride, nothing else";
      EXPECT_TRUE(list.Keyed() || !c.keyed);
      // The walk the threads leave for the first picture, when they made the list.
      EXPECT_TRUE(KeptWalkIsTheList(list) || c.order == EBoxOrder::kTwiceSome);
      // Filled again, with the nodes the clear freed as they were left.
      Fill(*inOneCall, c, order, true);
      EXPECT_EQ(DescribeFilled(*inOneCall), expected) << "filled again";
    }
  }
}

// A list filled in one call takes further boxes one at a time as a list filled one at a
// time does: its nodes, screen cells and order keys serve the insertions that follow.
TEST(DisplayListFillTest, AListFilledInOneCallTakesFurtherBoxesAsOneFilledOneByOne) {
  for (const FillCase& c : {kCases[1], kCases[4], kCases[5]}) {
    SCOPED_TRACE(c.name);
    std::string described[2];
    for (const bool inOneCall : {false, true}) {
      const auto scene = SceneOf(c);
      const std::vector<CBox*> order = BoxesInOrder(*scene, c.order, c.seed, 0);
      const std::size_t first = order.size() * 4 / 5;
      ASSERT_GT(first, 2048u);
      Fill(*scene, c, order, first, inOneCall);
      const std::vector<std::uint64_t> keys = KeysOf(order.size());
      for (std::size_t k = first; k < order.size(); ++k) {
        if (!c.keyed) {
          scene->projection.InsertInDisplayList(*order[k]);
          continue;
        }
        const std::span<CBox* const> box(&order[k], 1);
        scene->projection.InsertUnlistedInDisplayList(box, std::span(&keys[k], 1));
      }
      described[inOneCall ? 1 : 0] = DescribeFilled(*scene);
    }
    EXPECT_EQ(described[1], described[0]);
  }
}

// Walks the boxes of the order after a key, as the document walks its runs' boxes.
CDisplayList::CKeyedWalk WalkOf(const std::vector<CBox*>& order,
                                const std::vector<std::uint64_t>& keys) {
  return [&order, &keys](std::uint64_t after, const std::function<bool(CBox*)>& visit) {
    for (std::size_t k = 0; k < order.size(); ++k) {
      if (keys[k] > after && !visit(order[k])) return;
    }
  };
}

// One group of keys taken out, moved a little and put back by its keys, as a run rebuilt.
std::string ReplaceGroup(const FillCase& c, std::uint64_t group, bool inOneCall) {
  const auto scene = SceneOf(c);
  const std::vector<CBox*> order = BoxesInOrder(*scene, c.order, c.seed, 0);
  Fill(*scene, c, order, inOneCall);
  const std::vector<std::uint64_t> keys = KeysOf(order.size());
  std::vector<CBox*> boxes;
  std::vector<std::uint64_t> boxKeys;
  for (std::size_t k = 0; k < order.size(); ++k) {
    if (keys[k] >> 32 != group) continue;
    boxes.push_back(order[k]);
    boxKeys.push_back(keys[k]);
  }
  C3DProjection& projection = scene->projection;
  std::vector<CBox*> met;
  EXPECT_TRUE(projection.ListedBoxesMeeting(boxes, met, order.size()));
  for (CBox* box : boxes) projection.RemoveFromDisplayList(*box);
  for (CBox* box : boxes) {
    box->SetPlacement(box->GetOrigin() + C3DPoint(60, -40, 25), box->GetExtent(0),
                      box->GetExtent(1), box->GetExtent(2));
    projection.ProjectBox(*box);
  }
  EXPECT_TRUE(projection.ReplaceKeyedGroup(boxes, boxKeys, met, order.size(), WalkOf(order, keys)));
  return DescribeFilled(*scene);
}

TEST(DisplayListFillTest, AGroupReplacedByKeysAfterAFillInOneCallIsReplacedAsAfterOneByOne) {
  struct ReplaceCase {
    const char* name;
    const FillCase& fill;
    std::uint64_t group;
  };
  const ReplaceCase cases[] = {
      {"the first group", kCases[0], 0},
      {"a middle group among shuffled owners", kCases[1], 5},
      {"a group with riders", kCases[2], 7},
      {"a late group, reversed", kCases[3], 12},
  };
  for (const ReplaceCase& r : cases) {
    SCOPED_TRACE(r.name);
    const std::string expected = ReplaceGroup(r.fill, r.group, false);
    ASSERT_EQ(expected.rfind("keyed,", 0), 0u) << "still filled by keys";
    EXPECT_EQ(ReplaceGroup(r.fill, r.group, true), expected);
  }
}

}  // namespace
