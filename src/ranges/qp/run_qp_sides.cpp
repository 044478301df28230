#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "ranges/qp/run_qp.h"
#include "ranges/range_pages.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/draw_types.h"
#include "platform/text_conversions.h"

#include <algorithm>
#include <unordered_set>

namespace {

constexpr std::size_t kMaxPages = 16;
constexpr std::uint32_t kOutletColour = 0x969696;

// The sizes of a feed box and of its four outlets by size group.
struct CFeedBoxSizes {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::array<std::int32_t, 3> outlet{};
  std::array<std::int32_t, 4> outletZ{};
};

CFeedBoxSizes FeedBoxSizes(bool upperCase, int calibre) {
  static constexpr CFeedBoxSizes kA{80, 294, {124, 0, 20}, {-107, -46, 46, 107}};
  static constexpr CFeedBoxSizes kB{250, 370, {144, 38, 0}, {-120, -40, 40, 120}};
  static constexpr CFeedBoxSizes kC{290, 370, {166, 74, 0}, {-120, -40, 40, 120}};
  const bool small = calibre == 10 || calibre == 16 || calibre == 25;
  if (upperCase) return small || calibre == 40 ? kA : kC;
  if (small) return kA;
  return calibre == 40 || calibre == 50 ? kB : kC;
}

int MountBits(const CDev& element) { return static_cast<int>((element.GetStyle() >> 26) & 3); }

int ElementCalibre(const CDev& element, int runCalibre) {
  return element.GetCalibre().empty() ? runCalibre : TextToInt(element.GetCalibre());
}

}  // namespace

int CRunQP::IsMountReversed(const CDev* element, int side) const {
  std::uint32_t flags = GetFlagsWord();
  int reversed = 0;
  if ((flags & kSideCached) == 0 || side > 0) {
    const CDev* first = GetFirstElement();
    reversed = first == nullptr || first->GetDirection() != 2 ? 1 : 0;
    flags |= kSideCached;
    flags = reversed != 0 ? flags | kSideValue : flags & ~kSideValue;
    // The default side belongs to the run: it is kept with its flags once worked out.
    const_cast<CRunQP&>(*this).SetFlagsWord(flags);
  } else {
    reversed = (flags & kSideValue) != 0 ? 1 : 0;
  }
  if (element == nullptr) return reversed;
  const int freeEnd =
      element->GetKind() == CDev::kEnd && element->GetNeighbour(element->GetDirection()) == nullptr
          ? 1
          : 0;
  const std::string mount = element->GetFieldText("MOUNT").value_or("");
  if (!mount.empty() && side >= 0) {
    if (mount == "L") return 1;
    if (mount == "R") return 0;
    return reversed == freeEnd ? 1 : 0;
  }
  const int kind = element->GetKind();
  if (m_a != 0 && kind == CDev::kEnd && element->GetVariant() == 2 &&
      ElementCalibre(*element, GetRating()) == 10)
    return 2;
  if ((kind == CDev::kJoint || kind == CDev::kInLine) && ((element->GetStyle2() >> 8) & 0xF) >= 3)
    return 0;
  return reversed ^ freeEnd;
}

bool CRunQP::HasSpringPoint(const CDev& element) const {
  const int spk = TextToInt(GetPropText("SPK"));
  if (m_upperCase == 0 || m_a == 0 || element.GetKind() != CDev::kJoint || !element.IsActive() ||
      element.GetLength() <= 0 || spk == 0)
    return false;
  int bits = spk == 1 ? 1 : 0;
  const CDev* stopped = nullptr;
  std::unordered_set<const CDev*> seen;
  for (const CDev* at = &element; at != nullptr && seen.insert(at).second;
       at = at->GetNeighbour(at->GetDirection())) {
    if (at->GetLength() > 0) bits |= 2;
    if (bits == 3) break;
    if (spk == 2 && (at->GetKind() != CDev::kJoint || !at->IsActive())) {
      stopped = at;
      break;
    }
  }
  if (stopped != nullptr && TextToInt(stopped->GetFieldText("SPK").value_or("")) != 0) bits |= 1;
  return bits == 3;
}

CHousingDims CRunQP::GetHousingDims(const CDev& element) const {
  CHousingDims dims = CRun::GetHousingDims(element);
  const int kind = element.GetKind();
  if (kind != CDev::kEnd && kind != CDev::kInLineVariant) return dims;
  std::string text(kRefWidth, ' ');
  element.OverlayRefCode(text);
  CompleteDeviceRef(element, text);
  LayRefText(text, 12, std::string(kRefWidth - 12, ' '));
  if (!TakeDevHousingDims(GetHousingTable(), text, dims)) return dims;
  const int variant = element.GetVariant();
  const bool mounted = variant == 2 || variant == 8 || variant == 9;
  if (kind == CDev::kEnd && mounted && dims.offset.y > 0 && IsMountReversed(&element, 0) == 0)
    dims.offset.y = -dims.offset.y;
  if (kind == CDev::kInLineVariant && (element.GetStyle() & 0x1000) != 0)
    dims.offset.y = -dims.offset.y;
  return dims;
}

