#pragma once

#include <string>
#include <string_view>

// The settings file "TVR.INI": the one way the program reads and writes its settings.
// Missing files and keys yield the caller's default; section and key names compare
// without regard to letter case; a write keeps every other line of the file and
// replaces the file atomically (new file renamed over the old one).
class CProfile {
 public:
  explicit CProfile(std::string path);

  // The value, cut to 999 characters, or the default when the key is missing.
  std::string ReadProfileText(std::string_view section, std::string_view key,
                              std::string_view defaultText) const;
  // The leading decimal digits of the value (optional sign), 0 when there are none,
  // or the default when the key is missing.
  int ReadProfileInt(std::string_view section, std::string_view key, int defaultValue) const;
  // False when the file could not be written (nothing is changed then).
  bool WriteProfileText(std::string_view section, std::string_view key, std::string_view value);
  // Writes the decimal text of the value; non-zero on success, 0 on failure.
  int WriteProfileInt(std::string_view section, std::string_view key, int value);

  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};
