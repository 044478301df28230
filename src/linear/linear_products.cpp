#include "linear/linear_products.h"

#include <array>

std::string LinearProductCode(int product, bool apod) {
  static constexpr std::array<std::string_view, 13> kCodes = {
      "QMA", "QMC", "QWA", "QWC", "QPA", "QJF", "QDA", "QYA", "QYB", "QFP", "QPC", "QYX", "QYL"};
  if (product < 0 || product > kProductQYL) return {};
  if (apod && product == kProductQPA) return "Qpa";
  if (apod && product == kProductQPC) return "Qpc";
  return std::string(kCodes[static_cast<std::size_t>(product)]);
}

char LinearRangeLetter(int product, bool apod) {
  const std::string code = LinearProductCode(product, apod);
  return code.size() >= 2 ? code[1] : '\0';
}
