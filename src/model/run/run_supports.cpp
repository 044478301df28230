#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/run/run_range_rules.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <unordered_set>

namespace {

constexpr int kRiserIndex = 3;
constexpr int kSupportKind = 0;
constexpr int kRiserFixingKind = 1;
constexpr int kRiserEndKind = 2;
constexpr std::size_t kPatternLength = 22;
// Whatever the run's settings, one request makes no more records than this: a support
// step of 1 mm on a long run must not fill the memory.
constexpr std::int64_t kMaxAccessoryCount = 10000;

int StyleIndex(const CDev& element) { return static_cast<int>((element.GetStyle2() >> 8) & 0xF); }

// The first in-line unit reached from the element along the face; null when none.
const CDev* FirstUnitAlong(const CDev& element, int face) {
  std::unordered_set<const CDev*> seen{&element};
  for (const CDev* at = element.GetNeighbour(face); at != nullptr && seen.insert(at).second;
       at = at->GetNeighbour(face)) {
    if (at->GetKind() == CDev::kInLine) return at;
  }
  return nullptr;
}

bool IsRiserSection(const CDev& element) {
  int units = element.GetKind() == CDev::kInLine ? 1 : 0;
  for (int face : {2, 3}) units += FirstUnitAlong(element, face) != nullptr ? 1 : 0;
  return units >= 2;
}

struct CSupportCounts {
  std::int64_t flatLength = 0;
  std::int64_t junctions = 0;
  std::int64_t riserFixings = 0;
  std::int64_t riserEnds = 0;
};

}  // namespace

void CRun::ComputeSupports() {
  if (GetPropText("SupportAuto") != "1") return;
  const CRunRangeRules& rules = GetRangeRules();
  CSupportCounts counts;
  for (std::size_t i = m_devices.size(); i-- > 0;) {
    const CDev& element = *m_devices[i];
    const int back = element.GetBackFace();
    int index = StyleIndex(element);
    if (index != kRiserIndex && element.IsActive() && (back == 2 || back == 3) &&
        IsRiserSection(element)) {
      index = kRiserIndex;
    }
    if (index == kRiserIndex && element.IsActive() && element.GetKind() == CDev::kInLine) {
      ++counts.riserFixings;
      if (FirstUnitAlong(element, back) == nullptr) ++counts.riserEnds;
    }
    const int kind = element.GetKind();
    if (kind == CDev::kAccessory || !(element.IsActive() || kind == CDev::kJoint)) continue;
    if (index != kRiserIndex && rules.CarriesSupports(element))
      counts.flatLength += element.GetBookedLength();
    if (kind >= CDev::kElbow && kind <= CDev::kJunction5) ++counts.junctions;
  }
  std::int64_t supports = TextToInt(GetPropText("SupportPlus")) * counts.junctions;
  const std::int64_t step = TextToInt(GetPropText("SupportPas"));
  if (step != 0 && counts.flatLength > 0) supports += counts.flatLength / step + 1;
  const int factor = rules.DoublesSupports(m_catalog, m_calibre) ? 2 : 1;
  AddAccessoryParts(
      kSupportKind,
      static_cast<int>(std::clamp<std::int64_t>(supports * factor, 0, kMaxAccessoryCount)), {});
  AddAccessoryParts(kRiserFixingKind, static_cast<int>(counts.riserFixings * factor), {});
  AddAccessoryParts(kRiserEndKind, static_cast<int>(counts.riserEnds * factor), {});
}

int CRun::AddAccessoryParts(int kind, int count, std::string_view extra) {
  std::string reference;
  if (kind >= 0) {
    reference = GetElementRef(kind);
    if (reference.empty() || reference == std::string(kPatternLength, ' ')) return 0;
  } else if (extra.empty()) {
    return 0;
  }
  reference += extra;
  const int records = static_cast<int>(std::clamp<std::int64_t>(count, 0, kMaxAccessoryCount));
  for (int i = 0; i < records; ++i) {
    CDev* record = NewElement();
    record->SetKind(CDev::kAccessory);
    record->SetReference(reference);
    record->SetActive(1);
    record->SetEdited();
    record->SetBooked(1);
    record->SetStyle(0);
    AddDevice(record);
  }
  if (records > 0) m_bom->AddHeldQuantity(reference, records);
  // Companions of the reference (fixing sets and the like) are never companions of
  // their own: one level only, so a table that names a reference as its own companion
  // cannot recurse.
  thread_local bool addingCompanions = false;
  if (records > 0 && !addingCompanions) {
    addingCompanions = true;
    for (const auto& [companionKind, companionCount] :
         GetRangeRules().GetCompanionAccessories(reference, records))
      AddAccessoryParts(companionKind, companionCount, {});
    addingCompanions = false;
  }
  return 1;
}
