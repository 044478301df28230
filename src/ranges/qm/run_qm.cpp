#include "ranges/qm/run_qm.h"

#include "model/element/dev.h"
#include "ranges/qm/part_builder_qm.h"
#include "platform/text_conversions.h"
#include "ranges/range_pages.h"
#include "ranges/range_table_reader.h"

CRunQM::CRunQM(std::string_view variant, CRunDocument* document) : CRangeRun(document) {
  LoadCatalog(variant);
}

bool CRunQM::IsDroppedDeviceRow(const CCodeRow& row, std::string_view code) {
  const int device = TextToInt(row.texts[0]);
  const int sub = TextToInt(row.texts[1]);
  if (device == 8 && sub == 6) return true;
  if (code != "QMC") return false;
  const int variant = sub % 100;
  return (device == 8 && (variant == 11 || variant == 12)) ||
         (device == 0 && variant >= 8 && variant <= 10);
}

void CRunQM::LoadCatalog(std::string_view variant) {
  SetRangePages({kPageRunIP, kPageRunThermal, kPageRunLengths, kPageRunSupport},
                {kPageSpecialShape, kPageRiser, kPageSpecialShapeFlat, kPageClinq, kPageAccessory});
  const std::string code = "QM" + std::string(variant.empty() ? "A" : variant);
  SetCatalog(code);
  AttachCacheSet(std::string("QM") + TwoSetLetter(variant),
                 [&code](CRangeTables& tables, const CRangeTableReader& reader) {
                   const std::string query = CRangeTableReader::RunQuery("QM", code);
                   tables.patterns = reader.ReadParts();
                   tables.ratings = reader.ReadRatings(
                       query, CRangeTableReader::RunQuery("C", std::string("C") + code[2]),
                       &tables.temperatures);
                   reader.ReadOptions("_L_OPTIONS",
                                      {{"OPTION = 'NEUTRAL'", "ID", &tables.neutrals},
                                       {"OPTION = 'IP'", "ID", &tables.options}},
                                      "");
                   tables.references = reader.ReadHousings(query, true);
                   tables.housings = reader.ReadDevHousings();
                   tables.codes = reader.ReadDevices({}, {}, [&code](const CCodeRow& row) {
                     return IsDroppedDeviceRow(row, code);
                   });
                   tables.priceFormulas = reader.ReadLinear();
                 });
  FinishLoad({{"Neutral", "4"},
              {"IP", "A0"},
              {"DroitParDefaut", "0"},
              {"COTE_NEUTRE", "0"},
              {"SupportAuto", "0"},
              {"RISER", "SOL2"}});
}

// Rating 30 was withdrawn for 32, and the old step switch is no longer used.
void CRunQM::Serialize(CArchiveReader& archive) {
  CRun::Serialize(archive);
  // Only a run that needs them takes the corrections: they mark the document modified.
  if (GetPropText("Calibre") == "30") SetProp("Calibre", "32");
  if (GetProp("QM_ED_STEP").has_value()) SetProp("QM_ED_STEP", "");
}

int CRunQM::GetNeutral() const { return TextToInt(GetPropText("Neutral")); }

bool CRunQM::IsTwinRating() const {
  const std::string calibre = GetPropText("Calibre");
  return calibre == "63" || (IsQMA() && calibre == "50");
}

bool CRunQM::IsBuiltAsTwin() const {
  const std::string code = GetPropText("Catalog") + GetPropText("Calibre");
  return code == "QMC63" || code == "QMA50";
}

int CRunQM::ConnectionMode(const CDev& element) {
  return static_cast<int>((element.GetStyle() >> 20) & 0xF);
}

int CRunQM::BreakerFieldA(const CDev& element) {
  return static_cast<int>((element.GetStyle() >> 24) & 3);
}

int CRunQM::BreakerFieldB(const CDev& element) {
  return static_cast<int>((element.GetStyle() >> 26) & 3);
}

int CRunQM::GetReferenceValue() const {
  const CReferenceRow row = FindReference();
  return row.values[0];
}

std::unique_ptr<CPartBuilder> CRunQM::CreatePartBuilder() {
  return std::make_unique<CPartBuilderQM>(*this);
}
