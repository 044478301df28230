#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace tvr::platform {
namespace {

namespace fs = std::filesystem;

CIniFile Parsed(std::string_view content) {
  CIniFile file;
  file.Parse(content);
  return file;
}

using namespace std::string_literals;

struct FindCase {
  std::string content;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
  const char* guards;
};

class IniFileFind : public ::testing::TestWithParam<FindCase> {};

TEST_P(IniFileFind, ReadsWhatThePlatformRead) {
  const FindCase& c = GetParam();
  EXPECT_EQ(Parsed(c.content).Find(c.section, c.key), c.expected) << c.guards;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniFileFind,
    ::testing::Values(
        FindCase{"[User]\nName=Ann\n", "User", "Name", "Ann", "plain key"},
        FindCase{"[uSeR]\nnAmE=Ann\n", "USER", "name", "Ann", "names ignore letter case"},
        FindCase{"[ User ]\n  Name  =  Ann Lee  \n", "User", "Name", "Ann Lee",
                 "blanks around names and values are trimmed, inner ones kept"},
        FindCase{"[User]\r\nName=Ann\r\n", "User", "Name", "Ann", "CRLF line ends"},
        FindCase{"\xEF\xBB\xBF[User]\nName=Ann\n", "User", "Name", "Ann", "byte-order mark"},
        FindCase{"[User]\nName=\n", "User", "Name", "", "an empty value is a value"},
        FindCase{"[User]\nName=a=b\n", "User", "Name", "a=b", "only the first '=' splits"},
        FindCase{"[User]\nOther=1\n", "User", "Name", std::nullopt, "missing key"},
        FindCase{"[Other]\nName=Ann\n", "User", "Name", std::nullopt, "key of another section"},
        FindCase{"Name=Ann\n[User]\n", "User", "Name", std::nullopt,
                 "keys before any section belong to none"},
        FindCase{"[User]\n;Name=Bob\nName=Ann\n", "User", "Name", "Ann", "comment skipped"},
        FindCase{"[User]\ngarbage line\nName=Ann\n", "User", "Name", "Ann",
                 "a line without '=' is skipped"},
        FindCase{"[User]\n[Broken\nName=Ann\n", "User", "Name", "Ann",
                 "an unterminated bracket neither opens a section nor ends one"},
        FindCase{"[User]\nName=A\x01nn\nName=Bob\n", "User", "Name", "Bob",
                 "a line with control bytes is skipped"},
        FindCase{"[User]\nName=\xFF\xFE\nName=Bob\n", "User", "Name", "Bob",
                 "a line that is not UTF-8 is skipped"},
        FindCase{"[User]\nName=A\0nn\nName=Bob\n"s, "User", "Name", "Bob",
                 "a line with a NUL byte is skipped"},
        FindCase{"[User]\n=Ann\nName=Bob\n", "User", "Name", "Bob", "an empty key is skipped"},
        FindCase{"[User]\nName=Ann\nName=Bob\n", "User", "Name", "Ann", "first of two keys"},
        FindCase{"[User]\nA=1\n[User]\nName=Ann\n", "User", "Name", "Ann",
                 "a section repeated later is searched too"},
        FindCase{"[User]\nName=J\xC3\xA9r\xC3\xB4me\n", "User", "Name", "J\xC3\xA9r\xC3\xB4me",
                 "UTF-8 values"},
        FindCase{"[User]\nName=Ann", "User", "Name", "Ann", "no final line end"},
        FindCase{"", "User", "Name", std::nullopt, "empty file"}));

struct SetCase {
  const char* before;
  const char* section;
  const char* key;
  const char* value;
  const char* after;
  const char* guards;
};

class IniFileSet : public ::testing::TestWithParam<SetCase> {};

TEST_P(IniFileSet, KeepsEveryOtherLine) {
  const SetCase& c = GetParam();
  CIniFile file = Parsed(c.before);
  ASSERT_TRUE(file.Set(c.section, c.key, c.value)) << c.guards;
  EXPECT_EQ(file.Text(), c.after) << c.guards;
  EXPECT_EQ(file.Find(c.section, c.key), c.value) << c.guards;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniFileSet,
    ::testing::Values(
        SetCase{"", "User", "Name", "Ann", "[User]\nName=Ann\n", "new file"},
        SetCase{"; top\n[User]\nName=Ann\n; end\n", "user", "NAME", "Bob",
                "; top\n[User]\nName=Bob\n; end\n", "replaced in place, spelling kept"},
        SetCase{"[User]\nName=Ann\n\n[Colors]\nX=1\n", "User", "Dept", "Sales",
                "[User]\nName=Ann\nDept=Sales\n\n[Colors]\nX=1\n",
                "appended at the end of its section, before the blank separator"},
        SetCase{"[User]\n\n[Colors]\n", "User", "Name", "Ann", "[User]\nName=Ann\n\n[Colors]\n",
                "appended right after a header with nothing under it"},
        SetCase{"[User]\nName=Ann\n", "Colors", "Straight1", "0,255,0",
                "[User]\nName=Ann\n\n[Colors]\nStraight1=0,255,0\n",
                "a missing section goes to the end of the file"},
        SetCase{"[User]\nName=Ann", "Colors", "X", "1", "[User]\nName=Ann\n\n[Colors]\nX=1\n",
                "no final line end before an appended section"},
        SetCase{"[User]\r\nName=Ann\r\n", "User", "Dept", "Sales",
                "[User]\r\nName=Ann\r\nDept=Sales\r\n", "CRLF files stay CRLF"},
        SetCase{"\xEF\xBB\xBF[User]\nName=Ann\n", "User", "Name", "Bob",
                "\xEF\xBB\xBF[User]\nName=Bob\n", "byte-order mark kept"},
        SetCase{"[User]\ngarbage\n[Broken\nName=\xFF\n", "User", "Name", "Bob",
                "[User]\ngarbage\n[Broken\nName=\xFF\nName=Bob\n",
                "damaged lines kept as they are"},
        SetCase{"[User]\n  Name = Ann  \n", "User", "Name", "Bob", "[User]\nName=Bob\n",
                "the rewritten line is key=value"},
        SetCase{"[User]\nName=Ann\n", "User", "Name", "", "[User]\nName=\n", "empty value"},
        SetCase{"[A]\nx=1\n[B]\n[A]\nk=1\n", "A", "k", "2", "[A]\nx=1\n[B]\n[A]\nk=2\n",
                "the key is rewritten where a lookup finds it"},
        SetCase{"[A]\nx=1\n[B]\n[A]\n", "A", "k", "2", "[A]\nx=1\nk=2\n[B]\n[A]\n",
                "a new key goes to the first section of its name"}));

struct RejectCase {
  const char* section;
  const char* key;
  const char* value;
  const char* guards;
};

class IniFileReject : public ::testing::TestWithParam<RejectCase> {};

TEST_P(IniFileReject, RefusesWhatCouldNotBeReadBack) {
  const RejectCase& c = GetParam();
  CIniFile file = Parsed("[User]\nName=Ann\n");
  EXPECT_FALSE(file.Set(c.section, c.key, c.value)) << c.guards;
  EXPECT_EQ(file.Text(), "[User]\nName=Ann\n") << c.guards;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniFileReject,
    ::testing::Values(RejectCase{"User", "Name", "Ann\n[Evil]\nX=1", "line break injects lines"},
                      RejectCase{"User", "Name", "Ann\rBob", "carriage return"},
                      RejectCase{"User", "Name", "\x01", "control byte"},
                      RejectCase{"User", "Name", "\xFF", "not UTF-8"},
                      RejectCase{"User", "Na=me", "x", "'=' in a key"},
                      RejectCase{"User", "[Name", "x", "key read as a section"},
                      RejectCase{"User", ";Name", "x", "key read as a comment"},
                      RejectCase{"User", "", "x", "empty key"},
                      RejectCase{"Us]er", "Name", "x", "']' in a section"},
                      RejectCase{"", "Name", "x", "empty section"},
                      RejectCase{"User\n", "Name", "x", "line break in a section"}));

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
