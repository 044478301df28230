#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace tvr::platform {
namespace {

struct PageCase {
  CodePage page;
  std::string bytes;  // in the code page
  std::string text;   // UTF-8
};

TEST(CodePageTest, DecodesAndEncodesAccentedLetters) {
  const std::vector<PageCase> cases = {
      {CodePage::Cp850, "\x82\x85\x87\x90\x80", "éàçÉÇ"},
      {CodePage::Cp850, "\xB5\xD4\xE9", "ÁÈÚ"},  // capitals only CP850 has, unlike CP437
      {CodePage::Cp437, "\x82\x85\x87\x90\x80", "éàçÉÇ"},
      {CodePage::Cp437, "\x9B\x9C", "¢£"},
      {CodePage::Cp1252, "\xE9\xE0\xE7\xC9\xC7\x80", "éàçÉÇ€"},
      {CodePage::Cp1252, "plain ASCII 0-9", "plain ASCII 0-9"},
  };
  for (const PageCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ToUtf8(c.bytes, c.page), c.text);
    bool lossy = true;
    EXPECT_EQ(FromUtf8(c.text, c.page, &lossy), c.bytes);
    EXPECT_FALSE(lossy);
  }
}

TEST(CodePageTest, EveryByteDecodesAndEveryDecodedByteEncodesBack) {
  for (CodePage page : {CodePage::Cp437, CodePage::Cp850, CodePage::Cp1252}) {
    SCOPED_TRACE(std::string(CodePageName(page)));
    for (int byte = 0; byte < 256; ++byte) {
      const std::string one(1, static_cast<char>(byte));
      const std::string text = ToUtf8(one, page);
      ASSERT_FALSE(text.empty());
      if (text == "?") continue;  // a byte without a character (CP1252 0x81 and the like)
      EXPECT_EQ(FromUtf8(text, page), one) << "byte " << byte;
    }
  }
  EXPECT_EQ(ToUtf8("\x81", CodePage::Cp1252), "?");
}

struct LossyCase {
  const char* why;
  std::string text;
  CodePage page;
  std::string bytes;
};

TEST(CodePageTest, WhatTheCodePageCannotHoldBecomesAQuestionMark) {
  const std::vector<LossyCase> cases = {
      {"euro in OEM", "5 €", CodePage::Cp850, "5 ?"},
      {"Chinese", "a中b", CodePage::Cp1252, "a?b"},
      {"emoji (4 bytes)", "x\xF0\x9F\x98\x80y", CodePage::Cp850, "x?y"},
      {"stray continuation byte", "a\x80z", CodePage::Cp850, "a?z"},
      {"cut sequence at the end", "a\xC3", CodePage::Cp850, "a?"},
      {"overlong encoding of '/'", "\xC0\xAF", CodePage::Cp850, "??"},
      {"surrogate", "\xED\xA0\x80", CodePage::Cp1252, "???"},
  };
  for (const LossyCase& c : cases) {
    SCOPED_TRACE(c.why);
    bool lossy = false;
    EXPECT_EQ(FromUtf8(c.text, c.page, &lossy), c.bytes);
    EXPECT_TRUE(lossy);
  }
}

TEST(CodePageTest, LanguageDriverBytesNameTheCodePage) {
  const std::vector<std::pair<int, CodePage>> cases = {
      {0x00, CodePage::Cp850},  {0x01, CodePage::Cp437},  {0x02, CodePage::Cp850},
      {0x03, CodePage::Cp1252}, {0x57, CodePage::Cp1252}, {0x58, CodePage::Cp1252},
      {0x59, CodePage::Cp1252}, {0x64, CodePage::Cp850},  {0xFF, CodePage::Cp850},
  };
  for (const auto& [ldid, page] : cases) {
    EXPECT_EQ(CodePageFromLdid(static_cast<std::uint8_t>(ldid)), page) << "LDID " << ldid;
  }
  for (CodePage page : {CodePage::Cp437, CodePage::Cp850, CodePage::Cp1252}) {
    EXPECT_EQ(CodePageFromLdid(LdidOf(page)), page);
    EXPECT_EQ(CodePageFromName(CodePageName(page)), page);
  }
  EXPECT_EQ(CodePageFromName("cp1252"), CodePage::Cp1252);
  EXPECT_EQ(CodePageFromName("UTF-8"), std::nullopt);
  EXPECT_EQ(CodePageFromName(""), std::nullopt);
}

}  // namespace
}  // namespace tvr::platform
