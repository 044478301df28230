#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One language file "TVR_nnn.TXT", decoded to UTF-8 lines.
//
// A file that begins with the mark FF FE is UTF-16 little-endian text; any other file is
// 8-bit text: UTF-8, except that a line which is not valid UTF-8 is read as Windows-1252,
// as older files were written. Lines end at LF; trailing CR and LF characters are removed.
// Nothing in a file can make reading fail once it is open: an odd last byte after the
// mark is dropped, unpaired surrogates become U+FFFD, NUL characters are dropped, and a
// file larger than kMaxFileSize is read up to that size.
class CLanguageFile {
 public:
  static constexpr std::size_t kMaxFileSize = 16u * 1024u * 1024u;

  // Nothing when the path is not a regular file or cannot be read.
  static std::optional<CLanguageFile> Read(const std::string& path);
  // The decoded content of these bytes, as if they were a file.
  static CLanguageFile FromBytes(std::string_view bytes);

  // Every line of the file in order, without its line end.
  const std::vector<std::string>& Lines() const { return m_lines; }

  // The file read as a settings file: the value of the first "key=value" line of that
  // key in a section "[section]" of that name (names compared without regard to ASCII
  // letter case, blanks and tabs around names and values removed); empty when missing.
  std::string ProfileText(std::string_view section, std::string_view key) const;

 private:
  void IndexProfile();

  std::vector<std::string> m_lines;
  std::unordered_map<std::string, std::string> m_profile;  // "SECTION\nKEY" -> value
};

// The Windows character-set value that the "CHARS" name of a language selects ("LATIN" 0,
// "CYRILLIC" 204, ...); 1 (the default character set) for any other or no name. Names
// compare exactly: lower case is not recognised.
int CharsetFromName(std::string_view name);
