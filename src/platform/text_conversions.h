#pragma once

#include "platform/draw_types.h"
#include "platform/log_font.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Conversions between the texts of the settings file and values. None of them fails:
// a part that cannot be read gives zero (numbers, colours) or false (booleans). None
// depends on the user's locale.

// Fonts in the settings file are font texts of CLogFont (platform/log_font.h); label fonts
// keep their size in points in height.
constexpr std::size_t kMaxFaceNameCharacters = 31;

// Leading blanks, an optional sign and the decimal digits after it; 0 when there are
// no digits. Values beyond the int range are held at its ends.
int TextToInt(std::string_view text);

// Leading blanks, then the longest decimal number with "." as separator and an
// optional exponent; the first other character ends it ("12,5" gives 12). 0 for an
// empty text, for no number, and for texts that would not give a finite number
// ("inf", "nan", "1e999").
double TextToDouble(std::string_view text);

// "r,g,b": the integer value of each of the first three pieces, held to 0..255;
// further pieces are ignored, missing ones give 0.
CColor TextToColor(std::string_view text);
std::string ColorToText(CColor color);

// True for "True", "Yes", "On", "1" or "T" in any letter case, false for anything else.
bool TextToBool(std::string_view text);
std::string BoolToText(bool value);

// "Left l, Top t, Right r, Bottom b"; reading stops at the first part that does not
// follow that pattern and the fields not read stay 0.
CRect TextToRect(std::string_view text);
// The same pattern, but nothing unless all four numbers were read.
std::optional<CRect> TryTextToRect(std::string_view text);
std::string RectToText(const CRect& rect);

// Comma-separated fields: face name, height, weight, style letters ("I" italic, "U"
// underline, "S" strike-out), output precision, character set, clipping precision,
// quality, orientation, escapement, width, pitch and family. Missing or empty fields
// give 0; byte fields are held to 0..255; the face name is cut to 31 characters.
CLogFont TextToLogFont(std::string_view text);
// The same fields; zero fields after the weight are written empty and trailing commas
// dropped, so "Arial,9,0" for a font with nothing else set.
std::string LogFontToText(const CLogFont& font);
