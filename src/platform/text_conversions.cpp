#include "platform/text_conversions.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <vector>

#include "platform/number_text.h"
#include "platform/utf8_text.h"

namespace {

bool IsCBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsCBlank(text.front())) text.remove_prefix(1);
  return text;
}

// Reads an optionally signed decimal integer at the start of text (after blanks) and
// removes what it read; nothing is removed when there are no digits.
bool ReadInt(std::string_view& text, int& value) {
  std::string_view rest = SkipBlanks(text);
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  if (rest.empty() || !IsDigit(rest.front())) return false;
  long long magnitude = 0;
  while (!rest.empty() && IsDigit(rest.front())) {
    magnitude =
        std::min(magnitude * 10 + (rest.front() - '0'), static_cast<long long>(INT_MAX) + 1);
    rest.remove_prefix(1);
  }
  long long signedValue = negative ? -magnitude : magnitude;
  value = static_cast<int>(std::clamp<long long>(signedValue, INT_MIN, INT_MAX));
  text = rest;
  return true;
}

std::vector<std::string_view> SplitAtCommas(std::string_view text) {
  std::vector<std::string_view> pieces;
  while (true) {
    std::size_t comma = text.find(',');
    pieces.push_back(text.substr(0, comma));
    if (comma == std::string_view::npos) return pieces;
    text.remove_prefix(comma + 1);
  }
}

std::uint8_t ToByte(std::string_view text) {
  return static_cast<std::uint8_t>(std::clamp(TextToInt(text), 0, 255));
}

std::string_view TrimBlanks(std::string_view text) {
  text = SkipBlanks(text);
  while (!text.empty() && IsCBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The text of a number field of the font text: empty for 0.
std::string OptionalNumber(int value) { return value == 0 ? std::string() : std::to_string(value); }

}  // namespace

int TextToInt(std::string_view text) {
  int value = 0;
  return ReadInt(text, value) ? value : 0;
}

double TextToDouble(std::string_view text) {
  std::string_view rest = SkipBlanks(text);
  bool plus = !rest.empty() && rest.front() == '+';
  if (plus) rest.remove_prefix(1);
  std::string_view digits = rest.substr(!plus && !rest.empty() && rest.front() == '-' ? 1 : 0);
  // from_chars would also take "inf" and "nan"; a number starts with a digit or a point.
  if (digits.empty() || !(IsDigit(digits.front()) || digits.front() == '.')) return 0.0;
  const std::optional<CParsedDouble> parsed = ParseDoublePrefix(rest);
  if (!parsed || !std::isfinite(parsed->value)) return 0.0;
  return parsed->value;
}

CColor TextToColor(std::string_view text) {
  std::vector<std::string_view> pieces = SplitAtCommas(text);
  std::array<int, 3> parts{0, 0, 0};
  for (std::size_t i = 0; i < parts.size() && i < pieces.size(); ++i) {
    parts[i] = std::clamp(TextToInt(pieces[i]), 0, 255);
  }
  return MakeColor(parts[0], parts[1], parts[2]);
}

std::string ColorToText(CColor color) {
  return std::to_string(color.red) + "," + std::to_string(color.green) + "," +
         std::to_string(color.blue);
}

bool TextToBool(std::string_view text) {
  static constexpr std::array<std::string_view, 5> kTrue{"true", "yes", "on", "1", "t"};
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return std::find(kTrue.begin(), kTrue.end(), lower) != kTrue.end();
}

std::string BoolToText(bool value) { return value ? "True" : "False"; }

namespace {

// Reads the rectangle pattern as the C library's scanf reads it: a blank in the pattern
// takes any run of blanks, other characters must match exactly, each number skips
// blanks. Returns how many of the four numbers were read.
std::size_t ReadRectFields(std::string_view text, CRect& rect) {
  static constexpr std::array<std::string_view, 4> kLabels{"Left", ", Top", ", Right", ", Bottom"};
  std::array<int*, 4> fields{&rect.left, &rect.top, &rect.right, &rect.bottom};
  for (std::size_t i = 0; i < kLabels.size(); ++i) {
    for (char expected : kLabels[i]) {
      if (expected == ' ') {
        text = SkipBlanks(text);
      } else {
        if (text.empty() || text.front() != expected) return i;
        text.remove_prefix(1);
      }
    }
    if (!ReadInt(text, *fields[i])) return i;
  }
  return kLabels.size();
}

}  // namespace

CRect TextToRect(std::string_view text) {
  CRect rect;
  ReadRectFields(text, rect);
  return rect;
}

std::optional<CRect> TryTextToRect(std::string_view text) {
  CRect rect;
  if (ReadRectFields(text, rect) != 4) return std::nullopt;
  return rect;
}

std::string RectToText(const CRect& rect) {
  return "Left " + std::to_string(rect.left) + ", Top " + std::to_string(rect.top) + ", Right " +
         std::to_string(rect.right) + ", Bottom " + std::to_string(rect.bottom);
}

CLogFont TextToLogFont(std::string_view text) {
  CLogFont font;
  std::vector<std::string_view> fields = SplitAtCommas(text);
  fields.resize(std::max<std::size_t>(fields.size(), 12));
  // Trimmed again after the cut: a face cut before a blank would lose that blank when the
  // text it is written to is read again.
  font.faceName =
      std::string(TrimBlanks(CutToCharacters(TrimBlanks(fields[0]), kMaxFaceNameCharacters)));
  font.height = TextToInt(fields[1]);
  font.weight = TextToInt(fields[2]);
  font.italic = fields[3].find('I') != std::string_view::npos;
  font.underline = fields[3].find('U') != std::string_view::npos;
  font.strikeOut = fields[3].find('S') != std::string_view::npos;
  font.outPrecision = ToByte(fields[4]);
  font.charSet = ToByte(fields[5]);
  font.clipPrecision = ToByte(fields[6]);
  font.quality = ToByte(fields[7]);
  font.orientation = TextToInt(fields[8]);
  font.escapement = TextToInt(fields[9]);
  font.width = TextToInt(fields[10]);
  font.pitchAndFamily = ToByte(fields[11]);
  return font;
}

std::string LogFontToText(const CLogFont& font) {
  std::string styles = std::string(font.italic ? "I" : "") + (font.underline ? "U" : "") +
                       (font.strikeOut ? "S" : "");
  // A comma would end the face name when the text is read back.
  std::string_view face = font.faceName;
  face = face.substr(0, face.find(','));
  std::string text = CutToCharacters(face, kMaxFaceNameCharacters) + "," +
                     std::to_string(font.height) + "," + std::to_string(font.weight) + "," + styles;
  for (int value :
       {int{font.outPrecision}, int{font.charSet}, int{font.clipPrecision}, int{font.quality},
        font.orientation, font.escapement, font.width, int{font.pitchAndFamily}}) {
    text += "," + OptionalNumber(value);
  }
  while (!text.empty() && text.back() == ',') text.pop_back();
  return text;
}
