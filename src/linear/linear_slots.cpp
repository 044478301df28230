#include "linear/linear_slots.h"

#include <algorithm>

std::int32_t PackBoxSlot(const CBoxSlot& box) {
  const std::uint32_t quantity =
      static_cast<std::uint32_t>(std::clamp(box.quantity, 0, kMaxBoxQuantity));
  const std::uint32_t ip = static_cast<std::uint32_t>(std::clamp(box.ip, 0, 63));
  const std::uint32_t rating = static_cast<std::uint32_t>(std::clamp(box.rating, 0, kMaxBoxRating));
  const std::uint32_t group = static_cast<std::uint32_t>(std::clamp(box.group - 1, 0, 3));
  std::uint32_t value = quantity | (ip << 10) | (rating << 16) | (group << 27);
  if (box.button > 3) value |= (3u << 29) | (1u << 28);
  else value |= static_cast<std::uint32_t>(std::max(box.button, 0)) << 29;
  return static_cast<std::int32_t>(value);
}

CBoxSlot UnpackBoxSlot(std::int32_t slot) {
  CBoxSlot box;
  if (slot < 1) return box;
  const std::uint32_t value = static_cast<std::uint32_t>(slot);
  box.quantity = static_cast<int>(value & 0x3FF);
  box.ip = static_cast<int>((value >> 10) & 0x3F);
  box.rating = static_cast<int>((value >> 16) & 0x7FF);
  box.group = static_cast<int>((value >> 27) & 0x3) + 1;
  box.button = static_cast<int>((value >> 29) & 0x3);
  return box;
}
