#include "pages/mounting_page.h"

#include "model/element/dev.h"
#include "ranges/range_pages.h"
#include "ranges/range_run.h"

#include <climits>

namespace {

constexpr int kMsgMountingCaption = 2728;
constexpr int kThirdSide = 2;

}  // namespace

int CMountingPage::GetPageKind() const { return kPageMounting; }

int CMountingPage::GetCaptionMessage() const { return kMsgMountingCaption; }

CRangeRun* CMountingPage::Range() const {
  const CDev* element = GetElement();
  return element != nullptr ? dynamic_cast<CRangeRun*>(element->GetRun()) : nullptr;
}

std::string CMountingPage::MountTextFor(int side, int defaultSide) {
  if (side == defaultSide) return {};
  if (defaultSide == kThirdSide) return side == 1 ? "L" : "R";
  return "INV";
}

void CMountingPage::DoLoad() {
  const CDev& element = *GetElement();
  CRangeRun* range = Range();
  m_thirdShown = range != nullptr && range->IsMountReversed(&element, -1) == kThirdSide;
  const int side = range != nullptr ? range->IsMountReversed(&element, 0) : 1;
  m_side = side == 0 || side == kThirdSide ? side : 1;
  m_polarityShown = element.GetVariant() == kPolarityVariant;
  const std::int64_t polarity =
      ReadBoundedInt(element.GetFieldText("POL").value_or(""), INT_MIN, INT_MAX, 0);
  m_polarityIndex = polarity == 3 ? 1 : (polarity == 5 ? 2 : 0);
}

CApplyOutcome CMountingPage::ChooseSide(int side) {
  CDev* element = GetElement();
  CRangeRun* range = Range();
  if (element == nullptr || range == nullptr || side < 0 || side > kThirdSide) return Unchanged();
  const std::string wanted = MountTextFor(side, range->IsMountReversed(element, -1));
  m_side = side;
  if (wanted == element->GetFieldText("MOUNT").value_or("")) return Unchanged();
  Edit(kActionElementEdit, [&] {
    element->SetFieldText("MOUNT", wanted);
    element->RebuildChain();
  });
  m_side = range->IsMountReversed(element, 0);
  return Applied();
}

CApplyOutcome CMountingPage::ChoosePolarity(int index) {
  CDev* element = GetElement();
  if (element == nullptr || index < 0 || index >= static_cast<int>(kPolarities.size()))
    return Unchanged();
  m_polarityIndex = index;
  const std::string wanted = std::to_string(kPolarities[static_cast<std::size_t>(index)]);
  if (wanted == element->GetFieldText("POL").value_or("")) return Unchanged();
  Edit(kActionElementEdit, [&] { element->SetFieldText("POL", wanted); });
  return Applied();
}
