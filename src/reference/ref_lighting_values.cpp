#include <algorithm>
#include <cmath>

#include "platform/number_text.h"
#include "reference/ref_lighting.h"

namespace {

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The leading digits as an integer, held at the 32-bit limit.
std::int32_t LeadingDigits(std::string_view text) {
  std::int64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) break;
    value = std::min<std::int64_t>(value * 10 + (c - '0'), INT32_MAX);
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<std::int32_t> ParseLightingValue(std::string_view text, char kind, char separator) {
  text = Trimmed(text);
  bool digit = false;
  for (char c : text) {
    if (IsDigit(c)) digit = true;
    else if (c != '.' && c != separator) return std::nullopt;
  }
  if (!digit) return std::nullopt;
  if (kind != 'f') return LeadingDigits(text);
  std::string decimal(text);
  std::replace(decimal.begin(), decimal.end(), separator, '.');
  const auto parsed = ParseDoublePrefix(decimal);
  if (!parsed) return INT32_MAX;  // only a number beyond every range fails here
  const double scaled = std::trunc(parsed->value * 1000.0);
  return static_cast<std::int32_t>(std::clamp(scaled, 0.0, 2147483647.0));
}

std::string FormatLightingValue(std::int32_t value, char kind, char separator, bool padded) {
  if (kind != 'f') return std::to_string(value);
  std::string text = PrecisionText(value / 1000.0, std::chars_format::general, 6);
  std::size_t point = text.find('.');
  if (padded && text.find('e') == std::string::npos) {
    if (point == std::string::npos) point = text.size(), text += '.';
    while (text.size() - point < 3) text += '0';
  }
  std::replace(text.begin(), text.end(), '.', separator);
  return text;
}

std::vector<CLightingPreset> LightingPresets(std::string_view text, int min, int max) {
  std::vector<CLightingPreset> presets;
  while (!text.empty()) {
    const std::size_t labelEnd = text.find('/');
    if (labelEnd == std::string_view::npos) break;
    const std::string_view label = text.substr(0, labelEnd);
    text.remove_prefix(labelEnd + 1);
    const std::size_t valueEnd = text.find('/');
    const std::string_view value = text.substr(0, valueEnd);
    text.remove_prefix(valueEnd == std::string_view::npos ? text.size() : valueEnd + 1);
    const auto number = ParseIntPrefix(value);
    if (number && number->value >= min && number->value <= max)
      presets.push_back({std::string(label), number->value});
  }
  return presets;
}
