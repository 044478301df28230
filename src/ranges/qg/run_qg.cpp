#include "ranges/qg/run_qg.h"

#include "ranges/qg/part_builder_qg.h"
#include "ranges/range_pages.h"
#include "ranges/range_table_reader.h"

CRunQG::CRunQG(std::string_view variant, CRunDocument* document) : CRangeRun(document) {
  LoadCatalog(variant);
}

void CRunQG::LoadCatalog(std::string_view variant) {
  SetRangePages({kPageRunIP, kPageRunLengths},
                {kPageSpecialShape, kPageRiser, kPageSpecialShapeFlat, kPageClinq,
                 kPageShapeDimensions, kPageAccessory});
  const std::string code = "QG" + std::string(variant.empty() ? "A" : variant);
  SetCatalog(code);
  AttachCacheSet(std::string("QG") + TwoSetLetter(variant),
                 [&code](CRangeTables& tables, const CRangeTableReader& reader) {
                   const std::string query = CRangeTableReader::RunQuery("QG", code);
                   tables.patterns = reader.ReadParts();
                   tables.ratings = reader.ReadRatings(
                       query, CRangeTableReader::RunQuery("C", std::string("C") + code[2]),
                       &tables.temperatures);
                   // QG reads its neutral options in the table's order.
                   reader.ReadOptions("_L_OPTIONS",
                                      {{"OPTION = 'NEUTRAL'", {}, &tables.neutrals},
                                       {"OPTION = 'IP'", "ID", &tables.options}},
                                      "");
                   tables.references = reader.ReadHousings(query, false);
                   tables.housings = reader.ReadDevHousings();
                   tables.codes = reader.ReadDevices();
                   tables.priceFormulas = reader.ReadLinear();
                 });
  FinishLoad({{"Neutral", "4"},
              {"IP", "A0"},
              {"DroitParDefaut", "0"},
              {"COTE_NEUTRE", "0"},
              {"SupportAuto", "0"}});
}

std::unique_ptr<CPartBuilder> CRunQG::CreatePartBuilder() {
  return std::make_unique<CPartBuilderQG>(*this);
}

CPatternRow CRunQG::FindPartRow(std::string_view reference) const {
  return m_index.FindPartRow(*this, reference);
}
