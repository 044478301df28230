#pragma once

#include <cstdint>
#include <string>

// A font described the way stored documents describe it (the fields of a LOGFONT), so
// that a font read from a file is written back unchanged. The window side turns it into
// a real font: a negative height is the character height in pixels, a positive one the
// cell height (ascent plus descent), 0 the default size; the face "System" stands for the
// desktop's default font.
struct CLogFont {
  std::int32_t height = 0;
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 0;  // 0 normal, 100..900 as usual (400 normal, 700 bold)
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  std::string faceName;  // UTF-8; files hold at most 31 characters

  bool operator==(const CLogFont&) const = default;
};
