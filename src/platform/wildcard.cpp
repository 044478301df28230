#include "platform/wildcard.h"

bool MatchWildcard(std::string_view pattern, std::string_view text) {
  std::size_t i = 0;
  for (;; ++i) {
    bool patternEnded = i >= pattern.size();
    bool textEnded = i >= text.size();
    if (patternEnded && textEnded) return true;
    if (!patternEnded && !textEnded && pattern[i] == text[i]) continue;
    if (textEnded || patternEnded) return false;
    char wild = pattern[i];
    if (wild == '#') {
      if (text[i] < '0' || text[i] > '9') return false;
    } else if (wild == '*') {
      return i + 1 == pattern.size();
    } else if (wild != '?') {
      return false;
    }
  }
}

bool MatchPaddedWildcard(std::string_view pattern, std::string_view text) {
  const std::size_t star = pattern.find_last_not_of(' ');
  if (star == std::string_view::npos || pattern[star] != '*') return MatchWildcard(pattern, text);
  const std::size_t before =
      star == 0 ? std::string_view::npos : pattern.find_last_not_of(' ', star - 1);
  const std::size_t stem = before == std::string_view::npos ? 0 : before + 1;
  // The stem and then at least one more character, as a closing '*' asks.
  return text.size() > stem && MatchWildcard(pattern.substr(0, stem), text.substr(0, stem));
}
