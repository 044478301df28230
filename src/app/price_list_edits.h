#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/price_lists.h"
#include "app/text_lookup.h"

class CProfile;

// One price list as the price-list page of the options sheet lists it.
struct CPriceListEntry {
  std::string name;
  std::string second;
  int number = 0;  // 1..15
  friend bool operator==(const CPriceListEntry&, const CPriceListEntry&) = default;
};

// The price-list names that the options sheet edits: which lists it offers, the edits
// made to their names, and whether any name changed.
class CPriceListEdits {
 public:
  // The name the page stores for a list whose name was cleared.
  static constexpr const char* kClearedName = "***";

  CPriceListEdits() = default;

  // The lists of the article table of the folder, read once: in single-catalogue mode
  // ("Database"/"JustOneCat" is "yes") only the current one ("Database"/"CurrentCat"),
  // otherwise lists 1..15; lists 5..15 without a name are left out. Names are those of
  // GetPriceListName (lists 1..4 get their default name). When the table cannot be read,
  // ReadError says why.
  static CPriceListEdits Read(const std::string& articleFolder, const CProfile& profile,
                              const TextLookup& lookupText);

  const std::vector<CPriceListEntry>& Entries() const { return m_entries; }
  const std::string& ReadError() const { return m_readError; }
  // Set once any name or second name was changed by Edit.
  bool Changed() const { return m_changed; }

  // The texts of the entry's two edits, as they stand when either loses the focus:
  // both are trimmed; an empty name makes the name and the second name "***"; each
  // that differs from the stored one is stored and sets the changed flag. Returns true
  // when the name changed (the list shows names). An index that is no entry changes
  // nothing.
  bool Edit(int index, std::string_view name, std::string_view second);

  // What SavePriceListNames takes: the 15 names, then the 15 second names, by entry
  // position (positions without an entry empty), and each entry's list number (0 for
  // positions without an entry).
  std::array<std::string, 2 * kPriceListCount> Names() const;
  std::array<int, kPriceListCount> Numbers() const;

  // Writes the names and second names into the article table of the folder (records
  // that are missing are added); the table is left as it was when that fails.
  CPriceListSave Save(const std::string& articleFolder) const;

 private:
  std::vector<CPriceListEntry> m_entries;
  std::string m_readError;
  bool m_changed = false;
};
