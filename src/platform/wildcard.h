#pragma once

#include <string_view>

// Matches a catalogue reference against a pattern, character by character and with
// letter case: '#' takes one digit, '?' any one character, and a '*' that ends the
// pattern one or more further characters (never none). A '*' anywhere else fails the
// match where it is reached; any other character stands for itself.
bool MatchWildcard(std::string_view pattern, std::string_view text);

// MatchWildcard of a catalogue pattern read padded with blanks to the width of a
// reference: the blanks after a closing '*', and those just before it, are padding, so
// "QGA25*" read as "QGA25*" and blanks, or as "QGA25", blanks and '*', takes what
// "QGA25*" takes.
bool MatchPaddedWildcard(std::string_view pattern, std::string_view text);
