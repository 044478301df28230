#include "app/language_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "language_test_support.h"

namespace {

namespace fs = std::filesystem;

std::string LanguageText(const char* name, const char* chars, const char* projects) {
  return std::string("[LANG]\r\nCHARS=") + chars + "\r\n00000=" + name +
         "\r\n[MSG]\r\n00014=" + projects + "\r\n";
}

TEST(LanguageListTest, ListsTheUsableLanguageFiles) {
  CLanguageTestFolder folder;
  folder.WriteFile("TVR_044.TXT", LanguageText("English", "LATIN", "%APP Projects"));
  folder.WriteFile("tvr_033.txt", Utf16Le(LanguageText("Fran\xC3\xA7"
                                                       "ais",
                                                       "LATIN", "P")));
  folder.WriteFile("TVR_030.TXT", LanguageText("Greek", "GREEK", ""));
  folder.WriteFile("TVR_ABC.TXT", LanguageText("Number 0", "LATIN", ""));
  folder.WriteFile("TVR_012.TXT", "[LANG]\nCHARS=LATIN\n");  // no name
  folder.WriteFile("TVR_1234.TXT", LanguageText("Four digits", "LATIN", ""));
  folder.WriteFile("OTHER.TXT", LanguageText("Other", "LATIN", ""));
  fs::create_directory(folder.Path() + "TVR_099.TXT");
  const std::vector<CLanguageFileInfo> files = ListLanguageFiles(folder.Path());
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0].path, folder.Path() + "TVR_030.TXT");
  EXPECT_EQ(files[0].number, 30);
  EXPECT_EQ(files[0].charset, 161);
  EXPECT_EQ(files[1].path, folder.Path() + "TVR_044.TXT");
  EXPECT_EQ(files[1].projectsName, "%APP Projects");
  EXPECT_EQ(files[2].path, folder.Path() + "tvr_033.txt");
  EXPECT_EQ(files[2].number, 33);
  EXPECT_EQ(files[2].name,
            "Fran\xC3\xA7"
            "ais");
}

TEST(LanguageListTest, MissingFolderGivesNoLanguage) {
  CLanguageTestFolder folder;
  EXPECT_TRUE(ListLanguageFiles(folder.Path() + "missing/").empty());
}

TEST(LanguageListTest, OrdersByNumberAndKeepsFileOrderOfEqualNumbers) {
  const std::vector<CLanguageFileInfo> files = {
      {"a", 44, 0, "English A", ""}, {"b", 33, 0, "French", ""},  {"c", 44, 0, "English C", ""},
      {"d", 1, 0, "US", ""},         {"e", 30, 161, "Greek", ""}, {"f", 44, 1, "English F", ""}};
  const std::vector<CLanguageEntry> list = BuildLanguageList(files);
  ASSERT_EQ(list.size(), 6u);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"001--0", "US"},        {"030--161", "Greek"},   {"033--0", "French"},
      {"044--0", "English A"}, {"044--0", "English C"}, {"044--1", "English F"}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(list[i].key, expected[i].first) << i;
    EXPECT_EQ(list[i].name, expected[i].second) << i;
  }
}

class ProjectsFolderTest : public testing::Test {
 protected:
  std::string Documents() const { return m_folder.Path() + "docs/"; }
  void SetUp() override { fs::create_directories(Documents()); }

  std::string Settle(const std::vector<CLanguageFileInfo>& files, int current,
                     const std::string& setting = "") const {
    return SettleProjectsFolder(files, {Documents(), "Tavrilon", current, setting});
  }

  CLanguageTestFolder m_folder;
};

TEST_F(ProjectsFolderTest, TakesTheFirstExistingFolderInListingOrder) {
  fs::create_directory(Documents() + "Projets Tavrilon");
  fs::create_directory(Documents() + "Tavrilon Projects");
  const std::vector<CLanguageFileInfo> files = {{"", 44, 0, "English", "%APP Projects"},
                                                {"", 33, 0, "French", "Projets %APP"}};
  EXPECT_EQ(Settle(files, 33), Documents() + "Tavrilon Projects/");
}

TEST_F(ProjectsFolderTest, CreatesTheFolderOfTheCurrentLanguage) {
  const std::vector<CLanguageFileInfo> files = {{"", 44, 0, "English", "%APP Projects"},
                                                {"", 33, 0, "French", "Projets %APP %APP"}};
  EXPECT_EQ(Settle(files, 33), Documents() + "Projets Tavrilon %APP/") << "first %APP only";
  EXPECT_TRUE(fs::is_directory(Documents() + "Projets Tavrilon %APP"));
}

TEST_F(ProjectsFolderTest, KeepsTheDocumentsFolderWhenNoNameFolderCanBeHad) {
  fs::create_directory(m_folder.Path() + "outside");
  m_folder.WriteFile("docs/Projets Tavrilon", "a file in the way");
  const std::vector<CLanguageFileInfo> files = {{"", 44, 0, "English", "%APP Projects"},
                                                {"", 45, 0, "Up", "../outside"},
                                                {"", 46, 0, "Dot", ".."},
                                                {"", 33, 0, "French", "a/b"},
                                                {"", 30, 0, "Greek", ""},
                                                {"", 31, 0, "Dutch", "Projets %APP"}};
  EXPECT_EQ(Settle(files, 30), Documents()) << "the current language has no name";
  EXPECT_EQ(Settle(files, 49), Documents()) << "the current language is not listed";
  EXPECT_EQ(Settle(files, 33), Documents()) << "names that leave the documents folder";
  EXPECT_EQ(Settle(files, 31), Documents()) << "the folder cannot be made";
  EXPECT_FALSE(fs::exists(Documents() + "Tavrilon Projects"));
  EXPECT_FALSE(fs::exists(Documents() + "a"));
}

TEST_F(ProjectsFolderTest, TheSettingComesFirstWhenItExists) {
  fs::create_directory(m_folder.Path() + "mine");
  const std::vector<CLanguageFileInfo> files = {{"", 33, 0, "French", "Projets %APP"}};
  EXPECT_EQ(Settle(files, 33, m_folder.Path() + "mine"), m_folder.Path() + "mine/");
  EXPECT_EQ(Settle(files, 33, m_folder.Path() + "gone"), Documents() + "Projets Tavrilon/");
}

}  // namespace
