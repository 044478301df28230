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

 private:
  static constexpr int kGroupSlots = 100;

  void Advance() {
    ++m_next;
    m_base += 100;
  }

  std::int64_t m_next = 1;
  std::int64_t m_base = 101;
  std::array<std::int64_t, kGroupSlots> m_slots{};
};
