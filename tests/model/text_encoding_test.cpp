#include "model/text_encoding.h"

#include <gtest/gtest.h>

#include <vector>

namespace tvr::model {
namespace {

TEST(TextEncodingTest, Utf8ToUtf16ReplacesInvalidSequences) {
  struct Case {
    const char* fault;
    std::string utf8;
    std::u16string utf16;
  };
  const std::vector<Case> cases = {
      {"ascii", "Ab", u"Ab"},
      {"two bytes", "\xC3\xA9", u"\u00E9"},
      {"three bytes", "\xE2\x82\xAC", u"\u20AC"},
      {"four bytes", "\xF0\x9F\x98\x80", u"\U0001F600"},
      {"lone continuation", "\x80" "a", u"\uFFFDa"},
      {"cut sequence", "a\xE2\x82", u"a\uFFFD\uFFFD"},
      {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"past U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"bad lead byte", "\xF8", u"\uFFFD"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.fault;
}

TEST(TextEncodingTest, Utf16ToUtf8RefusesUnpairedSurrogates) {
  EXPECT_EQ(Utf16ToUtf8(u"A\u00E9\u20AC\U0001F600"), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8(u""), "");
  const std::vector<std::u16string> bad = {
      std::u16string(1, char16_t(0xD800)),
      std::u16string(1, char16_t(0xDC00)),
      std::u16string{char16_t(0xD800), u'a'},
      std::u16string{char16_t(0xDC00), char16_t(0xD800)},
  };
  for (const auto& units : bad) EXPECT_FALSE(Utf16ToUtf8(units).has_value());
}

}  // namespace
}  // namespace tvr::model
