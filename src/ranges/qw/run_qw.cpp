#include "ranges/qw/run_qw.h"

#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "platform/text_conversions.h"
#include "ranges/qw/part_builder_qw.h"
#include "ranges/qw/qw_text.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_pages.h"
#include "ranges/range_table_reader.h"

#include <algorithm>
#include <charconv>

using qw::HasAt;

namespace {

// The longest length a special length's text may give (a stored text may say anything).
constexpr std::int64_t kMaxSpecialLength = 1'000'000;

// The rating class of the default references of kinds 1 and 10: as the usual rule, but
// for kind 1 a 20 gives "31" and a 31 leaves the class.
std::string_view KindRatingClass(int kind, int rating, bool qwa) {
  if (kind == 1 && rating == 31) return "";
  return qw::UsualRatingClass(rating, qwa);
}

// The decimal number of a text that must be digits only; none otherwise.
std::optional<std::int64_t> Digits(std::string_view text) {
  std::int64_t value = 0;
  if (text.empty() || text.size() > 9) return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

CRunQW::CRunQW(std::string_view variant, CRunDocument* document) : CRangeRun(document) {
  LoadCatalog(variant);
}

void CRunQW::LoadCatalog(std::string_view variant) {
  SetRangePages({kPageRunIP, kPageRunSupport}, {kPageRiser});
  const std::string code = "QW" + std::string(variant.empty() ? "A" : variant);
  SetCatalog(code);
  AttachCacheSet(std::string("QW") + TwoSetLetter(variant),
                 [&code](CRangeTables& tables, const CRangeTableReader& reader) {
                   const std::string query = CRangeTableReader::RunQuery("QW", code);
                   tables.patterns = reader.ReadParts();
                   tables.ratings = reader.ReadRatings(query);
                   reader.ReadOptions("_L_OPTIONS",
                                      {{"OPTION = 'NEUTRAL'", "ID", &tables.neutrals},
                                       {"OPTION = 'IP'", "ID", &tables.options}},
                                      "");
                   tables.references = reader.ReadHousings(query, false);
                   tables.housings = reader.ReadDevHousings();
                   tables.codes = reader.ReadDevices({}, "SUBID");
                   tables.priceFormulas = reader.ReadLinear();
                 });
  FinishLoad({{"Neutral", "4"}, {"IP", "A0"}, {"DroitParDefaut", "0"}, {"COTE_NEUTRE", "0"}});
}

int CRunQW::GetRating() const { return TextToInt(GetPropText("Calibre")); }

std::unique_ptr<CPartBuilder> CRunQW::CreatePartBuilder() {
  return std::make_unique<CPartBuilderQW>(*this);
}

void CRunQW::FillRefPattern(std::string& pattern) const {
  CRun::FillRefPattern(pattern);
  LayRefText(pattern, 7, GetPropText("Neutral"));
}

std::string CRunQW::GetElementRef(int kind) {
  const std::string base = CRun::GetElementRef(kind);
  const int rating = GetRating();
  const bool qwa = IsQWA();
  if (!base.empty()) {
    std::string buffer = base;
    if (kind == 1) LayRefText(buffer, 3, KindRatingClass(1, rating, qwa));
    return buffer;
  }
  if (kind != CDev::kJoint2 && kind != CDev::kBend) return std::string();
  std::string buffer(kRefWidth, ' ');
  FillRefPattern(buffer);
  LayRefText(buffer, 0, "QW0");
  LayRefText(buffer, 5, "YA");
  if (RefCharAt(buffer, 7) == '7') SetRefChar(buffer, 7, '4');
  if (kind == CDev::kJoint2) {
    LayRefText(buffer, 3, KindRatingClass(kind, rating, qwa));
    return buffer;
  }
  if (RefCharAt(buffer, 7) == '3') SetRefChar(buffer, 7, '4');
  if (rating == 20 || rating == 31) {
    LayRefText(buffer, 3, "25");
  } else if (rating == 40 || rating == 50 || rating == 63 || rating == 80) {
    LayRefText(buffer, 3, "40");
    SetRefChar(buffer, 8, (rating == 80 || (rating == 63 && qwa)) ? '2' : '1');
  }
  return buffer;
}

CPatternRow CRunQW::FindPartRow(std::string_view reference) const {
  if (reference.size() <= 10 || RefCharAt(reference, 5) != 'E' || RefCharAt(reference, 6) != 'F' ||
      RefCharAt(reference, 8) != '2' || RefCharAt(reference, 10) <= '0') {
    return m_index.FindPartRow(*this, reference);
  }
  const std::string_view lengths = reference.substr(10);
  const std::size_t dash = lengths.find('-');
  if (dash == std::string_view::npos) return m_index.FindPartRow(*this, reference);
  // At most four characters follow the "-", fewer where the reference ends; both
  // numbers must be digits, else the catalogue rows answer.
  const std::string_view second =
      lengths.substr(dash + 1, std::min<std::size_t>(4, lengths.size() - dash - 1));
  const std::optional<std::int64_t> a = Digits(lengths.substr(0, dash));
  const std::optional<std::int64_t> b = Digits(qw::TrimRight(second));
  if (!a || !b || *a > kMaxSpecialLength || *b > kMaxSpecialLength)
    return m_index.FindPartRow(*this, reference);
  CPatternRow row;
  row.texts[0] = std::string(reference);
  row.texts[1] = std::string(lengths.substr(0, dash)) + "-" + std::to_string(*a + *b - 330);
  row.texts[2] = std::string(second);
  return row;
}

const CCodeRow* CRunQW::FindDeviceRow(int code, int variant) const {
  return m_index.FindDeviceRow(GetRangeTables(), code, variant);
}

std::vector<int> CRunQW::GetSubObjects(const CDev& element) const {
  return RangeSubObjects(element, [&](std::vector<int>& pages) {
    if (element.GetKind() == CDev::kInLine) pages.push_back(GetElementPage(kFirstRangeElementSlot));
    if (element.GetKind() == CDev::kElbow) pages.push_back(GetElementPage(kSlotElbow));
  });
}

int CRunQW::GetPageWord(const CDev& element, int page) const {
  if (element.GetKind() != CDev::kElbow || page != GetElementPage(kSlotElbow)) return 0;
  const int back = element.GetBackFace();
  int exit = -1;
  for (int face = 0; face < CDev::kFaceCount && exit < 0; ++face) {
    if (face != back && element.GetNeighbour(face) != nullptr) exit = face;
  }
  const int turn = GetTurnCode(element, back, exit, 0);
  return turn == 1 || turn == 2 ? 0 : 1;
}
