#pragma once

#include "geometry/box.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>

// The boxes of an element by slot number. An element fills few of its slots (most often
// the body box alone) and a document holds tens of thousands of elements, so only the
// filled slots take room, in slot order, and a single box is held without an array.
// Iterating gives the filled slots' boxes in slot order, each non-null.
class CBoxSlots {
 public:
  static constexpr int kSlotCount = 25;
  static_assert(kSlotCount <= 32, "one bit a slot");

  CBoxSlots() = default;
  CBoxSlots(const CBoxSlots&) = delete;
  CBoxSlots& operator=(const CBoxSlots&) = delete;
  ~CBoxSlots();

  // The box of the slot; null when the slot is empty or out of range.
  CBox* Get(int slot) const {
    if (!IsFilled(slot)) return nullptr;
    return HoldsArray() ? m_store.many[IndexOf(slot)].get() : m_store.one.get();
  }
  // The slot's box as an owning pointer, a null one when empty or out of range.
  const std::unique_ptr<CBox>& operator[](std::size_t slot) const;
  // Every slot number, so that a loop by index sees them all.
  std::size_t size() const { return kSlotCount; }
  const std::unique_ptr<CBox>* begin() const { return Data(); }
  const std::unique_ptr<CBox>* end() const { return Data() + Count(); }

  // Whether any slot from this one (0 or more) to the last holds a box.
  bool AnyFilledFrom(int slot) const {
    return slot < kSlotCount && (m_filled >> std::max(slot, 0)) != 0;
  }

  // The slot holding the box; kSlotCount when none does.
  int SlotOf(const CBox& box) const;

  // Stores the box in the slot (a null box empties it) and gives back the one that was
  // there; a slot out of range takes nothing and gives the box back.
  std::unique_ptr<CBox> Put(int slot, std::unique_ptr<CBox> box);
  std::unique_ptr<CBox> Take(int slot) { return Put(slot, nullptr); }

 private:
  bool IsFilled(int slot) const {
    return slot >= 0 && slot < kSlotCount && (m_filled >> slot & 1u) != 0;
  }
  // The place of a slot among the filled ones before it.
  std::size_t IndexOf(int slot) const {
    return static_cast<std::size_t>(std::popcount(m_filled & ((1u << slot) - 1u)));
  }
  std::size_t Count() const { return static_cast<std::size_t>(std::popcount(m_filled)); }
  // More than one bit set, told without counting them: most elements hold one box, and
  // asking for it is the commonest question an element is asked.
  bool HoldsArray() const { return (m_filled & (m_filled - 1u)) != 0; }
  std::unique_ptr<CBox>* Data() { return HoldsArray() ? m_store.many : &m_store.one; }
  const std::unique_ptr<CBox>* Data() const { return HoldsArray() ? m_store.many : &m_store.one; }
  void Resize(int slot, bool fill);
  // Frees the array, if any: the single place is in use again, empty.
  void DropArray();

  // Up to one filled slot: `one` (null when none); more: `many`, an array of Count().
  union Store {
    Store() : one() {}
    ~Store() {}
    std::unique_ptr<CBox> one;
    std::unique_ptr<CBox>* many;
  } m_store;
  std::uint32_t m_filled = 0;
};
