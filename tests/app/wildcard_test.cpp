#include "app/wildcard.h"

#include <gtest/gtest.h>

namespace {

struct WildcardCase {
  const char* pattern;
  const char* text;
  bool expected;
  const char* guards;
};

class MatchWildcardCases : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(MatchWildcardCases, Matches) {
  const WildcardCase& c = GetParam();
  EXPECT_EQ(MatchWildcard(c.pattern, c.text), c.expected)
      << c.pattern << " / " << c.text << ": " << c.guards;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MatchWildcardCases,
    ::testing::Values(
        WildcardCase{"QM##*", "QM25A", true, "digits then one or more characters"},
        WildcardCase{"QM##*", "QM25", false, "'*' never stands for nothing"},
        WildcardCase{"QM##*", "QM25ABC", true, "'*' takes several characters"},
        WildcardCase{"QM#", "QMA", false, "'#' takes only a digit"},
        WildcardCase{"QM#", "QM7", true, "'#' takes a digit"},
        WildcardCase{"A*B", "AXB", false, "'*' only as the last character"},
        WildcardCase{"A*B", "A*B", true, "a '*' equal to the text's character is plain"},
        WildcardCase{"Q?A", "QxA", true, "'?' takes any character"},
        WildcardCase{"Q?A", "QA", false, "'?' takes exactly one"},
        WildcardCase{"QMA", "qma", false, "letter case counts"},
        WildcardCase{"QMA", "QMA", true, "equal"},
        WildcardCase{"QMA", "QMAB", false, "text longer than the pattern"},
        WildcardCase{"QMAB", "QMA", false, "text shorter than the pattern"},
        WildcardCase{"QM?", "QM", false, "'?' at the text's end"},
        WildcardCase{"#", "", false, "'#' at the text's end"},
        WildcardCase{"*", "", false, "'*' on an empty text"},
        WildcardCase{"*", "X", true, "'*' alone"},
        WildcardCase{"", "", true, "both empty"},
        WildcardCase{"", "X", false, "empty pattern"}));

}  // namespace
