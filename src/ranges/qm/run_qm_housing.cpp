#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "platform/text_conversions.h"
#include "platform/wildcard.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_pages.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include <algorithm>

namespace {

constexpr int kSlotSpecialShape = kFirstRangeElementSlot;
constexpr int kSlotRiser = kFirstRangeElementSlot + 1;
constexpr int kSlotSpecialShapeFlat = kFirstRangeElementSlot + 2;
constexpr int kSlotClinq = kFirstRangeElementSlot + 3;
constexpr int kSlotAccessory = kFirstRangeElementSlot + 4;
// The housing key is compared without what follows the part itself.
constexpr std::size_t kHousingKeyWidth = 12;

bool IsUnavailable(const CRunQM& run, const CDev& element) {
  const int kind = element.GetKind();
  const int variant = element.GetVariant();
  const std::string calibre = run.GetPropText("Calibre");
  const int neutral = run.GetNeutral();
  const bool qma25 = run.IsQMA() && calibre == "25" && neutral >= 6 && neutral <= 8;
  if ((kind == CDev::kInLineVariant && (variant == 11 || variant == 12)) ||
      (kind == CDev::kEnd && variant >= 8 && variant <= 10))
    return !qma25;
  if (kind == CDev::kInLineVariant && variant == 16)
    return !((run.IsQMA() && calibre == "50") || calibre == "63");
  return false;
}

bool IsMirrored(const CDev& element) {
  const int kind = element.GetKind();
  const int variant = element.GetVariant();
  const std::uint32_t style = element.GetStyle();
  if (kind == CDev::kInLineVariant) return (style & (1u << 12)) != 0;
  if (kind == CDev::kEnd && (variant == 8 || variant == 9)) return (style & (1u << 14)) != 0;
  if (kind == CDev::kEnd && variant == 10) return element.GetDirection() != 2;
  return false;
}

// The last row whose pattern matches the key.
const CHousingRow* FindHousingRow(const std::vector<CHousingRow>* rows, std::string_view key) {
  if (rows == nullptr) return nullptr;
  for (auto it = rows->rbegin(); it != rows->rend(); ++it) {
    if (MatchPaddedPattern(it->reference, key)) return &*it;
  }
  return nullptr;
}

double HalfUp(std::int32_t coordinate, std::int32_t size) {
  return coordinate != 0 && size % 2 != 0 ? coordinate + 0.5 : coordinate;
}

}  // namespace

// A unit the run's rating does not offer goes back to the plain unit of its kind, with
// its bill line.
static void RevertVariant(CRunQM& run, CDev& element) {
  const int variant = element.GetKind() == CDev::kEnd ? 1 : 0;
  const bool booked = element.GetBooked() != 0;
  if (booked) run.GetBOM().RemoveRefQuantity(element.GetReference(), 1);
  element.SetVariantBoth(variant);
  element.SetReference(run.GetKindText(element.GetKind(), variant));
  if (booked) run.GetBOM().AddRefQuantity(element.GetReference(), 1);
}

std::string CRunQM::HousingKey(const CDev& element) const {
  std::string key(kRefWidth, ' ');
  element.OverlayRefCode(key);
  ApplyRefPattern(element, key);
  const int variant = element.GetVariant();
  CRunQM& self = const_cast<CRunQM&>(*this);
  if (element.GetKind() == CDev::kEnd && variant == 5) key = self.GetElementRef(12);
  if (element.GetKind() == CDev::kEnd && (variant == 7 || variant == 9)) {
    int mode = 1;
    CrossRangeAdapters(element, mode);
    key = self.GetElementRef(90 + std::max(mode, 1));
  }
  const std::size_t last = key.find_last_not_of(' ');
  if (last != std::string::npos && key[last] == 'G') key[last] = ' ';
  if (key.size() > kHousingKeyWidth)
    key.replace(kHousingKeyWidth, std::string::npos, key.size() - kHousingKeyWidth, ' ');
  return key;
}

