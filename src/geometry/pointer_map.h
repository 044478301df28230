#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

// A hash map from pointers to small values with open addressing: clearing it keeps its
// storage, so that a scene rebuilt on every view change allocates nothing. A null key marks
// an empty slot, so it is never a member: it is never found, erasing it changes nothing, and
// its value is a scratch one that the map does not keep.
template <class Key, class Value>
class CPointerMap {
 public:
  Value* Find(const Key* key) {
    if (key == nullptr || m_slots.empty()) return nullptr;
    for (std::size_t i = Home(key);; i = (i + 1) & m_mask) {
      if (m_slots[i].first == key) return &m_slots[i].second;
      if (m_slots[i].first == nullptr) return nullptr;
    }
  }
  const Value* Find(const Key* key) const { return const_cast<CPointerMap*>(this)->Find(key); }

  // The value of the key, default-constructed when new.
  Value& operator[](const Key* key) {
    if (key == nullptr) return m_scratch = Value();
    if ((m_size + 1) * 4 > m_slots.size() * 3) Grow();
    std::size_t i = Home(key);
    while (m_slots[i].first != nullptr && m_slots[i].first != key) i = (i + 1) & m_mask;
    if (m_slots[i].first == nullptr) {
      m_slots[i] = {key, Value()};
      ++m_size;
    }
    return m_slots[i].second;
  }

  void Erase(const Key* key) {
    if (key == nullptr || m_slots.empty()) return;
    std::size_t i = Home(key);
    while (m_slots[i].first != key) {
      if (m_slots[i].first == nullptr) return;
      i = (i + 1) & m_mask;
    }
    // Backward-shift deletion: pull later entries of the run into the hole.
    for (std::size_t j = (i + 1) & m_mask; m_slots[j].first != nullptr; j = (j + 1) & m_mask) {
      const std::size_t home = Home(m_slots[j].first);
      if (((j - home) & m_mask) >= ((j - i) & m_mask)) {
        m_slots[i] = m_slots[j];
        i = j;
      }
    }
    m_slots[i] = {nullptr, Value()};
    --m_size;
  }

  // Room for that many keys in all without growing on the way.
  void Reserve(std::size_t count) {
    while (count * 4 > m_slots.size() * 3) Grow();
  }

  // The slot where the key's search begins, null in an empty map: a caller filing many keys
  // in a table larger than the cache prefetches the slots of the next few first. (The
  // prefetch is the caller's own statement: GCC takes a function that only prefetches for
  // one without effect and drops the calls to it.)
  const void* HomeSlot(const Key* key) const {
    return m_slots.empty() ? nullptr : &m_slots[Home(key)];
  }

  void Clear() {
    for (auto& slot : m_slots) slot = {nullptr, Value()};
    m_size = 0;
  }
  std::size_t Size() const { return m_size; }

 private:
  std::size_t Home(const Key* key) const {
    // Fibonacci hashing of the address; the low bits of heap pointers carry little.
    return static_cast<std::size_t>(
               (reinterpret_cast<std::uintptr_t>(key) * 0x9E3779B97F4A7C15ull) >> 20) &
           m_mask;
  }

  void Grow() {
    std::vector<std::pair<const Key*, Value>> old = std::move(m_slots);
    m_slots.assign(old.empty() ? 64 : old.size() * 2, {nullptr, Value()});
    m_mask = m_slots.size() - 1;
    // The keys are distinct and the new table has room for all: each goes to the first
    // empty slot from its home, with no look for itself and no check for room.
    for (auto& slot : old) {
      if (slot.first == nullptr) continue;
      std::size_t i = Home(slot.first);
      while (m_slots[i].first != nullptr) i = (i + 1) & m_mask;
      m_slots[i] = std::move(slot);
    }
  }

  std::vector<std::pair<const Key*, Value>> m_slots;
  std::size_t m_mask = 0;
  std::size_t m_size = 0;
  Value m_scratch{};
};
