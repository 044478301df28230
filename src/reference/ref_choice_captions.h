#pragma once

#include <array>
#include <cstdint>
#include <string>

// What the configurator tells the captions of its choices: its special mode, the
// current line's conductor code and straight choice, the six line parameters P0..P5 of
// its line defaults, and the decimal separator the user reads.
struct CRefChoiceContext {
  int specialMode = 0;
  int conductors = 0;
  int straightChoice = 0;
  std::array<int, 6> params{};
  char decimalSeparator = '.';
};

// Choice kinds of the configurator's components.
enum RefChoiceKind : int {
  kChoiceLineMode = 0,
  kChoiceStraight = 1,
  kChoiceComplement = 2,
  kChoiceFixing = 4,
  kChoiceCableEntry = 5,  // luminaire fixing for the other products
  kChoiceFeed = 6,
  kChoiceExtraCode = 8,
};

// The caption of one member of a component family for a product kind (0..8); in the
// option form for the check boxes, else as a family caption, cut before its first "("
// (or "+" but for straight lengths). Cable entries of product kind 0 take the fixing
// member times 10 plus the cable range. Empty when nothing describes the value.
std::string DescribeChoice(int productKind, int choiceKind, int value, bool asOption, bool variant,
                           const CRefChoiceContext& context);

// The message numbers of a rating family (familyIndex 1..7) of a product kind (0..8, 9
// for the tap-off table). With code 0: the family's title in the low 16 bits, the header
// above it, and code set to the family number (0 when the product has no such family).
// With a group in code: the group's caption, or the title when the group has none.
std::uint32_t GetRatingCaptionId(int productKind, int familyIndex, int& code, int specialMode);

// Which component positions of a product REF_COFF.DBF holds. When one of the first five
// states is set, every state is cleared and given back for each position the table has;
// the connection choices (entries 1..4) and the connectors (-1 where none) are filled
// from the rows. False when the table cannot be read (the states then stay cleared).
bool QueryParamTable(const std::string& catalogueFolder, int productKind,
                     std::array<int, 7>& states, std::array<int, 5>& connections,
                     std::array<int, 9>* connectors);
