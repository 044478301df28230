#include "platform/dbf_values.h"

#include <cmath>
#include <limits>

#include "platform/number_text.h"

namespace tvr::platform {

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::string_view();
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::int32_t LeadingInt(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    value = value * 10 + (text[pos] - '0');
    if (value > kLimit) value = kLimit;  // saturate: no overflow on long digit runs
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) {
    value = std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(value);
}

std::optional<double> ParseNumber(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+' || text.front() == ' ') return std::nullopt;
  const std::optional<CParsedDouble> parsed = ParseDoublePrefix(text);
  if (!parsed || parsed->length != text.size() || !std::isfinite(parsed->value))
    return std::nullopt;
  return parsed->value;
}

std::optional<std::string> FormatNumber(double value, int length, int decimals) {
  if (!std::isfinite(value) || length <= 0 || decimals < 0) return std::nullopt;
  if (value == 0) value = 0;  // no "-0.00"
  std::string digits = FixedDecimalText(value, decimals);
  if (digits.empty()) return std::nullopt;
  if (digits.size() > 1 && digits[0] == '-' &&
      digits.find_first_not_of("0.", 1) == std::string::npos) {
    digits.erase(0, 1);  // a tiny negative number rounded to zero
  }
  if (digits.size() > static_cast<std::size_t>(length)) return std::nullopt;
  return std::string(static_cast<std::size_t>(length) - digits.size(), ' ') + digits;
}

std::int32_t ReadInt32(std::string_view bytes) {
  if (bytes.size() < 4) return 0;
  std::uint32_t bits = 0;
  for (std::size_t i = 4; i-- > 0;) bits = (bits << 8) | static_cast<std::uint8_t>(bytes[i]);
  return static_cast<std::int32_t>(bits);
}

std::optional<double> NumericValue(char type, std::string_view bytes) {
  if (type == 'I') {
    if (bytes.size() < 4) return std::nullopt;
    return static_cast<double>(ReadInt32(bytes));
  }
  return ParseNumber(bytes.substr(0, bytes.find('\0')));
}

bool IsValidDate(std::string_view text) {
  if (text.size() != 8) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  auto number = [&](std::size_t pos, std::size_t count) {
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) value = value * 10 + (text[i] - '0');
    return value;
  };
  const int year = number(0, 4);
  const int month = number(4, 2);
  const int day = number(6, 2);
  if (year < 1 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + ((month == 2 && leap) ? 1 : 0);
}

std::string FitWidth(std::string text, int width) {
  if (width <= 0) return std::string();
  std::size_t pos = 0;
  int count = 0;
  while (pos < text.size() && count < width) {
    ++pos;
    // continuation bytes belong to the character begun before them
    while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) ++pos;
    ++count;
  }
  text.resize(pos);
  text.append(static_cast<std::size_t>(width - count), ' ');
  return text;
}

}  // namespace tvr::platform
