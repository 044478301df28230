#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One priced catalogue item of a reference line.
struct CRefItemNode {
  std::string reference;  // may carry a second reference after "\n\r / "
  std::string designation;
  std::int32_t unitPrice = 0;  // ten-thousandths of the currency unit
  std::int32_t quantity = 0;
  std::int32_t labour = 0;  // labour time per unit (TEMPS)
  int kind = 0;             // 0..5; the totals keep a complemented kind in the working record
};

// A section of a luminaire line (product QFP): ten values, value 2 its count.
struct CRefLineSection {
  std::array<std::int32_t, 10> values{1, 0, 1, 1, 1, 1, 0, 0, 0, 0};
};

// One line of a costing-by-reference project: the user's description of a busbar line
// and the priced items that the catalogue expansion derives from it. Items are kept in
// the order of their kinds' ranks: 0, 1, 4, 3, 5, 2.
class CRefLine {
 public:
  static constexpr int kComponentCount = 45;
  static constexpr int kSlotCount = 200;

  std::string name;
  std::string comment;  // lines separated by CR LF
  int group = -1;
  int productKind = -1;     // 0..8, see RefProductCode
  int rating = -1;          // amperes
  int conductors = -1;      // 0..4
  int connection = -1;      // 0..7; 5 and 6 are the IP54 variants
  int fixingSpacing = 300;  // centimetres
  int length = 0;           // metres
  int lineQuantity = 1;
  int count = 0;
  int lineMode = 1;
  int extraCode = 0;
  std::array<std::int32_t, kComponentCount> components{};
  // Tap-off slots: bits 0-15 the number of units, bits 16-21 the unit's protection code.
  static constexpr std::int32_t kSlotBits = 0x3FFFFF;
  std::array<std::int32_t, kSlotCount> slots{};
  double weight = 0.0;  // filled by the workbook export; neither copied nor stored
  std::vector<CRefLineSection> sections;

  // Construction leaves the numbers as declared; Assign(nullptr) gives the defaults.
  CRefLine() = default;

  // nullptr resets to the defaults (texts, sections and items emptied, components and
  // slots zeroed); otherwise copies everything but the weight, the items rebuilt through
  // AddItemNode in the source's order.
  void Assign(const CRefLine* source);

  void FreeItemNodes() { m_items.clear(); }
  // Ignores an item without reference or with a quantity below 1; merges an item of the
  // same reference and kind (a weighted mean of the unit prices when they differ);
  // otherwise inserts it after every item of equal or lower kind rank.
  void AddItemNode(const CRefItemNode& item);
  // The same as adding each item in turn, in time that grows with n log n (a file may
  // hold many).
  void AddItemNodes(const std::vector<CRefItemNode>& items);
  const std::vector<CRefItemNode>& Items() const { return m_items; }
  void SetItemQuantity(std::size_t index, std::int32_t quantity) {
    if (index < m_items.size()) m_items[index].quantity = quantity;
  }

  // Brings the sections of a QFP line to a total count; productTable (49 entries or
  // more) and flag adjust the template of added sections when both are given.
  void ResizeSections(int total, const int* productTable, const int* flag, int keepIndex);

  // The component value of a function number, 0 outside 0..44.
  std::int32_t Component(int function) const;
  // The units of a tap-off slot (its low 16 bits) and its protection code (bits 16-21).
  static int SlotUnits(std::int32_t slot) { return slot & 0xFFFF; }
  static int SlotProtection(std::int32_t slot) { return (slot >> 16) & 0x3F; }

 private:
  static void MergeItem(CRefItemNode& into, const CRefItemNode& item);

  std::vector<CRefItemNode> m_items;
};

// The rank of an item kind in a line's item list (kinds outside 0..5 rank last).
int RefKindRank(int kind);
