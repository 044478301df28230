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

TEST(LanguageFileDecodeTest, GivesTheLines) {
  const DecodeCase cases[] = {
      {"UTF-16LE with the mark, CR LF line ends",
       Utf16Le("[MSG]\r\n00365=Fran\xC3\xA7\x61is\r\n"),
       {"[MSG]", "00365=Fran\xC3\xA7\x61is"}},
      {"an odd last byte after the mark is dropped", Utf16Le("00001=ab") + "x", {"00001=ab"}},
      {"a surrogate pair is one character",
       Utf16Le("00001=\xF0\x9F\x98\x80"),
       {"00001=\xF0\x9F\x98\x80"}},
      {"an unpaired surrogate becomes U+FFFD",
       "\xFF\xFE"
       "a\0\x00\xD8"
       "b\0"s,
       {"a\xEF\xBF\xBD"
        "b"}},
      {"NUL characters are dropped",
       "\xFF\xFE"
       "a\0\0\0b\0"s,
       {"ab"}},
      {"only the mark gives no line", "\xFF\xFE", {}},
      {"an empty file gives no line", "", {}},
      {"8-bit UTF-8", "00001=\xC3\xA9t\xC3\xA9\n00002=b", {"00001=\xC3\xA9t\xC3\xA9", "00002=b"}},
      {"a line that is not UTF-8 is Windows-1252",
       "00001=Fran\xE7"
       "ais \x80\n",
       {"00001=Fran\xC3\xA7"
        "ais \xE2\x82\xAC"}},
      {"a truncated UTF-8 sequence is Windows-1252 too", "a\xC3", {"a\xC3\x83"}},
      {"overlong UTF-8 is not taken as UTF-8", "\xC0\xAF", {"\xC3\x80\xC2\xAF"}},
      {"a UTF-8 mark is not part of the first line", "\xEF\xBB\xBF[LANG]\n", {"[LANG]"}},
      {"every trailing CR and LF goes", "a\r\r\nb\r\n\r\n", {"a", "b", ""}},
      {"a last line without line end", "a\nb", {"a", "b"}},
      {"a lone CR does not end a line", "a\rb\n", {"a\rb"}}};
  for (const DecodeCase& c : cases) {
    EXPECT_EQ(CLanguageFile::FromBytes(c.bytes).Lines(), c.lines) << c.fault;
  }
}

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

TEST(CharsetFromNameTest, MapsTheName) {
  // The names themselves are read through the language files' own tests.
  const CharsetCase cases[] = {
      {"KOREAN JOHAB", 130}, {"CHINESE SIMPLIFIED", 134}, {"latin", 1}, {"LATIN ", 1}, {"", 1},
      {"KLINGON", 1}};
  for (const CharsetCase& c : cases) {
    EXPECT_EQ(CharsetFromName(c.name), c.charset) << c.name;
  }
}

}  // namespace
