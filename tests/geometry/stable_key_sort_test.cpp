// The by-key sort of the light picture's depth order against std::stable_sort: the same
// items in the same order, ties included, whatever the numbers and however many.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "geometry/stable_key_sort.h"

namespace {

using Items = std::vector<std::pair<double, int>>;

// The items numbered in their first order, so that the order of ties shows.
Items Numbered(const std::vector<double>& keys) {
  Items items;
  for (std::size_t i = 0; i < keys.size(); ++i) items.emplace_back(keys[i], static_cast<int>(i));
  return items;
}

std::vector<double> Drawn(std::size_t count, const std::function<double(std::mt19937&)>& draw) {
  std::mt19937 random(static_cast<unsigned>(count) * 7919u + 1u);
  std::vector<double> keys(count);
  for (double& key : keys) key = draw(random);
  return keys;
}

TEST(StableKeySortTest, OrdersAsTheStableSortOfTheKeys) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const auto few = [](std::mt19937& r) { return static_cast<double>(r() % 5) - 2.0; };
  const auto depths = [](std::mt19937& r) {
    return 1e5 + static_cast<double>(r() % 100000) * 0.25;
  };
  const auto spread = [](std::mt19937& r) {
    return std::ldexp(static_cast<double>(r() % 1000) - 500.0, static_cast<int>(r() % 80) - 40);
  };
  const auto zeros = [](std::mt19937& r) { return r() % 2 == 0 ? 0.0 : -0.0; };
  const struct {
    const char* name;
    std::vector<double> keys;
  } rows[] = {
      {"none", {}},
      {"one", {3.5}},
      {"a few, ties among them", {2, 1, 2, -1, 1, 2}},
      {"a few of each sign of zero", {0.0, -0.0, 1.0, -0.0, 0.0, -1.0}},
      {"many of five values: the ties keep their order", Drawn(5000, few)},
      {"many near depths of one sign", Drawn(20000, depths)},
      {"many over a wide range of both signs", Drawn(20000, spread)},
      {"many of each sign of zero", Drawn(3000, zeros)},
      {"already in order",
       [] {
         std::vector<double> keys(1000);
         for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = static_cast<double>(i) - 400.0;
         return keys;
       }()},
      {"in reverse order",
       [] {
         std::vector<double> keys(1000);
         for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = 600.0 - static_cast<double>(i);
         return keys;
       }()},
      {"infinities and the largest numbers",
       [] {
         std::vector<double> keys;
         for (int i = 0; i < 100; ++i) {
           keys.push_back(i % 3 == 0 ? kInf : i % 3 == 1 ? -kInf : 0.0);
           keys.push_back(i % 2 == 0 ? std::numeric_limits<double>::max()
                                     : std::numeric_limits<double>::lowest());
           keys.push_back(std::numeric_limits<double>::denorm_min() * (i % 4 - 2));
         }
         return keys;
       }()},
  };
  for (const auto& row : rows) {
    Items expected = Numbered(row.keys);
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    Items sorted = Numbered(row.keys);
    SortStablyByKey(sorted);
    ASSERT_EQ(sorted.size(), expected.size()) << row.name;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
      ASSERT_EQ(sorted[i].second, expected[i].second) << row.name << " at " << i;
      ASSERT_EQ(std::signbit(sorted[i].first), std::signbit(expected[i].first)) << row.name;
    }
  }
}

}  // namespace
