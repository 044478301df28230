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

// A number as a person types it into a field: blanks around it, an optional "-", digits
// with at most one decimal mark, where "," and "." are read alike whatever the locale
// ("30,5" and "30.5" are both 30.5, ",5" is 0.5). Nothing for any other text, so that
// a field never drops a character it cannot read ("30 5", "1.2.3", "12a", "" fail).
std::optional<double> ParseTypedNumber(std::string_view text);

// The same for a field that takes whole numbers only: digits with an optional "-" and
// blanks around them; nothing for a decimal ("30,5"), any other text or a number beyond
// the 64-bit range. Callers tell the field's range when it gives nothing.
std::optional<std::int64_t> ParseTypedWhole(std::string_view text);

// The value of a typed number in units of 10^-decimals, rounded half away from zero
// ("45" with 2 decimals is 4500, "0,125" 13); nothing when the text is not a number or
// the result leaves the 64-bit range.
std::optional<std::int64_t> ParseTypedScaled(std::string_view text, int decimals);

// A price text as a fixed-point number with two decimals: the text and "00", cut two
// characters after its first "." (else its first ","), read as a whole number; further
// decimals are dropped ("12,5" and "12.5" give 1250, "7" 700, "3.456" 345). Saturates at
// 32 bits; isNumber tells whether the text held a number at all (blank reads as 0).
std::int32_t FixedPointHundredths(std::string_view text, bool* isNumber = nullptr);
