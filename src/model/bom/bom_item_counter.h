#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/bom/bom_group.h"

// Item numbers of the lines of a bill of materials, line after line: a line outside a
// group takes the next number; each group (1..99) takes, at its first line, a base of
// 100 x the next number and counts its lines on from there.
class CBOMItemCounter {
 public:
  // The item number of the next line.
  std::string Next(const std::string& prefix, const CBOMGroup& group);
  // The same written into item, which a numbering reuses from line to line.
  void Next(const std::string& prefix, const CBOMGroup& group, std::string& item);
  // The number that Next would give, the counter left as it is (the edit line's).
  void Peek(const std::string& prefix, const CBOMGroup& group, std::string& item) const;
  // As a new counter. Only the group slots taken are cleared: a bill renumbers its
  // lines at every refresh, and most bills have no groups.
  void Restart();

 private:
  static constexpr int kGroupSlots = 100;

  static bool IsGrouped(const CBOMGroup& group) {
    return group.number >= 1 && group.number < kGroupSlots;
  }
  // The slot of a grouped line once it is counted.
  std::int64_t SlotAfter(const CBOMGroup& group) const;
  void Advance() {
    ++m_next;
    m_base += 100;
  }

  std::int64_t m_next = 1;
  std::int64_t m_base = 101;
  bool m_grouped = false;  // a slot may be taken
  std::array<std::int64_t, kGroupSlots> m_slots{};
};
