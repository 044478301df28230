#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "linear/linear_line.h"

class CRefCoffTable;

// The rules of the component chooser of the linear window, apart from its window: the
// tap-off box types a button offers (read from REF_COFF.DBF), their group labels, and
// how a chosen box is packed into a line slot.
class CComponentChooser {
 public:
  static constexpr int kMaxEntries = 30;

  // One box type of the catalogue.
  struct SBoxEntry {
    int group = 0;    // the group code, the last character of POS (0 when no digit)
    int slot = 0;     // FCT + 29, 30..129
    int variant = 0;  // 0 or 1: IP1 or IP2
    std::array<std::string, 2> rating;
    std::array<std::string, 2> ip;
    std::array<std::string, 2> type;
    int quantity = 0;
  };

  // product: the line's product (0..11), or 12 (QYL) for a group-3 line whose slot 125
  // is set. kind: the button kind, 20..24. groupKind: what ComponentGroupMessage gives.
  CComponentChooser(int product, int kind, int groupKind);

  // Reads the box types of the button (at most 30, table order) and takes quantity and
  // variant from the line's slots. False when the table is not loaded.
  bool LoadBoxEntries(const CRefCoffTable* table, const CLinearLine::SlotArray& slots);
  const std::vector<SBoxEntry>& Entries() const { return m_entries; }
  std::vector<SBoxEntry>& Entries() { return m_entries; }

  // What OK writes: each entry's slot gets -1 for quantity 0, else the packed box.
  void StoreBoxEntries(CLinearLine::SlotArray& slots) const;
  // The packed slot of one entry.
  std::int32_t PackEntry(const SBoxEntry& entry) const;

 private:
  int m_product;
  int m_kind;
  int m_groupKind;
  std::vector<SBoxEntry> m_entries;
};

// The message of a product's tap-off button (1..5) and its group kind. With code 0 on
// entry the group kind is stored in code and the result holds the message in its low 16
// bits and the heading message (31131, 31008 or 32268) in its high 16 bits. With a
// group code on entry the result is the label message of that group. apod: the P range
// reads as its APOD variant.
int ComponentGroupMessage(int product, int button, int& code, bool apod);

// Keeps those of the five values whose position (first character of POS minus '1')
// the catalogue lists for the product and clears the others; in mode 3 every row counts
// as position 0 (QYL excepted). Returns 0, with the values cleared, when the table is
// not loaded; else 1.
int QueryParamByProduct(const CRefCoffTable* table, int product, int mode,
                        std::array<int, 5>& values);
