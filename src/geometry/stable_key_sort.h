#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// Items sorted by a number of their own, the least first, stably: the order std::stable_sort
// gives with `<` on the numbers (-0 and +0 equal), which must not be NaN. A moving view
// orders every box it draws by depth each frame on the windows' thread: a few passes over
// the items cost it less than the comparisons of a merge sort.
namespace stable_key_sort {

// The number's bits turned so that they compare as unsigned integers as the numbers do.
inline std::uint64_t OrderedBits(double number) {
  if (number == 0.0) number = 0.0;  // -0 sorts with +0
  const auto bits = std::bit_cast<std::uint64_t>(number);
  constexpr std::uint64_t kSign = std::uint64_t{1} << 63;
  return (bits & kSign) != 0 ? ~bits : bits | kSign;
}

}  // namespace stable_key_sort

template <class T>
void SortStablyByKey(std::vector<std::pair<double, T>>& items) {
  constexpr std::size_t kFewItems = 64;
  if (items.size() <= kFewItems) {
    std::stable_sort(items.begin(), items.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return;
  }
  // Least significant byte first: each pass keeps the order of the one before among equal
  // bytes. A byte all the items share (the sign and most of the exponent of nearby depths)
  // needs no pass.
  std::vector<std::pair<std::uint64_t, std::size_t>> keyed(items.size()), spare(items.size());
  for (std::size_t i = 0; i < items.size(); ++i)
    keyed[i] = {stable_key_sort::OrderedBits(items[i].first), i};
  for (int shift = 0; shift < 64; shift += 8) {
    std::array<std::size_t, 257> start{};
    for (const auto& [bits, index] : keyed) ++start[((bits >> shift) & 0xFF) + 1];
    if (std::find(start.begin(), start.end(), keyed.size()) != start.end()) continue;
    for (std::size_t b = 1; b < start.size(); ++b) start[b] += start[b - 1];
    for (const auto& entry : keyed) spare[start[(entry.first >> shift) & 0xFF]++] = entry;
    keyed.swap(spare);
  }
  std::vector<std::pair<double, T>> sorted;
  sorted.reserve(items.size());
  for (const auto& [bits, index] : keyed) sorted.push_back(std::move(items[index]));
  items = std::move(sorted);
}
