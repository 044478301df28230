#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Fixed-place reads and writes on catalogue references. Places count from 0; a place
// beyond the text reads as a blank and is never written, so that a short or damaged
// reference can be worked on without growing or overrunning it.

inline char RefCharAt(std::string_view text, std::size_t at) {
  return at < text.size() ? text[at] : ' ';
}

inline void SetRefChar(std::string& text, std::size_t at, char c) {
  if (at < text.size()) text[at] = c;
}

// Lays the text over the reference from the place on, as far as both reach.
inline void LayRefText(std::string& text, std::size_t at, std::string_view over) {
  for (std::size_t i = 0; i < over.size() && at + i < text.size(); ++i) text[at + i] = over[i];
}

// Lays a pattern over the reference from its start: '?' keeps the reference's character.
inline void LayRefPattern(std::string& text, std::string_view pattern) {
  for (std::size_t i = 0; i < pattern.size() && i < text.size(); ++i) {
    if (pattern[i] != '?') text[i] = pattern[i];
  }
}

// A '#' of a device pattern laid over a reference stands for a digit of the rating: the
// part keeps the digit that the rated reference (the run's pattern before the device's
// was laid over it) holds at that place.
inline void KeepRatingDigits(std::string& text, std::string_view rated) {
  for (std::size_t i = 0; i < text.size() && i < rated.size(); ++i) {
    if (text[i] == '#') text[i] = rated[i];
  }
}

// The two characters at the place (the part family at place 5).
inline std::string RefPairAt(std::string_view text, std::size_t at) {
  return {RefCharAt(text, at), RefCharAt(text, at + 1)};
}
