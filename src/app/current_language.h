#pragma once

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "app/language_mapping.h"
#include "app/settings_keys.h"

class CLanguageFile;

// What the language system needs to know of the installation and the settings.
struct CLanguageSetup {
  std::string catalogueFolder;                                             // ends with '/'
  std::string appNameSetting = CLanguageMapping::kDefaultApplicationName;  // "Language"/"AppName"
  std::array<int, 4> fileVersion{};  // the program's version: major, minor, build, revision
  // The folder of the language files shipped with the program (ends with '/'); its
  // English file gives the texts when the catalogue folder lacks the language's file.
  // Empty: no such fallback.
  std::string shippedFolder;
};

// The language that start-up settles on.
struct CStartLanguage {
  std::string number;      // three digits, "033"
  bool writeBack = false;  // store number as "Language"/"ID"
};

// The language of the running program: where the language files lie, which language
// runs, its loaded texts, and the language files read so far (each parsed once per run).
// One process-wide object; tests call Reset.
class CCurrentLanguage {
 public:
  static constexpr std::string_view kDefaultLanguage = settings_key::kLanguageId.defaultText;
  static constexpr const char* kFallbackLanguage = "044";

  static CCurrentLanguage& Instance();

  // Back to the state of program start: no setup, language "033", nothing loaded, no
  // file cached.
  void Reset();

  void SetSetup(CLanguageSetup setup);
  const CLanguageSetup& Setup() const { return m_setup; }

  // The program's language, as three digits ("33" is stored as "033").
  void SetLanguageNumber(std::string_view number);
  const std::string& LanguageNumber() const { return m_languageNumber; }
  // catalogue folder + "TVR_nnn.TXT" of the integer value of the number.
  std::string LanguageFilePath(std::string_view number) const;

  // Start-up: the language of the settings ("Language"/"ID"), unless its file lacks
  // message 18, in which case "044" runs. The choice is to be written back only when
  // the file was read and lacks the message; a file that could not be read this time
  // does not lose the user's choice. Sets the program's language number.
  CStartLanguage ChooseStartLanguage(std::string_view languageId);

  // Makes the language the program's and loads its texts.
  void LoadLanguage(std::string_view number);
  const CLanguageMapping& Mapping() const { return m_mapping; }

  // The file to read the texts of a language from: the catalogue folder's, else the
  // English file of the shipped folder (shipped is then set); null when neither reads.
  std::shared_ptr<const CLanguageFile> TextFile(std::string_view number, bool* shipped = nullptr);
  // The shipped English file's path; empty without a shipped folder.
  std::string ShippedFilePath() const;

  // The parsed file, read on the first request of its path; null when it could not be
  // read (also remembered, so a missing file is not tried on every look-up).
  std::shared_ptr<const CLanguageFile> File(const std::string& path);

 private:
  CCurrentLanguage() = default;

  CLanguageSetup m_setup;
  std::string m_languageNumber{kDefaultLanguage};
  CLanguageMapping m_mapping;
  std::mutex m_filesMutex;
  std::map<std::string, std::shared_ptr<const CLanguageFile>> m_files;
};
