#include "model/props/length_unit.h"

#include "platform/text_conversions.h"

#include <cmath>
#include <vector>

namespace {

std::vector<double> Coefficients(std::string_view list) {
  std::vector<double> factors;
  std::size_t start = 0;
  while (factors.size() < kMaxUnitCoefficients && start <= list.size()) {
    std::size_t end = list.find('|', start);
    if (end == std::string_view::npos) end = list.size();
    factors.push_back(TextToDouble(list.substr(start, end - start)));
    start = end + 1;
  }
  return factors;
}

// The unit of one record, or the reason it cannot be used.
std::string MakeDimension(const CUnitEntry& entry, CDimension& dimension) {
  const double scale = TextToDouble(entry.baseCoef);
  if (!std::isfinite(scale) || scale <= 0.0)
    return "base coefficient \"" + entry.baseCoef + "\" is not a number above 0";
  CDimension made(scale);
  if (!made.AddInputUnits(entry.inputText, Coefficients(entry.inputCoef)))
    return "input units \"" + entry.inputText + "\" do not match their coefficients";
  if (!made.AddOutputUnits(entry.outputText, Coefficients(entry.outputCoef)))
    return "output units \"" + entry.outputText + "\" have a bad format or coefficient";
  dimension = std::move(made);
  return {};
}

}  // namespace

CLengthUnit BuildLengthUnit(std::span<const CUnitEntry> units, int id) {
  CLengthUnit result;
  for (const CUnitEntry& entry : units) {
    if (TextToInt(entry.idd) != id) continue;
    result.refusal = MakeDimension(entry, result.dimension);
    if (result.refusal.empty()) result.unitId = id;
    break;
  }
  return result;
}
