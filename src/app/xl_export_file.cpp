#include "app/xl_export_file.h"

#include "app/external_process.h"
#include "platform/ini_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include "platform/text_encoding.h"

void CXlExportFile::AddLines(std::string_view lines) {
  std::size_t start = 0;
  while (start < lines.size()) {
    std::size_t end = lines.find('\n', start);
    if (end == std::string_view::npos) end = lines.size();
    AddLine(lines.substr(start, end - start));
    start = end + 1;
  }
}

const std::vector<std::string>& CXlExportFile::Lines() const {
  for (std::size_t i = m_lines.size(); i < m_ends.size(); ++i) {
    const std::size_t start = i == 0 ? 0 : m_ends[i - 1];
    m_lines.emplace_back(m_text, start, m_ends[i] - start);
  }
  return m_lines;
}

namespace {

// How many bytes the text begins with that are ASCII, eight at a time while they are.
std::size_t AsciiLength(std::string_view text) {
  constexpr std::uint64_t kEveryByteHigh = 0x8080808080808080;
  std::size_t k = 0;
  for (; k + sizeof(std::uint64_t) <= text.size(); k += sizeof(std::uint64_t)) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + k, sizeof word);
    if ((word & kEveryByteHigh) != 0) break;
  }
  while (k < text.size() && static_cast<unsigned char>(text[k]) < 0x80) ++k;
  return k;
}

// Lays the units out low byte first; returns the end.
char* PutUnits(char* out, const char16_t* units, std::size_t count) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out, units, 2 * count);  // already low byte first
    return out + 2 * count;
  }
  for (std::size_t k = 0; k < count; ++k) {
    *out++ = static_cast<char>(units[k] & 0xFF);
    *out++ = static_cast<char>(units[k] >> 8);
  }
  return out;
}

}  // namespace

std::string CXlExportFile::Bytes() const {
  // A line's units never outnumber its bytes. Lines are short, so the lines that hold
  // only ASCII are widened many at once (a byte is then a unit, whichever line it ends)
  // and laid out from there; a line that holds more is widened alone.
  constexpr std::size_t kRunBytes = 4096;
  constexpr char16_t kLineEnd[] = {u'\r', u'\n'};
  std::string bytes(2 + 2 * (m_text.size() + 2 * m_ends.size()), '\0');
  bytes[0] = '\xFF';
  bytes[1] = '\xFE';
  char* out = bytes.data() + 2;
  std::array<char16_t, kRunBytes> run;
  const std::string_view text(m_text);
  std::size_t line = 0;
  std::size_t start = 0;  // where the line begins
  while (line < m_ends.size()) {
    const std::size_t ascii =
        start + AsciiLength(text.substr(start, std::min(kRunBytes, text.size() - start)));
    std::size_t last = line;  // after the lines that end before the first byte not ASCII
    while (last < m_ends.size() && m_ends[last] <= ascii) ++last;
    if (last == line) {
      const std::u16string units =
          tvr::platform::Utf8ToUtf16(text.substr(start, m_ends[line] - start));
      out = PutUnits(out, units.data(), units.size());
      out = PutUnits(out, kLineEnd, 2);
      start = m_ends[line++];
      continue;
    }
    tvr::platform::Utf8ToUtf16(text.substr(start, m_ends[last - 1] - start), run.data());
    for (std::size_t from = start; line < last; from = m_ends[line++]) {
      out = PutUnits(out, run.data() + (from - start), m_ends[line] - from);
      out = PutUnits(out, kLineEnd, 2);
    }
    start = m_ends[last - 1];
  }
  bytes.resize(static_cast<std::size_t>(out - bytes.data()));
  return bytes;
}

bool CXlExportFile::Save(const std::string& path) const {
  return tvr::platform::CIniFile::WriteAtomically(path, Bytes());
}

namespace {

// Appends the text on one line: a run of line ends is one blank; with `doubleQuotes` each
// quote is doubled, as inside a quoted field.
void AppendOneLine(std::string& out, std::string_view text, bool doubleQuotes) {
  out.reserve(out.size() + text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += ' ';
      while (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n')) ++i;
      continue;
    }
    if (doubleQuotes && c == '"') out += '"';
    out += c;
  }
}

}  // namespace

std::string XlOneLine(std::string_view text) {
  std::string line;
  AppendOneLine(line, text, false);
  return line;
}

std::string XlQuote(std::string_view text) {
  std::string quoted = "\"";
  AppendOneLine(quoted, text, true);
  return quoted + "\"";
}

std::vector<std::string> XlTextPieces(const std::string& text, int count) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (static_cast<int>(pieces.size()) < count) {
    if (start > text.size()) {
      pieces.push_back(" ");
      continue;
    }
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string piece = text.substr(start, end - start);
    if (!piece.empty() && piece.back() == '\r') piece.pop_back();
    pieces.push_back(piece.empty() ? " " : piece);
    start = end + 1;
  }
  return pieces;
}

void WriteXlExportField(CXlExportFile& file, std::string_view key, std::string_view value,
                        char kind) {
  if (key.empty()) return;
  std::string line = XlOneLine(key);
  if (line.front() != '"') line.insert(line.begin(), '"');
  if (line.size() < 2 || line.back() != '"') line += '"';
  switch (kind) {
    case kXlProjectText: line += ",\"@\"," + XlQuote(value); break;
    case kXlNumber:
    case kXlSwitch: line += ",\"\"," + XlOneLine(value); break;
    case kXlLineValue: line += "," + XlOneLine(value); break;
    case kXlLineText: line += "," + XlQuote(value); break;
    default: line += ",\"\"," + XlQuote(value); break;
  }
  file.AddLine(std::move(line));
}

int ExportToExcel(const CXlExportFile& file, const CXlExportJob& job,
                  CPrintHelperLauncher& launcher) {
  if (!file.Save(job.exchangePath)) return 0;
  if (!launcher.CanStart()) return 0;
  if (job.saveAs) {
    std::error_code error;
    std::filesystem::remove(job.targetPath, error);
  }
  CPrintHelperJob helper;
  helper.exchangePath = job.exchangePath;
  helper.modelPath = job.modelPath;
  helper.mode = job.saveAs ? 12 : 18;
  helper.outputPath = job.targetPath;
  return launcher.RunPrintHelper(helper);
}

bool IsOldModelWorkbook(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".xls";
}

std::string WorkbookName(const std::string& fileTitle) {
  std::string name = fileTitle;
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name + ".xlsx";
}
