#pragma once

#include <array>
#include <string>
#include <vector>

// The rules of the small option dialogs of a reference line: the fixing chooser, the
// luminaire mode overlay and the section tabs.

// One choice of the fixing chooser (radio positions 0..4: fixings 1..4 and 36).
struct CRefFixingRow {
  int choice = 0;
  bool shown = false;
  std::vector<std::string> entries;  // the second choice, empty when there is none
  int selected = 0;
};
std::array<CRefFixingRow, 5> RefFixingRows(const std::vector<int>& states, int choice, int range);
// The choice and range OK returns: the first shown and checked radio (checked -1: none,
// choice and range then stay), range from its combo for choices 3 and 4, else 1.
void RefFixingResult(const std::array<CRefFixingRow, 5>& rows, int checked,
                     const std::array<int, 5>& selections, int& choice, int& range);

// The luminaire modes (1, 10, 11) a QFP line is offered, by its states 45..47.
std::vector<int> RefLuminaireModes(const std::vector<int>& states);

// Section tabs. The largest a or b of a section: 5, or 10 in line mode 10.
int RefSectionLimit(int lineMode);
int RefClampSection(int value, int lineMode);
// The positions (1..5) and kinds (1, 2) a section is offered, by the QFP position record
// and the state of component 48.
std::vector<int> RefSectionPositions(const std::array<int, 9>& positions, int state48);
std::vector<int> RefSectionKinds(int position, const std::array<int, 9>& positions, int state48);
// The numbers of combos 1167 and 1168 (0, then 2, 3, 4, 5, 7, 9 for components 30..35
// offered) and of combos 1443 and 1447 for a kind and a position: text and number.
struct CRefSectionEntry {
  std::string text;
  int data = 0;
};
std::vector<CRefSectionEntry> RefSectionSpacings(const std::vector<int>& states);
std::vector<CRefSectionEntry> RefSectionSizes(int kind, int position,
                                              const std::vector<CRefSectionEntry>& spacings,
                                              const std::vector<int>& states, char decimal);
// The entry a refilled combo selects: the last whose value is not above the one shown.
int RefSectionSizeIndex(const std::vector<CRefSectionEntry>& entries, int kind, int position,
                        int shown);
