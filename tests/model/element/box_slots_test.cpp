// The element's box slots against a plain array of 25 slots: the same boxes by slot, in
// slot order, whatever order they were put, replaced or taken in.

#include "model/element/box_slots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/element/compact_text.h"
#include "model/element/dev.h"

namespace {

// An operation: put a new box in the slot (true) or take the slot's box out (false).
struct Step {
  int slot;
  bool put;
};

struct Case {
  const char* name;
  std::vector<Step> steps;
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"body alone", {{6, true}}},
      {"faces after the body", {{6, true}, {0, true}, {5, true}, {3, true}}},
      {"last and first slots", {{24, true}, {0, true}, {12, true}}},
      {"replaced in place", {{6, true}, {7, true}, {6, true}}},
      {"taken from the middle", {{2, true}, {6, true}, {9, true}, {6, false}}},
      {"every slot, then all taken",
       [] {
         std::vector<Step> steps;
         for (int slot = 24; slot >= 0; --slot) steps.push_back({slot, true});
         for (int slot = 0; slot < 25; slot += 2) steps.push_back({slot, false});
         for (int slot = 1; slot < 25; slot += 2) steps.push_back({slot, false});
         return steps;
       }()},
      {"empty slot taken", {{4, false}, {4, true}, {4, false}, {4, false}}},
      {"out of range", {{-1, true}, {25, true}, {31, true}, {3, true}}},
      // From one box held alone to two in an array and back, each way round.
      {"second box before the first, then the first taken",
       {{6, true}, {2, true}, {6, false}, {2, true}, {2, false}, {9, true}}},
      {"second box after the first, then the second taken",
       {{2, true}, {6, true}, {6, false}, {2, false}, {2, false}, {0, true}}},
      {"random",
       [] {
         std::vector<Step> steps;
         std::uint32_t state = 12345;
         for (int i = 0; i < 400; ++i) {
           state = state * 1103515245u + 12345u;
           const int slot = static_cast<int>(state >> 16) % 7 * 4;  // crowded on few slots
           steps.push_back({slot, (state >> 8 & 3u) != 0});
         }
         return steps;
       }()},
  };
  return cases;
}

// The slots as a plain array of them holds them: by slot, and in slot order when iterated.
void ExpectHolds(const CBoxSlots& slots, const std::array<CBox*, CBoxSlots::kSlotCount>& expected) {
  std::vector<CBox*> inOrder;
  for (int slot = 0; slot < CBoxSlots::kSlotCount; ++slot) {
    CBox* box = expected[static_cast<std::size_t>(slot)];
    EXPECT_EQ(slots.Get(slot), box) << slot;
    EXPECT_EQ(slots[static_cast<std::size_t>(slot)].get(), box) << slot;
    if (box == nullptr) continue;
    inOrder.push_back(box);
    EXPECT_EQ(slots.SlotOf(*box), slot);
  }
  std::vector<CBox*> iterated;
  for (const std::unique_ptr<CBox>& box : slots) iterated.push_back(box.get());
  EXPECT_EQ(iterated, inOrder);
}

TEST(BoxSlotsTest, HoldsWhatAPlainArrayOfSlotsHolds) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    CBoxSlots slots;
    std::array<CBox*, CBoxSlots::kSlotCount> expected{};
    std::vector<std::unique_ptr<CBox>> keep;  // the boxes given back stay alive to compare
    for (const Step& step : c.steps) {
      const bool inRange = step.slot >= 0 && step.slot < CBoxSlots::kSlotCount;
      auto box = step.put ? std::make_unique<CBox>() : nullptr;
      CBox* raw = box.get();
      std::unique_ptr<CBox> old = slots.Put(step.slot, std::move(box));
      if (!inRange) {
        EXPECT_EQ(old.get(), raw);  // refused: given back
        continue;
      }
      EXPECT_EQ(old.get(), expected[static_cast<std::size_t>(step.slot)]);
      expected[static_cast<std::size_t>(step.slot)] = raw;
      keep.push_back(std::move(old));
      ExpectHolds(slots, expected);
      for (const std::unique_ptr<CBox>& gone : keep) {
        if (gone) {
          EXPECT_EQ(slots.SlotOf(*gone), CBoxSlots::kSlotCount);
        }
      }
    }
    ExpectHolds(slots, expected);
    EXPECT_EQ(slots.Get(-1), nullptr);
    EXPECT_EQ(slots.Get(CBoxSlots::kSlotCount), nullptr);
    EXPECT_EQ(slots[100].get(), nullptr);
  }
}

// Whether boxes remain from a slot on, as a scan of the plain array from that slot says,
// at every step and for slots before, inside and past the range.
TEST(BoxSlotsTest, KnowsWhetherAnySlotFromOneOnHoldsABox) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    CBoxSlots slots;
    std::array<bool, CBoxSlots::kSlotCount> filled{};
    for (const Step& step : c.steps) {
      slots.Put(step.slot, step.put ? std::make_unique<CBox>() : nullptr);
      if (step.slot >= 0 && step.slot < CBoxSlots::kSlotCount)
        filled[static_cast<std::size_t>(step.slot)] = step.put;
      for (int from = -2; from <= CBoxSlots::kSlotCount + 1; ++from) {
        bool any = false;
        for (int slot = std::max(from, 0); slot < CBoxSlots::kSlotCount; ++slot)
          any = any || filled[static_cast<std::size_t>(slot)];
        EXPECT_EQ(slots.AnyFilledFrom(from), any) << "from " << from;
      }
    }
  }
}

// The element answers which slot holds a box as the owner's scan of every slot does, for
// its own boxes and for a box it does not hold.
TEST(BoxSlotsTest, AnElementFindsTheSlotOfABoxAsAScanOfItsSlots) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    CDev element;
    const CBox foreign;
    for (const Step& step : c.steps) {
      if (step.put) element.MakeBox(step.slot);
      else element.DeleteBox(step.slot);
      for (int slot = 0; slot < CBoxSlots::kSlotCount; ++slot) {
        if (const CBox* box = element.GetBox(slot)) {
          EXPECT_EQ(element.GetBoxSlot(*box), element.CBoxOwner::GetBoxSlot(*box));
        }
      }
      EXPECT_EQ(element.GetBoxSlot(foreign), element.CBoxOwner::GetBoxSlot(foreign));
    }
  }
}

TEST(CompactTextTest, KeepsTextsAndCopiesThem) {
  for (const std::string& text :
       std::vector<std::string>{"", "A", "QDA 25 ", std::string(100, 'x')}) {
    SCOPED_TRACE(text);
    CCompactText compact;
    compact = text;
    EXPECT_EQ(compact.str(), text);
    EXPECT_EQ(compact.size(), text.size());
    EXPECT_EQ(compact.empty(), text.empty());
    EXPECT_TRUE(compact == text);
    CCompactText copy(compact);
    compact = std::string("changed");
    EXPECT_EQ(copy.str(), text);  // the copy is its own
    copy = compact;
    EXPECT_EQ(copy.str(), "changed");
    copy = std::string();
    EXPECT_TRUE(copy.empty());
  }
}

}  // namespace
