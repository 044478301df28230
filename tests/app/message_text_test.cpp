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

class FormatMessageTextTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatMessageTextTest, FillsThePlaceholders) {
  const FormatCase& row = GetParam();
  EXPECT_EQ(FormatMessageText(row.text, row.types, row.p1, row.p2, row.p3, row.p4), row.expected)
      << row.fault;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatMessageTextTest,
    testing::Values(
        FormatCase{"two texts", "%1 and %2", "ss", "a", "b", {}, {}, "a and b"},
        FormatCase{"every occurrence", "%1-%1", "d", 5, {}, {}, {}, "5-5"},
        FormatCase{"a placeholder without a type letter stays", "%1 %3", "ss", "a", "b", {}, {},
                   "a %3"},
        FormatCase{"a missing parameter is empty", "[%1][%2]", "ss", "a", {}, {}, {}, "[a][]"},
        FormatCase{"signed number", "%1", "d", -42, {}, {}, {}, "-42"},
        FormatCase{"unsigned 32-bit number", "%1", "u", -1, {}, {}, {}, "4294967295"},
        FormatCase{"character", "%1", "c", 'A', {}, {}, {}, "A"},
        FormatCase{"character code", "%1", "c", 0xE9, {}, {}, {}, "\xC3\xA9"},
        FormatCase{"first character of a text", "%1", "c", "\xC3\xA9t\xC3\xA9", {}, {}, {},
                   "\xC3\xA9"},
        FormatCase{"all four", "%4%3%2%1", "sdcu", "s", 2, 'c', 4u, "4c2s"},
        FormatCase{"a fifth placeholder is never filled", "%1%5", "ssss", "a", "b", "c", "d",
                   "a%5"},
        FormatCase{"more than four letters are ignored", "%1", "sssss", "a", {}, {}, {}, "a"},
        FormatCase{"%% is no escape", "100%% %1", "d", 7, {}, {}, {}, "100%% 7"},
        FormatCase{"%%1 keeps the first %", "%%1", "s", "x", {}, {}, {}, "%x"},
        FormatCase{"a lone % at the end", "50%", "s", "x", {}, {}, {}, "50%"},
        FormatCase{"%0 stays", "%0%1", "s", "x", {}, {}, {}, "%0x"},
        FormatCase{"a value's own placeholders are not filled", "%1 %2", "ss", "%2", "b", {}, {},
                   "%2 b"},
        FormatCase{"an unknown type letter gives nothing", "[%1]", "x", "a", {}, {}, {}, "[]"},
        FormatCase{"no type letters change nothing", "%1", "", "a", {}, {}, {}, "%1"},
        FormatCase{"a text for a number letter is shown", "%1", "d", "twelve", {}, {}, {},
                   "twelve"},
        FormatCase{"a number for a text letter is shown", "%1", "s", 12, {}, {}, {}, "12"},
        FormatCase{"a null text is a missing parameter", "[%1]", "s",
                   static_cast<const char*>(nullptr), {}, {}, {}, "[]"}));

TEST(FormatMessageTextTest, ShortFormsTakeTheirTypes) {
  EXPECT_EQ(FormatMessageTextD("List %1", 3), "List 3");
  EXPECT_EQ(FormatMessageTextDD("%2/%1", 3, 4), "4/3");
  EXPECT_EQ(FormatMessageTextS("File %1", "a.run"), "File a.run");
  EXPECT_EQ(FormatMessageTextSS("%1 %2 %3", "a", "b"), "a b %3");
  EXPECT_EQ(FormatMessageTextSSS("%3%2%1", "a", "b", "c"), "cba");
}

struct UnescapeCase {
  const char* text;
  const char* expected;
};

class UnescapeTextTest : public testing::TestWithParam<UnescapeCase> {};

TEST_P(UnescapeTextTest, TurnsEscapesIntoCharacters) {
  EXPECT_EQ(UnescapeText(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnescapeTextTest,
    testing::Values(UnescapeCase{"a\\nb", "a\nb"}, UnescapeCase{"\\t\\r", "\t\r"},
                    UnescapeCase{"\\a\\b\\f\\v", "\a\b\f\v"}, UnescapeCase{"\\\\", "\\"},
                    UnescapeCase{"\\?", "?"}, UnescapeCase{"\\q", "q"},
                    UnescapeCase{"end\\", "end"}, UnescapeCase{"plain", "plain"},
                    UnescapeCase{"", ""}));

TEST(MessageKeyTest, HasAtLeastFourDigits) {
  EXPECT_EQ(MessageKey(300), "MSG_0300");
  EXPECT_EQ(MessageKey(17), "MSG_0017");
  EXPECT_EQ(MessageKey(2710), "MSG_2710");
  EXPECT_EQ(MessageKey(32023), "MSG_32023");
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

TEST_F(CurrentTextsTest, ResourceTextsKeepMnemonicsAndStringTextsDropThem) {
  EXPECT_EQ(LookupText(300), "&File");
  EXPECT_EQ(ResourceText(300), "&File");
  EXPECT_EQ(StringText(300), "File");
  EXPECT_EQ(LookupText(301), "Line one\\nLine two") << "the file's text as it is";
  EXPECT_EQ(ResourceText(301), "Line one\nLine two");
  EXPECT_EQ(StringText(301), "Line one\nLine two");
}

TEST_F(CurrentTextsTest, MissingTextsShowTheirKeys) {
  EXPECT_EQ(LookupText(999), "");
  EXPECT_EQ(ResourceText(999), "MSG_0999");
  EXPECT_EQ(StringText(999), "MSG_0999");
}

TEST_F(CurrentTextsTest, FormatsMessagesByNumber) {
  EXPECT_EQ(FormatMessageTextD(7623, 2), "Price list 2");
  EXPECT_EQ(FormatMessageText(302, "ss", "a.run", "b.run"), "Save a.run  b.run?");
  EXPECT_EQ(FormatMessageTextS(999, "x"), "MSG_0999");
}

}  // namespace
