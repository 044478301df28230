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
  // Digits of 11 bits, the least significant first: each pass keeps the order of the one
  // before among equal digits. The counts of every digit are taken in one pass; a digit all
  // the items share (the sign and most of the exponent of nearby depths) needs no pass.
  constexpr int kDigitBits = 11;
  constexpr int kDigits = (64 + kDigitBits - 1) / kDigitBits;
  constexpr std::size_t kValues = std::size_t{1} << kDigitBits;
  const auto digit = [](std::uint64_t bits, int d) {
    return static_cast<std::size_t>((bits >> (d * kDigitBits)) & (kValues - 1));
  };
  std::vector<std::pair<std::uint64_t, std::size_t>> keyed(items.size()), spare(items.size());
  std::vector<std::array<std::size_t, kValues>> counts(kDigits);
  for (auto& count : counts) count.fill(0);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::uint64_t bits = stable_key_sort::OrderedBits(items[i].first);
    keyed[i] = {bits, i};
    for (int d = 0; d < kDigits; ++d) ++counts[static_cast<std::size_t>(d)][digit(bits, d)];
  }
  for (int d = 0; d < kDigits; ++d) {
    std::array<std::size_t, kValues>& start = counts[static_cast<std::size_t>(d)];
    if (start[digit(keyed.front().first, d)] == keyed.size()) continue;
    std::size_t sum = 0;
    for (std::size_t& at : start) sum += std::exchange(at, sum);
    for (const auto& entry : keyed) spare[start[digit(entry.first, d)]++] = entry;
    keyed.swap(spare);
  }
  std::vector<std::pair<double, T>> sorted;
  sorted.reserve(items.size());
  for (const auto& [bits, index] : keyed) sorted.push_back(std::move(items[index]));
  items = std::move(sorted);
}
