#pragma once

#include <cstdint>

// The packed encodings of a linear line's slots.

// Slot 28 holds two 10-bit check states: bits 0-9 (itself) and bits 10-19 (slot 29's
// quantity). A negative slot 28 (not offered) counts as 0 for both.
constexpr int Slot28Low(std::int32_t slot28) { return slot28 < 0 ? 0 : slot28 & 0x3FF; }
constexpr int Slot28High(std::int32_t slot28) { return slot28 < 0 ? 0 : (slot28 >> 10) & 0x3FF; }
constexpr std::int32_t PackSlot28(int low, int high) {
  return static_cast<std::int32_t>((low & 0x3FF) | ((high & 0x3FF) << 10));
}

// Slot 24: a length or height code in bits 0-7 and a fixing step in tenths of a metre in
// bits 8-15.
constexpr int Slot24Code(std::int32_t slot24) { return slot24 & 0xFF; }
constexpr int Slot24Step(std::int32_t slot24) { return (slot24 >> 8) & 0xFF; }
constexpr std::int32_t WithSlot24Code(std::int32_t slot24, int code) {
  return static_cast<std::int32_t>((slot24 & ~0xFF) | (code & 0xFF));
}

// A tap-off box slot (30..129): bits 0-9 the number of boxes, 10-15 the IP degree, 16-26
// the rating in amperes, 27-28 the group code minus 1, 29-30 the button number.
struct CBoxSlot {
  int quantity = 0;
  int ip = 0;
  int rating = 0;
  int group = 0;   // the group code (1..4); 0 when the slot holds none
  int button = 0;  // 0..3
};

inline constexpr int kMaxBoxQuantity = 1000;
inline constexpr int kMaxBoxRating = 2047;

// Packs a box slot. Every field is held to its bits, so a large value never spills into
// its neighbours: quantity 0..1000, IP 0..63, rating 0..2047, group code 1..4 (stored
// minus 1), button 0..3 (a larger button is stored as 3 with bit 28 set, as readers of
// older files expect).
std::int32_t PackBoxSlot(const CBoxSlot& box);

// The fields of a box slot; a slot below 1 gives all zeros.
CBoxSlot UnpackBoxSlot(std::int32_t slot);
constexpr int BoxQuantity(std::int32_t slot) { return slot < 1 ? 0 : slot & 0x3FF; }
constexpr int BoxIpCode(std::int32_t slot) { return slot < 0 ? 0 : (slot >> 10) & 0x3F; }
