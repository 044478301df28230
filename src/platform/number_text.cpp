#include "platform/number_text.h"

#include <charconv>

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
