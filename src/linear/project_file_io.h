#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/archive.h"

class CProfile;

// What the linear and reference project files share: texts as UTF-16LE units (or, in
// old files, 8-bit ANSI bytes) ended by a zero, read whole files, written by rename.

// Messages of the project files (the framework's file texts).
inline constexpr int kMsgFileFormat = 8018;      // unexpected file format
inline constexpr int kMsgFileNotFound = 8019;    // %1 cannot be found
inline constexpr int kMsgFileDiskFull = 8020;    // %1 title, %2 the cause
inline constexpr int kMsgFileNoRead = 8021;      // %1 cannot be read
inline constexpr int kMsgFileNoWrite = 8022;     // %1 cannot be written
inline constexpr int kMsgFileWriteError = 8043;  // %1 title

// A text holds at most this many units; the writer cuts longer ones.
inline constexpr std::size_t kProjectTextUnits = 511;

// Thrown by the readers below when the bytes are no project file of the kind read.
struct CProjectFileFormatError {};

// The text as UTF-16LE units and a zero unit, cut to 511 units (never inside a pair of
// surrogates, which would not read back).
void WriteProjectText(CArchiveWriter& out, const std::string& text);

// Reads the primitives of a project file of a given format; texts are wide or 8-bit.
// Throws CArchiveError for a short read, CProjectFileFormatError for a text without a
// terminator within 512 units or one that is not valid UTF-16.
class CProjectFileReader {
 public:
  CProjectFileReader(CArchiveReader& in, int format, bool wide)
      : m_in(in), m_format(format), m_wide(wide) {}

  std::string Text();
  std::int32_t Long() { return m_in.ReadLong(); }
  double Double() { return m_in.ReadDouble(); }
  // Reads longs up to and including the mark.
  void SkipLongsThrough(std::int32_t mark);
  int Format() const { return m_format; }
  CArchiveReader& Bytes() { return m_in; }

 private:
  CArchiveReader& m_in;
  int m_format;
  bool m_wide;
};

// Larger files are no project: 100 lines of every value take well under 1 MB.
inline constexpr std::uintmax_t kMaxProjectFileSize = 16u * 1024u * 1024u;

// Reads a project from the bytes into `loaded` with read(reader, loaded), which returns 0
// or a message number, and moves it into `project` only when all went well: a damaged
// file (8018) leaves the project as it was.
template <typename Project, typename Read>
int ReadProjectBytes(const std::vector<std::uint8_t>& bytes, Project& project,
                     std::unique_ptr<Project> loaded, Read read) {
  if (bytes.size() > kMaxProjectFileSize) return kMsgFileFormat;
  CArchiveReader in(bytes);
  try {
    if (const int message = read(in, *loaded)) return message;
  } catch (const CArchiveError&) {
    return kMsgFileFormat;
  } catch (const CProjectFileFormatError&) {
    return kMsgFileFormat;
  }
  project = std::move(*loaded);
  return 0;
}

// Reads the whole file. Returns 0, or the message number of the failure: 8019 not
// found, 8021 cannot be read, 8018 larger than any project.
int ReadProjectFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// Writes the bytes to a new file beside path and renames it over path. Returns 0 or
// the message number of the failure: 8019 no such folder, 8022 the file cannot be
// made, 8020 the disk is full, 8043 another error while writing.
int WriteProjectFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// [User] NumAff follows the highest job number saved, when both are numbers.
void UpdateUserJobNumber(CProfile& profile, const std::string& numAff);
