#include "platform/number_text.h"

#include <algorithm>
#include <charconv>
#include <limits>

std::string FixedDecimalText(double value, int decimals) {
  return PrecisionText(value, std::chars_format::fixed, decimals);
}

std::string PrecisionText(double value, std::chars_format format, int precision) {
  // Enough for any double in fixed form with a precision of a hundred and more.
  char buffer[512];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
  if (result.ec != std::errc()) return std::string();
  return std::string(buffer, result.ptr);
}

std::optional<CParsedInt> ParseIntPrefix(std::string_view text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc()) return std::nullopt;
  return CParsedInt{value, static_cast<std::size_t>(end - text.data())};
}

std::optional<CParsedDouble> ParseDoublePrefix(std::string_view text) {
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc()) return std::nullopt;
  return CParsedDouble{value, static_cast<std::size_t>(end - text.data())};
}

std::optional<int> ParseWholeInt(std::string_view text) {
  std::optional<CParsedInt> parsed = ParseIntPrefix(text);
  if (!parsed || parsed->length != text.size()) return std::nullopt;
  return parsed->value;
}

std::int32_t FixedPointHundredths(std::string_view text, bool* isNumber) {
  std::string_view trimmed = text;
  while (!trimmed.empty() && trimmed.front() == ' ') trimmed.remove_prefix(1);
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
  std::string digits(trimmed);
  if (isNumber) *isNumber = true;
  if (digits.empty()) return 0;
  digits += "00";
  std::size_t point = digits.find('.');
  if (point == std::string::npos) point = digits.find(',');
  if (point != std::string::npos) digits = digits.substr(0, point) + digits.substr(point + 1, 2);
  std::int64_t value = 0;
  const char* first = digits.data() + (digits[0] == '+' ? 1 : 0);
  const auto [end, error] = std::from_chars(first, digits.data() + digits.size(), value);
  if (error == std::errc::result_out_of_range) {
    value = digits[0] == '-' ? std::numeric_limits<std::int32_t>::min()
                             : std::numeric_limits<std::int32_t>::max();
  } else if (error != std::errc()) {
    if (isNumber) *isNumber = false;
    return 0;
  }
  if (isNumber && end != digits.data() + digits.size()) *isNumber = false;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}
