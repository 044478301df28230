#include "model/length_solver.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// The exhaustive search, step by step as the solver's contract describes it: the
// most pieces of the largest length first, the first exact combination wins, else
// the first combination with the smallest remainder of at least the minimum.
class ReferenceSolver {
 public:
  int Solve(int total, const std::vector<int>& lengths, int minRemainder, std::string& result) {
    m_minRemainder = minRemainder;
    m_list.clear();
    std::string translation;
    for (int last = 0;;) {
      int smallest = 0;
      int position = -1;
      for (std::size_t i = 0; i < lengths.size() && lengths[i] != 0; ++i) {
        const int value = lengths[i];
        if (value <= last || value > 1048576) continue;
        if (position < 0 || value <= smallest) {
          smallest = value;
          position = static_cast<int>(i);
        }
      }
      if (position < 0 || smallest == 1048576) break;
      m_list.push_back(smallest);
      translation.push_back(static_cast<char>('1' + position));
      last = smallest;
    }
    if (m_list.empty()) return total;
    std::string pieces;
    const int remainder = Step(total, static_cast<int>(m_list.size()) - 1, pieces);
    for (char c : pieces) result.push_back(translation[c - '1']);
    return remainder;
  }

 private:
  int Step(int remaining, int k, std::string& text) {
    const int length = m_list[k];
    const int most = remaining / length;
    const char piece = static_cast<char>('1' + k);
    if (most == 0) return k == 0 ? remaining : Step(remaining, k - 1, text);
    std::string best = text + std::string(most, piece);
    int bestRemainder = remaining % length;
    if (bestRemainder == 0) return Accept(text, best);
    if (k > 0) {
      bestRemainder = Step(bestRemainder, k - 1, best);
      if (bestRemainder == 0) return Accept(text, best);
    }
    for (int count = most - 1; count >= 0; --count) {
      std::string candidate = text + std::string(count, piece);
      int rest = remaining - count * length;
      if (k > 0) rest = Step(rest, k - 1, candidate);
      if (rest == 0) return Accept(text, candidate);
      if (rest >= m_minRemainder && (bestRemainder < m_minRemainder || bestRemainder > rest)) {
        bestRemainder = rest;
        best = candidate;
      }
    }
    if (bestRemainder < m_minRemainder) return remaining;
    text = best;
    return bestRemainder;
  }
  static int Accept(std::string& text, const std::string& found) {
    text = found;
    return 0;
  }

  std::vector<int> m_list;
  int m_minRemainder = 0;
};

struct Outcome {
  int remainder;
  std::string text;
  bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& outcome) {
  return out << outcome.remainder << " \"" << outcome.text << '"';
}

Outcome Solved(int total, std::vector<int> lengths, int minRemainder) {
  lengths.push_back(0);
  CLengthSolver solver;
  Outcome outcome{0, "x"};  // the text is appended to, never cleared
  outcome.remainder = solver.SolveLengthCombination(total, lengths, minRemainder, outcome.text);
  outcome.text.erase(0, 1);
  return outcome;
}

Outcome Reference(int total, std::vector<int> lengths, int minRemainder) {
  lengths.push_back(0);
  ReferenceSolver solver;
  Outcome outcome{0, ""};
  outcome.remainder = solver.Solve(total, lengths, minRemainder, outcome.text);
  return outcome;
}

