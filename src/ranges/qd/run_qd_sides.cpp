#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "ranges/qd/run_qd.h"
#include "ranges/range_pages.h"
#include "ranges/range_table_reader.h"

#include <algorithm>

namespace {}  // namespace

CHousingDims CRunQD::GetHousingDims(const CDev& element) const {
  CHousingDims dims = CRun::GetHousingDims(element);
  const int kind = element.GetKind();
  if (kind != CDev::kEnd && kind != CDev::kInLineVariant) return dims;
  std::string pattern(kRefWidth, ' ');
  element.OverlayRefCode(pattern);
  BuildHousingPattern(element, pattern);
  if (!TakeDevHousingDims(GetHousingTable(), pattern, dims)) return dims;
  // The default side is kept in the run flags the first time it is asked for.
  auto& self = const_cast<CRunQD&>(*this);
  if (kind == CDev::kEnd && element.GetVariant() == 2 && self.IsMountReversed(&element, 0) == 0 &&
      dims.offset.y > 0) {
    dims.offset.y = -dims.offset.y;
  }
  if (kind == CDev::kInLineVariant && (element.GetStyle() & 0x1000) != 0)
    dims.offset.y = -dims.offset.y;
  return dims;
}

int CRunQD::IsMountReversed(const CDev* element, int mode) const {
  std::uint32_t flags = GetFlagsWord();
  int side = 0;
  if ((flags & kSideCached) != 0 && mode <= 0) {
    side = (flags & kSideNotReversed) != 0 ? 0 : 1;
  } else {
    const CDev* first = GetFirstElement();
    side = first == nullptr || first->GetDirection() != 2 ? 1 : 0;
    flags |= kSideCached;
    flags = side == 0 ? flags | kSideNotReversed : flags & ~kSideNotReversed;
    // The default side belongs to the run: it is kept with its flags once worked out.
    const_cast<CRunQD&>(*this).SetFlagsWord(flags);
  }
  if (element == nullptr) return side;
  const bool runEnd =
      element->GetKind() == CDev::kEnd && element->GetNeighbour(element->GetDirection()) == nullptr;
  const int reversed = side ^ (runEnd ? 1 : 0);
  const std::string mount = element->GetFieldText("MOUNT").value_or("");
  if (!mount.empty() && mode >= 0) {
    if (mount.front() == 'L') return 1;
    if (mount.front() == 'R') return 0;
    return reversed != 0 ? 0 : 1;
  }
  return reversed;
}

std::vector<int> CRunQD::GetSubObjects(const CDev& element) const {
  return RangeSubObjects(element, [&](std::vector<int>& pages) {
    if (element.GetKind() == CDev::kInLine) pages.push_back(GetElementPage(kFirstRangeElementSlot));
    if (element.GetKind() == CDev::kEnd && element.GetVariant() == 2)
      pages.push_back(GetElementPage(kFirstRangeElementSlot + 1));
  });
}

std::string CRunQD::GetDeviceTextForSide(const CDev& device, int side) const {
  const std::string& reference = device.GetReference();
  if (static_cast<int>((device.GetStyle() >> 8) & 0xF) == side) return reference;
  if (device.GetChainLength(-1, false) != 3000) return std::string();
  // A three-digit rating makes the reference one character longer.
  const auto fiveAt = [&reference](std::size_t at) {
    return at < reference.size() ? std::string_view(reference).substr(at, 5) : std::string_view();
  };
  const std::size_t at = fiveAt(5) == "0ED43" ? 6 : 5;
  if (fiveAt(at) != "ED430") return std::string();
  char mark = 0;
  if (side == 1) mark = '3';
  else if (side == 2) mark = '6';
  else if (side == 4 && GetRating() < 16) mark = '1';
  if (mark == 0) return std::string();
  std::string text = reference;
  // A reference kept without its blanks still has the place behind the family.
  if (text.size() <= at + 5) text.resize(std::max<std::size_t>(kRefWidth, at + 6), ' ');
  text[at + 5] = mark;
  return text;
}

std::optional<std::string> CRunQD::GetPriceFormula(std::string_view reference) {
  return CRun::GetPriceFormula(reference);
}
