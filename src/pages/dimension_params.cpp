#include "pages/dimension_params.h"

#include <charconv>

namespace {

constexpr int kFixedClinqValue = 14;
// More digits than this cannot be a dimension: the value reads as 0.
constexpr std::size_t kMaxDigits = 9;

constexpr std::array<CParamField, kParamFieldCount> kSpecialFields = {{
    {1691, 'e', true, 15, 200},
    {1692, 'f', true, 30, 300},
    {1693, 'g', false, 1, 100},
    {1499, 'h', true, 15, 200},
    {1695, 'l', true, 30, 300},
    {1694, 'j', false, 1, 100},
    {1500, 'k', true, 10, 30},
    {1623, 0, true, 0, 0},
}};

constexpr std::array<CParamField, kParamFieldCount> kClinqFields = {{
    {1691, 'a', true, 30, 300},
    {1692, 'b', true, 15, 200},
    {1693, 'e', false, 1, 100},
    {1499, 'c', true, 15, 200},
    {1695, 'd', true, 30, 300},
    {1694, 'f', false, 1, 100},
    {1500, 0, true, kFixedClinqValue, kFixedClinqValue},
    {1623, 'y', true, 15, 200},
}};

// Indexes into the fields, in the order the limits are checked.
constexpr std::array<std::size_t, 7> kSpecialCheckOrder = {6, 0, 1, 2, 3, 4, 5};
constexpr std::array<std::size_t, 7> kClinqCheckOrder = {7, 1, 0, 2, 3, 4, 5};
// Indexes into the fields, in the order the text names them.
constexpr std::array<std::size_t, 7> kSpecialTextOrder = {0, 1, 2, 3, 4, 5, 6};
constexpr std::array<std::size_t, 7> kClinqTextOrder = {0, 1, 3, 4, 2, 5, 7};

bool InLimits(const CParamField& field, std::int64_t value) {
  return value >= field.lowest && value <= field.highest;
}

}  // namespace

int ReadParam(std::string_view text, char key) {
  if (text.size() > kMaxParamText) return 0;
  const char pattern[2] = {key, '='};
  const std::size_t at = text.find(std::string_view(pattern, 2));
  if (at == std::string_view::npos) return 0;
  const std::string_view rest = text.substr(at + 2);
  std::size_t digits = 0;
  while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
  if (digits == 0 || digits > kMaxDigits) return 0;
  int value = 0;
  std::from_chars(rest.data(), rest.data() + digits, value);
  return value;
}

const std::array<CParamField, kParamFieldCount>& ParamFields(EParamMode mode) {
  return mode == EParamMode::kClinq ? kClinqFields : kSpecialFields;
}

bool ParamFieldUsed(const CParamValues& values, std::size_t field) {
  const CParamField& row = ParamFields(values.mode)[field];
  if (row.control == 1623) return values.mode == EParamMode::kClinq && values.withY;
  return row.key != 0;
}

CParamValues ReadParamValues(std::string_view text, EParamMode mode, bool withY) {
  CParamValues values;
  values.mode = mode;
  values.withY = withY;
  const auto& fields = ParamFields(mode);
  for (std::size_t i = 0; i < fields.size(); ++i)
    values.values[i] = ParamFieldUsed(values, i) ? ReadParam(text, fields[i].key) : 0;
  if (mode == EParamMode::kClinq) values.values[6] = kFixedClinqValue;
  return values;
}

CParamResult BuildParamText(const CParamValues& values) {
  const auto& fields = ParamFields(values.mode);
  bool allZero = true;
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (ParamFieldUsed(values, i) && values.values[i] != 0) allZero = false;
  if (allZero) return {};
  const bool clinq = values.mode == EParamMode::kClinq;
  for (const std::size_t i : clinq ? kClinqCheckOrder : kSpecialCheckOrder)
    if (ParamFieldUsed(values, i) && !InLimits(fields[i], values.values[i]))
      return {{}, CParamRefusal{i}};
  std::string text;
  for (const std::size_t i : clinq ? kClinqTextOrder : kSpecialTextOrder) {
    if (!ParamFieldUsed(values, i)) continue;
    text += text.empty() ? ":" : ",";
    text += fields[i].key;
    text += '=';
    text += std::to_string(values.values[i]);
  }
  return {text, std::nullopt};
}
