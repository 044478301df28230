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

}  // namespace

std::optional<std::int32_t> ParseLightingValue(std::string_view text, char kind) {
  if (Trimmed(text).starts_with('-')) return std::nullopt;
  if (kind != 'f') {
    const std::optional<std::int64_t> whole = ParseTypedWhole(text);
    if (!whole) return std::nullopt;
    return static_cast<std::int32_t>(std::min<std::int64_t>(*whole, INT32_MAX));
  }
  const std::optional<double> number = ParseTypedNumber(text);
  if (!number) return std::nullopt;
  const double scaled = std::trunc(*number * 1000.0);
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
