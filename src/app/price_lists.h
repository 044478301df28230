#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/text_lookup.h"

class CProfile;

// The price lists (catalogues) of the article table: price list n (1..15) is named by
// the record whose REFERENCE is "PRICE_LIST_n", DESIGN_1 its name and DESIGN_2 a second
// name; the article prices of list n are in PRIX_n. One list is current at a time; the
// settings file keeps it as "Database"/"CurrentCat".

inline constexpr int kPriceListCount = 15;
// "Price list %1": the name of lists 1..4 when their record gives none.
inline constexpr int kMsgDefaultPriceListName = 7623;

// "PRICE_LIST_n", n without leading zeros.
std::string PriceListKey(int n);

// The text of message 7623 with every "%1" replaced by n; empty when it has no text.
std::string DefaultPriceListName(int n, const TextLookup& lookupText);

// The name of price list n read from the article table of the folder: DESIGN_1 of its
// record, or DESIGN_2 when second is true, trimmed. An n below 1 means the current list,
// "Database"/"CurrentCat" (default 0). When the record gives no first name and n is at
// most 4, the default name. Empty when the article table cannot be opened (no default
// then) or when list n has no name.
std::string GetPriceListName(const std::string& articleFolder, const CProfile& profile, int n,
                             bool second, const TextLookup& lookupText);

// The first and second names of all fifteen lists, read with one opening of the table,
// each as GetPriceListName gives it (first[0] is list 1). When the table cannot be
// opened every name is empty and error says why.
struct CPriceListNames {
  std::array<std::string, kPriceListCount> first;
  std::array<std::string, kPriceListCount> second;
  std::string error;
};
CPriceListNames ReadPriceListNames(const std::string& articleFolder, const TextLookup& lookupText);

// What SavePriceListNames did.
struct [[nodiscard]] CPriceListSave {
  bool saved = false;         // the table holds the names (or nothing had to change)
  std::string error;          // why nothing was saved; the table is then as it was
  std::vector<int> appended;  // lists whose record was missing and has been added
  std::vector<int> cut;       // lists with a name longer than its field, stored cut
};

// Writes price-list names into the article table of the folder. names holds the 15
// first names, then the 15 second names; numbers the price list of each position. For
// every position i whose number n is 1..15: a non-empty names[i] goes into DESIGN_1 of
// record PRICE_LIST_n, and with withSecond names[15 + i] goes into DESIGN_2, even when
// empty. A list whose record is missing gets a new record when there is a name to keep.
// A table that is read-only, damaged or lacks the fields, or that cannot be written,
// is left as it was and the result says why.
CPriceListSave SavePriceListNames(const std::string& articleFolder,
                                  const std::array<std::string, 2 * kPriceListCount>& names,
                                  const std::array<int, kPriceListCount>& numbers, bool withSecond);

// For n in 1..15: n becomes the current catalogue and is written to
// "Database"/"CurrentCat"; false when the settings file could not be written (current is
// changed all the same). Any other n changes nothing and gives false.
[[nodiscard]] bool SetCurrentCatalogue(int n, int& current, CProfile& profile);

// The command id of catalogue menu item index 0..14 (commands of catalogues 1..15);
// 0 for any other index.
int CatalogueCommandId(int index);
