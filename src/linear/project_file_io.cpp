#include "linear/project_file_io.h"

#include <filesystem>
#include <fstream>

#include "app/profile.h"
#include "platform/code_page.h"
#include "platform/debug_trace.h"
#include "platform/ini_file.h"
#include "platform/text_conversions.h"
#include "platform/text_encoding.h"

namespace {

constexpr std::size_t kMaxTextUnitsRead = kProjectTextUnits + 1;  // the terminator included

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace

void WriteProjectText(CArchiveWriter& out, const std::string& text) {
  std::u16string wide = tvr::platform::Utf8ToUtf16(text);
  if (wide.size() > kProjectTextUnits) {
    wide.resize(kProjectTextUnits);
    if (IsHighSurrogate(wide.back())) wide.pop_back();
  }
  for (char16_t unit : wide) out.WriteWord(unit);
  out.WriteWord(0);
}

std::string CProjectFileReader::Text() {
  std::u16string wide;
  std::string narrow;
  for (std::size_t units = 0;; ++units) {
    if (units >= kMaxTextUnitsRead) throw CProjectFileFormatError();
    const std::uint16_t unit = m_wide ? m_in.ReadWord() : m_in.ReadByte();
    if (unit == 0) break;
    if (m_wide) wide += static_cast<char16_t>(unit);
    else narrow += static_cast<char>(unit);
  }
  if (!m_wide) return tvr::platform::FromAnsi(narrow);
  std::optional<std::string> text = tvr::platform::Utf16ToUtf8(wide);
  if (!text) throw CProjectFileFormatError();
  return *text;
}

void CProjectFileReader::SkipLongsThrough(std::int32_t mark) {
  while (m_in.ReadLong() != mark) {}
}

int ReadProjectFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) {
    const bool missing =
        error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
    return missing ? kMsgFileNotFound : kMsgFileNoRead;
  }
  if (size > kMaxProjectFileSize) return kMsgFileFormat;
  std::ifstream stream(path, std::ios::binary);
  if (!stream) return kMsgFileNoRead;
  bytes.assign(static_cast<std::size_t>(size), 0);
  if (!stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
    return kMsgFileNoRead;
  return 0;
}

int WriteProjectFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  using tvr::platform::CIniFile;
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (!folder.empty() && !std::filesystem::is_directory(folder, error)) return kMsgFileNotFound;
  const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  switch (CIniFile::WriteAtomicallyReporting(path, content)) {
    case CIniFile::WriteResult::Written: return 0;
    case CIniFile::WriteResult::NotCreated: return kMsgFileNoWrite;
    case CIniFile::WriteResult::DiskFull: return kMsgFileDiskFull;
    case CIniFile::WriteResult::WriteFailed: break;
  }
  return kMsgFileWriteError;
}

void UpdateUserJobNumber(CProfile& profile, const std::string& numAff) {
  const std::string stored = profile.ReadProfileText("User", "NumAff", "");
  if (stored.empty() || numAff.empty()) return;
  // The project itself is saved; only the job-number hint of the next one is missed.
  if (TextToDouble(numAff) > TextToDouble(stored) &&
      !profile.WriteProfileText("User", "NumAff", numAff))
    DebugTrace("job number: " + profile.Path() + " could not be written");
}
