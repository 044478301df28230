#include "app/recent_file_list.h"

#include <algorithm>

#include "app/profile.h"

namespace {

constexpr const char* kSection = "Recent File List";

std::string KeyOf(std::size_t index) { return "File" + std::to_string(index + 1); }

}  // namespace

bool CRecentFileList::Add(const std::string& path) {
  if (path.empty() || (!m_entries.empty() && m_entries.front() == path)) return false;
  std::erase(m_entries, path);
  m_entries.insert(m_entries.begin(), path);
  if (m_entries.size() > kCapacity) m_entries.resize(kCapacity);
  return true;
}

void CRecentFileList::Remove(std::size_t index) {
  if (index < m_entries.size())
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
}

std::string CRecentFileList::Entry(std::size_t index) const {
  return index < m_entries.size() ? m_entries[index] : std::string();
}

void CRecentFileList::ReadFrom(const CProfile& profile) {
  m_entries.clear();
  for (std::size_t index = 0; index < kCapacity; ++index) {
    std::string path = profile.ReadProfileText(kSection, KeyOf(index), "");
    if (!path.empty() && std::find(m_entries.begin(), m_entries.end(), path) == m_entries.end())
      m_entries.push_back(path);
  }
}

bool CRecentFileList::WriteTo(CProfile& profile) const {
  std::vector<CProfileValue> values;
  for (std::size_t index = 0; index < kCapacity; ++index)
    values.push_back({kSection, KeyOf(index), Entry(index)});
  return profile.WriteProfileValues(values);
}
