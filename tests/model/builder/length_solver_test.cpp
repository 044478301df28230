#include "model/builder/length_solver.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/case_table.h"

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
  for (const CCaseRow& row : ReadCaseTable("model/length_solver.tsv", 6)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    std::vector<int> lengths;
    for (const long long length : row.Ints(2)) lengths.push_back(static_cast<int>(length));
    const Outcome expected{static_cast<int>(row.Int(4)), row[5]};
    EXPECT_EQ(Solved(static_cast<int>(row.Int(1)), lengths, static_cast<int>(row.Int(3))),
              expected);
  }
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
