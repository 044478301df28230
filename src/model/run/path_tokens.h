#pragma once

#include <string>
#include <string_view>

// "S" tokens of a straight stretch in the 3D exchange file: "S9999" repeated while 9999
// or more remain, then the rest in four digits. A negative length is written as "S0000":
// the four-digit field has no room for a sign, and a shorter stretch than nothing means
// a damaged length or a kit shorter than its offset.
std::string StraightTokens(long long length);

// The text with every control character (CR and LF among them) made a blank: a name,
// comment or reference must never start a line of its own in the file.
std::string BlankControlCharacters(std::string_view text);
