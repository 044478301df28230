#include "platform/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/text_encoding.h"

namespace fs = std::filesystem;

namespace tvr::platform {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view TrimBlanks(std::string_view text) {
  std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Text that a line may hold: valid UTF-8 without control bytes other than tab.
bool IsCleanText(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if ((c < 0x20 && c != '\t') || c == 0x7F) return false;
    std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

struct LineInfo {
  enum Kind { kOther, kSection, kEntry } kind = kOther;
  std::string_view name;
  std::string_view value;
};

std::string_view WithoutCr(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// Blank lines, comments and damaged lines are all kOther: lookups pass over them.
LineInfo Classify(std::string_view rawLine) {
  std::string_view line = TrimBlanks(WithoutCr(rawLine));
  if (line.empty() || line.front() == ';' || !IsCleanText(line)) return {};
  if (line.front() == '[') {
    std::size_t close = line.find(']');
    if (close == std::string_view::npos) return {};
    return {LineInfo::kSection, TrimBlanks(line.substr(1, close - 1)), {}};
  }
  std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {};
  std::string_view key = TrimBlanks(line.substr(0, equals));
  if (key.empty()) return {};
  return {LineInfo::kEntry, key, TrimBlanks(line.substr(equals + 1))};
}

bool IsStorableName(std::string_view name, std::string_view forbidden) {
  return !name.empty() && IsCleanText(name) &&
         name.find_first_of(forbidden) == std::string_view::npos;
}

// Whether "[section]" and "key=value" lines would read back as the same names and value.
bool IsStorableEntry(std::string_view section, std::string_view key, std::string_view value) {
  return IsStorableName(section, "]") && IsStorableName(key, "=") && key.front() != '[' &&
         key.front() != ';' && IsCleanText(value);
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

void SyncFolder(const fs::path& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // best effort: the rename itself is already atomic
  ::close(fd);
}

}  // namespace

CIniFile::LoadResult CIniFile::Load(const std::string& path) {
  Parse({});
  std::error_code error;
  fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) return LoadResult::Missing;
  if (error || !fs::is_regular_file(status)) return LoadResult::Failed;
  std::uintmax_t size = fs::file_size(path, error);
  if (error || size > kMaxFileSize) return LoadResult::Failed;
  std::ifstream stream(path, std::ios::binary);
  if (!stream) return LoadResult::Failed;
  std::ostringstream content;
  content << stream.rdbuf();
  if (stream.bad()) return LoadResult::Failed;
  std::string text = content.str();
  if (text.size() > kMaxFileSize) return LoadResult::Failed;
  Parse(text);
  return LoadResult::Loaded;
}

void CIniFile::Parse(std::string_view content) {
  m_lines.clear();
  m_bom.clear();
  if (content.substr(0, kBom.size()) == kBom) {
    m_bom = kBom;
    content.remove_prefix(kBom.size());
  }
  m_finalNewline = content.empty() || content.back() == '\n';
  while (!content.empty()) {
    std::size_t end = content.find('\n');
    if (end == std::string_view::npos) end = content.size();
    m_lines.emplace_back(content.substr(0, end));
    content.remove_prefix(end == content.size() ? end : end + 1);
  }
  m_crlf = !m_lines.empty() && !m_lines.front().empty() && m_lines.front().back() == '\r';
}

std::optional<std::string> CIniFile::Find(std::string_view section, std::string_view key) const {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  bool inSection = false;
  for (const std::string& raw : m_lines) {
    LineInfo line = Classify(raw);
    if (line.kind == LineInfo::kSection) inSection = EqualNoCase(line.name, section);
    else if (line.kind == LineInfo::kEntry && inSection && EqualNoCase(line.name, key))
      return std::string(line.value);
  }
  return std::nullopt;
}

bool CIniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  if (!IsStorableEntry(section, key, value)) return false;
  const std::string entry = std::string(key) + "=" + std::string(value);
  std::optional<std::size_t> header;  // the first section of that name
  bool inSection = false;
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    LineInfo line = Classify(m_lines[i]);
    if (line.kind == LineInfo::kSection) {
      inSection = EqualNoCase(line.name, section);
      if (inSection && !header) header = i;
    } else if (line.kind == LineInfo::kEntry && inSection && EqualNoCase(line.name, key)) {
      bool hadCr = !m_lines[i].empty() && m_lines[i].back() == '\r';
      m_lines[i] = std::string(line.name) + "=" + std::string(value) + (hadCr ? "\r" : "");
      return true;
    }
  }
  const std::string end = m_crlf ? "\r" : "";
  if (header) {
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(LastLineOfSection(*header) + 1),
                   entry + end);
    return true;
  }
  if (!m_lines.empty() && !TrimBlanks(WithoutCr(m_lines.back())).empty()) m_lines.push_back(end);
  m_lines.push_back("[" + std::string(section) + "]" + end);
  m_lines.push_back(entry + end);
  m_finalNewline = true;
  return true;
}

std::size_t CIniFile::LastLineOfSection(std::size_t header) const {
  std::size_t last = header;
  for (std::size_t i = header + 1; i < m_lines.size(); ++i) {
    if (Classify(m_lines[i]).kind == LineInfo::kSection) break;
    if (!TrimBlanks(WithoutCr(m_lines[i])).empty()) last = i;
  }
  return last;
}

std::string CIniFile::Text() const {
  std::string text = m_bom;
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    text += m_lines[i];
    if (i + 1 < m_lines.size() || m_finalNewline) text += '\n';
  }
  return text;
}

bool CIniFile::WriteAtomically(const std::string& path, std::string_view content) {
  return WriteAtomicallyReporting(path, content) == WriteResult::Written;
}

CIniFile::WriteResult CIniFile::WriteAtomicallyReporting(const std::string& path,
                                                         std::string_view content) {
  std::error_code error;
  fs::path target = path;
  if (fs::is_symlink(target, error)) {
    fs::path resolved = fs::weakly_canonical(target, error);
    if (error) return WriteResult::NotCreated;
    target = resolved;
  }
  fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  int fd = ::mkstemp(pattern.data());
  if (fd < 0)
    return errno == ENOSPC || errno == EDQUOT ? WriteResult::DiskFull : WriteResult::NotCreated;
  struct stat old {};
  mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  bool ok = WriteAll(fd, content) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  int cause = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) ok = false, cause = errno;
  if (ok && ::rename(pattern.c_str(), target.c_str()) != 0) ok = false, cause = errno;
  if (!ok) {
    ::unlink(pattern.c_str());
    return cause == ENOSPC || cause == EDQUOT ? WriteResult::DiskFull : WriteResult::WriteFailed;
  }
  SyncFolder(folder);
  return WriteResult::Written;
}

}  // namespace tvr::platform
