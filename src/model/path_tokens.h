#pragma once

#include <string>

// "S" tokens of a straight stretch in the 3D exchange file: "S9999" repeated while 9999
// or more remain, then the rest in four digits. A negative length is written as "S0000":
// the four-digit field has no room for a sign, and a shorter stretch than nothing means
// a damaged length or a kit shorter than its offset.
std::string StraightTokens(long long length);
