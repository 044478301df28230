#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Numbers as text, the one place where the program turns numbers into text and back
// without the C library: the point is always "." whatever the user's locale. The
// settings texts (TextToInt, TextToDouble in text_conversions.h), dBase fields
// (dbf_values.h) and catalogue formats (number_format.h) build on these.

// "%.*f": the value with that many decimals.
std::string FixedDecimalText(double value, int decimals);
// The value in that form ("%.*f", "%.*e", "%.*g" as std::chars_format names them) with
// that precision; empty when the precision is beyond what any format of ours asks for.
std::string PrecisionText(double value, std::chars_format format, int precision);

// The optionally signed ("-" only) decimal integer at the start of the text, and how
// many characters it took; nothing when the text does not start with one or it is
// beyond the int range.
struct CParsedInt {
  int value = 0;
  std::size_t length = 0;
};
std::optional<CParsedInt> ParseIntPrefix(std::string_view text);

// The same for the longest decimal number with "." and an optional exponent.
struct CParsedDouble {
  double value = 0;
  std::size_t length = 0;
};
std::optional<CParsedDouble> ParseDoublePrefix(std::string_view text);

// The integer that is the whole text; nothing for anything else.
std::optional<int> ParseWholeInt(std::string_view text);

// A price text as a fixed-point number with two decimals: the text and "00", cut two
// characters after its first "." (else its first ","), read as a whole number; further
// decimals are dropped ("12,5" and "12.5" give 1250, "7" 700, "3.456" 345). Saturates at
// 32 bits; isNumber tells whether the text held a number at all (blank reads as 0).
std::int32_t FixedPointHundredths(std::string_view text, bool* isNumber = nullptr);
