#include "ranges/qg/qg_rules.h"

#include "model/element/dev.h"
#include "model/run/run.h"
#include "ranges/range_rules_support.h"

std::string CQGRules::GetVariantCounterpart(std::string_view code) const {
  return SwapThirdLetter(code, 'A', 'C');
}

void CQGRules::AdaptVariantElement(CDev& element, std::string_view) const {
  if (element.GetKind() == CDev::kEnd) ClearElementProps(element, {"ENTRAX", "BARS"});
}

// The rebuilt chain takes the rating's offsets again.
void CQGRules::FinishBOMRebuild(CRun& run) const { run.ApplyRating(run.GetFirstElement(), false); }

bool CQGRules::KeepsOptionsOnRotation(const CDev& element) const {
  return element.GetKind() == CDev::kEnd;
}

// An end turned round shows its other side: variant 3, or variant 6 with a hood of 2 or
// more, toggles its first option bit.
void CQGRules::FinishReversedEnd(CDev& end) const {
  const int variant = end.GetVariant();
  const int hood = static_cast<int>((end.GetStyle() >> 20) & 0xF);
  if (variant == 3 || (variant == 6 && hood >= 2)) end.SetStyle(end.GetStyle() ^ 0x1000u);
}
