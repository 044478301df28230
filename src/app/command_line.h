#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits a text into words as the Windows C runtime splits a command line: blanks and
// tabs separate words outside double quotes; a double quote opens or closes a quoted
// part and is dropped; inside a quoted part two double quotes give one literal quote;
// 2n backslashes before a quote give n backslashes and the quote acts as above, 2n+1
// give n backslashes and a literal quote; other backslashes are literal. An empty
// quoted part ("") is a word of its own.
std::vector<std::string> SplitCommandLine(std::string_view text);
