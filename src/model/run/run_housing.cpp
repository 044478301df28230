#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/element/element_iterator.h"
#include "model/element/element_selection.h"
#include "model/builder/part_builder.h"
#include "model/run/run.h"
#include "model/tapoff/tap_off_position.h"
#include "model/run/run_environment.h"
#include "model/run/run_range_rules.h"

#include "platform/text_conversions.h"

#include <algorithm>

namespace {

double DrawnToBooked(const CDev& element) {
  const std::int32_t booked = element.GetBookedLength();
  if (booked == 0 || booked == element.GetDrawnLength()) return 1.0;
  return static_cast<double>(element.GetDrawnLength()) / booked;
}

// Whether the straight on one side of a joint leaves room for half the joint.
bool RoomForJoint(const CDev& neighbour, std::int32_t straight, std::int32_t jointLength) {
  if (neighbour.GetKind() != CDev::kEnd) return true;
  return static_cast<std::int64_t>(straight) - neighbour.GetOffset() / 2 >= jointLength / 2;
}

}  // namespace

CHousingDims CRun::GetHousingDims(const CDev& element) const {
  const CAppSettings& settings = CRunEnvironment::Instance().Settings();
  const CReferenceRow row = FindReference(element.GetCalibre());
  CHousingDims dims;
  dims.width = row.Width();
  dims.height = row.Height();
  switch (element.GetKind()) {
    case CDev::kEnd:
      if (m_flags != 0) {
        dims.length2 = 100;
        dims.width2 = row.Width() + 4;
        dims.height2 = row.Height() + 4;
        dims.offset.x = 50;
      } else {
        dims.length = 100;
        dims.width += 4;
        dims.height += 4;
      }
      break;
    case CDev::kInLine:
      dims.length = 200;
      dims.width += 500;
      dims.height += 500;
      break;
    case CDev::kInLineVariant:
      dims.length = 500;
      dims.width += 2 * settings.boxOverhang;
      dims.height += 2 * settings.boxOverhang;
      break;
    case CDev::kJoint: {
      dims.length = 32;
      CRealJoint real;
      if (settings.realJoint != 0 && m_partsState != 0 && element.IsActive())
        real = GetRangeRules().GetRealJoint();
      const std::int32_t joint = real.length;
      const std::int32_t margin = real.margin;
      const CDev* back = element.GetBackNeighbour();
      const CDev* front = element.GetNeighbour(element.GetDirection());
      if (joint > 0 && back != nullptr && front != nullptr &&
          RoomForJoint(*back, element.GetBookedLength(), joint) &&
          RoomForJoint(*front, front->GetBookedLength(), joint)) {
        const double factor = std::min(DrawnToBooked(element), DrawnToBooked(*front));
        const double length = factor < 0.99 || factor > 1.01 ? joint * factor : joint;
        if (length > dims.length) dims.length = static_cast<std::int32_t>(length);
      }
      const std::int32_t grow = margin != 0 ? margin : settings.jointOverhang;
      dims.width += 2 * grow;
      dims.height += 2 * grow;
      break;
    }
    default: break;
  }
  return dims;
}

