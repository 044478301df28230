#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvr::platform {
class CIniFile;
}

// One key of the settings file with the text to write to it.
struct CProfileValue {
  std::string section;
  std::string key;
  std::string value;
};

// The settings file "TVR.INI": the one way the program reads and writes its settings.
// Missing files and keys yield the caller's default; section and key names compare
// without regard to letter case; values are trimmed of surrounding blanks; a write
// keeps every other line of the file and replaces the file atomically (new file
// renamed over the old one). The file is UTF-8 text. A profile on an empty path (no
// settings folder) reads every default and fails every write.
class CProfile {
 public:
  // The longest value read, in characters; longer values are cut.
  static constexpr std::size_t kMaxValueCharacters = 999;

  explicit CProfile(std::string path);

  // The value, cut to 999 characters, or the default when the key is missing.
  std::string ReadProfileText(std::string_view section, std::string_view key,
                              std::string_view defaultText) const;
  // The leading decimal digits of the value (optional sign, held to the int range),
  // 0 when there are none, or the default when the key is missing or empty.
  int ReadProfileInt(std::string_view section, std::string_view key, int defaultValue) const;
  // False when the file could not be written, cannot be read back whole, or the texts
  // cannot be stored on one line (line breaks, control bytes); nothing is changed then.
  [[nodiscard]] bool WriteProfileText(std::string_view section, std::string_view key,
                                      std::string_view value);
  // Writes the decimal text of the value; non-zero on success, 0 on failure.
  [[nodiscard]] int WriteProfileInt(std::string_view section, std::string_view key, int value);
  // Writes several keys with one replacement of the file: all of them or none.
  [[nodiscard]] bool WriteProfileValues(const std::vector<CProfileValue>& values);

  const std::string& Path() const { return m_path; }

  // The profile of the same file as it reads now, read once: a caller that reads many
  // keys in a row reads them from it instead of reading the file again for each. After a
  // write through it, it reads the file again.
  CProfile ReadOnce() const;

 private:
  std::optional<std::string> FindValue(std::string_view section, std::string_view key) const;

  std::string m_path;
  // The file's values as ReadOnce found them; null for a profile that reads the file.
  std::shared_ptr<const tvr::platform::CIniFile> m_read;
};
