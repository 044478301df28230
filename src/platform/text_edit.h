#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Small edits of texts, each returning the edited text. Lengths and positions count
// bytes, which are the characters of the catalogue references these are used on.

// UnescapeText lives with the message texts (message_text.h), its one user.

// Removes the leading run of c; a text made only of c is returned unchanged.
std::string TrimLeadingChar(std::string text, char c);
// Removes the trailing run of c (a text made only of c becomes empty).
std::string TrimTrailingChar(std::string text, char c);
// TrimTrailingChar, then TrimLeadingChar.
std::string TrimChar(std::string text, char c);
// Appends c until the text is length long; a longer text is returned unchanged.
std::string PadWithChar(std::string text, std::size_t length, char c);
