#include "app/xl_export_file.h"

#include "platform/ini_file.h"
#include "platform/text_encoding.h"

std::string CXlExportFile::Bytes() const {
  std::string bytes = "\xFF\xFE";
  for (const std::string& line : m_lines) {
    const std::u16string wide = tvr::platform::Utf8ToUtf16(line + "\r\n");
    for (char16_t unit : wide) {
      bytes += static_cast<char>(unit & 0xFF);
      bytes += static_cast<char>(unit >> 8);
    }
  }
  return bytes;
}

bool CXlExportFile::Save(const std::string& path) const {
  return tvr::platform::CIniFile::WriteAtomically(path, Bytes());
}

std::string XlQuote(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

void WriteXlExportField(CXlExportFile& file, std::string_view key, std::string_view value,
                        char kind) {
  if (key.empty()) return;
  std::string line(key);
  if (line.front() != '"') line.insert(line.begin(), '"');
  if (line.size() < 2 || line.back() != '"') line += '"';
  switch (kind) {
    case kXlProjectText: line += ",\"@\"," + XlQuote(value); break;
    case kXlNumber:
    case kXlSwitch: line += ",\"\"," + std::string(value); break;
    case kXlLineValue: line += "," + std::string(value); break;
    case kXlLineText: line += "," + XlQuote(value); break;
    default: line += ",\"\"," + XlQuote(value); break;
  }
  file.AddLine(std::move(line));
}
