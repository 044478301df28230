#include "ranges/qd/run_qd.h"

#include "ranges/qd/part_builder_qd.h"
#include "ranges/range_pages.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

CRunQD::CRunQD(std::string_view variant, CRunDocument* document) : CRangeRun(document) {
  LoadCatalog(variant);
}

void CRunQD::LoadCatalog(std::string_view variant) {
  SetRangePages({kPageRunIP, kPageRunLengths, kPageRunSupport}, {kPageRiser, kPageMounting});
  std::string code = "QDA";
  if (!variant.empty()) code[2] = variant[0];
  SetCatalog(code);
  m_qdt = code == "QDT" ? 1 : 0;
  AttachCacheSet(code, [&code](CRangeTables& tables, const CRangeTableReader& reader) {
    const std::string query = CRangeTableReader::RunQuery("QD", code);
    tables.patterns = reader.ReadParts();
    tables.ratings = reader.ReadRatings(query);
    reader.ReadOptions("_L_OPTIONS", {{"OPTION = 'NEUTRAL'", "ID", &tables.neutrals}}, " ");
    tables.references = reader.ReadHousings(query, false);
    tables.housings = reader.ReadDevHousings();
    tables.codes = reader.ReadDevices();
    tables.priceFormulas = reader.ReadLinear();
  });
  FinishLoad({{"Neutral", "4"}, {"IP", " "}, {"DroitParDefaut", "1"}, {"COTE_NEUTRE", "2"}});
}

std::unique_ptr<CPartBuilder> CRunQD::CreatePartBuilder() {
  return std::make_unique<CPartBuilderQD>(*this);
}

const CCodeRow* CRunQD::FindDeviceRow(int code, int variant) const {
  return m_index.FindDeviceRow(GetRangeTables(), code, variant);
}

CPatternRow CRunQD::FindPartRow(std::string_view reference) const {
  return m_index.FindPartRow(*this, reference);
}
