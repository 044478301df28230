#include "model/run/path_tokens.h"

#include <cstdio>

std::string StraightTokens(long long length) {
  if (length < 0) length = 0;
  std::string tokens;
  for (; length >= 9999; length -= 9999) tokens += "S9999";
  char rest[8];
  std::snprintf(rest, sizeof rest, "S%04d", static_cast<int>(length));
  return tokens + rest;
}

std::string BlankControlCharacters(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return result;
}
