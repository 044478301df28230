#include "ranges/qw/qw_rules.h"

#include "model/element/dev.h"
#include "ranges/range_rules_support.h"

std::string CQWRules::GetVariantCounterpart(std::string_view code) const {
  return SwapThirdLetter(code, 'A', 'C');
}

void CQWRules::UpgradeLegacyElement(CDev& element, std::string_view) const {
  if (element.GetKind() == CDev::kEnd && element.GetVariant() == 5)
    SetElementVariant(element, 7, true);
}
