#include "reference/ref_products.h"

#include <array>

namespace {

constexpr std::array<std::string_view, kRefProductCount> kCodes = {
    "QFP", "QYA", "QYB", "QDA", "QPA", "Qpc", "QYX", "Qpa", "QPC"};

}  // namespace

std::string_view RefProductCode(int kind) {
  if (kind < 0 || kind >= kRefProductCount) return {};
  return kCodes[static_cast<std::size_t>(kind)];
}

char RefRangeLetter(int kind) {
  const std::string_view code = RefProductCode(kind);
  return code.size() > 1 ? code[1] : '\0';
}

std::string_view RefConductorPattern(int conductors, int group) {
  switch (conductors) {
    case 0: return "2+0";
    case 1: return group == 3 ? "4+0" : "3LNPE";
    case 2: return "2+2";
    case 3: return "4+2";
    case 4: return "4+4";
    default: return {};
  }
}

bool IsRefCountedComponent(int kind, int c) {
  if (c < 0 || c > 44 || c == 42) return false;
  if (c == 8 && (kind == 4 || kind == 7 || kind == 8)) return false;
  if (c == 13 && kind == kRefProductQFP) return false;
  // The fixing member 44 of the luminaire ranges is "without fixing".
  if (c == 44 && (kind <= 2 || kind == kRefProductQYX)) return false;
  return !(c == 36 && kind == kRefProductQYX);
}
