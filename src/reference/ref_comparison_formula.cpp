// The texts of a comparison record: its quantity formula and its value, and the
// amounts and stored item texts that come from them.
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "platform/number_text.h"
#include "reference/ref_comparison.h"

namespace {

constexpr double kLargestQuantity = 1e9;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The whole text as a decimal number, ',' read as '.'; nothing for anything else.
std::optional<double> WholeNumber(std::string_view text) {
  std::string number(Trim(text));
  for (char& c : number)
    if (c == ',') c = '.';
  const auto parsed = ParseDoublePrefix(number);
  if (!parsed || parsed->length != number.size() || !std::isfinite(parsed->value)) return {};
  return parsed->value;
}

// Products and sums held at the ends of the 64-bit range: prices, times and the labour
// rate come from files and settings that may hold anything.
std::int64_t Times(std::int64_t a, std::int64_t b) {
  std::int64_t result = 0;
  if (!__builtin_mul_overflow(a, b, &result)) return result;
  return (a < 0) != (b < 0) ? std::numeric_limits<std::int64_t>::min()
                            : std::numeric_limits<std::int64_t>::max();
}

// A division by 100 rounded half up; negative values are truncated.
std::int64_t HalfUpHundredth(std::int64_t value) {
  return value >= 0 ? value / 100 + (value % 100 >= 50 ? 1 : 0) : value / 100;
}

bool IsOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/' || c == '='; }

// A variable's value, and the group and step it brings; false for an unknown token.
bool VariableValue(std::string_view token, const CRefCompFigures& figures, CRefCompQuantity& result,
                   double& value) {
  int group = 0;
  if (token == "[Length]") {
    value = figures.length;
  } else if (token == "[TapOff]") {
    value = figures.tapOffs, group = 100;
  } else if (token == "[Lamp]") {
    value = figures.lamps, group = 200;
  } else if (token == "[Te]") {
    value = figures.tes, group = 200;
  } else if (token == "[LampFix]") {
    value = figures.lampFix;
  } else if (token == "[Step]") {
    value = figures.stepCm * 0.01;
    result.step = value;
  } else {
    return false;
  }
  if (result.group == 0) result.group = group;
  return true;
}

// One token's value; false when it is neither a number nor a variable.
bool TokenValue(std::string_view token, const CRefCompFigures& figures, CRefCompQuantity& result,
                double& value) {
  if (const auto number = WholeNumber(token); number && *number != 0) {
    value = *number;
    return true;
  }
  if (VariableValue(Trim(token), figures, result, value)) return true;
  value = 0;
  return WholeNumber(token).has_value();
}

void Apply(char op, double value, double& sum, double& term) {
  switch (op) {
    case '+': sum += term, term = value; break;
    case '-': sum += term, term = -value; break;
    case '*': term *= value; break;
    case '/': term = value == 0 ? 0 : term / value; break;
    default: term = value; break;
  }
}

}  // namespace

CRefCompQuantity EvaluateCompQuantity(std::string_view formula, const CRefCompFigures& figures) {
  CRefCompQuantity result;
  double sum = 0, term = 0;
  char op = 0;  // the operator before the token; 0 for the first
  std::size_t start = 0;
  bool first = true;
  while (start <= formula.size()) {
    std::size_t end = start;
    while (end < formula.size() && !IsOperator(formula[end])) ++end;
    const std::string_view token = Trim(formula.substr(start, end - start));
    const bool last = end >= formula.size();
    if (op == '=') {
      // The token after '=' is no value; "%" at the end keeps hundredths.
      term = sum + term, sum = 0;
      if (last && token == "%") result.keepHundredths = true;
    } else if (token.empty() && first && !last && (formula[end] == '-' || formula[end] == '+')) {
      term = 0;  // a leading sign
    } else {
      double value = 0;
      if (token.empty() || !TokenValue(token, figures, result, value)) return CRefCompQuantity{};
      Apply(first ? 0 : op, value, sum, term);
    }
    first = false;
    if (last) break;
    op = formula[end];
    start = end + 1;
  }
  result.value = sum + term;
  result.valid = std::isfinite(result.value) && std::fabs(result.value) <= kLargestQuantity;
  return result;
}

std::int64_t CompQuantityHundredths(const CRefCompQuantity& quantity, int multiplier) {
  if (!quantity.valid || quantity.value <= 0) return 0;
  const double rounded = quantity.keepHundredths ? std::floor(quantity.value * 100 + 0.5)
                                                 : std::floor(quantity.value + 0.5) * 100;
  return static_cast<std::int64_t>(rounded) * multiplier;
}

CRefCompValue ParseCompValue(std::string_view value, int item) {
  CRefCompValue result;
  value = Trim(value);
  result.valid = true;
  if (value.empty()) return result;
  if (value.substr(0, 5) == "Step=") {
    const auto step = WholeNumber(value.substr(5));
    result.kind = CRefCompValue::kStep;
    result.step = step.value_or(0);
    result.valid = step.has_value();
    return result;
  }
  if (value.size() > 2 && value.substr(0, 2) == "IT" && value[2] >= '0' && value[2] <= '9') {
    const auto number = ParseWholeInt(value.substr(2));
    result.kind = CRefCompValue::kOtherItem;
    result.item = number.value_or(0);
    result.valid =
        number && *number >= 1 && *number <= CRefComparison::kItemCount && *number != item;
    return result;
  }
  result.kind = CRefCompValue::kArticle;
  const std::size_t slash = value.find('/');
  result.reference = std::string(Trim(value.substr(0, slash)));
  if (slash != std::string_view::npos) {
    const auto divisor = ParseWholeInt(Trim(value.substr(slash + 1)));
    result.divisor = divisor.value_or(0);
    result.valid = divisor && *divisor > 0;
  }
  result.valid = result.valid && !result.reference.empty();
  return result;
}

std::int64_t CompTimeAmount(std::int64_t time, std::int64_t quantity) {
  return Times(time, quantity) / 100;
}

std::int64_t CompLabourAmount(std::int64_t time, std::int64_t quantity, std::int64_t rate) {
  return HalfUpHundredth(Times(CompTimeAmount(time, quantity), rate));
}

std::int64_t CompMaterialAmount(std::int64_t price, std::int64_t quantity) {
  const std::int64_t product = Times(price, quantity);
  if (product > 0) return product / 10000 + (product % 10000 >= 5000 ? 1 : 0);
  if (price % 100 == 0) return HalfUpHundredth(Times(price / 100, quantity));
  return HalfUpHundredth(Times(quantity / 100, price));
}

std::string CompItemText(std::int64_t price, std::int64_t time) {
  // Sign and magnitude: "%d,%02d" of a negative price would write "-12,-34".
  const std::uint64_t magnitude =
      price < 0 ? 0 - static_cast<std::uint64_t>(price) : static_cast<std::uint64_t>(price);
  const std::uint64_t cents = magnitude % 100;
  return (price < 0 ? "-" : "") + std::to_string(magnitude / 100) + ',' + (cents < 10 ? "0" : "") +
         std::to_string(cents) + ';' + std::to_string(time);
}

void ReadCompItemText(std::string_view text, std::int64_t& price, std::int64_t& time) {
  const std::size_t semicolon = text.find(';');
  time = 0;
  if (semicolon != std::string_view::npos && semicolon + 1 < text.size())
    time = ParseIntPrefix(Trim(text.substr(semicolon + 1))).value_or(CParsedInt{}).value;
  price = FixedPointHundredths(Trim(text.substr(0, semicolon)));
}
