#pragma once

#include <optional>
#include <string>
#include <vector>

#include "reference/ref_line_edit.h"

// One entry of a combo of the line page: its text and its item data.
struct CRefComboEntry {
  std::string text;
  int data = 0;
};

// A combo of the line page as the rules fill it: its entries and the one to select. A
// named line whose value is not offered gets the entry "???", selected, and the fill
// counts as failed.
struct CRefComboFill {
  std::vector<CRefComboEntry> entries;
  int selected = -1;
  bool failed = false;
};

// The header choices of a line being edited: ratings ("%d A"), conductors and
// connections, each filled from the product's choice tables and the line's value.
CRefComboFill RefRatingEntries(CRefLineEditContext& context);
CRefComboFill RefConductorEntries(CRefLineEditContext& context);
CRefComboFill RefConnectionEntries(CRefLineEditContext& context);

// The page's title: group, product and line name (or "New line"), joined by " - ".
std::string RefLinePageTitle(const CRefLine& line);

// The group and product captions of the tree.
int RefGroupMessage(int group);
int RefProductMessage(int kind);

// Editing begins: the line mode of a line without count, the family choices from the
// product's table and the line's counts, and the defaults of a new line.
void BeginRefLineEdit(CRefLineEditContext& context, bool newLine);

// What the user chose on the line page, as validation reads it.
struct CRefLinePageInput {
  int rating = -1;
  int conductors = -1;
  int connection = -1;
  int length = 0;
  int count = 0;
  bool tapOffBoxes = false;     // the box kind combo shows the tap-off units (line mode 3)
  bool luminaireBoxes = false;  // it shows the boxes of the lighting line itself
};

// The box kind combo of a lighting line (QYA, QYB): it offers the catalogue's tap-off
// boxes (line mode 3) beside the line's own boxes, and shows only while the catalogue
// has tap-off boxes at its first or second position.
bool RefBoxKindOffered(const CRefLine& line, const CRefConfig& config);
// The entry it starts on: 0 (tap-off boxes) for a line in line mode 3, and for a new
// line while they are offered; else 1.
int RefBoxKindEntry(const CRefLine& line, const CRefConfig& config);

// Validation: stores the page's choices in the line and applies the product's rules to
// the family choices and component 8; then counts the components and sets the line
// defaults.
void ApplyRefLinePage(CRefLineEditContext& context, const CRefLinePageInput& input);

// Whether validation may be pressed: the length (and for lighting lines the count) set.
bool RefLineCanValidate(const CRefLine& line, int length, int count, bool luminaireFlag);

// The limits of the typed numbers of the line page.
struct CRefFieldLimit {
  int min = 0;
  int max = 9999;
};
CRefFieldLimit RefLengthLimit(const CRefLine& line);
CRefFieldLimit RefCountLimit(const CRefLine& line);

// The length typed into the length field: whole metres for every product but QYX, whose
// length may carry up to two decimals ("," or "." alike); nothing with problem set to a
// message naming the field for text that is not such a length or lies outside the
// line's limits. A decimal typed for a line of whole metres is refused, never cut.
std::optional<int> ReadRefLength(const CRefLine& line, const std::string& text,
                                 const std::string& caption, std::string& problem);

// A typed whole number within its limits; nothing for text that is not one or lies
// outside (the caller tells the range message).
std::optional<int> ParseRefField(const std::string& text, CRefFieldLimit limit);

// What a typed field counts for when deciding whether validation may be pressed: its
// number, or the largest int when it is a positive number too large to read (validation
// then tells its range rather than the button greying without a word); 0 for a blank,
// zero or text that is not a whole number.
int RefTypedAmount(const std::string& text);

// The tap-off units the line's slots hold together.
int RefSlotUnitTotal(const CRefLine& line);
