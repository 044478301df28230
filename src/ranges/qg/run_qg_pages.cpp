#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_pages.h"

#include <algorithm>

namespace {

// The range's element pages, by slot.
constexpr int kSlotSpecialShape = kFirstRangeElementSlot;
constexpr int kSlotRiser = kFirstRangeElementSlot + 1;
constexpr int kSlotSpecialShapeFlat = kFirstRangeElementSlot + 2;
constexpr int kSlotClinq = kFirstRangeElementSlot + 3;
constexpr int kSlotShapeDimensions = kFirstRangeElementSlot + 4;
constexpr int kSlotAccessory = kFirstRangeElementSlot + 5;

}  // namespace

std::vector<int> CRunQG::GetSubObjects(const CDev& element) const {
  return RangeSubObjects(element,
                         [&](std::vector<int>& pages) { AddWholeElementPages(element, pages); });
}

void CRunQG::AddWholeElementPages(const CDev& element, std::vector<int>& pages) const {
  const int kind = element.GetKind();
  const int variant = element.GetVariant();
  if (kind == CDev::kInLine) pages.push_back(GetElementPage(kSlotRiser));
  if (kind != CDev::kEnd) return;
  if (variant == 2 || variant == 3 || variant == 6) {
    const bool feedUnitLast = !pages.empty() && pages.back() == GetElementPage(kSlotFeedUnit);
    if (feedUnitLast) pages.pop_back();
    pages.push_back(GetElementPage(kSlotSpecialShape));
    pages.push_back(GetElementPage(kSlotShapeDimensions));
    // The shape's own pages come before the feed unit's.
    if (feedUnitLast) pages.push_back(GetElementPage(kSlotFeedUnit));
    pages.push_back(GetElementPage(kSlotClinq));
    pages.push_back(GetElementPage(kSlotSpecialShapeFlat));
  } else if (variant == 7) {
    pages.push_back(GetElementPage(kSlotAccessory));
  }
  pages.push_back(GetElementPage(kSlotPhaseOrder));
}

// With a single face selected, the second page of the list is told so.
int CRunQG::GetPageWord(const CDev& element, int page) const {
  const int face = CElementSelection::Of(element).Face();
  if (face >= CElementSelection::kWholeElement) return 0;
  const std::vector<int> base = CRun::GetSubObjects(element);
  const int namePage = GetElementPage(kSlotElementName);
  return base.size() >= 2 && base[0] != namePage && base[1] != namePage && base[1] == page ? 1 : 0;
}
