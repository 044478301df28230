#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CProfile;

// The recent-file list of the File menu: the most recent file first, at most five
// entries, each path once. Kept in section "Recent File List" of the settings file
// under "File1".."File5"; empty keys are no entries.
class CRecentFileList {
 public:
  static constexpr std::size_t kCapacity = 5;

  // Puts the path first (moving it there when it is already listed); empty paths are
  // not listed. The oldest entry falls off when the list is full. False when the list
  // stays as it was (the path empty or first already): nothing then needs writing.
  bool Add(const std::string& path);
  // Removes entry index; an index beyond the list changes nothing.
  void Remove(std::size_t index);

  const std::vector<std::string>& Entries() const { return m_entries; }
  std::string Entry(std::size_t index) const;

  void ReadFrom(const CProfile& profile);
  // Every key at one replacement of the file; false when it could not be written (and
  // then no key changed).
  [[nodiscard]] bool WriteTo(CProfile& profile) const;

 private:
  std::vector<std::string> m_entries;
};
