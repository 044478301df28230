#include "platform/wildcard.h"

#include <gtest/gtest.h>

namespace {

struct WildcardCase {
  const char* pattern;
  const char* text;
  bool expected;
  const char* guards;
};

TEST(MatchWildcardTest, Matches) {
  const WildcardCase cases[] = {
      {"QM##*", "QM25A", true, "digits then one or more characters"},
      {"QM##*", "QM25", false, "'*' never stands for nothing"},
      {"QM##*", "QM25ABC", true, "'*' takes several characters"},
      {"QM#", "QMA", false, "'#' takes only a digit"},
      {"QM#", "QM7", true, "'#' takes a digit"},
      {"A*B", "AXB", false, "'*' only as the last character"},
      {"A*B", "A*B", true, "a '*' equal to the text's character is plain"},
      {"Q?A", "QxA", true, "'?' takes any character"},
      {"Q?A", "QA", false, "'?' takes exactly one"},
      {"QMA", "qma", false, "letter case counts"},
      {"QMA", "QMA", true, "equal"},
      {"QMA", "QMAB", false, "text longer than the pattern"},
      {"QMAB", "QMA", false, "text shorter than the pattern"},
      {"QM?", "QM", false, "'?' at the text's end"},
      {"#", "", false, "'#' at the text's end"},
      {"*", "", false, "'*' on an empty text"},
      {"*", "X", true, "'*' alone"},
      {"", "", true, "both empty"},
      {"", "X", false, "empty pattern"}};
  for (const WildcardCase& c : cases) {
    EXPECT_EQ(MatchWildcard(c.pattern, c.text), c.expected)
        << c.pattern << " / " << c.text << ": " << c.guards;
  }
}

}  // namespace
