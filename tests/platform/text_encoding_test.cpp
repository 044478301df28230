#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include "support/case_table.h"
#include "support/golden_file.h"

#include <cstdint>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tvr::platform {
namespace {

// UTF-16 units written as blank-separated hex numbers.
std::u16string Units(const std::string& hex) {
  std::u16string units;
  std::istringstream words(hex);
  for (std::string word; words >> word;)
    units += static_cast<char16_t>(std::stoul(word, nullptr, 16));
  return units;
}

TEST(TextEncodingTest, Utf8ToUtf16ReplacesInvalidSequences) {
  for (const CCaseRow& row : ReadCaseTable("platform/utf8_to_utf16.tsv", 3)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    EXPECT_EQ(Utf8ToUtf16(row[1]), Units(row[2]));
  }
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
  for (const CCaseRow& row : ReadCaseTable("platform/append_utf8.tsv", 2)) {
    SCOPED_TRACE(row.where);
    const std::vector<std::uint8_t> utf8 = HexBytes(row[1]);
    std::string out = "x";
    AppendUtf8(out, static_cast<char32_t>(std::stoul(row[0], nullptr, 16)));
    EXPECT_EQ(out, "x" + std::string(utf8.begin(), utf8.end()));
  }
}

TEST(TextEncodingTest, Utf8SequenceLengthAcceptsOnlyWellFormedSequences) {
  for (const CCaseRow& row : ReadCaseTable("platform/utf8_sequence_length.tsv", 4)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    const std::string& text = row[1];
    const auto at = static_cast<std::size_t>(row.Int(2));
    const auto length = static_cast<std::size_t>(row.Int(3));
    EXPECT_EQ(Utf8SequenceLength(text, at), length);
    std::size_t pos = at;
    const std::optional<char32_t> decoded = DecodeUtf8(text, pos);
    EXPECT_EQ(decoded.has_value(), length != 0);
    EXPECT_EQ(pos, at + (length != 0 ? length : at < text.size() ? 1 : 0));
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
