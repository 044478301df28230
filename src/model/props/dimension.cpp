#include "model/props/dimension.h"

#include <cmath>
#include <stdexcept>

#include "platform/number_text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.' || c == ','; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    pieces.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return pieces;
    start = end + 1;
  }
}

// Blank-separated tokens; runs of blanks separate like one.
std::vector<std::string_view> Tokens(std::string_view text) {
  std::vector<std::string_view> tokens;
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && !IsBlank(text[pos])) ++pos;
    if (pos > start) tokens.push_back(text.substr(start, pos - start));
  }
  return tokens;
}

bool IsPlainNumber(std::string_view token) {
  for (char c : token)
    if (!IsNumberChar(c)) return false;
  return true;
}

// A typed number: "." or "," as decimal separator (French users type the comma). The
// value is what its longest leading number gives; ok only when all of it was read.
double ReadTypedNumber(std::string_view text, bool& ok) {
  std::string number(text);
  for (char& c : number)
    if (c == ',') c = '.';
  const std::optional<CParsedDouble> parsed = ParseDoublePrefix(number);
  if (!parsed || !std::isfinite(parsed->value)) {
    ok = false;
    return 0.0;
  }
  ok = parsed->length == number.size();
  return parsed->value;
}

bool IsUsableFactor(double factor) { return std::isfinite(factor) && factor > 0.0; }

}  // namespace

CDimension::CDimension(double scale) : m_scale(scale) {
  if (!IsUsableFactor(scale)) throw std::invalid_argument("length scale must be above 0");
}

CDimension CDimension::Metric() {
  CDimension dimension;
  const double input[] = {1000000, 1000, 10, 1};
  const double output[] = {1000, 10, 1};
  dimension.AddInputUnits("%f|km|%f|m|%f|cm|%f|mm", input);
  dimension.AddOutputUnits("%.0f|m |%.0f|cm |%.0f|mm", output);
  return dimension;
}

std::optional<std::vector<CDimensionUnit>> CDimension::MakeUnits(std::string_view list,
                                                                 std::span<const double> factors,
                                                                 bool needFormats) {
  std::vector<CDimensionUnit> units;
  if (list.empty()) return units;
  const std::vector<std::string_view> tokens = SplitAt(list, '|');
  for (std::size_t i = 0; i < tokens.size(); i += 2) {
    const std::size_t n = i / 2;
    if (n >= factors.size() || !IsUsableFactor(factors[n])) return std::nullopt;
    CDimensionUnit unit;
    unit.format = CNumberFormat::Parse(tokens[i]);
    if (needFormats && !unit.format) return std::nullopt;
    if (i + 1 < tokens.size()) unit.suffix = std::string(tokens[i + 1]);
    unit.factor = factors[n];
    units.push_back(std::move(unit));
  }
  return units;
}

bool CDimension::AddInputUnits(std::string_view list, std::span<const double> factors) {
  auto units = MakeUnits(list, factors, false);
  if (!units) return false;
  m_inputUnits.insert(m_inputUnits.begin(), units->begin(), units->end());
  return true;
}

bool CDimension::AddOutputUnits(std::string_view list, std::span<const double> factors) {
  auto units = MakeUnits(list, factors, true);
  if (!units) return false;
  if (m_outputUnits.size() < units->size()) m_outputUnits.resize(units->size());
  std::move(units->begin(), units->end(), m_outputUnits.begin());
  return true;
}

const CDimensionUnit* CDimension::BaseOutputUnit() const {
  for (const auto& unit : m_outputUnits)
    if (unit.factor == 1.0 && unit.format) return &unit;
  return nullptr;
}

std::string CDimension::Format(double value) const {
  // Splitting infinity or not-a-number into units would only write nonsense per unit.
  if (!std::isfinite(value)) return FormatUnit(value);
  const bool negative = value < 0;
  if (negative) value = -value;
  std::string result;
  for (std::size_t i = 0; i < m_outputUnits.size(); ++i) {
    const CDimensionUnit& unit = m_outputUnits[i];
    if (!unit.format) continue;  // an entry never set by AddOutputUnits
    const bool last = i + 1 == m_outputUnits.size();
    const double q = last ? value / unit.factor : std::trunc(value / unit.factor);
    if (q == 0) continue;
    value -= q * unit.factor;
    result += unit.format->Apply(q) + unit.suffix;
  }
  if (result.empty()) {
    if (const CDimensionUnit* base = BaseOutputUnit())
      result = base->format->Apply(0.0) + (m_suffixFlag ? base->suffix : std::string());
  }
  return negative ? "-" + result : result;
}

std::string CDimension::FormatUnit(double value) const {
  const CDimensionUnit* base = BaseOutputUnit();
  if (!base) return {};
  return base->format->Apply(value) + (m_suffixFlag ? base->suffix : std::string());
}

const CDimensionUnit* CDimension::FindInputUnit(std::string_view suffix) const {
  for (const auto& unit : m_inputUnits)
    if (unit.suffix == suffix) return &unit;
  return nullptr;
}

void CDimension::AddNumberWithUnit(std::string_view number, std::string_view unit, double sign,
                                   Parsed& parsed) const {
  unit = Trim(unit);
  bool ok = !number.empty();
  const double value = number.empty() ? 0.0 : ReadTypedNumber(number, ok);
  if (!ok) parsed.valid = false;
  if (!number.empty()) parsed.anyNumber = true;
  if (unit.empty()) {
    parsed.total += sign * value;
  } else if (const CDimensionUnit* input = FindInputUnit(unit)) {
    parsed.total += sign * value * input->factor;
  } else {
    parsed.valid = false;
  }
}

void CDimension::ParseTerm(std::string_view term, double sign, Parsed& parsed) const {
  term = Trim(term);
  if (!term.empty() && term.front() == '-') {
    sign = -sign;
    term.remove_prefix(1);
  }
  const std::vector<std::string_view> tokens = Tokens(term);
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    std::string_view token = tokens[i];
    if (IsPlainNumber(token)) {
      std::string_view unit = i + 1 < tokens.size() ? tokens[++i] : std::string_view();
      AddNumberWithUnit(token, unit, sign, parsed);
      continue;
    }
    std::size_t split = 0;
    while (split < token.size() && IsNumberChar(token[split])) ++split;
    AddNumberWithUnit(token.substr(0, split), token.substr(split), sign, parsed);
  }
}

CDimension::Parsed CDimension::ParseText(std::string_view text) const {
  Parsed parsed;
  double sign = 1.0;
  while (!text.empty()) {
    const std::size_t op = text.find_first_of("+-");
    ParseTerm(text.substr(0, op), sign, parsed);
    if (op == std::string_view::npos) break;
    sign = text[op] == '-' ? -1.0 : 1.0;
    text.remove_prefix(op + 1);
  }
  parsed.total *= m_scale;
  return parsed;
}

double CDimension::Parse(std::string_view text) const { return ParseText(text).total; }

std::optional<double> CDimension::TryParse(std::string_view text) const {
  const Parsed parsed = ParseText(text);
  if (Trim(text).empty()) return parsed.total;
  if (!parsed.valid || !parsed.anyNumber) return std::nullopt;
  return parsed.total;
}
