#pragma once

#include <string_view>

// Matches a catalogue reference against a pattern, character by character and with
// letter case: '#' takes one digit, '?' any one character, and a '*' that ends the
// pattern one or more further characters (never none). A '*' anywhere else fails the
// match where it is reached; any other character stands for itself.
bool MatchWildcard(std::string_view pattern, std::string_view text);
