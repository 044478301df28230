#include "ranges/qg/qg_rules.h"

#include "model/dev.h"
#include "ranges/range_rules_support.h"

std::string CQGRules::GetVariantCounterpart(std::string_view code) const {
  return SwapThirdLetter(code, 'A', 'C');
}

void CQGRules::AdaptVariantElement(CDev& element, std::string_view) const {
  if (element.GetKind() == CDev::kEnd) ClearElementProps(element, {"ENTRAX", "BARS"});
}