int CRunQP::GetElementGeometry(const CDev& element, int index, CElementGeometry& geometry) const {
  const int variant = element.GetVariant();
  const int calibre = ElementCalibre(element, GetRating());
  const bool kindZero = element.GetKind() == CDev::kEnd;
  const bool feedBox =
      kindZero && variant == 3 && (index == 7 || index == 8 || (index >= 10 && index <= 13));
  const bool bracket =
      kindZero && (variant == 8 || variant == 9) && calibre <= 40 && (index == 16 || index == 17);
  if (!feedBox && !bracket) return CRun::GetElementGeometry(element, index, geometry);
  geometry.extents = {0, 0, 0};
  geometry.offset = C3DPoint(0, 0, 0);
  const CFeedBoxSizes sizes = FeedBoxSizes(m_upperCase != 0, calibre);
  if (index == 7) {
    geometry.extents = {10, sizes.width, sizes.height};
    geometry.offset = C3DPoint(5, 0, 0);
    return 0;
  }
  if (index >= 10 && index <= 13) {
    geometry.extents = sizes.outlet;
    // The two middle outlets of the small box are wider.
    if (sizes.outlet[0] == 124 && (index == 11 || index == 12)) geometry.extents[0] = 160;
    geometry.offset = C3DPoint(geometry.extents[0] / 2 + 10, 0, sizes.outletZ[index - 10]);
    geometry.colour = kOutletColour;
    return 1;
  }
  if (index == 8) {
    if ((element.GetStyle() & (1u << 28)) == 0 || MountBits(element) == 2) return 0;
    const int direction = element.GetDirection();
    if (direction == 2 || direction == 3) {
      geometry.extents = {600, 300, 400};
      geometry.offset = C3DPoint(310, 0, 0);
    } else {
      geometry.extents = {300, 300, 600};
      double z = (sizes.height - 600) / 2.0;
      if ((MountBits(element) == 1) != (element.GetRotation() == 64)) z = -z;
      geometry.offset = C3DPoint(160, 0, z);
    }
    return 3;
  }
  const bool notReversed = IsMountReversed(&element, 0) == 0;
  double y = 95 / 2.0 + (calibre < 40 ? 130 : 170);
  double x = 203;
  double z = 0;
  if (index == 16) {
    geometry.extents = {390, 95, 265};
    geometry.colour = MakeColor(0, 186, 232).ToColorRef();
  } else {
    y += 95 / 2.0 + 2.5;
    x -= 105;
    z -= 32.5;
    geometry.extents = {100, 5, 100};
    if (notReversed) x += 210;
  }
  if (notReversed) y = -y;
  geometry.offset = C3DPoint(x, y, z);
  return 0;
}

std::vector<int> CRunQP::GetSubObjects(const CDev& element) const {
  const std::vector<int> base = CRun::GetSubObjects(element);
  const int namePage = GetElementPage(kSlotElementName);
  std::vector<int> pages;
  for (std::size_t i = 0; i < base.size() && i < kMaxPages; ++i) {
    if (base[i] != namePage && base[i] != 0) pages.push_back(base[i]);
  }
  if (CElementSelection::Of(element).Face() >= CElementSelection::kWholeElement) {
    const int kind = element.GetKind();
    const int variant = element.GetVariant();
    if (kind == CDev::kInLine) pages.push_back(GetElementPage(kFirstRangeElementSlot));
    if (kind == CDev::kElbow) pages.push_back(GetElementPage(kSlotElbow));
    if (kind == CDev::kEnd && (variant == 2 || variant == 5 || variant == 8 || variant == 9))
      pages.push_back(GetElementPage(kFirstRangeElementSlot + 1));
  }
  if (const_cast<CRunQP&>(*this).AccessOption(const_cast<CDev*>(&element), 0) != 0)
    pages.push_back(GetElementPage(kFirstRangeElementSlot + 2));
  pages.resize(std::min(pages.size(), kMaxPages - 1));
  pages.push_back(namePage);
  return pages;
}

// The elbow page of every code but "QPA" is told so through its page word.
int CRunQP::GetPageWord(const CDev& element, int page) const {
  if (element.GetKind() != CDev::kElbow || page != GetElementPage(kSlotElbow)) return 0;
  return GetPropText("Catalog") == "QPA" ? 0 : 1;
}
