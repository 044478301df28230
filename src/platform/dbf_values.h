#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Reading and writing the values of dBase fields as text, without regard to the
// process locale.
namespace tvr::platform {

// The text without leading and trailing blanks (spaces).
std::string_view TrimBlanks(std::string_view text);

// The dBase engines' integer reading: leading blanks, an optional sign, then decimal
// digits up to the first other character; 0 when there are none. Limited to 32 bits.
std::int32_t LeadingInt(std::string_view text);

// A whole number with the point as decimal separator, surrounded by blanks or not
// ("12", "-3.5", "+.25", "1e3"); nothing for anything else, and for infinities.
std::optional<double> ParseNumber(std::string_view text);

// The number right-aligned in a field of that length with that many decimals;
// nothing when it does not fit or is not finite. -0 is written as 0.
std::optional<std::string> FormatNumber(double value, int length, int decimals);

// The 32-bit little-endian integer of a binary 'I' field; 0 when fewer than 4 bytes.
std::int32_t ReadInt32(std::string_view bytes);

// The value of an 'I' field's bytes, or of an N/F field's text; nothing when blank or
// not a number.
std::optional<double> NumericValue(char type, std::string_view bytes);

// True for eight digits YYYYMMDD naming a real day of a year 0001-9999.
bool IsValidDate(std::string_view text);

// The UTF-8 text padded with blanks or cut to width characters.
std::string FitWidth(std::string text, int width);

}  // namespace tvr::platform
