#include "app/profile.h"

#include <optional>

#include "platform/text_conversions.h"
#include "platform/utf8_text.h"
#include "platform/ini_file.h"

using tvr::platform::CIniFile;

namespace {

// The file's values; null when it has none to give (no path, no file, not readable).
std::shared_ptr<const CIniFile> LoadValues(const std::string& path) {
  if (path.empty()) return nullptr;
  auto file = std::make_shared<CIniFile>();
  if (file->Load(path) != CIniFile::LoadResult::Loaded) return nullptr;
  return file;
}

}  // namespace

CProfile::CProfile(std::string path) : m_path(std::move(path)) {}

CProfile CProfile::ReadOnce() const {
  CProfile once(m_path);
  once.m_read = m_read ? m_read : LoadValues(m_path);
  if (!once.m_read) once.m_read = std::make_shared<CIniFile>();  // every default
  return once;
}

std::optional<std::string> CProfile::FindValue(std::string_view section,
                                               std::string_view key) const {
  if (m_read) return m_read->Find(section, key);
  const std::shared_ptr<const CIniFile> file = LoadValues(m_path);
  return file ? file->Find(section, key) : std::nullopt;
}

std::string CProfile::ReadProfileText(std::string_view section, std::string_view key,
                                      std::string_view defaultText) const {
  std::optional<std::string> value = FindValue(section, key);
  return CutToCharacters(value ? std::string_view(*value) : defaultText, kMaxValueCharacters);
}

int CProfile::ReadProfileInt(std::string_view section, std::string_view key,
                             int defaultValue) const {
  std::optional<std::string> value = FindValue(section, key);
  if (!value || value->empty()) return defaultValue;
  return TextToInt(*value);
}

bool CProfile::WriteProfileText(std::string_view section, std::string_view key,
                                std::string_view value) {
  return WriteProfileValues({{std::string(section), std::string(key), std::string(value)}});
}

int CProfile::WriteProfileInt(std::string_view section, std::string_view key, int value) {
  return WriteProfileText(section, key, std::to_string(value)) ? 1 : 0;
}

bool CProfile::WriteProfileValues(const std::vector<CProfileValue>& values) {
  if (m_path.empty()) return false;
  CIniFile file;
  // A file that exists but cannot be read is never overwritten: its settings would be lost.
  if (file.Load(m_path) == CIniFile::LoadResult::Failed) return false;
  for (const CProfileValue& entry : values) {
    if (!file.Set(entry.section, entry.key, entry.value)) return false;
  }
  m_read.reset();
  return CIniFile::WriteAtomically(m_path, file.Text());
}
