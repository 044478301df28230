#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// The texts of one language by message number.
//
// LoadLanguage reads the language file "TVR_nnn.TXT" of the catalogue folder of the
// current language (CCurrentLanguage) once and keeps its texts in a hash by number:
// every line "number=text" counts, in whatever section it stands ("00365" and "365" name
// one message; "S1".."S10" are 32115..32124, "IT01".."IT40" 32125..32164), the first
// occurrence of a number wins, "%APP" becomes the application name, and the texts 7575,
// 17, 5092, 5093 and 5094 are computed after the file (a file's own text wins).
//
// A mapping that never loaded a file answers from the file of the program's current
// language read as a settings file: section "MSG", key "%05d" of the number (or the
// short key), "%APP" replaced by the application name of the current setup. Files are
// parsed once per run (CCurrentLanguage caches them).
//
// Texts are returned as the file holds them: escapes such as "\n" are left for the
// window side (ResourceText, StringText) to turn into characters.
class CLanguageMapping {
 public:
  static constexpr const char* kDefaultApplicationName = "Tavrilon";

  // Not loaded: every look-up reads the current language's file.
  CLanguageMapping() = default;

  // Loads the file of that language ("33" and "033" name the same file), or the shipped
  // English file when the catalogue folder has none (CCurrentLanguage::TextFile). A
  // file that cannot be read leaves the mapping not loaded. The application name and version are
  // settled in any case, from the current language's setup.
  void LoadLanguage(std::string_view languageNumberText);

  // The text of the message whose number is the integer reading of the text; empty for
  // an empty text, an unknown number or a number out of range.
  std::string LookupText(std::string_view numberText) const;
  std::string LookupText(int number) const;

  bool IsLoaded() const { return m_loaded; }
  // The texts came from the shipped English file: the language's own file was missing.
  bool FromShippedFile() const { return m_shipped; }
  // The three-digit language text of the last LoadLanguage ("033").
  const std::string& Language() const { return m_language; }
  // The Windows character-set value of the language's "CHARS" (1 when none is named).
  int Charset() const { return m_charset; }
  const std::string& ApplicationName() const { return m_applicationName; }
  const std::string& VersionText() const { return m_versionText; }

 private:
  void AddLine(std::string_view line);
  void AddComputedTexts();
  std::string ReadDirectly(int number) const;

  std::string m_language;
  int m_charset = 1;
  std::string m_applicationName = kDefaultApplicationName;
  std::string m_versionText;
  bool m_loaded = false;
  bool m_shipped = false;
  std::unordered_map<int, std::string> m_texts;
};

// The integer reading of a text as the C library reads one: leading white space, an
// optional sign, then decimal digits up to the first other character; 0 without digits.
// Nothing when the value does not fit an int.
std::optional<int> LeadingInt(std::string_view text);

// The language text of a number: three digits with leading zeros ("033").
std::string LanguageNumberText(int number);

struct CApplicationName {
  std::string name;
  std::string version;
};

// The application name and version from "Language"/"AppName" (as read, default
// "Tavrilon") and the program's file version (major, minor, build, revision): blanks
// trimmed, "Tavrilon" for an empty text; a text with a blank after its first character
// gives its version after the last blank and its name before the first blank;
// otherwise the version is the file version's text.
CApplicationName ApplicationNameAndVersion(std::string_view appNameSetting,
                                           const std::array<int, 4>& fileVersion);

// "major.minor", then ".build" when build or revision is not 0, then ".revision" when
// revision is not 0 (7.3.0.0 gives "7.3", 7.3.1.0 "7.3.1", 7.3.1.2 "7.3.1.2").
std::string FileVersionText(const std::array<int, 4>& fileVersion);
