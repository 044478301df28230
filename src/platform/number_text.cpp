#include "platform/number_text.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

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

std::optional<double> ParseTypedNumber(std::string_view text) {
  text = TrimBlanks(text);
  std::string normal(text);
  bool digit = false, mark = false;
  for (std::size_t i = 0; i < normal.size(); ++i) {
    char& c = normal[i];
    if (IsDigit(c)) {
      digit = true;
    } else if ((c == ',' || c == '.') && !mark) {
      mark = true;
      c = '.';
    } else if (c != '-' || i != 0) {
      return std::nullopt;
    }
  }
  if (!digit) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (error != std::errc() || end != normal.data() + normal.size()) return std::nullopt;
  return value;
}

std::optional<std::int64_t> ParseTypedWhole(std::string_view text) {
  text = TrimBlanks(text);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::int64_t> ParseTypedScaled(std::string_view text, int decimals) {
  if (!ParseTypedNumber(text) || decimals < 0) return std::nullopt;
  text = TrimBlanks(text);
  const bool negative = text.front() == '-';
  if (negative) text.remove_prefix(1);
  // Digit by digit, so that "1,005" with two decimals rounds up as it reads.
  std::int64_t value = 0;
  int after = -1;  // digits taken after the mark; -1 before it
  bool roundUp = false;
  for (char c : text) {
    if (!IsDigit(c)) {
      after = 0;
      continue;
    }
    if (after >= decimals) {
      if (after == decimals) roundUp = c >= '5';
      ++after;
      continue;
    }
    if (value > (std::numeric_limits<std::int64_t>::max() - 9) / 10) return std::nullopt;
    value = value * 10 + (c - '0');
    if (after >= 0) ++after;
  }
  for (int i = std::max(after, 0); i < decimals; ++i) {
    if (value > std::numeric_limits<std::int64_t>::max() / 10) return std::nullopt;
    value *= 10;
  }
  if (roundUp) ++value;
  return negative ? -value : value;
}
