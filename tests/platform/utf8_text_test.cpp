#include "platform/utf8_text.h"

#include <gtest/gtest.h>

namespace {

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

}  // namespace
