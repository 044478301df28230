#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Character counts of UTF-8 texts. A character is a code point; a byte that does not
// start a valid sequence counts as one character of its own, so that damaged text is
// still measured and cut without reading past its end.

// The number of characters of the text.
std::size_t CharacterCount(std::string_view text);

// The first maxCharacters characters of the text, never cutting one in half.
std::string CutToCharacters(std::string_view text, std::size_t maxCharacters);
