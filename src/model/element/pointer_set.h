#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A set of addresses held in one flat table (open addressing), for walks that visit tens
// of thousands of objects and only ask whether one was met before: no allocation per
// member, and clearing keeps the table for the next walk.
class CPointerSet {
 public:
  // True when the address was not a member yet. Null is never a member.
  bool Insert(const void* member) {
    if (member == nullptr) return false;
    if (2 * (m_count + 1) > m_slots.size()) Grow();
    for (std::size_t at = SlotOf(member);; at = (at + 1) & (m_slots.size() - 1)) {
      if (m_slots[at] == member) return false;
      if (m_slots[at] == nullptr) {
        m_slots[at] = member;
        ++m_count;
        return true;
      }
    }
  }
  bool Contains(const void* member) const {
    if (member == nullptr || m_count == 0) return false;
    for (std::size_t at = SlotOf(member);; at = (at + 1) & (m_slots.size() - 1)) {
      if (m_slots[at] == member) return true;
      if (m_slots[at] == nullptr) return false;
    }
  }
  std::size_t Size() const { return m_count; }
  void Clear() {
    if (m_count == 0) return;
    for (const void*& slot : m_slots) slot = nullptr;
    m_count = 0;
  }

 private:
  std::size_t SlotOf(const void* member) const {
    // Addresses are aligned and close together: mix the bits before taking the low ones.
    auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(member));
    bits ^= bits >> 33;
    bits *= 0xFF51AFD7ED558CCDull;
    bits ^= bits >> 33;
    return static_cast<std::size_t>(bits) & (m_slots.size() - 1);
  }
  void Grow() {
    std::vector<const void*> old(m_slots.empty() ? 32 : 2 * m_slots.size(), nullptr);
    old.swap(m_slots);
    m_count = 0;
    for (const void* member : old)
      if (member != nullptr) Insert(member);
  }

  std::vector<const void*> m_slots;  // a power of two in size, at most half full
  std::size_t m_count = 0;
};
