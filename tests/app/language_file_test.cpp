#include "app/language_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "language_test_support.h"
#include "support/case_table.h"

namespace {

using Lines = std::vector<std::string>;

// The lines a case table joins with line feeds; a count of 0 is no line at all.
Lines SplitLines(const std::string& joined, long long count) {
  Lines lines;
  for (std::size_t start = 0; count > 0; --count) {
    const std::size_t end = std::min(joined.find('\n', start), joined.size());
    lines.push_back(joined.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

TEST(LanguageFileDecodeTest, GivesTheLines) {
  for (const CCaseRow& row : ReadCaseTable("app/language_file_lines.tsv", 5)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    const std::string bytes = row[1] == "bytes"     ? row[2]
                              : row[1] == "utf16+x" ? Utf16Le(row[2]) + "x"
                                                    : Utf16Le(row[2]);
    EXPECT_EQ(CLanguageFile::FromBytes(bytes).Lines(), SplitLines(row[4], row.Int(3)));
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