CHousingDims CRunQM::GetHousingDims(const CDev& element) const {
  if (IsUnavailable(*this, element))
    RevertVariant(const_cast<CRunQM&>(*this), const_cast<CDev&>(element));
  CHousingDims dims = CRun::GetHousingDims(element);
  const CHousingRow* row = FindHousingRow(GetHousingTable(), HousingKey(element));
  if (row == nullptr) return dims;
  const auto& v = row->values;
  dims.length = v[0];
  dims.width = v[1];
  dims.height = v[2];
  dims.length2 = v[3];
  dims.width2 = v[4];
  dims.height2 = v[5];
  dims.offset = C3DPoint(HalfUp(v[6], v[3]), HalfUp(v[7], v[4]), HalfUp(v[8], v[5]));
  if (element.GetKind() == CDev::kInLineVariant && element.GetVariant() == 6) {
    const std::int64_t extra = static_cast<std::int64_t>(element.GetBookedLength()) - 1300;
    if (extra >= -200 && extra <= 200) dims.length += static_cast<std::int32_t>(extra);
  }
  if (IsMirrored(element)) {
    dims.offset.y = -dims.offset.y;
    dims.offset.z = -dims.offset.z;
  }
  return dims;
}

std::vector<int> CRunQM::GetSubObjects(const CDev& element) const {
  return RangeSubObjects(element, [&](std::vector<int>& pages) {
    const int kind = element.GetKind();
    const int variant = element.GetVariant();
    if (kind == CDev::kEnd) {
      if (variant == 2 || variant == 3 || variant == 6) {
        pages.push_back(GetElementPage(kSlotSpecialShape));
        const std::size_t n = pages.size();
        if (n >= 2 && pages[n - 2] == GetElementPage(kSlotFeedUnit))
          std::swap(pages[n - 2], pages[n - 1]);
        pages.push_back(GetElementPage(kSlotClinq));
        pages.push_back(GetElementPage(kSlotSpecialShapeFlat));
      } else if (variant == 7 || variant == 9) {
        pages.push_back(GetElementPage(kSlotAccessory));
      }
      pages.push_back(GetElementPage(kSlotPhaseOrder));
    } else if (kind == CDev::kInLineVariant && variant == 6) {
      pages.push_back(GetElementPage(kSlotLength));
    } else if (kind == CDev::kInLine) {
      pages.push_back(GetElementPage(kSlotRiser));
    } else if (kind == CDev::kElbow) {
      pages.push_back(GetElementPage(kSlotElbow));
    }
  });
}

// The length page of a special piece works in its mode 6; the elbow page knows whether
// the elbow turns edgewise (bit 0).
int CRunQM::GetPageWord(const CDev& element, int page) const {
  if (CElementSelection::Of(element).Face() < CElementSelection::kWholeElement) return 0;
  if (element.GetKind() == CDev::kInLineVariant && element.GetVariant() == 6 &&
      page == GetElementPage(kSlotLength))
    return 6;
  if (element.GetKind() != CDev::kElbow || page != GetElementPage(kSlotElbow)) return 0;
  const std::vector<int> faces = element.ForwardFaces();
  const int turn =
      faces.empty() ? 0 : GetTurnCode(element, element.GetBackFace(), faces.front(), 0);
  return turn != 1 && turn != 2 ? 1 : 0;
}

CPatternRow CRunQM::FindPartRow(std::string_view reference) const {
  if (const std::vector<CPatternRow>* patterns = GetPatternTable()) {
    for (const CPatternRow& row : *patterns) {
      if (MatchPaddedPattern(row.texts[0], reference)) return row;
    }
  }
  return CPatternRow{};
}

bool MatchPaddedPattern(std::string_view pattern, std::string_view text) {
  const std::size_t last = pattern.find_last_not_of(' ');
  if (last != std::string_view::npos && pattern[last] == '*') pattern = pattern.substr(0, last + 1);
  return MatchWildcard(pattern, text);
}
