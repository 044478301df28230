#include "ranges/qp/run_qp.h"

#include "app/dorne_app.h"
#include "model/run/run_environment.h"
#include "ranges/qp/part_builder_qp.h"
#include "ranges/range_pages.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <cctype>

namespace {

// Of a sparse code, only as many places as a reference has are read.
constexpr std::size_t kSparseWidth = kRefWidth + 1;
constexpr std::size_t kNormalizedWidth = 45;
// The "_DEVICES" code of the accessory references by kind (supports, riser fixings).
constexpr std::string_view kAccessoryCode = "80";

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

CRunQP::CRunQP(std::string_view variant, CRunDocument* document) : CRangeRun(document) {
  LoadCatalog(variant);
}

std::array<int, 5> CRunQP::GetLengthsPageArguments() const {
  if (m_a != 0) return {5000, 3000, 0, 0, 0};
  if (m_upperCase != 0) return {3000, 0, 0, 0, 0};
  return {};
}

void CRunQP::LoadCatalog(std::string_view variant) {
  const char letter = variant.empty() ? 'A' : variant[0];
  m_upperCase = letter == 'A' || letter == 'C' ? 1 : 0;
  m_a = letter == 'A' || letter == 'a' ? 1 : 0;
  const std::string code =
      m_upperCase != 0 ? (m_a != 0 ? "QPA" : "QPC") : (m_a != 0 ? "Qpa" : "Qpc");
  if (m_upperCase == 0 && m_a == 0) {
    SetRangePages({kPageRunIP, kPageRunSupport}, {kPageRiser, kPageMounting, kPageOptionCheck});
  } else {
    SetRangePages({kPageRunIP, kPageRunLengths, kPageRunSupport},
                  {kPageRiser, kPageMounting, kPageOptionCheck});
  }
  SetCatalog(code);
  AttachCacheSet(code, [&code](CRangeTables& tables, const CRangeTableReader& reader) {
    const std::string query = CRangeTableReader::RunQuery(code.substr(0, 2), code);
    tables.patterns = reader.ReadParts(query);
    tables.ratings = reader.ReadRatings(query);
    reader.ReadOptions("_L_NEUTRAL", {{query, "ID", &tables.neutrals}}, " ");
    tables.references = reader.ReadHousings(query, false);
    tables.housings = reader.ReadDevHousings();
    tables.codes = reader.ReadDevices(query);
    // The references of the supports and riser fixings: a code that no device carries.
    reader.ReadCodeRows(kAccessoryCode, query, tables.accessoryCodes);
    tables.priceFormulas = reader.ReadLinear();
  });
  FinishLoad({{"Neutral", "4"},
              {"IP", " "},
              {"Treatment", " "},
              {"DroitParDefaut", "1"},
              {"COTE_NEUTRE", "2"}});
}

std::unique_ptr<CPartBuilder> CRunQP::CreatePartBuilder() {
  return std::make_unique<CPartBuilderQP>(*this);
}

bool CRunQP::IsStepMode() const { return m_upperCase != 0 && GetPropText("QP_STEP") != "0"; }

int CRunQP::ReadRiserUK() {
  const CDorneApp* app = CRunEnvironment::Instance().App();
  return app != nullptr ? app->ReadProfileInt("Design", "RiserUK", 0) : 0;
}

const CCodeRow* CRunQP::FindDeviceRow(int code, int variant) const {
  return m_index.FindDeviceRow(GetRangeTables(), code, variant);
}

CPatternRow CRunQP::FindPartRow(std::string_view reference) const {
  CPatternRow row = m_index.FindPartRow(*this, reference);
  const std::string_view trimmed = reference.substr(0, reference.find_last_not_of(' ') + 1);
  if (m_upperCase == 0 || trimmed.size() <= 9 || GetPropText("QP_STEP") == "0") return row;
  const char family = RefCharAt(reference, 5);
  const char second = RefCharAt(reference, 6);
  if (family == 'D' && second != 'T' && second != 'X') {
    row.texts[1] = ReplaceWholeNumbers(
        row.texts[1],
        {{"200", "250"}, {"695", "750"}, {"745", "750"}, {"290", "300"}, {"785", "800"}});
    for (int leg = 2; leg <= 4; ++leg) {
      if (TextToInt(row.texts[leg]) > 165) row.texts[leg] = row.texts[1];
    }
  } else if (family == 'E' && second == 'T' && RefCharAt(reference, 8) == 'A') {
    if (RefCharAt(reference, 9) == 'F') {
      row.texts[1] = "400-1500";
      row.texts[2] = "400";
    } else {
      row.texts[1] = "500-1900";
    }
  }
  return row;
}

std::string ReplaceWholeNumbers(
    std::string_view text,
    std::initializer_list<std::pair<std::string_view, std::string_view>> pairs) {
  std::string result;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!IsDigit(text[i])) {
      result.push_back(text[i++]);
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && IsDigit(text[end])) ++end;
    std::string_view number = text.substr(i, end - i);
    for (const auto& [from, to] : pairs) {
      if (number == from) {
        number = to;
        break;
      }
    }
    result.append(number);
    i = end;
  }
  return result;
}

std::string CRunQP::MakeWildcardRef(std::string_view sparse) {
  std::string result(kRefWidth, '?');
  // A sparse code may hold one place more than a reference; that place has none to go to.
  for (std::size_t i = 0; i < sparse.size() && i < kSparseWidth && i < kRefWidth; ++i) {
    if (sparse[i] != '\0') result[i] = sparse[i];
  }
  return result;
}

void CRunQP::NormalizeRefCode(std::string& text) const {
  std::string packed;
  for (std::size_t i = 0; i < text.size() && i < kSparseWidth; ++i) {
    if (text[i] != '\0') packed.push_back(text[i]);
  }
  packed.resize(kNormalizedWidth, ' ');
  text = std::move(packed);
}

void CRunQP::FillRefPattern(std::string& pattern) const {
  CRun::FillRefPattern(pattern);
  const std::string neutral = m_upperCase != 0 && m_a == 0 ? "4" : GetPropText("Neutral");
  LayRefText(pattern, 7, neutral);
  if (RefCharAt(pattern, 7) == '5') SetRefChar(pattern, 7, '4');
  LayRefText(pattern, 13, GetPropText("IP"));
  LayRefText(pattern, 19, GetPropText("Treatment"));
}

bool CRunQP::ExpandRatingInRef(std::string& reference) const {
  if (m_upperCase == 0 || reference.size() < 5) return false;
  const int code = TextToInt(std::string_view(reference).substr(3, 3));
  int amperes = 0;
  switch (code) {
    case 10: amperes = 100; break;
    case 16: amperes = 160; break;
    case 25: amperes = 250; break;
    case 40: amperes = 400; break;
    case 50: amperes = 500; break;
    case 63: amperes = 630; break;
    case 80: amperes = 800; break;
    case 99: amperes = 1000; break;
    default: return false;
  }
  reference = reference.substr(0, 3) + std::to_string(amperes) + reference.substr(5);
  return true;
}
