#include "app/language_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "language_test_support.h"

namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

struct DecodeCase {
  const char* fault;  // what the row guards
  std::string bytes;
  Lines lines;
};

class LanguageFileDecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(LanguageFileDecodeTest, GivesTheLines) {
  EXPECT_EQ(CLanguageFile::FromBytes(GetParam().bytes).Lines(), GetParam().lines)
      << GetParam().fault;
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, LanguageFileDecodeTest,
    testing::Values(
        DecodeCase{"UTF-16LE with the mark, CR LF line ends",
                   Utf16Le("[MSG]\r\n00365=Fran\xC3\xA7\x61is\r\n"), {"[MSG]", "00365=Fran\xC3\xA7\x61is"}},
        DecodeCase{"an odd last byte after the mark is dropped",
                   Utf16Le("00001=ab") + "x", {"00001=ab"}},
        DecodeCase{"a surrogate pair is one character", Utf16Le("00001=\xF0\x9F\x98\x80"),
                   {"00001=\xF0\x9F\x98\x80"}},
        DecodeCase{"an unpaired surrogate becomes U+FFFD",
                   "\xFF\xFE" "a\0\x00\xD8" "b\0"s, {"a\xEF\xBF\xBD" "b"}},
        DecodeCase{"NUL characters are dropped", "\xFF\xFE" "a\0\0\0b\0"s,
                   {"ab"}},
        DecodeCase{"only the mark gives no line", "\xFF\xFE", {}},
        DecodeCase{"an empty file gives no line", "", {}},
        DecodeCase{"8-bit UTF-8", "00001=\xC3\xA9t\xC3\xA9\n00002=b", {"00001=\xC3\xA9t\xC3\xA9", "00002=b"}},
        DecodeCase{"a line that is not UTF-8 is Windows-1252", "00001=Fran\xE7" "ais \x80\n",
                   {"00001=Fran\xC3\xA7" "ais \xE2\x82\xAC"}},
        DecodeCase{"a truncated UTF-8 sequence is Windows-1252 too", "a\xC3", {"a\xC3\x83"}},
        DecodeCase{"overlong UTF-8 is not taken as UTF-8", "\xC0\xAF", {"\xC3\x80\xC2\xAF"}},
        DecodeCase{"a UTF-8 mark is not part of the first line", "\xEF\xBB\xBF[LANG]\n", {"[LANG]"}},
        DecodeCase{"every trailing CR and LF goes", "a\r\r\nb\r\n\r\n", {"a", "b", ""}},
        DecodeCase{"a last line without line end", "a\nb", {"a", "b"}},
        DecodeCase{"a lone CR does not end a line", "a\rb\n", {"a\rb"}}));

TEST(LanguageFileTest, ProfileTextReadsSectionsAndKeysWithoutRegardToCase) {
  const CLanguageFile file = CLanguageFile::FromBytes(
      "top=before any section\n"
      "[LANG]\n"
      "CHARS = LATIN \n"
      " [ Msg ] \n"
      "00365=  first  \n"
      "00365=second\n"
      "no equals sign\n"
      "=no key\n"
      "[Other]\n"
      "00366=other\n"
      "[MSG]\n"
      "00367=in a second MSG section\n");
  EXPECT_EQ(file.ProfileText("", "TOP"), "before any section");
  EXPECT_EQ(file.ProfileText("lang", "chars"), "LATIN");
  EXPECT_EQ(file.ProfileText("MSG", "00365"), "first") << "first occurrence, blanks trimmed";
  EXPECT_EQ(file.ProfileText("MSG", "00366"), "") << "key of another section";
  EXPECT_EQ(file.ProfileText("MSG", "00367"), "in a second MSG section");
  EXPECT_EQ(file.ProfileText("MSG", "365"), "") << "keys compare as texts";
  EXPECT_EQ(file.ProfileText("MISSING", "00365"), "");
}

TEST(LanguageFileTest, ReadsWhatCanBeReadOfAHugeLine) {
  CLanguageTestFolder folder;
  const std::string text(2'000'000, 'x');
  const std::string path = folder.WriteFile("TVR_001.TXT", "[MSG]\n00001=" + text + "\n00002=y\n");
  const std::optional<CLanguageFile> file = CLanguageFile::Read(path);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->ProfileText("MSG", "00001"), text);
  EXPECT_EQ(file->ProfileText("MSG", "00002"), "y");
}

TEST(LanguageFileTest, RefusesWhatIsNoRegularFile) {
  CLanguageTestFolder folder;
  EXPECT_FALSE(CLanguageFile::Read(folder.Path() + "missing.txt"));
  EXPECT_FALSE(CLanguageFile::Read(""));
  std::filesystem::create_directory(folder.Path() + "TVR_002.TXT");
  EXPECT_FALSE(CLanguageFile::Read(folder.Path() + "TVR_002.TXT")) << "a folder";
  const std::string fifo = folder.Path() + "TVR_003.TXT";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(CLanguageFile::Read(fifo)) << "a FIFO would block the reader";
}

struct CharsetCase {
  const char* name;
  int charset;
};

class CharsetFromNameTest : public testing::TestWithParam<CharsetCase> {};

TEST_P(CharsetFromNameTest, MapsTheName) {
  EXPECT_EQ(CharsetFromName(GetParam().name), GetParam().charset) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, CharsetFromNameTest,
    testing::Values(CharsetCase{"LATIN", 0}, CharsetCase{"EASTEUROPE", 238},
                    CharsetCase{"CYRILLIC", 204}, CharsetCase{"GREEK", 161},
                    CharsetCase{"TURKISH", 162}, CharsetCase{"BALTIC", 186},
                    CharsetCase{"HEBREW", 177}, CharsetCase{"ARABIC", 178},
                    CharsetCase{"VIETNAMESE", 163}, CharsetCase{"THAI", 222},
                    CharsetCase{"KOREAN", 129}, CharsetCase{"KOREAN JOHAB", 130},
                    CharsetCase{"CHINESE", 136}, CharsetCase{"CHINESE SIMPLIFIED", 134},
                    CharsetCase{"JAPANESE", 128}, CharsetCase{"latin", 1},
                    CharsetCase{"LATIN ", 1}, CharsetCase{"", 1}, CharsetCase{"KLINGON", 1}));

}  // namespace
