#pragma once

#include <optional>
#include <string>
#include <string_view>

// What a person types into a number field of a dialog, read the one way for every
// dialog: "," and "." both mark decimals, nothing is dropped in silence, and a refusal
// names the field it is about.

// The field's name as its caption shows it, without the mnemonic "&" and the trailing
// colon ("&Longueur :" reads "Longueur").
std::string FieldNameOfCaption(std::string_view caption);

// The message that tells a field's range: "<name> : please enter a whole number between
// min and max." (whole) or "... a number between ..." in the interface's language. The
// limits are given as they should be shown.
std::string FieldRangeMessage(std::string_view caption, std::string_view min, std::string_view max,
                              bool whole);

// The same for a field without an upper limit: "<name> : please enter a whole number."
// (whole) or "... a number.".
std::string FieldNumberMessage(std::string_view caption, bool whole);

// A whole number typed into a field and held to min..max; on any other text (a decimal
// included) nothing, with problem set to the range message naming the field.
std::optional<int> ReadWholeField(std::string_view text, std::string_view caption, int min, int max,
                                  std::string& problem);
