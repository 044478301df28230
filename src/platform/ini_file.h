#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvr::platform {

// An INI file held in memory line by line: sections in brackets, "key=value" lines.
// Section and key names compare without regard to ASCII letter case; names and values
// are trimmed of blanks and tabs. Lines that cannot be read (no '=', an unterminated
// bracket, control bytes, invalid UTF-8) are skipped when looking up and kept as they
// are when the text is written back, as are comments (';'), blank lines, the order of
// the lines and their line ends.
class CIniFile {
 public:
  enum class LoadResult { Loaded, Missing, Failed };

  // Files larger than this are refused rather than read into memory.
  static constexpr std::uintmax_t kMaxFileSize = 16u * 1024u * 1024u;

  // Reads the file. Missing leaves an empty document; Failed (not readable, not a
  // regular file, too large) leaves it empty too, and a caller must not write it back.
  LoadResult Load(const std::string& path);

  // Replaces the document by this text.
  void Parse(std::string_view content);

  // The value of the first line of the key in a section of that name, in file order.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  // Sets the key: its first line is rewritten, else a line is added after the last
  // non-blank line of the first section of that name, else the section is appended at
  // the end. False, with nothing changed, when the names or the value cannot be stored
  // on one line and read back (line breaks, control bytes, invalid UTF-8, a key with
  // '=' or starting with '[' or ';', a section with ']', empty names).
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  // The whole document as it would be written.
  std::string Text() const;

  // Writes the text to a new file in the folder of path and renames it over path, so
  // that the old file stays whole when anything fails. A symbolic link is followed and
  // its target replaced. False when nothing could be written (path unchanged then).
  [[nodiscard]] static bool WriteAtomically(const std::string& path, std::string_view content);

  // The same, telling why it failed: the new file could not be made, the disk (or the
  // user's quota) is full, or another error while writing or renaming.
  enum class WriteResult { Written, NotCreated, DiskFull, WriteFailed };
  [[nodiscard]] static WriteResult WriteAtomicallyReporting(const std::string& path,
                                                            std::string_view content);

 private:
  // The last non-blank line that belongs to the section whose header is at that index.
  std::size_t LastLineOfSection(std::size_t header) const;

  std::vector<std::string> m_lines;  // without '\n'; a '\r' before it is kept
  std::string m_bom;                 // a UTF-8 byte-order mark found at the start
  bool m_crlf = false;               // new lines end with "\r\n" like the first line
  bool m_finalNewline = true;        // the text ends with a line end
};

}  // namespace tvr::platform