std::vector<int> CRun::GetSubObjects(const CDev& element) const {
  auto page = [this](int slot) { return m_elementPages[static_cast<std::size_t>(slot)]; };
  const int kind = element.GetKind();
  std::vector<int> pages;
  const int face = Selection().Face();
  const bool hasRow = FindCodeRowForKind(kind) > 0;
  if (face >= 0 && face < CDev::kFaceCount) {
    pages.push_back(page(kSlotLength));
    if (hasRow) {
      const CDev* referenced = element.FindReferencedElement();
      const bool unitRef = referenced != nullptr && referenced->GetKind() == CDev::kInLine &&
                           referenced->GetVariant() == 0;
      bool show = true;
      if (m_partsState != 0 && (kind == CDev::kStraight || kind == CDev::kJoint)) {
        show = element.CarriesReference() || unitRef;
      } else if (m_partsState != 0) {
        show = unitRef;
      }
      if (show) pages.push_back(page(kSlotCharacteristics));
    }
  } else if (kind > CDev::kJoint) {
    // Only the name page.
  } else {
    if (kind == CDev::kInLine) pages.push_back(page(kSlotLength));
    const bool position =
        (kind != CDev::kEnd && kind != CDev::kInLineVariant && kind != CDev::kJoint) ||
        (kind == CDev::kInLineVariant && m_partsState == 0) ||
        (kind == CDev::kJoint && !element.IsActive() && m_partsState == 0);
    if (position) pages.push_back(page(kSlotPosition));
    if (hasRow && kind != CDev::kJoint) {
      pages.push_back(page(kSlotCharacteristics));
      const std::vector<CCodeRow>* codes = GetCodeTable();
      if ((kind == CDev::kEnd || kind == CDev::kInLineVariant) && codes != nullptr) {
        const int group = GetKindGroup(kind);
        for (const CCodeRow& row : *codes) {
          const int second = TextToInt(row.texts[1]);
          if (TextToInt(row.texts[0]) == group && second % 100 == element.GetVariant()) {
            if (second >= 100) pages.push_back(page(kSlotFeedUnit));
            break;
          }
        }
      }
    }
  }
  pages.push_back(page(kSlotElementName));
  // The list ends at its first empty slot.
  const auto end = std::find(pages.begin(), pages.end(), kPageNone);
  pages.erase(end, pages.end());
  return pages;
}

int CRun::GetPageWord(const CDev& element, int page) const {
  (void)element;
  (void)page;
  return 0;
}

CQuotationStats CRun::GetQuotationStats(bool skip) const {
  CQuotationStats stats;
  if (skip) return stats;
  CElementIterator walk = IterateElements(false);
  for (CDev* element = walk.Next(); element != nullptr; element = walk.Next()) {
    if (element->GetVariantIndex() >= 3) stats.specialStraight = 1;
    stats.bookedLength += element->GetBookedLength();
    if (element->GetKind() >= CDev::kElbow && element->GetKind() <= CDev::kJunction5)
      ++stats.junctions;
  }
  stats.pathDevices = CountPathDevices(*this);
  return stats;
}

std::unique_ptr<CPartBuilder> CRun::CreatePartBuilder() { return nullptr; }

int CRun::GetElementGeometry(const CDev& element, int index, CElementGeometry& geometry) const {
  (void)element;
  if (index >= 8) geometry.extents = {0, 0, 0};
  return 0;
}

void CRun::NormalizeRefCode(std::string& text) const { (void)text; }

std::optional<std::string> CRun::GetOptionSuffix(int argument) const {
  (void)argument;
  return std::nullopt;
}

void CRun::ClearPriceRowProperties() {
  RemoveHBv2Props();
  for (CDev* device : m_devices) device->RemoveHBv2Props();
  for (CDev* record : m_lengths) record->RemoveHBv2Props();
}

std::string CRun::GetDeviceTextForSide(const CDev& device, int value) const {
  return static_cast<int>((device.GetStyle() >> 8) & 0xF) == value ? device.GetReference()
                                                                   : std::string();
}

int CRun::AccessOption(CDev* element, int request) {
  (void)element;
  (void)request;
  return 0;
}

void CRun::ApplyRating(CDev* element, bool removeColour) {
  const CReferenceRow row = FindReference();
  if (removeColour) SetProp("RAL", "");
  CDev* start = element != nullptr ? element : GetFirstElement();
  if (start != nullptr) start->ApplyRatingDimensions(row.Width(), row.Height(), 0);
}

std::vector<int> CRun::RangeSubObjects(
    const CDev& element, const std::function<void(std::vector<int>&)>& addWholeElementPages) const {
  constexpr std::size_t kMaxPages = 16;
  const std::vector<int> base = CRun::GetSubObjects(element);
  const int namePage = GetElementPage(kSlotElementName);
  std::vector<int> pages;
  for (std::size_t i = 0; i < base.size() && i < kMaxPages && base[i] != namePage; ++i)
    pages.push_back(base[i]);
  if (CElementSelection::Of(element).Face() >= CElementSelection::kWholeElement)
    addWholeElementPages(pages);
  pages.resize(std::min(pages.size(), kMaxPages - 1));
  pages.push_back(namePage);
  return pages;
}
