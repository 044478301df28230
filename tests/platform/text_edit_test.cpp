#include "platform/text_edit.h"

#include <gtest/gtest.h>

namespace {

struct TrimCase {
  std::string text;
  char c;
  std::string leading;
  std::string trailing;
  std::string both;
};

TEST(TrimTest, RemoveRuns) {
  const TrimCase cases[] = {{"00012", '0', "12", "00012", "12"},
                            {"000", '0', "000", "", ""},  // leading trim keeps an all-c text
                            {"  mid dle  ", ' ', "mid dle  ", "  mid dle", "mid dle"},
                            {"", ' ', "", "", ""},
                            {"x", ' ', "x", "x", "x"}};
  for (const TrimCase& c : cases) {
    EXPECT_EQ(TrimLeadingChar(c.text, c.c), c.leading) << c.text;
    EXPECT_EQ(TrimTrailingChar(c.text, c.c), c.trailing) << c.text;
    EXPECT_EQ(TrimChar(c.text, c.c), c.both) << c.text;
  }
}

TEST(PadWithChar, AppendsUpToTheLength) {
  EXPECT_EQ(PadWithChar("ab", 5, ' '), "ab   ");
  EXPECT_EQ(PadWithChar("abcdef", 5, ' '), "abcdef");
  EXPECT_EQ(PadWithChar("", 3, 'Z'), "ZZZ");
  EXPECT_EQ(PadWithChar("QMA", 22, ' ').size(), 22u);
}

}  // namespace
