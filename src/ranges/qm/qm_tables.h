#pragma once

#include <string>
#include <string_view>
#include <utility>

// The fixed tables of range QM.

// A two-digit rating code in amperes (8 -> 800, 12 -> 1250, 13 -> 1350 ...); 0 for a
// code the range does not know.
int QMRatingAmperes(int code);
// The QMC rating code that a QMA rating stands for in price formulas (8 -> "10", 25 ->
// "32" ...); empty for others.
std::string_view QMRatingCode(int rating);
// The letters that an accessory kind code writes at place 7; empty for the codes that
// write something else.
std::string_view QMAccessoryLetters(int kind);
// The accessory codes whose reference takes the housing size at places 3-6.
bool IsSizedAccessory(int kind);
// The whole references of the accessory codes that give one (the fixed pieces of other
// lines, brackets, plates); `value` is the run's housing value. Empty for other codes.
std::string QMWholeReference(int kind, int value);
// Replaces the first occurrence of `from` by `to` (same length); nothing when absent.
void ReplaceFirst(std::string& text, std::string_view from, std::string_view to);
// The housing width and bar depth of a rating (QMA ratings counted as the QMC size
// they stand for; 63 is a double housing); zeros for a rating the range does not have.
std::pair<int, int> QMHousingOfRating(int rating, bool qma);
// The smallest calibre of each catalogue ("QMC" 63, "QMA" 50), whose connection bars
// end across the run rather than below it (the outline drawing makes the same test).
bool IsSmallQMCalibre(std::string_view catalog, std::string_view calibre);
