#include "view/draw_mapping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>

namespace {

using draw_mapping::kExactInDouble;
using draw_mapping::Map;

// The mapping's definition in whole numbers: the product divided and truncated toward
// zero, then held to 32 bits.
std::int32_t MapInWholeNumbers(std::int64_t value, std::int64_t from, std::int64_t numerator,
                               std::int64_t denominator, std::int64_t to) {
  const std::int64_t result = (value - from) * numerator / denominator + to;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      result, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Quotients a unit either side of whole numbers, of both signs, dividends at the edge of
// the range divided in doubles and beyond it, the widest extents and results held to 32
// bits: the truncated quotient of the division in whole numbers.
TEST(DrawMappingTest, PointsMapAsTheDivisionInWholeNumbersTruncates) {
  constexpr std::int64_t kMax32 = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMin32 = std::numeric_limits<std::int32_t>::min();
  const struct {
    std::int64_t value, from, numerator, denominator, to;
  } rows[] = {
      {0, 0, 1, 1, 0},
      {7, 0, 1, 2, 0},
      {-7, 0, 1, 2, 0},
      {999'999, 0, 1000, 1'000'000, 0},    // a hair under one
      {1'000'001, 0, 1000, 1'000'000, 0},  // a hair over one thousand
      {-999'999, 0, 1000, 1'000'000, 0},
      {3 * 977 - 1, 0, 1, 977, 5},  // just under a multiple
      {3 * 977 + 1, 0, 1, -977, 5},
      {kMax32, kMin32, 1000, 1001, 0},  // the widest logical span
      {kMax32, kMin32, -1000, 1001, 0},
      {kMax32, kMin32, kMax32, kMax32 - 1, 0},  // a product far beyond 2^52
      {kMax32, kMin32, kMin32, 3, 0},
      {kMax32, 0, 2'097'151, 2'097'152, 0},  // products just under and over 2^52
      {kMax32, -1, 2'097'152, 2'097'151, 0},
      {kMax32, 1, 2'097'152, 2'097'153, 0},
      {kMax32, 0, 1, 1, kMax32},  // held to 32 bits
      {kMin32, 0, 1, 1, kMin32},
      {kMin32, kMax32, 1, 1, 0},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Map(r.value, r.from, r.numerator, r.denominator, r.to),
              MapInWholeNumbers(r.value, r.from, r.numerator, r.denominator, r.to))
        << r.value << " " << r.from << " " << r.numerator << "/" << r.denominator << " " << r.to;
  }
  // Dividends right at the edge of the double range, a unit either side of multiples of
  // the largest and odd divisors.
  for (const std::int64_t denominator : {std::int64_t{3}, std::int64_t{1'000'003}, kMax32}) {
    for (const std::int64_t edge : {kExactInDouble - 1, kExactInDouble, kExactInDouble + 1}) {
      const std::int64_t near = edge / denominator * denominator;
      for (const std::int64_t scaled : {near - 1, near, near + 1, edge, -edge, -near - 1}) {
        EXPECT_EQ(Map(scaled, 0, 1, denominator, 0),
                  MapInWholeNumbers(scaled, 0, 1, denominator, 0))
            << scaled << "/" << denominator;
      }
    }
  }
  // Products far beyond the double range, the origin so far off that the result comes back
  // within 32 bits: a double would round the dividend and step the quotient.
  for (std::int64_t k = 0; k < 20'000; ++k) {
    const std::int64_t value = kMax32 - k, from = kMin32 + 3 * k;
    const std::int64_t numerator = (std::int64_t{1} << 30) + 7 * k;
    const std::int64_t denominator = 3 + (k % 17);
    const std::int64_t to = 100 - (value - from) * numerator / denominator;
    ASSERT_EQ(Map(value, from, numerator, denominator, to),
              MapInWholeNumbers(value, from, numerator, denominator, to))
        << value << " " << from << " " << numerator << "/" << denominator << " " << to;
  }
  // And many mappings of a view: points across the logical range, extents of screens and
  // of zooms far in and out.
  std::mt19937_64 random(20261209);
  std::uniform_int_distribution<std::int64_t> logical(kMin32, kMax32);
  std::uniform_int_distribution<std::int64_t> extent(1, 1 << 24);
  for (int i = 0; i < 200'000; ++i) {
    const std::int64_t value = logical(random), from = logical(random) / 2;
    const std::int64_t numerator = extent(random) * (i % 3 == 0 ? -1 : 1);
    const std::int64_t denominator = extent(random) * (i % 5 == 0 ? -1 : 1);
    const std::int64_t to = logical(random) / 4;
    ASSERT_EQ(Map(value, from, numerator, denominator, to),
              MapInWholeNumbers(value, from, numerator, denominator, to))
        << value << " " << from << " " << numerator << "/" << denominator << " " << to;
  }
}

}  // namespace
