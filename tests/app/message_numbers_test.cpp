// Every message number that the program uses must have a text in both language files.
//
// How to write a message number so that this test finds it (and so that the lead can add
// the texts): write it as a decimal literal in one of these forms, anywhere under src/:
//   LookupText(123)  ResourceText(123)  StringText(123)  ResourceQText(123)  StringQText(123)
//   MessageBoxById(123, ...)  FormatMessageText(123, ...)  FormatMessageTextD(123, ...)
//   (and the other short forms DD, S, SS, SSS)  SetMessageText(widget, 123)
// or as a constant whose name begins with kMsg:  constexpr int kMsgSaveChanges = 123;
// A number computed at run time (from a table field, an offset) is not found: add its
// texts to both files by hand and, where you can, give its base a kMsg... constant.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>

#include "app/current_language.h"
#include "app/language_file.h"
#include "app/language_mapping.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

using UsedNumbers = std::map<int, std::string>;  // number -> first place of use

void CollectNumbers(const std::string& text, const std::regex& pattern, const std::string& where,
                    UsedNumbers& used) {
  for (std::sregex_iterator match(text.begin(), text.end(), pattern), end; match != end; ++match)
    used.emplace(std::stoi((*match)[1].str()), where);
}

UsedNumbers NumbersUsedInSources() {
  static const std::regex kCall(
      R"(\b(?:LookupText|ResourceText|StringText|ResourceQText|StringQText|MessageBoxById|)"
      R"(FormatMessageText(?:D|DD|S|SS|SSS)?)\s*\(\s*(\d+)\s*[,)])");
  static const std::regex kSetText(R"(\bSetMessageText\s*\([^;]*?,\s*(\d+)\s*\))");
  static const std::regex kConstant(R"(\bkMsg\w*\s*=\s*(\d+)\b)");
  UsedNumbers used;
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(TVR_SOURCE_DIR) / "src")) {
    const std::string extension = entry.path().extension().string();
    if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
    const std::string text = ReadWholeFile(entry.path().string());
    const std::string where = fs::relative(entry.path(), TVR_SOURCE_DIR).string();
    for (const std::regex* pattern : {&kCall, &kSetText, &kConstant})
      CollectNumbers(text, *pattern, where, used);
  }
  return used;
}

// The texts of a language as the program loads them from a folder.
class LoadedLanguage {
 public:
  LoadedLanguage(const std::string& folder, const std::string& number) {
    CCurrentLanguage::Instance().Reset();
    CLanguageSetup setup;
    setup.catalogueFolder = folder;
    CCurrentLanguage::Instance().SetSetup(setup);
    m_mapping.LoadLanguage(number);
  }
  ~LoadedLanguage() { CCurrentLanguage::Instance().Reset(); }
  const CLanguageMapping& Mapping() const { return m_mapping; }

 private:
  CLanguageMapping m_mapping;
};

std::string ProgramLanguageFolder() { return std::string(TVR_PROGRAM_DIR) + "/DBF/"; }
std::string SourceLanguageFolder() { return std::string(TVR_SOURCE_DIR) + "/data/lang/"; }

TEST(MessageNumbersTest, TheScanFindsTheForms) {
  const UsedNumbers used = NumbersUsedInSources();
  for (int number : {2710, 2711, 2712, 2713}) EXPECT_TRUE(used.contains(number)) << number;
}

TEST(MessageNumbersTest, EveryUsedNumberHasATextInBothLanguages) {
  const UsedNumbers used = NumbersUsedInSources();
  for (const char* folder : {"program", "sources"}) {
    const std::string path =
        folder == std::string("program") ? ProgramLanguageFolder() : SourceLanguageFolder();
    for (const char* language : {"044", "033"}) {
      const LoadedLanguage loaded(path, language);
      ASSERT_TRUE(loaded.Mapping().IsLoaded()) << path << " TVR_" << language << ".TXT";
      for (const auto& [number, where] : used)
        EXPECT_FALSE(loaded.Mapping().LookupText(number).empty())
            << "message " << number << " (used in " << where << ") has no text in TVR_" << language
            << ".TXT of the " << folder;
    }
  }
}

TEST(MessageNumbersTest, BothLanguagesHoldTheSameNumbers) {
  std::set<std::string> keys[2];
  const char* files[2] = {"TVR_044.TXT", "TVR_033.TXT"};
  for (int i = 0; i < 2; ++i) {
    const std::optional<CLanguageFile> file =
        CLanguageFile::Read(SourceLanguageFolder() + files[i]);
    ASSERT_TRUE(file) << files[i];
    for (const std::string& line : file->Lines()) {
      const std::size_t equals = line.find('=');
      if (equals == std::string::npos || equals == 0 || line[0] == ';') continue;
      // A number given twice would show one of its texts and lose the other's meaning.
      EXPECT_TRUE(keys[i].insert(line.substr(0, equals)).second)
          << line.substr(0, equals) << " twice in " << files[i];
    }
  }
  for (const std::string& key : keys[0]) EXPECT_TRUE(keys[1].contains(key)) << key << " not in 033";
  for (const std::string& key : keys[1]) EXPECT_TRUE(keys[0].contains(key)) << key << " not in 044";
}

TEST(MessageNumbersTest, TheProgramShipsBothEncodings) {
  const std::string french = ReadWholeFile(ProgramLanguageFolder() + "TVR_033.TXT");
  const std::string english = ReadWholeFile(ProgramLanguageFolder() + "TVR_044.TXT");
  ASSERT_GE(french.size(), 2u);
  EXPECT_EQ(french.substr(0, 2), "\xFF\xFE") << "French is UTF-16LE with the mark";
  EXPECT_EQ(french.size() % 2, 0u);
  ASSERT_FALSE(english.empty());
  EXPECT_NE(english.substr(0, 2), "\xFF\xFE") << "English is 8-bit text";
  EXPECT_NE(english.find("\r\n"), std::string::npos) << "lines end with CR LF";
  for (const char* language : {"044", "033"}) {
    const std::optional<CLanguageFile> file =
        CLanguageFile::Read(ProgramLanguageFolder() + "TVR_" + language + ".TXT");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->ProfileText("LANG", "CHARS"), "LATIN") << language;
    EXPECT_FALSE(file->ProfileText("LANG", "00000").empty()) << language;
    EXPECT_FALSE(file->ProfileText("MSG", "00018").empty()) << language << " must be usable";
  }
}

}  // namespace
