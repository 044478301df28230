#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "reference/ref_line.h"

class CRefCoffTable;

// One catalogue position of the rating table of the choice panel.
struct CRatingEntry {
  static constexpr int kEveryGroup = 63;

  int group = 0;    // 0..9, or kEveryGroup for a position of every group
  int slot = 0;     // the line's item slot, FCT - 1
  int variant = 0;  // 0 the first protection (IP1, TYP1), 1 the second
  std::string rating;
  std::string typeLabel;
  std::array<std::string, 2> ip;
  std::array<std::string, 2> type;
  int value = 0;  // units
};

// What the rating table of a choice kind 20..26 is read for.
struct CRatingSetup {
  int productKind = 0;  // the line's
  int lineMode = 1;
  int kind = 20;
  int family = 0;  // the rating family of the kind's caption
  int specialMode = 0;
};

// The positions of the kind in REF_COFF.DBF (at most 200, table order), with their
// units and variants from the line's item slots.
std::vector<CRatingEntry> RefLoadRatingEntries(const CRefCoffTable& table, const CRefLine& line,
                                               const CRatingSetup& setup);

// The number a protection text carries after its first two characters; otherwise when it
// is not longer than two.
int RefProtectionNumber(const std::string& ip, int otherwise);

// The entries a group and a type show, in table order: at most ten (four in family 10).
std::vector<std::size_t> RefShownRatingEntries(const std::vector<CRatingEntry>& entries, int group,
                                               const std::string& type, int family);
// The distinct type labels of a group's entries ("?" left out).
std::vector<std::string> RefRatingTypes(const std::vector<CRatingEntry>& entries, int group);
// Whether a shown entry has the IP40/IP54 switch, and its variant as the rows reset it.
bool RefRatingHasSwitch(const CRatingEntry& entry, int family);
void RefResetVariant(CRatingEntry& entry, int family, bool ip54Connection);

// The slot value an entry writes: 0 without units, else the units with the protection
// code in bits 16..21.
std::int32_t RefPackRatingEntry(const CRatingEntry& entry, int family);
// Gives the typed values to the shown entries in row order and writes every entry's slot.
void RefStoreRatingEntries(std::vector<CRatingEntry>& entries,
                           const std::vector<std::size_t>& shown, const std::vector<int>& values,
                           int family, CRefLine& line);
