// The sort of scattered items by distinct keys on several threads against std::sort: the
// same order, however the keys lie and however many items (one thread or several).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <numeric>
#include <random>
#include <span>
#include <vector>

#include "geometry/parallel_key_sort.h"

namespace {

struct CItem {
  std::int64_t key = 0;
};

std::vector<std::int64_t> Shuffled(std::vector<std::int64_t> keys) {
  std::mt19937 random(static_cast<unsigned>(keys.size()) + 17u);
  std::shuffle(keys.begin(), keys.end(), random);
  return keys;
}

std::vector<std::int64_t> Spaced(std::size_t count, std::int64_t first, std::int64_t step) {
  std::vector<std::int64_t> keys(count);
  for (std::size_t k = 0; k < count; ++k) keys[k] = first + static_cast<std::int64_t>(k) * step;
  return keys;
}

TEST(ParallelKeySortTest, OrdersAsStdSortOfTheKeys) {
  // Most keys packed in a narrow range and a few far off, as order keys stand after many
  // insertions between two neighbours: the sample's buckets come out uneven.
  std::vector<std::int64_t> packed = Spaced(90000, 1000, 1);
  for (std::int64_t k = 0; k < 40; ++k) packed.push_back((k - 20) * (std::int64_t{1} << 50));
  const struct {
    const char* name;
    std::vector<std::int64_t> keys;
  } rows[] = {
      {"none", {}},
      {"one", {5}},
      {"a few of both signs", {3, -7, 12, 0, -1}},
      {"many, shuffled", Shuffled(Spaced(100000, -5000000, 97))},
      {"many, in order", Spaced(70000, 0, std::int64_t{1} << 32)},
      {"many, in reverse order", Spaced(70000, 1 << 20, -3)},
      {"many packed, a few far off, shuffled", Shuffled(packed)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<CItem> items(row.keys.size());
    std::vector<CItem*> pointers;
    for (std::size_t k = 0; k < items.size(); ++k) {
      items[k].key = row.keys[k];
      pointers.push_back(&items[k]);
    }
    std::vector<const CItem*> sorted;
    SortByDistinctKeyOnThreads(
        std::span<CItem* const>(pointers), [](const CItem& item) { return item.key; }, sorted);
    std::vector<std::int64_t> expected = row.keys;
    std::sort(expected.begin(), expected.end());
    std::vector<std::int64_t> got;
    for (const CItem* item : sorted) got.push_back(item->key);
    EXPECT_EQ(got, expected);
  }
}

}  // namespace
