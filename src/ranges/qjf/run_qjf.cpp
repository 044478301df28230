#include "ranges/qjf/run_qjf.h"

#include "ranges/range_pages.h"
#include "ranges/range_table_reader.h"

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
