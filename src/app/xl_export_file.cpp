#include "app/xl_export_file.h"

#include "app/external_process.h"
#include "platform/ini_file.h"

#include <bit>
#include <cctype>
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

std::string CXlExportFile::Bytes() const {
  // Every line widened into one buffer (a line's units never outnumber its bytes), then
  // laid out low byte first in one pass.
  std::u16string wide(m_text.size() + 2 * m_ends.size(), u'\0');
  char16_t* end = wide.data();
  std::size_t start = 0;
  for (const std::size_t lineEnd : m_ends) {
    end = tvr::platform::Utf8ToUtf16(std::string_view(m_text).substr(start, lineEnd - start), end);
    *end++ = u'\r';
    *end++ = u'\n';
    start = lineEnd;
  }
  const auto units = static_cast<std::size_t>(end - wide.data());
  std::string bytes(2 + 2 * units, '\0');
  bytes[0] = '\xFF';
  bytes[1] = '\xFE';
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(bytes.data() + 2, wide.data(), 2 * units);  // already low byte first
  } else {
    char* out = bytes.data() + 2;
    for (std::size_t k = 0; k < units; ++k) {
      *out++ = static_cast<char>(wide[k] & 0xFF);
      *out++ = static_cast<char>(wide[k] >> 8);
    }
  }
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
