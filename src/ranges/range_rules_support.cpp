#include "ranges/range_rules_support.h"

#include "model/dev.h"

std::string SwapThirdLetter(std::string_view code, char first, char second) {
  if (code.size() != 3) return std::string();
  std::string swapped(code);
  if (code[2] == first) {
    swapped[2] = second;
  } else if (code[2] == second) {
    swapped[2] = first;
  } else {
    return std::string();
  }
  return swapped;
}

void ClearElementProps(CDev& element, std::initializer_list<const char*> names) {
  for (const char* name : names) element.SetPropValue(name, "");
}

void SetElementVariant(CDev& element, int variant, bool both) {
  element.SetStyle((element.GetStyle() & ~0xFFu) | static_cast<std::uint32_t>(variant & 0xFF));
  if (both) element.SetStyle2(element.GetStyle());
}
