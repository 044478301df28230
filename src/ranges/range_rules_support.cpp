#include "ranges/range_rules_support.h"

#include "model/element/dev.h"
#include "model/builder/part_builder.h"
#include "model/run/range_rules.h"

#include <algorithm>

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

void ReachPastChain(const CPatternRow& row, const CDev& element, std::int32_t& last) {
  std::int32_t low = -1, high = -1;
  ParseNumberList(row.texts[1], low, high);
  const std::int64_t grown = std::int64_t{last} + high - element.GetChainLength(-1, false);
  last = static_cast<std::int32_t>(std::clamp<std::int64_t>(grown, INT32_MIN, INT32_MAX));
}
