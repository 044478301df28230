#include "app/language_mapping.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/current_language.h"
#include "app/message_text.h"
#include "language_test_support.h"
#include "support/case_table.h"

namespace {

class LanguageMappingTest : public testing::Test {
 protected:
  void SetUp() override { UseAppName("Tavrilon"); }

  void UseAppName(const std::string& appNameSetting) {
    m_appNameSetting = appNameSetting;
    m_folder.UseAsCatalogue(m_appNameSetting);
  }

  // Loads a file of these bytes as language 033; files read before are forgotten.
  CLanguageMapping Load(const std::string& lines) {
    CCurrentLanguage::Instance().Reset();
    m_folder.UseAsCatalogue(m_appNameSetting);
    m_folder.WriteFile("TVR_033.TXT", lines);
    CLanguageMapping mapping;
    mapping.LoadLanguage("033");
    return mapping;
  }

  CLanguageTestFolder m_folder;
  std::string m_appNameSetting;
};

TEST_F(LanguageMappingTest, ReadsEveryKindOfLineIn8BitAndUtf16) {
  std::string file = "[LANG]\r\nCHARS=LATIN\r\n00000=Test\r\n[MSG]\r\nno equals sign\r\n";
  const std::vector<CCaseRow> rows = ReadCaseTable("app/language_lines.tsv", 4);
  for (const CCaseRow& row : rows) file += row[1] + "\r\n";
  for (const std::string& bytes : {file, Utf16Le(file)}) {
    SCOPED_TRACE(bytes[0] == '[' ? "8-bit" : "UTF-16");
    const CLanguageMapping mapping = Load(bytes);
    ASSERT_TRUE(mapping.IsLoaded());
    for (const CCaseRow& row : rows) {
      EXPECT_EQ(mapping.LookupText(static_cast<int>(row.Int(2))), row[3])
          << row.where << " " << row[0];
    }
  }
}

TEST_F(LanguageMappingTest, NumberTextsReadAsTheCLibraryReadsThem) {
  const CLanguageMapping mapping = Load("00365=Rotate\n");
  EXPECT_EQ(mapping.LookupText("00365"), "Rotate");
  EXPECT_EQ(mapping.LookupText("365"), "Rotate");
  EXPECT_EQ(mapping.LookupText(" +365 and more"), "Rotate");
  EXPECT_EQ(mapping.LookupText(""), "");
  EXPECT_EQ(mapping.LookupText("abc"), "");
  EXPECT_EQ(mapping.LookupText("99999999999999999999"), "");
}

TEST_F(LanguageMappingTest, ComputesTextsAfterTheFile) {
  const CLanguageMapping mapping = Load("00365=Rotate\n00366=Back\n07575=Own catalogue\n");
  EXPECT_EQ(mapping.LookupText(7575), "Own catalogue") << "the file's text wins";
  EXPECT_EQ(mapping.LookupText(17), "Tavrilon");
  EXPECT_EQ(mapping.LookupText(5093), "Rotate\nRotate");
  EXPECT_EQ(mapping.LookupText(5094), "Back\nBack");
  EXPECT_EQ(mapping.LookupText(5092), "\n") << "an unknown message counts as empty";
  EXPECT_EQ(Load("00001=x\n").LookupText(7575), "Cat033");
}

TEST_F(LanguageMappingTest, SectionsAreNotLookedAt) {
  const CLanguageMapping mapping = Load("00400=before any section\n[LANG]\n00401=in LANG\n");
  EXPECT_EQ(mapping.LookupText(400), "before any section");
  EXPECT_EQ(mapping.LookupText(401), "in LANG");
  EXPECT_EQ(mapping.LookupText(0), "") << "00000 and CHARS never become messages";
  const CLanguageMapping noMessages = Load("[LANG]\nCHARS=LATIN\n00000=Name only\n");
  EXPECT_TRUE(noMessages.IsLoaded());
  EXPECT_EQ(noMessages.LookupText(17), "Tavrilon");
  EXPECT_EQ(noMessages.LookupText(365), "");
}

TEST_F(LanguageMappingTest, TakesCharsetNameAndVersion) {
  UseAppName("  Acme Studio 9.2 ");
  const CLanguageMapping mapping = Load("[LANG]\nCHARS=CYRILLIC\n[MSG]\n00001=%APP\n");
  EXPECT_EQ(mapping.Charset(), 204);
  EXPECT_EQ(mapping.ApplicationName(), "Acme");
  EXPECT_EQ(mapping.VersionText(), "9.2");
  EXPECT_EQ(mapping.LookupText(1), "Acme");
  EXPECT_EQ(mapping.Language(), "033");
  EXPECT_EQ(Load("[LANG]\nCHARS=cyrillic\n").Charset(), 1) << "lower case is not recognised";
}

TEST_F(LanguageMappingTest, LanguageNumbersNameOneFile) {
  m_folder.WriteFile("TVR_007.TXT", "00001=seven\n");
  CLanguageMapping mapping;
  mapping.LoadLanguage("7");
  EXPECT_EQ(mapping.Language(), "007");
  EXPECT_EQ(mapping.LookupText(1), "seven");
}

TEST_F(LanguageMappingTest, MissingFileLeavesKeysVisible) {
  CLanguageMapping mapping;
  mapping.LoadLanguage("099");
  EXPECT_FALSE(mapping.IsLoaded());
  EXPECT_EQ(mapping.LookupText(300), "");
  EXPECT_EQ(mapping.ApplicationName(), "Tavrilon") << "the name is settled in any case";
  CCurrentLanguage::Instance().LoadLanguage("099");
  EXPECT_EQ(ResourceText(300), "MSG_0300");
  EXPECT_EQ(StringText(32023), "MSG_32023");
}

TEST_F(LanguageMappingTest, ALoaderThatNeverLoadedReadsTheMessageSection) {
  m_folder.WriteFile("TVR_033.TXT",
                     "[LANG]\n00365=not here\n[MSG]\n00366= Direct \n367=short key\n"
                     "S3=Solution three\nIT05=Item five\n00017=Own name\n00391=%APP ends (%APP)\n");
  const CLanguageMapping fresh;
  EXPECT_FALSE(fresh.IsLoaded());
  EXPECT_EQ(fresh.LookupText(365), "") << "only section MSG";
  EXPECT_EQ(fresh.LookupText(366), "Direct") << "read as a settings file: blanks trimmed";
  EXPECT_EQ(fresh.LookupText(367), "") << "only the five-digit key";
  EXPECT_EQ(fresh.LookupText(32117), "Solution three");
  EXPECT_EQ(fresh.LookupText(32129), "Item five");
  EXPECT_EQ(fresh.LookupText(17), "Own name");
  EXPECT_EQ(fresh.LookupText(5093), "") << "nothing is computed";
  EXPECT_EQ(fresh.LookupText(391), "Tavrilon ends (Tavrilon)")
      << "the name as a loaded language gives it";
}

TEST_F(LanguageMappingTest, ParsesAFileOncePerRun) {
  m_folder.WriteFile("TVR_033.TXT", "[MSG]\n00001=first\n");
  const CLanguageMapping fresh;
  EXPECT_EQ(fresh.LookupText(1), "first");
  m_folder.WriteFile("TVR_033.TXT", "[MSG]\n00001=changed\n");
  EXPECT_EQ(fresh.LookupText(1), "first") << "no file read per look-up";
  CLanguageMapping loaded;
  loaded.LoadLanguage("033");
  EXPECT_EQ(loaded.LookupText(1), "first") << "the loader shares the parsed file";
  std::filesystem::remove(m_folder.Path() + "TVR_033.TXT");
  EXPECT_EQ(fresh.LookupText(1), "first");
  CCurrentLanguage::Instance().Reset();
  m_folder.UseAsCatalogue();
  EXPECT_EQ(fresh.LookupText(1), "") << "a reset forgets the file";
}

TEST_F(LanguageMappingTest, KeepsLongTextsWhole) {
  const std::string text(100'000, 'z');
  EXPECT_EQ(Load("00001=" + text + "\n").LookupText(1), text);
}

struct NameCase {
  const char* setting;
  std::array<int, 4> version;
  const char* name;
  const char* versionText;
};

TEST(ApplicationNameTest, SplitsNameAndVersion) {
  const NameCase cases[] = {
      {"Tavrilon", {7, 3, 0, 0}, "Tavrilon", "7.3"}, {"", {7, 3, 1, 0}, "Tavrilon", "7.3.1"},
      {" \t ", {7, 3, 1, 2}, "Tavrilon", "7.3.1.2"}, {"  Acme  ", {1, 0, 0, 5}, "Acme", "1.0.0.5"},
      {"Acme 2.5", {7, 3, 0, 0}, "Acme", "2.5"},     {"Acme Pro 2.5", {7, 3, 0, 0}, "Acme", "2.5"}};
  for (const NameCase& c : cases) {
    const CApplicationName result = ApplicationNameAndVersion(c.setting, c.version);
    EXPECT_EQ(result.name, c.name) << c.setting;
    EXPECT_EQ(result.version, c.versionText) << c.setting;
  }
}

}  // namespace
