#pragma once

#include <string_view>

// A bill-of-materials reference may end with a group suffix: " \nGroup=", a decimal
// group number and an optional flag character ("!" a line without price, a lower-case
// letter a sub-item). The suffix is never shown.
inline constexpr std::string_view kBOMGroupSuffix = " \nGroup=";

struct CBOMGroup {
  int number = 0;   // 0 without a suffix
  char flag = ' ';  // blank when there is no flag
};

// The text before the group suffix (the whole text without one).
std::string_view CutGroupSuffix(std::string_view reference);

// The group of a reference: the number after the suffix (read as the C library reads an
// integer: optional sign, leading digits; saturated at the int range) and, when that
// number is above 0 and the reference's last character is "!" or above "9", that
// character as the flag.
CBOMGroup ParseBOMGroup(std::string_view reference);

// The text without blanks (spaces) at either end.
std::string_view TrimBOMBlanks(std::string_view text);
