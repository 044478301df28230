#include "model/element/dev.h"
#include "platform/text_conversions.h"
#include "ranges/qw/qw_text.h"
#include "ranges/range_ref_text.h"
#include "ranges/qw/run_qw.h"
#include "ranges/range_table_reader.h"

namespace {

constexpr std::string_view kNoPart = "ZZZZZZZZZZZZZZZZ";
constexpr std::uint32_t kPlugInBit = 1u << 28;
constexpr std::uint32_t kSideBit = 1u << 26;
constexpr std::uint32_t kHiddenBit = 1u << 27;

// The rating class of a straight length (kind 0) of variant 7.
std::string_view StraightRatingClass(int rating) {
  switch (rating) {
    case 20:
    case 31: return "25";
    case 40: return "40";
    case 50: return "50";
    case 63:
    case 80: return "80";
    default: return "";
  }
}

// The tap box of a "TP" tee by the housing height: width and height.
std::pair<std::int32_t, std::int32_t> TapBox(std::int32_t height) {
  switch (height) {
    case 44: return {115, 50};
    case 71: return {169, 77};
    case 114: return {255, 120};
    default: return {-1, -1};
  }
}

// The outlet height of the run's rating.
std::int32_t OutletHeight(int rating, char variantLetter) {
  if (rating == 20 || rating == 31) return 40;
  if (rating == 40 || rating == 50) return 68;
  if (rating == 63) return variantLetter == 'C' ? 68 : 110;
  return 110;  // 80, and ratings the catalogue does not have
}

}  // namespace

void CRunQW::BuildDevicePattern(const CDev& element, std::string& pattern) const {
  FillRefPattern(pattern);
  const int kind = element.GetKind();
  const int variant = element.GetVariant();
  if (kind == CDev::kElbow || kind == CDev::kJunction2) {
    LayRefText(pattern, 0, "QW0");
  } else if (kind < CDev::kJunction3 || kind > CDev::kJunction5) {
    const CCodeRow* row = FindDeviceRow(GetKindGroup(kind), variant);
    if (row == nullptr) {
      LayRefText(pattern, 0, kNoPart);
    } else {
      LayRefPattern(pattern, row->texts[3]);
    }
  }
  if (kind == CDev::kEnd && variant == 4 && RefCharAt(pattern, 7) == '4')
    SetRefChar(pattern, 7, '7');
  if (kind == CDev::kEnd && variant == 3)
    SetRefChar(pattern, 11, GetFirstElement() == &element ? '2' : '1');
  const std::string& own = element.GetCalibre();
  const int rating = TextToInt(own.empty() ? GetPropText("Calibre") : own);
  if (kind == CDev::kEnd && variant == 7) {
    LayRefText(pattern, 3, StraightRatingClass(rating));
  } else if (!(kind == CDev::kEnd && variant == 0)) {
    const bool qwa = IsQWA() && !(kind == CDev::kEnd && variant == 4);
    LayRefText(pattern, 3, qw::UsualRatingClass(rating, qwa));
  }
}

CHousingDims CRunQW::GetHousingDims(const CDev& element) const {
  CHousingDims dims = CRun::GetHousingDims(element);
  const std::string& reference = element.GetReference();
  if (element.GetKind() == CDev::kJunction2 && reference.size() >= 7 &&
      qw::HasAt(reference, 5, "TP")) {
    const CReferenceRow housing = FindReference();
    const auto [width2, height2] = TapBox(housing.Height());
    if (width2 >= 0) {
      dims.width2 = width2;
      dims.height2 = height2;
    }
    if (element.GetNeighbour(element.GetDirection()) != nullptr) {
      dims.length2 = dims.width2;
      dims.width2 = housing.Width();
    } else {
      dims.length2 = housing.Width();
    }
    dims.offset = C3DPoint(0, 0, (housing.Height() + dims.height2) / 2);
  }
  std::string pattern(kRefWidth, ' ');
  BuildDevicePattern(element, pattern);
  if (!TakeDevHousingDims(GetHousingTable(), pattern, dims)) return dims;
  return dims;
}

int CRunQW::GetElementGeometry(const CDev& element, int index, CElementGeometry& geometry) const {
  if (index < 7 || (index == 7 && element.GetKind() != CDev::kEnd)) return 0;
  const bool outlets = element.GetKind() == CDev::kEnd && element.GetVariant() == 2;
  geometry.extents = {0, 0, 0};
  if (!outlets) return 0;
  const std::uint32_t style = element.GetStyle();
  if (index == 7) {
    geometry.extents = {10, 400, 190};
    geometry.offset = C3DPoint(5, 0, 0);
    return 0;
  }
  if (index >= 10 && index <= 13) {
    static constexpr int kAcross[4] = {-105, -35, 35, 105};
    const std::string catalog = GetPropText("Catalog");
    geometry.extents = {150, 0, OutletHeight(GetRating(), RefCharAt(catalog, 2))};
    geometry.offset = C3DPoint(85, kAcross[index - 10], 0);
    geometry.colour = 150u | (150u << 8) | (150u << 16);
    return 1;
  }
  if (index != 8 || (style & kPlugInBit) == 0) return 0;
  if ((style & kHiddenBit) != 0 && (style & kSideBit) == 0) return 0;
  // The unit stands its own half length and a gap of 10 off the feed unit's plate.
  double across = 0;
  if (element.GetDirection() == 2 || element.GetDirection() == 3) {
    geometry.extents = {600, 450, 200};
  } else {
    const bool sideBit = (style & kSideBit) != 0 && (style & kHiddenBit) == 0;
    const bool turned = element.GetRotation() == 64;
    geometry.extents = {200, 450, 600};
    across = sideBit != turned ? 205 : -205;
  }
  geometry.offset = C3DPoint(geometry.extents[0] / 2 + 10, 0, across);
  return 3;
}
