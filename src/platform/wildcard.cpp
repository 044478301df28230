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
