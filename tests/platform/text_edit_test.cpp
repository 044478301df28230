#include "platform/text_edit.h"
#include "platform/utf8_text.h"
#include "platform/wildcard.h"

#include <gtest/gtest.h>

#include "support/case_table.h"

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

TEST(Utf8Text, CountsCharactersNotBytes) {
  EXPECT_EQ(CharacterCount(""), 0u);
  EXPECT_EQ(CharacterCount("abc"), 3u);
  EXPECT_EQ(CharacterCount("J\xC3\xA9r\xC3\xB4me"), 6u);
  EXPECT_EQ(CharacterCount("\xE2\x82\xAC\xF0\x9F\x98\x80"), 2u);  // euro sign, emoji
  EXPECT_EQ(CharacterCount("\xFF\xC3"), 2u);                      // stray bytes count one each
}

TEST(Utf8Text, CutsWithoutSplittingACharacter) {
  EXPECT_EQ(CutToCharacters("J\xC3\xA9r\xC3\xB4me", 2), "J\xC3\xA9");
  EXPECT_EQ(CutToCharacters("abc", 10), "abc");
  EXPECT_EQ(CutToCharacters("abc", 0), "");
  EXPECT_EQ(CutToCharacters("a\xF0\x9F\x98\x80z", 2), "a\xF0\x9F\x98\x80");
  EXPECT_EQ(CutToCharacters("a\xE2\x82", 5), "a\xE2\x82");  // truncated sequence, no overrun
}

TEST(MatchWildcardTest, Matches) {
  for (const CCaseRow& row : ReadCaseTable("platform/wildcard.tsv", 4)) {
    SCOPED_TRACE(row.where + " " + row[3]);
    EXPECT_EQ(MatchWildcard(row[0], row[1]), row.Flag(2));
  }
}

TEST(MatchPaddedWildcardTest, Matches) {
  for (const CCaseRow& row : ReadCaseTable("platform/padded_wildcard.tsv", 4)) {
    SCOPED_TRACE(row.where + " " + row[3]);
    EXPECT_EQ(MatchPaddedWildcard(row[0], row[1]), row.Flag(2));
  }
  // Every pattern of the plain table that does not end in blanks matches as it did.
  for (const CCaseRow& row : ReadCaseTable("platform/wildcard.tsv", 4)) {
    SCOPED_TRACE(row.where + " " + row[3]);
    EXPECT_EQ(MatchPaddedWildcard(row[0], row[1]), row.Flag(2));
  }
}

}  // namespace
