#include "app/language_mapping.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/current_language.h"
#include "app/message_text.h"
#include "language_test_support.h"

namespace {

// A language file of every kind of line the loader meets, with the number and text that
// each is expected to give (empty: the line gives no message).
struct LineCase {
  const char* fault;
  const char* line;
  int number;
  const char* text;
};

const LineCase kLineCases[] = {
    {"five-digit key", "00365=Rotate", 365, "Rotate"},
    {"short key of the same number", "365=Later", 365, "Rotate"},
    {"first occurrence wins", "00365=Again", 365, "Rotate"},
    {"IT05 is 32129", "IT05=Item five", 32129, "Item five"},
    {"S10 is 32124", "S10=Solution ten", 32124, "Solution ten"},
    {"S1 is 32115", "S1=Solution one", 32115, "Solution one"},
    {"S11 is no message", "S11=eleven", 32125, ""},
    {"IT41 is no message", "IT41=forty-one", 32165, ""},
    {"SOMETHING is no message", "SOMETHING=x", 32114, ""},
    {"nothing after '='", "00300=", 300, ""},
    {"blanks around a text are kept", "00301=  padded  ", 301, "  padded  "},
    {"'=' first on the line", "=00302", 302, ""},
    {"a negative key", "-303=negative", -303, ""},
    {"a key beyond int", "99999999999=huge", 0, ""},
    {"the largest int key", "2147483647=largest", 2147483647, "largest"},
    {"digits then letters", "304abc=digits first", 304, "digits first"},
    {"%APP twice", "00305=%APP and %APP", 305, "Tavrilon and Tavrilon"},
    {"8056 gets numeric formats", "08056=%1 of %2, %1 again", 8056, "%u of %u, %1 again"},
    {"8057 gets numeric formats", "08057=%3 x %2", 8057, "%u x %u"},
    {"escapes stay in the text", "00306=a\\nb", 306, "a\\nb"},
    {"a file's own 17 wins", "00017=Own name", 17, "Own name"},
    {"a text with '='", "00307=a=b", 307, "a=b"},
    {"a file's 18 becomes the document template", "00018=Layouts", 18,
     "\n\nTavrilon\nLayouts (*.run)\n.run\nTavrilon.Document\nTavrilon Document"},
};

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
  for (const LineCase& row : kLineCases) file += std::string(row.line) + "\r\n";
  for (const std::string& bytes : {file, Utf16Le(file)}) {
    SCOPED_TRACE(bytes[0] == '[' ? "8-bit" : "UTF-16");
    const CLanguageMapping mapping = Load(bytes);
    ASSERT_TRUE(mapping.IsLoaded());
    for (const LineCase& row : kLineCases)
      EXPECT_EQ(mapping.LookupText(row.number), row.text) << row.fault;
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
