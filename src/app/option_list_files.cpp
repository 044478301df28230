#include "app/option_list_files.h"

#include <cstdio>
#include <mutex>
#include <set>

#include "platform/debug_trace.h"

using tvr::platform::CIniFile;

namespace {

// The lists whose first read of this run is over.
std::set<std::string>& ListsRead() {
  static std::set<std::string> read;
  return read;
}

std::mutex& ListsMutex() {
  static std::mutex mutex;
  return mutex;
}

// The profile calls read into a 256-character buffer.
constexpr std::size_t kMaxValue = 255;

}  // namespace

CIniFile COptionListFiles::ReadChoices(const std::string& settingsFolder, const std::string& name,
                                       const std::string& sampleFile) {
  CIniFile choices;
  CIniFile::LoadResult own = choices.Load(settingsFolder + name + ".cfg");
  if (own == CIniFile::LoadResult::Missing && !sampleFile.empty()) own = choices.Load(sampleFile);
  if (own != CIniFile::LoadResult::Loaded) choices = CIniFile();
  return choices;
}

COptionListFiles::COptionListFiles(std::string settingsFolder, std::string name,
                                   const std::string& sampleFile)
    : m_allPath(settingsFolder + name + ".all"), m_name(std::move(name)) {
  {
    std::lock_guard lock(ListsMutex());
    m_rewriting = !ListsRead().contains(m_name);
  }
  if (m_rewriting) std::remove(m_allPath.c_str());
  m_choices = ReadChoices(settingsFolder, m_name, sampleFile);
}

std::optional<std::string> COptionListFiles::Read(std::string_view section,
                                                  std::string_view key) const {
  std::optional<std::string> value = m_choices.Find(section, key);
  if (value && value->size() > kMaxValue) value->resize(kMaxValue);
  return value;
}

void COptionListFiles::RecordDefault(std::string_view section, std::string_view key,
                                     std::string_view value) {
  if (m_rewriting) m_all.Set(section, key, value);
}

bool COptionListFiles::Finish() {
  if (!m_rewriting) return true;
  m_rewriting = false;
  {
    std::lock_guard lock(ListsMutex());
    ListsRead().insert(m_name);
  }
  // The file only lists the keys and their defaults; without it nothing is lost.
  if (CIniFile::WriteAtomically(m_allPath, m_all.Text())) return true;
  DebugTrace("option lists: " + m_allPath + " could not be written");
  return false;
}

bool COptionListFiles::WriteChoices(
    const std::string& settingsFolder, const std::string& name,
    const std::vector<std::pair<std::string, std::string>>& sectionKeys,
    const std::vector<std::string>& values, const std::string& sampleFile) {
  if (sectionKeys.size() != values.size() || settingsFolder.empty()) return false;
  const std::string path = settingsFolder + name + ".cfg";
  CIniFile file;
  CIniFile::LoadResult loaded = file.Load(path);
  if (loaded == CIniFile::LoadResult::Missing && !sampleFile.empty()) {
    loaded = file.Load(sampleFile);
    if (loaded != CIniFile::LoadResult::Loaded) file = CIniFile();
    loaded = CIniFile::LoadResult::Loaded;
  }
  // A file that exists but cannot be read is not replaced by a file of a few keys.
  if (loaded == CIniFile::LoadResult::Failed) return false;
  for (std::size_t i = 0; i < values.size(); ++i)
    if (!file.Set(sectionKeys[i].first, sectionKeys[i].second, values[i])) return false;
  return CIniFile::WriteAtomically(path, file.Text());
}

void COptionListFiles::ResetRun(const std::string& name) {
  std::lock_guard lock(ListsMutex());
  ListsRead().erase(name);
}