TEST(CLengthSolverTest, KnownCombinations) {
  std::vector<int> twelve(12, 7);  // positions past nine give the characters after '9'
  twelve[11] = 5000;
  std::vector<int> twenty;
  for (int i = 0; i < 20; ++i) twenty.push_back(1000000 + i);
  const struct {
    const char* name;
    int total;
    std::vector<int> lengths;
    int minRemainder;
    Outcome outcome;
  } cases[] = {
      {"two 3000 and one 1000", 7000, {3000, 2000, 1000}, 1, {0, "113"}},
      {"exact beats more of the largest", 7000, {3000, 2000}, 1, {0, "122"}},
      {"smallest acceptable remainder", 4500, {2000, 3000}, 100, {500, "11"}},
      {"remainder too short", 4500, {2000, 3000}, 600, {1500, "2"}},
      {"nothing acceptable", 3200, {3000}, 500, {3200, ""}},
      {"nothing fits", 500, {3000, 2000}, 0, {500, ""}},
      {"empty list", 6000, {}, 0, {6000, ""}},
      {"repeated value takes its last position", 6000, {3000, 2000, 3000}, 0, {0, "33"}},
      {"lengths of the limit and beyond are ignored",
       2097152,
       {1048576, 2097152},
       0,
       {2097152, ""}},
      {"negative lengths are ignored", 6000, {-3000, 3000}, 0, {0, "22"}},
      {"entries after the first 0 are not read", 6000, {2000, 0, 3000}, 0, {0, "111"}},
      {"zero total", 0, {3000}, 0, {0, ""}},
      {"negative total is returned as it is", -3000, {3000}, 0, {-3000, ""}},
      {"long total made from large pieces",
       2000000000,
       {1000000, 999999},
       0,
       {0, std::string(2000, '1')}},
      {"position twelve", 10000, twelve, 0, {0, "<<"}},
      {"a table too large to build is given up", 2000000000, twenty, 0, {2000000000, ""}},
      // The exhaustive search would try billions of counts in these.
      {"long total, small pieces", 1000003, {3, 1000}, 5, {0, std::string(1000, '2') + "1"}},
      {"too many pieces to spell out stays one remainder", 2000000000, {1, 2}, 0, {2000000000, ""}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Solved(c.total, c.lengths, c.minRemainder), c.outcome) << c.name;
}

TEST(CLengthSolverTest, KeepsTheDistinctLengthsAscending) {
  CLengthSolver solver;
  std::string text;
  const std::vector<int> lengths = {3000, 500, 3000, 2000, 0};
  solver.SolveLengthCombination(100, lengths, 0, text);
  EXPECT_EQ(solver.GetLengths(), (std::vector<std::int32_t>{500, 2000, 3000}));
}

TEST(CLengthSolverTest, LongOddTotalKeepsTheBestRemainder) {
  // Sums are all multiples of 200; 1 is the best rest, found without trying every count.
  EXPECT_EQ(Solved(2000000001, {600, 2000, 3000}, 1).remainder, 1);
}

// Small random lengths reach the corners of the exact search; lengths on a coarse grid, as
// in a catalogue, make inexact totals common, so the remainder rules are exercised as much.
TEST(CLengthSolverTest, MatchesTheExhaustiveSearch) {
  std::mt19937 random(7);
  int exact = 0, remainder = 0, unchanged = 0;
  for (int round = 0; round < 14000; ++round) {
    const bool catalogue = round % 7 < 5;
    const int smallest = round % 3 == 0 ? 1 : 3;
    std::vector<int> lengths(1 + random() % (catalogue ? 5 : 4));
    for (int& length : lengths) {
      length = catalogue ? 100 * (2 + static_cast<int>(random() % 30))
                         : smallest + static_cast<int>(random() % 40);
    }
    if (!catalogue && random() % 5 == 0) lengths.push_back(lengths.front());  // a repeated value
    const int total = catalogue ? 50 * static_cast<int>(random() % 120) +
                                      (random() % 4 == 0 ? static_cast<int>(random() % 50) : 0)
                                : static_cast<int>(random() % (smallest == 1 ? 60 : 160));
    const int minRemainder =
        catalogue ? 50 * static_cast<int>(random() % 12) : static_cast<int>(random() % 30) - 5;
    const Outcome expected = Reference(total, lengths, minRemainder);
    ASSERT_EQ(Solved(total, lengths, minRemainder), expected)
        << "total " << total << " min " << minRemainder << " lengths "
        << ::testing::PrintToString(lengths);
    if (!catalogue) continue;
    if (expected.remainder == 0) ++exact;
    else if (expected.remainder == total) ++unchanged;
    else ++remainder;
  }
  EXPECT_GT(exact, 300);
  EXPECT_GT(remainder, 300);
  EXPECT_GT(unchanged, 100);
}

}  // namespace
