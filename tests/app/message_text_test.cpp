#include "app/message_text.h"

#include <gtest/gtest.h>

#include <string>

#include "app/current_language.h"
#include "language_test_support.h"

namespace {

struct FormatCase {
  const char* fault;
  const char* text;
  const char* types;
  CMessageArg p1, p2, p3, p4;
  const char* expected;
};

TEST(FormatMessageTextTest, FillsThePlaceholders) {
  const FormatCase cases[] = {
      {"two texts", "%1 and %2", "ss", "a", "b", {}, {}, "a and b"},
      {"every occurrence", "%1-%1", "d", 5, {}, {}, {}, "5-5"},
      {"a placeholder without a type letter stays", "%1 %3", "ss", "a", "b", {}, {}, "a %3"},
      {"a missing parameter is empty", "[%1][%2]", "ss", "a", {}, {}, {}, "[a][]"},
      {"signed number", "%1", "d", -42, {}, {}, {}, "-42"},
      {"unsigned 32-bit number", "%1", "u", -1, {}, {}, {}, "4294967295"},
      {"character", "%1", "c", 'A', {}, {}, {}, "A"},
      {"character code", "%1", "c", 0xE9, {}, {}, {}, "\xC3\xA9"},
      {"first character of a text", "%1", "c", "\xC3\xA9t\xC3\xA9", {}, {}, {}, "\xC3\xA9"},
      {"all four", "%4%3%2%1", "sdcu", "s", 2, 'c', 4u, "4c2s"},
      {"a fifth placeholder is never filled", "%1%5", "ssss", "a", "b", "c", "d", "a%5"},
      {"more than four letters are ignored", "%1", "sssss", "a", {}, {}, {}, "a"},
      {"%% is no escape", "100%% %1", "d", 7, {}, {}, {}, "100%% 7"},
      {"%%1 keeps the first %", "%%1", "s", "x", {}, {}, {}, "%x"},
      {"a lone % at the end", "50%", "s", "x", {}, {}, {}, "50%"},
      {"%0 stays", "%0%1", "s", "x", {}, {}, {}, "%0x"},
      {"a value's own placeholders are not filled", "%1 %2", "ss", "%2", "b", {}, {}, "%2 b"},
      {"an unknown type letter gives nothing", "[%1]", "x", "a", {}, {}, {}, "[]"},
      {"no type letters change nothing", "%1", "", "a", {}, {}, {}, "%1"},
      {"a text for a number letter is shown", "%1", "d", "twelve", {}, {}, {}, "twelve"},
      {"a number for a text letter is shown", "%1", "s", 12, {}, {}, {}, "12"},
      {"a null text is a missing parameter",
       "[%1]",
       "s",
       static_cast<const char*>(nullptr),
       {},
       {},
       {},
       "[]"}};
  for (const FormatCase& c : cases) {
    EXPECT_EQ(FormatMessageText(c.text, c.types, c.p1, c.p2, c.p3, c.p4), c.expected) << c.fault;
  }
}

struct UnescapeCase {
  const char* text;
  const char* expected;
};

TEST(UnescapeTextTest, TurnsEscapesIntoCharacters) {
  const UnescapeCase cases[] = {{"a\\nb", "a\nb"}, {"\\t\\r", "\t\r"}, {"\\a\\b\\f\\v", "\a\b\f\v"},
                                {"\\\\", "\\"},    {"\\?", "?"},       {"\\q", "q"},
                                {"end\\", "end"},  {"plain", "plain"}, {"", ""}};
  for (const UnescapeCase& c : cases) {
    EXPECT_EQ(UnescapeText(c.text), c.expected) << c.text;
  }
}

class CurrentTextsTest : public testing::Test {
 protected:
  void SetUp() override {
    m_folder.UseAsCatalogue();
    m_folder.WriteFile("TVR_044.TXT",
                       "[MSG]\n00300=&File\n00301=Line one\\nLine two\n07623=Price list %1\n"
                       "00302=Save %1 && %2?\n");
    CCurrentLanguage::Instance().LoadLanguage("044");
  }
  CLanguageTestFolder m_folder;
};

TEST_F(CurrentTextsTest, ResourceTextsKeepMnemonicsStringTextsDropThemMissingOnesShowKeys) {
  const struct {
    int number;
    const char *lookup, *resource, *string;
  } cases[] = {{300, "&File", "&File", "File"},
               {301, "Line one\\nLine two", "Line one\nLine two", "Line one\nLine two"},
               {999, "", "MSG_0999", "MSG_0999"}};
  for (const auto& c : cases) {
    EXPECT_EQ(LookupText(c.number), c.lookup) << c.number;
    EXPECT_EQ(ResourceText(c.number), c.resource) << c.number;
    EXPECT_EQ(StringText(c.number), c.string) << c.number;
  }
}

TEST_F(CurrentTextsTest, FormatsMessagesByNumber) {
  EXPECT_EQ(FormatMessageTextD(7623, 2), "Price list 2");
  EXPECT_EQ(FormatMessageText(302, "ss", "a.run", "b.run"), "Save a.run  b.run?");
  EXPECT_EQ(FormatMessageTextS(999, "x"), "MSG_0999");
}

}  // namespace
