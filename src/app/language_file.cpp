#include "app/language_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

#include "platform/text_encoding.h"

namespace {

using tvr::platform::AppendUtf8;

// Windows-1252 for the bytes 0x80..0x9F; the five it leaves undefined become U+FFFD.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

std::string Utf8OfEightBitLine(std::string_view line) {
  std::string out;
  // A NUL would cut every C text built from the line, so it is dropped in either encoding.
  if (tvr::platform::IsValidUtf8(line)) {
    out.reserve(line.size());
    for (char c : line)
      if (c != '\0') out += c;
    return out;
  }
  out.reserve(line.size() + line.size() / 2);
  for (char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0) continue;
    AppendUtf8(out, byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : char32_t{byte});
  }
  return out;
}

std::string WithoutLineEnd(std::string line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  return line;
}

std::vector<std::string> LinesOfEightBitText(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const std::string_view line = bytes.substr(0, end);
    lines.push_back(WithoutLineEnd(Utf8OfEightBitLine(line)));
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string> LinesOfUtf16Text(std::string_view bytes) {
  std::u16string units(bytes.size() / 2, u'\0');  // an odd last byte is no character
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < units.size();) {
    const char32_t code =
        tvr::platform::DecodeUtf16(units, i).value_or(tvr::platform::kReplacementCharacter);
    if (code == u'\n') {
      lines.push_back(WithoutLineEnd(std::move(line)));
      line.clear();
    } else if (code != 0) {  // NUL dropped, as in 8-bit lines
      AppendUtf8(line, code);
    }
  }
  if (!line.empty()) lines.push_back(WithoutLineEnd(std::move(line)));
  return lines;
}

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string ProfileKey(std::string_view section, std::string_view key) {
  return UpperAscii(Trimmed(section)) + '\n' + UpperAscii(Trimmed(key));
}

}  // namespace

std::optional<CLanguageFile> CLanguageFile::Read(const std::string& path) {
  std::error_code error;
  // Only regular files: a FIFO or device of that name would block or never end.
  if (path.empty() || !std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream stream(path, std::ios::binary);
  if (!stream) return std::nullopt;
  std::string bytes;
  std::array<char, 64 * 1024> block;
  while (bytes.size() < kMaxFileSize) {
    const std::size_t wanted = std::min(block.size(), kMaxFileSize - bytes.size());
    stream.read(block.data(), static_cast<std::streamsize>(wanted));
    const std::streamsize got = stream.gcount();
    if (got > 0) bytes.append(block.data(), static_cast<std::size_t>(got));
    if (!stream) break;
  }
  if (stream.bad()) return std::nullopt;
  return FromBytes(bytes);
}

CLanguageFile CLanguageFile::FromBytes(std::string_view bytes) {
  CLanguageFile file;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    file.m_lines = LinesOfUtf16Text(bytes.substr(2));
  } else {
    file.m_lines = LinesOfEightBitText(bytes);
  }
  file.IndexProfile();
  return file;
}

void CLanguageFile::IndexProfile() {
  std::string section;
  for (const std::string& line : m_lines) {
    const std::string_view text = Trimmed(line);
    if (!text.empty() && text.front() == '[') {
      const std::size_t close = text.find(']');
      if (close != std::string_view::npos) section = std::string(text.substr(1, close - 1));
      continue;
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || Trimmed(text.substr(0, equals)).empty()) continue;
    m_profile.emplace(ProfileKey(section, text.substr(0, equals)),
                      std::string(Trimmed(text.substr(equals + 1))));
  }
}

std::string CLanguageFile::ProfileText(std::string_view section, std::string_view key) const {
  const auto found = m_profile.find(ProfileKey(section, key));
  return found == m_profile.end() ? std::string() : found->second;
}

int CharsetFromName(std::string_view name) {
  static constexpr std::pair<std::string_view, int> kCharsets[] = {
      {"LATIN", 0},        {"EASTEUROPE", 238},
      {"CYRILLIC", 204},   {"GREEK", 161},
      {"TURKISH", 162},    {"BALTIC", 186},
      {"HEBREW", 177},     {"ARABIC", 178},
      {"VIETNAMESE", 163}, {"THAI", 222},
      {"KOREAN", 129},     {"KOREAN JOHAB", 130},
      {"CHINESE", 136},    {"CHINESE SIMPLIFIED", 134},
      {"JAPANESE", 128}};
  for (const auto& [charsetName, value] : kCharsets)
    if (charsetName == name) return value;
  return 1;
}
