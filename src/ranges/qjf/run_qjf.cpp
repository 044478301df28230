#include "ranges/qjf/run_qjf.h"

#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "ranges/qjf/part_builder_qjf.h"
#include "ranges/range_pages.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::string_view kNoPart = "ZZZZZZZZZZZZZZZZ";
constexpr std::size_t kNormalizedWidth = 45;

// The feed-unit family of an entrax type; empty for a type without one.
std::string_view FeedFamily(int type, int variant) {
  switch (type) {
    case 1: return "AA";
    case 2: return "AB";
    case 3: return variant == 5 ? "AD" : "AC";
    case 4: return "AD";
    case 5: return variant == 5 ? "AL" : "AK";
    case 6: return "AL";
    default: return {};
  }
}

}  // namespace

CRunQJF::CRunQJF(CRunDocument* document) : CRangeRun(document) { LoadCatalog(); }

void CRunQJF::LoadCatalog() {
  SetRangePages({kPageRunIP, kPageRunLengths, kPageRunSupport}, {kPageEntrax, kPageRiser});
  SetCatalog("QJF");
  AttachCacheSet("QJF", [](CRangeTables& tables, const CRangeTableReader& reader) {
    tables.patterns = reader.ReadParts();
    tables.ratings = reader.ReadRatings({});
    reader.ReadOptions("_L_NEUTRAL", {{{}, "ID", &tables.neutrals}}, " ");
    reader.ReadOptions("_L_GROUND", {{{}, "ID", &tables.options}}, " ");
    tables.references = reader.ReadHousings({}, false);
    tables.housings = reader.ReadDevHousings();
    tables.codes = reader.ReadDevices({}, "SUBID");
    tables.priceFormulas = reader.ReadLinear();
  });
  FinishLoad({{"Neutral", "1"},
              {"Ground", " "},
              {"Treatment", " "},
              {"DroitParDefaut", "1"},
              {"COTE_NEUTRE", "0"}});
}

std::unique_ptr<CPartBuilder> CRunQJF::CreatePartBuilder() {
  return std::make_unique<CPartBuilderQJF>(*this);
}

CPatternRow CRunQJF::FindPartRow(std::string_view reference) const {
  return m_index.FindPartRow(*this, reference);
}

std::string CRunQJF::GetElementRef(int kind) {
  std::string buffer(kRefWidth, ' ');
  const std::string base = CRun::GetElementRef(kind);
  if (!base.empty()) {
    LayRefText(buffer, 0, base);
    return buffer;
  }
  if (kind == 13) {
    LayRefText(buffer, 0, "QJ003RT1");
    return buffer;
  }
  if (kind != 11 && kind != 12) return std::string();
  LayRefText(buffer, 0, kind == 11 ? "QJ0 6CB" : "QJ0 6CB311571");
  CRun::FillRefPattern(buffer);
  return buffer;
}

void CRunQJF::FillRefPattern(std::string& pattern) const {
  CRun::FillRefPattern(pattern);
  const char digit = RefCharAt(pattern, 3);
  const double factor = TextToDouble(GetPropText("Neutral"));
  double n = (digit >= '0' && digit <= '9' ? digit - '0' : 0) * factor;
  // A neutral place holds one digit, whatever the stored factor says.
  n = std::isfinite(n) ? std::clamp(std::ceil(n), 0.0, 9.0) : 0.0;
  SetRefChar(pattern, 7, static_cast<char>('0' + static_cast<int>(n)));
  LayRefText(pattern, 13, GetPropText("Ground"));
  LayRefText(pattern, 19, GetPropText("Treatment"));
  if (pattern.size() > 9 && pattern.find_first_not_of(' ', 9) != std::string::npos)
    pattern[9] = 'A';
}

void CRunQJF::BuildElementPattern(const CDev& element, std::string& pattern) const {
  FillRefPattern(pattern);
  const int kind = element.GetKind();
  if (kind >= CDev::kElbow && kind <= CDev::kJunction5) return;
  const int variant = element.GetVariant();
  const CCodeRow* row = m_index.FindDeviceRow(GetRangeTables(), GetKindGroup(kind), variant);
  if (row != nullptr) LayRefPattern(pattern, row->texts[3]);
  if (kind == CDev::kEnd && (variant == 3 || variant == 5)) {
    const std::string_view family = FeedFamily(EntraxType(element.GetStyle()), variant);
    if (!family.empty()) LayRefText(pattern, 5, family);
  }
  if (kind == CDev::kInLineVariant && variant == 3) {
    if (GetRating() == 14) LayRefText(pattern, 0, kNoPart);
    else if (GetRating() == 16) LayRefText(pattern, 3, "16");
  }
  if (row == nullptr) LayRefText(pattern, 0, kNoPart);
}

std::string CRunQJF::MakeWildcardRef(std::string_view sparse) {
  std::string result(kRefWidth, '?');
  for (std::size_t i = 0; i < sparse.size() && i < kRefWidth; ++i) {
    if (sparse[i] != '\0') result[i] = sparse[i];
  }
  return result;
}

void CRunQJF::NormalizeRefCode(std::string& text) const {
  std::string packed;
  for (std::size_t i = 0; i < text.size() && i < kRefWidth + 1; ++i) {
    if (text[i] != '\0') packed.push_back(text[i]);
  }
  packed.resize(kNormalizedWidth, ' ');
  text = std::move(packed);
}

std::vector<int> CRunQJF::GetSubObjects(const CDev& element) const {
  return RangeSubObjects(element, [&](std::vector<int>& pages) {
    const int kind = element.GetKind();
    const int variant = element.GetVariant();
    if (kind == CDev::kEnd && (variant == 3 || variant == 5)) {
      pages.push_back(GetElementPage(kFirstRangeElementSlot));
      // The entrax page comes before the feed-unit page.
      if (pages.size() >= 2 && pages[pages.size() - 2] == GetElementPage(kSlotFeedUnit))
        std::swap(pages[pages.size() - 2], pages.back());
    } else if (kind == CDev::kInLine) {
      pages.push_back(GetElementPage(kFirstRangeElementSlot + 1));
    } else if (kind == CDev::kElbow) {
      pages.push_back(GetElementPage(kSlotElbow));
    }
  });
}

std::string CRunQJF::GetDeviceTextForSide(const CDev& device, int side) const {
  const std::string& reference = device.GetReference();
  if (static_cast<int>((device.GetStyle() >> 8) & 0xF) == side) return reference;
  const std::int64_t length = device.GetChainLength(-1, false);
  const std::string family = RefPairAt(reference, 5);
  if ((length != 5000 && length != 3000) || (family != "EA" && family != "ED")) return {};
  if (side != 0 && side != 1) return {};
  std::string text = reference;
  SetRefChar(text, 6, side == 0 ? 'A' : 'D');
  return text;
}
