#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A map from the boxes of one display list to small values, in a flat array in which each
// box notes its own place (CBox::GetListSlot): a look-up reads the box and one entry
// instead of searching a hash table, and boxes that go in one after the other stand side
// by side. Places freed by Erase are given out again; Clear keeps the storage.
//
// A box is in one list at a time, as its one in-list bit says: a box that goes into a
// second map is no longer found in the first. A box whose place holds another box (a copy
// of a listed box, or a box listed elsewhere) is not a member.
template <class Box, class Value>
class CListedBoxMap {
 public:
  Value* Find(const Box* box) {
    if (box == nullptr) return nullptr;
    const std::uint32_t slot = box->GetListSlot();
    if (slot >= m_entries.size() || m_entries[slot].box != box) return nullptr;
    return &m_entries[slot].value;
  }
  const Value* Find(const Box* box) const { return const_cast<CListedBoxMap*>(this)->Find(box); }

  // The value of the box, default-constructed when new. A null box is never a member: its
  // value is a scratch one that the map does not keep.
  Value& operator[](Box* box) {
    if (box == nullptr) return m_scratch = Value();
    if (Value* found = Find(box)) return *found;
    std::uint32_t slot;
    if (!m_free.empty()) {
      slot = m_free.back();
      m_free.pop_back();
    } else {
      slot = static_cast<std::uint32_t>(m_entries.size());
      m_entries.emplace_back();
    }
    m_entries[slot] = {box, Value()};
    box->SetListSlot(slot);
    ++m_size;
    return m_entries[slot].value;
  }

  void Erase(const Box* box) {
    if (Find(box) == nullptr) return;
    const std::uint32_t slot = box->GetListSlot();
    m_entries[slot] = {nullptr, Value()};
    m_free.push_back(slot);
    --m_size;
  }

  // Calls set(value) for every box's value (and for freed places' left-over values): one
  // sweep over the array, no box read.
  template <class Set>
  void SetEveryValue(Set&& set) {
    for (Entry& entry : m_entries) set(entry.value);
  }

  void Clear() {
    m_entries.clear();
    m_free.clear();
    m_size = 0;
  }
  std::size_t Size() const { return m_size; }

 private:
  struct Entry {
    const Box* box = nullptr;
    Value value{};
  };

  std::vector<Entry> m_entries;
  std::vector<std::uint32_t> m_free;
  std::size_t m_size = 0;
  Value m_scratch{};
};
