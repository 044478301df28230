#include "ranges/qp/run_qp.h"

#include "ranges/range_pages.h"
#include "ranges/range_table_reader.h"

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
    tables.priceFormulas = reader.ReadLinear();
  });
  FinishLoad({{"Neutral", "4"},
              {"IP", " "},
              {"Treatment", " "},
              {"DroitParDefaut", "1"},
              {"COTE_NEUTRE", "2"}});
}
