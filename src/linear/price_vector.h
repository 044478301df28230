#pragma once

#include <array>

inline constexpr int kPriceListCount15 = 15;

// One value per price list (list n at index n-1), with the operations the formula
// language needs: a number gives the same value to every list, a catalogue reference
// gives each list its own price.
struct CPriceVector {
  std::array<double, kPriceListCount15> values{};

  CPriceVector() = default;
  CPriceVector(double value) { values.fill(value); }  // NOLINT: numbers convert freely
  explicit CPriceVector(const std::array<double, kPriceListCount15>& prices) : values(prices) {}

  friend CPriceVector operator+(CPriceVector a, const CPriceVector& b) {
    for (int i = 0; i < kPriceListCount15; ++i) a.values[i] += b.values[i];
    return a;
  }
  friend CPriceVector operator*(CPriceVector a, const CPriceVector& b) {
    for (int i = 0; i < kPriceListCount15; ++i) a.values[i] *= b.values[i];
    return a;
  }
  CPriceVector operator-() const {
    CPriceVector negated = *this;
    for (double& value : negated.values) value = -value;
    return negated;
  }
  static CPriceVector Divide(CPriceVector a, const CPriceVector& b) {
    for (int i = 0; i < kPriceListCount15; ++i)
      a.values[i] = b.values[i] == 0.0 ? 0.0 : a.values[i] / b.values[i];
    return a;
  }
};
