#include "ranges/qw/run_qw.h"

#include "ranges/range_pages.h"
#include "ranges/range_table_reader.h"

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
