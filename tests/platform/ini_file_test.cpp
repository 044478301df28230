#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/case_table.h"
#include "support/temp_folder.h"

namespace tvr::platform {
namespace {

namespace fs = std::filesystem;

CIniFile Parsed(std::string_view content) {
  CIniFile file;
  file.Parse(content);
  return file;
}

TEST(IniFile, FindReadsWhatThePlatformRead) {
  for (const CCaseRow& row : ReadCaseTable("platform/ini_find.tsv", 5)) {
    SCOPED_TRACE(row.where + " " + row[4]);
    const std::optional<std::string> expected =
        row[3] == "missing" ? std::nullopt : std::optional(row[3]);
    EXPECT_EQ(Parsed(row[0]).Find(row[1], row[2]), expected);
  }
}

TEST(IniFile, SetKeepsEveryOtherLine) {
  for (const CCaseRow& row : ReadCaseTable("platform/ini_set.tsv", 6)) {
    SCOPED_TRACE(row.where + " " + row[5]);
    CIniFile file = Parsed(row[0]);
    ASSERT_TRUE(file.Set(row[1], row[2], row[3]));
    EXPECT_EQ(file.Text(), row[4]);
    EXPECT_EQ(file.Find(row[1], row[2]), row[3]);
  }
}

TEST(IniFile, SetRefusesWhatCouldNotBeReadBack) {
  for (const CCaseRow& row : ReadCaseTable("platform/ini_set_refused.tsv", 4)) {
    SCOPED_TRACE(row.where + " " + row[3]);
    CIniFile file = Parsed("[User]\nName=Ann\n");
    EXPECT_FALSE(file.Set(row[0], row[1], row[2]));
    EXPECT_EQ(file.Text(), "[User]\nName=Ann\n");
  }
}

class IniFileOnDisk : public ::testing::Test {
 protected:
  CTempFolder m_folder{"ini"};
};

TEST_F(IniFileOnDisk, LoadTellsMissingFromUnreadable) {
  CIniFile file;
  EXPECT_EQ(file.Load(m_folder.File("none.ini")), CIniFile::LoadResult::Missing);
  EXPECT_EQ(file.Load(m_folder.Path()), CIniFile::LoadResult::Failed);  // a folder
  const std::string path = m_folder.WriteFile("a.ini", "[S]\nK=V\n");
  EXPECT_EQ(file.Load(path), CIniFile::LoadResult::Loaded);
  EXPECT_EQ(file.Find("s", "k"), "V");
}

TEST_F(IniFileOnDisk, AFileLargerThanTheLimitIsRefused) {
  const std::string big = m_folder.WriteFile("big.ini", "");
  fs::resize_file(big, CIniFile::kMaxFileSize + 1);
  CIniFile file;
  EXPECT_EQ(file.Load(big), CIniFile::LoadResult::Failed);
  EXPECT_EQ(file.Text(), "");
}

TEST_F(IniFileOnDisk, WriteAtomicallyReplacesTheFileAndLeavesNoTemporary) {
  const std::string path = m_folder.WriteFile("TVR.INI", "old");
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(CIniFile::WriteAtomically(path, "[S]\nK=V\n"));
  EXPECT_EQ(m_folder.ReadFile("TVR.INI"), "[S]\nK=V\n");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(std::distance(fs::directory_iterator(m_folder.Path()), fs::directory_iterator()), 1);
}

TEST_F(IniFileOnDisk, WriteAtomicallyKeepsASymbolicLinkAndWritesItsTarget) {
  const std::string target = m_folder.WriteFile("real.ini", "old");
  const std::string link = m_folder.File("TVR.INI");
  fs::create_symlink(target, link);
  ASSERT_TRUE(CIniFile::WriteAtomically(link, "new"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(m_folder.ReadFile("real.ini"), "new");
}

TEST_F(IniFileOnDisk, WriteAtomicallyFailsInAMissingFolderAndCreatesNothing) {
  EXPECT_FALSE(CIniFile::WriteAtomically(m_folder.File("missing/TVR.INI"), "x"));
  EXPECT_FALSE(fs::exists(m_folder.File("missing")));
}

TEST_F(IniFileOnDisk, WriteAtomicallyFailsInAReadOnlyFolderAndKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  const std::string path = m_folder.WriteFile("TVR.INI", "old");
  fs::permissions(m_folder.Path(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(CIniFile::WriteAtomically(path, "new"));
  fs::permissions(m_folder.Path(), fs::perms::owner_all);
  EXPECT_EQ(m_folder.ReadFile("TVR.INI"), "old");
}

TEST_F(IniFileOnDisk, RoundTripKeepsCommentsUnknownLinesAndOrder) {
  std::string original =
      "; settings of Tavrilon\n[Zooms]\nAll=0.9\nunknown "
      "line\n\n[Private]\nx=1\n[User]\nName=Ann\n";
  const std::string path = m_folder.WriteFile("TVR.INI", original);
  CIniFile file;
  ASSERT_EQ(file.Load(path), CIniFile::LoadResult::Loaded);
  ASSERT_TRUE(CIniFile::WriteAtomically(path, file.Text()));
  EXPECT_EQ(m_folder.ReadFile("TVR.INI"), original);
}

}  // namespace
}  // namespace tvr::platform
