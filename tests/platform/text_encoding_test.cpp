#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace tvr::platform {
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
      {"lone continuation",
       "\x80"
       "a",
       u"\uFFFDa"},
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

TEST(TextEncodingTest, AppendUtf8WritesEachLengthAndReplacesNonCharacters) {
  struct Case {
    char32_t codePoint;
    std::string utf8;
  };
  const std::vector<Case> cases = {
      {0x0, std::string(1, '\0')},
      {0x7F, "\x7F"},
      {0x80, "\xC2\x80"},
      {0x7FF, "\xDF\xBF"},
      {0x800, "\xE0\xA0\x80"},
      {0xD7FF, "\xED\x9F\xBF"},
      {0xD800, "\xEF\xBF\xBD"},
      {0xDFFF, "\xEF\xBF\xBD"},
      {0xFFFF, "\xEF\xBF\xBF"},
      {0x10000, "\xF0\x90\x80\x80"},
      {0x10FFFF, "\xF4\x8F\xBF\xBF"},
      {0x110000, "\xEF\xBF\xBD"},
      {0xFFFFFFFF, "\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    std::string out = "x";
    AppendUtf8(out, c.codePoint);
    EXPECT_EQ(out, "x" + c.utf8) << std::hex << static_cast<std::uint32_t>(c.codePoint);
  }
}

TEST(TextEncodingTest, Utf8SequenceLengthAcceptsOnlyWellFormedSequences) {
  struct Case {
    const char* fault;
    std::string text;
    std::size_t pos;
    std::size_t length;
  };
  const std::vector<Case> cases = {
      {"ascii", "A", 0, 1},
      {"NUL", std::string(1, '\0'), 0, 1},
      {"at an offset", "a\xC3\xA9", 1, 2},
      {"at the end", "ab", 2, 0},
      {"overlong two bytes", "\xC1\xBF", 0, 0},
      {"lowest two bytes", "\xC2\x80", 0, 2},
      {"overlong three bytes", "\xE0\x9F\xBF", 0, 0},
      {"lowest three bytes", "\xE0\xA0\x80", 0, 3},
      {"last before surrogates", "\xED\x9F\xBF", 0, 3},
      {"surrogate", "\xED\xA0\x80", 0, 0},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF", 0, 0},
      {"highest code point", "\xF4\x8F\xBF\xBF", 0, 4},
      {"past U+10FFFF", "\xF4\x90\x80\x80", 0, 0},
      {"lead byte past F4", "\xF5\x80\x80\x80", 0, 0},
      {"lone continuation", "\x80", 0, 0},
      {"cut short", "\xE2\x82", 0, 0},
      {"continuation missing",
       "\xC3"
       "A",
       0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8SequenceLength(c.text, c.pos), c.length) << c.fault;
    std::size_t pos = c.pos;
    const std::optional<char32_t> decoded = DecodeUtf8(c.text, pos);
    EXPECT_EQ(decoded.has_value(), c.length != 0) << c.fault;
    const std::size_t moved = c.length != 0 ? c.length : c.pos < c.text.size() ? 1 : 0;
    EXPECT_EQ(pos, c.pos + moved) << c.fault;
  }
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("A\xC3\xA9\xE2\x82"));
  EXPECT_FALSE(IsValidUtf8("\xE9t\xE9"));
}

TEST(TextEncodingTest, DecodeUtf16JoinsPairsAndRefusesUnpairedSurrogates) {
  struct Case {
    const char* fault;
    std::u16string units;
    std::optional<char32_t> codePoint;
    std::size_t pos;
  };
  const std::vector<Case> cases = {
      {"plain unit", u"\u00E9a", U'\u00E9', 1},
      {"pair", u"\U0001F600", U'\U0001F600', 2},
      {"high surrogate at the end", std::u16string(1, char16_t(0xDBFF)), std::nullopt, 1},
      {"high surrogate before a letter", {char16_t(0xD800), u'a'}, std::nullopt, 1},
      {"lone low surrogate", {char16_t(0xDC00), char16_t(0xD800)}, std::nullopt, 1},
      {"empty", u"", std::nullopt, 0},
  };
  for (const auto& c : cases) {
    std::size_t pos = 0;
    EXPECT_EQ(DecodeUtf16(c.units, pos), c.codePoint) << c.fault;
    EXPECT_EQ(pos, c.pos) << c.fault;
  }
  EXPECT_FALSE(IsHighSurrogate(0xD7FF));
  EXPECT_TRUE(IsHighSurrogate(0xD800));
  EXPECT_TRUE(IsHighSurrogate(0xDBFF));
  EXPECT_FALSE(IsHighSurrogate(0xDC00));
}

// The conversions take runs of ASCII many at a time: texts of ASCII runs of every length
// broken by accented letters, other characters, pairs and damaged bytes, at every
// alignment, must give what the one-character primitives give.
TEST(TextEncodingTest, ConversionsAgreeWithTheCharacterPrimitivesAroundAsciiRuns) {
  const std::vector<std::string> pieces = {
      "\xC3\xA9", "\xE2\x82\xAC",     "\xF0\x9F\x98\x80",  "\xC3", "\x80", "\xED\xA0\x80",
      "\xC1\xBF", "\xF4\x90\x80\x80", std::string(1, '\0')};
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    while (text.size() < static_cast<std::size_t>(round % 90)) {
      text.append(random() % 20, static_cast<char>('a' + random() % 26));
      text += pieces[random() % pieces.size()];
    }
    std::u16string expected;
    for (std::size_t pos = 0; pos < text.size();) {
      const char32_t c = DecodeUtf8(text, pos).value_or(kReplacementCharacter);
      if (c < 0x10000) {
        expected += static_cast<char16_t>(c);
      } else {
        expected += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        expected += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
      }
    }
    ASSERT_EQ(Utf8ToUtf16(text), expected) << text;
    std::string back;
    for (std::size_t pos = 0; pos < expected.size();) AppendUtf8(back, *DecodeUtf16(expected, pos));
    ASSERT_EQ(Utf16ToUtf8(expected), back) << text;
    expected.insert(expected.size() / 2, 1, u'\xDC00');  // unpaired
    EXPECT_FALSE(Utf16ToUtf8(expected)) << text;
  }
}

}  // namespace
}  // namespace tvr::platform
