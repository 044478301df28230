#include "app/profile.h"

#include <optional>

#include "platform/text_conversions.h"
#include "platform/utf8_text.h"
#include "platform/ini_file.h"

using tvr::platform::CIniFile;

namespace {

std::optional<std::string> FindValue(const std::string& path, std::string_view section,
                                     std::string_view key) {
  if (path.empty()) return std::nullopt;
  CIniFile file;
  if (file.Load(path) != CIniFile::LoadResult::Loaded) return std::nullopt;
  return file.Find(section, key);
}

}  // namespace

CProfile::CProfile(std::string path) : m_path(std::move(path)) {}

std::string CProfile::ReadProfileText(std::string_view section, std::string_view key,
                                      std::string_view defaultText) const {
  std::optional<std::string> value = FindValue(m_path, section, key);
  return CutToCharacters(value ? std::string_view(*value) : defaultText, kMaxValueCharacters);
}

int CProfile::ReadProfileInt(std::string_view section, std::string_view key,
                             int defaultValue) const {
  std::optional<std::string> value = FindValue(m_path, section, key);
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
  return CIniFile::WriteAtomically(m_path, file.Text());
}
