#include "app/price_list_edits.h"

#include "app/profile.h"
#include "app/settings_keys.h"

namespace {

std::string Trimmed(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return std::string();
  std::size_t last = text.find_last_not_of(kBlanks);
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

CPriceListEdits CPriceListEdits::Read(const std::string& articleFolder, const CProfile& profile,
                                      const TextLookup& lookupText) {
  CPriceListEdits edits;
  bool justOne = ReadSetting(profile, settings_key::kJustOneCatalogue) == "yes";
  int current = ReadSettingInt(profile, settings_key::kCurrentCatalogue);
  CPriceListNames names = ReadPriceListNames(articleFolder, lookupText);
  edits.m_readError = names.error;
  for (int n = 1; n <= kPriceListCount; ++n) {
    if (justOne && n != current) continue;
    const std::size_t i = static_cast<std::size_t>(n - 1);
    if (names.first[i].empty() && n >= 5) continue;
    edits.m_entries.push_back({names.first[i], names.second[i], n});
  }
  return edits;
}

bool CPriceListEdits::Edit(int index, std::string_view name, std::string_view second) {
  if (index < 0 || static_cast<std::size_t>(index) >= m_entries.size()) return false;
  CPriceListEntry& entry = m_entries[static_cast<std::size_t>(index)];
  std::string newName = Trimmed(name);
  std::string newSecond = Trimmed(second);
  if (newName.empty()) {
    newName = kClearedName;
    newSecond = kClearedName;
  }
  bool nameChanged = newName != entry.name;
  if (nameChanged) entry.name = std::move(newName);
  if (newSecond != entry.second) {
    entry.second = std::move(newSecond);
    m_changed = true;
  }
  if (nameChanged) m_changed = true;
  return nameChanged;
}

std::array<std::string, 2 * kPriceListCount> CPriceListEdits::Names() const {
  std::array<std::string, 2 * kPriceListCount> names;
  for (std::size_t i = 0; i < m_entries.size() && i < kPriceListCount; ++i) {
    names[i] = m_entries[i].name;
    names[kPriceListCount + i] = m_entries[i].second;
  }
  return names;
}

std::array<int, kPriceListCount> CPriceListEdits::Numbers() const {
  std::array<int, kPriceListCount> numbers{};
  for (std::size_t i = 0; i < m_entries.size() && i < kPriceListCount; ++i)
    numbers[i] = m_entries[i].number;
  return numbers;
}

CPriceListSave CPriceListEdits::Save(const std::string& articleFolder) const {
  return SavePriceListNames(articleFolder, Names(), Numbers(), true);
}
