#include "linear/linear_formula.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool IsOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/' || c == '='; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The length of the decimal number at the start: digits, an optional point with
// digits, an optional exponent with at least one digit.
std::size_t NumberLength(std::string_view text) {
  std::size_t i = 0;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t start = j;
    while (j < text.size() && IsDigit(text[j])) ++j;
    if (j > start) i = j;
  }
  return i;
}

}  // namespace

double CLinearFormula::ReadNumber(std::string_view text) {
  const std::size_t length = NumberLength(text);
  if (length == 0) return 0.0;
  double value = 0.0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + length, value, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    // Too large or too small for a double: hold it, never let it become infinite.
    const std::size_t e = text.find_first_of("eE");
    const bool tiny = e < length && e + 1 < length && text[e + 1] == '-';
    return tiny ? 0.0 : std::numeric_limits<double>::max();
  }
  (void)end;
  return error == std::errc() ? value : 0.0;
}

CLinearFormula CLinearFormula::Parse(std::string_view text, const NameClassifier& classify) {
  CLinearFormula formula;
  formula.m_text = std::string(text);
  if (Trim(text).empty()) {
    formula.m_malformed = !text.empty();
    return formula;
  }
  Op op = Op::None;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && !IsOperator(text[i])) continue;
    Operand operand;
    operand.op = op;
    operand.text = std::string(Trim(text.substr(start, i - start)));
    if (const std::size_t comma = operand.text.find(','); comma != std::string::npos)
      operand.text[comma] = '.';
    if (operand.op != Op::Close) {
      operand.number = ReadNumber(operand.text);
      if (operand.number == 0.0 && classify) operand.name = classify(operand.text);
      if (operand.text.empty() && op != Op::None) formula.m_malformed = true;
    }
    formula.m_operands.push_back(std::move(operand));
    if (i < text.size()) op = static_cast<Op>(text[i]);
    start = i + 1;
  }
  return formula;
}

std::int32_t SaturateToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

std::int32_t SaturateToInt32(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min())
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}
