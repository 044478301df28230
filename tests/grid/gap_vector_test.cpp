#include "grid/gap_vector.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Random bursts of inserts and removals at random places, and resizes, on owning
// elements: every step must leave the same sequence as a plain vector, nothing lost and
// nothing left owned in the gap.
TEST(GapVectorTest, BurstsAnywhereKeepTheSequenceOfAPlainVector) {
  std::mt19937 random(11);
  CGapVector<std::vector<int>> gapped;  // owning, and emptied by a move onto itself
  std::vector<int> plain;
  int next = 0;
  for (int burst = 0; burst < 400; ++burst) {
    const int kind = static_cast<int>(random() % 5);
    const std::size_t at = plain.empty() ? 0 : random() % (plain.size() + 1);
    for (int step = static_cast<int>(random() % 40); step >= 0; --step) {
      if (kind <= 1) {
        const std::size_t place = std::min(at, plain.size());
        gapped.insert(place, std::vector<int>{next});
        plain.insert(plain.begin() + static_cast<std::ptrdiff_t>(place), next++);
      } else if (kind == 2 && !plain.empty()) {
        const std::size_t place = std::min(at, plain.size() - 1);
        gapped.erase(place);
        plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(place));
      }
    }
    if (kind == 3) {
      const std::size_t count = random() % (plain.size() + 8);
      gapped.resize(count);
      plain.resize(count, -1);
    }
    ASSERT_EQ(gapped.size(), plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
      ASSERT_EQ(gapped[i].empty() ? -1 : gapped[i][0], plain[i])
          << "burst " << burst << " at " << i;
    }
  }
}

}  // namespace
