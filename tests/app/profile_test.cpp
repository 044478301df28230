#include "app/profile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

class ProfileTest : public ::testing::Test {
 protected:
  CTempFolder m_folder{"profile"};
  std::string m_path = m_folder.File("TVR.INI");
};

TEST_F(ProfileTest, AMissingFileGivesEveryDefault) {
  CProfile profile(m_path);
  EXPECT_EQ(profile.ReadProfileText("User", "Name", "UnKnown"), "UnKnown");
  EXPECT_EQ(profile.ReadProfileInt("Design", "Copper", 7), 7);
  EXPECT_FALSE(fs::exists(m_path));  // reading creates nothing
}

TEST_F(ProfileTest, IntegersReadTheLeadingDigits) {
  const struct {
    const char* value;
    int expected;
    const char* guards;
  } cases[] = {{"12", 12, "number"},
               {"-3", -3, "negative"},
               {"12abc", 12, "leading digits"},
               {"abc", 0, "no digits give 0, not the default"},
               {"", 99, "an empty value gives the default"},
               {"1.9", 1, "no rounding"},
               {"99999999999", 2147483647, "held, not wrapped"}};
  for (const auto& c : cases) {
    m_folder.WriteFile("TVR.INI", std::string("[Design]\nKey=") + c.value + "\n");
    EXPECT_EQ(CProfile(m_path).ReadProfileInt("Design", "Key", 99), c.expected) << c.guards;
  }
}

// A profile read once gives what the file held then, as the file gives it (defaults,
// trimming, cutting), until a write through it, and a missing file gives every default.
TEST_F(ProfileTest, AProfileReadOnceGivesWhatTheFileHeldThen) {
  CProfile missing = CProfile(m_path).ReadOnce();
  EXPECT_EQ(missing.ReadProfileText("User", "Name", "UnKnown"), "UnKnown");
  m_folder.WriteFile("TVR.INI", "[User]\nName=  Ada  \n[Design]\nCopper=12abc\n");
  CProfile profile(m_path);
  CProfile once = profile.ReadOnce();
  m_folder.WriteFile("TVR.INI", "[User]\nName=Grace\n");
  EXPECT_EQ(once.ReadProfileText("User", "Name", "?"), "Ada");
  EXPECT_EQ(once.ReadOnce().ReadProfileInt("Design", "Copper", 7), 12);
  EXPECT_EQ(once.ReadProfileText("User", "Missing", "default"), "default");
  EXPECT_EQ(profile.ReadProfileText("User", "Name", "?"), "Grace");
  ASSERT_TRUE(once.WriteProfileText("User", "Town", "Paris"));
  EXPECT_EQ(once.ReadProfileText("User", "Name", "?"), "Grace");
  EXPECT_EQ(once.ReadProfileInt("Design", "Copper", 7), 7);
}

TEST_F(ProfileTest, ValuesAreCutTo999Characters) {
  std::string longAscii(1500, 'a');
  std::string longUtf8;
  for (int i = 0; i < 1200; ++i) longUtf8 += "\xC3\xA9";
  CProfile profile(m_path);
  ASSERT_TRUE(profile.WriteProfileText("User", "A", longAscii));
  ASSERT_TRUE(profile.WriteProfileText("User", "B", longUtf8));
  EXPECT_EQ(profile.ReadProfileText("User", "A", ""), std::string(999, 'a'));
  std::string cut = profile.ReadProfileText("User", "B", "");
  EXPECT_EQ(cut.size(), 999u * 2);  // 999 whole characters, none split
  EXPECT_EQ(cut, longUtf8.substr(0, 999 * 2));
  EXPECT_EQ(profile.ReadProfileText("User", "C", std::string(1000, 'd')), std::string(999, 'd'));
}

TEST_F(ProfileTest, WriteProfileValuesWritesAllOrNothing) {
  m_folder.WriteFile("TVR.INI", "[User]\nName=Ann\n");
  CProfile profile(m_path);
  EXPECT_FALSE(
      profile.WriteProfileValues({{"User", "Name", "Bob"}, {"User", "Dept", "bad\nline"}}));
  EXPECT_EQ(m_folder.ReadFile("TVR.INI"), "[User]\nName=Ann\n");
  EXPECT_TRUE(profile.WriteProfileValues({{"User", "Name", "Bob"}, {"User", "Dept", "R&D"}}));
  EXPECT_EQ(m_folder.ReadFile("TVR.INI"), "[User]\nName=Bob\nDept=R&D\n");
}

TEST_F(ProfileTest, WritesThatCannotBeDoneFailAndChangeNothing) {
  m_folder.WriteFile("file", "x");
  fs::create_directory(m_path);  // exists, unreadable as a file
  const struct {
    std::string path;
    const char* fault;
  } cases[] = {{m_folder.File("none/TVR.INI"), "missing folder"},
               {m_folder.File("file/TVR.INI"), "below a file"},
               {m_path, "a file that cannot be read is never overwritten"},
               {"", "no path"}};
  for (const auto& c : cases) {
    CProfile profile(c.path);
    EXPECT_EQ(profile.ReadProfileText("User", "Name", "UnKnown"), "UnKnown") << c.fault;
    EXPECT_EQ(profile.WriteProfileInt("Design", "Support", 2), 0) << c.fault;
    EXPECT_FALSE(profile.WriteProfileText("User", "Name", "Ann")) << c.fault;
  }
  EXPECT_FALSE(fs::exists(m_folder.File("none")));
  EXPECT_EQ(m_folder.ReadFile("file"), "x");
  EXPECT_TRUE(fs::is_directory(m_path));
}

TEST_F(ProfileTest, ValuesAreTrimmedAndKeyTextsThatCannotBeStoredAreRefused) {
  CProfile profile(m_path);
  ASSERT_TRUE(profile.WriteProfileText("User", "Name", "  Ann  "));
  EXPECT_EQ(profile.ReadProfileText("User", "Name", ""), "Ann");
  EXPECT_FALSE(profile.WriteProfileText("User", "Na=me", "x"));
  EXPECT_FALSE(profile.WriteProfileText("User", "Name", "a\r\nb"));
  EXPECT_EQ(profile.ReadProfileText("User", "Name", ""), "Ann");
}

}  // namespace
