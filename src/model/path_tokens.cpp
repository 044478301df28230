#include "model/path_tokens.h"

#include <cstdio>

std::string StraightTokens(long long length) {
  if (length < 0) length = 0;
  std::string tokens;
  for (; length >= 9999; length -= 9999) tokens += "S9999";
  char rest[8];
  std::snprintf(rest, sizeof rest, "S%04d", static_cast<int>(length));
  return tokens + rest;
}
