#include "ranges/qd/run_qd.h"

#include "ranges/qd/part_builder_qd.h"
#include "ranges/range_pages.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <charconv>

namespace {

// Bound on the kept part-row answers: references with parameter texts are many.
constexpr std::size_t kMaxKeptPartRows = 4096;

std::int64_t DeviceKey(int code, int variant) {
  return (static_cast<std::int64_t>(code) << 32) | static_cast<std::uint32_t>(variant);
}

}  // namespace

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

int CRunQD::GetRating() const {
  const std::string text = GetPropText("Calibre");
  std::size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) return 0;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), value);
  (void)end;
  return error == std::errc{} ? value : 0;
}

std::unique_ptr<CPartBuilder> CRunQD::CreatePartBuilder() {
  return std::make_unique<CPartBuilderQD>(*this);
}

const CCodeRow* CRunQD::FindDeviceRow(int code, int variant) const {
  const CRangeTables* tables = GetRangeTables();
  if (tables == nullptr) return nullptr;
  const std::size_t sizes = tables->codes.size() * 65536 + tables->patterns.size();
  if (m_indexedTables != tables || m_indexedSizes != sizes) {
    m_deviceRows.clear();
    m_partRows.clear();
    // Later rows win, as a search from the last row to the first finds them.
    for (const CCodeRow& row : tables->codes) {
      m_deviceRows[DeviceKey(TextToInt(row.texts[0]), TextToInt(row.texts[1]) % 100)] = &row;
    }
    m_indexedTables = tables;
    m_indexedSizes = sizes;
  }
  const auto found = m_deviceRows.find(DeviceKey(code, variant));
  return found != m_deviceRows.end() ? found->second : nullptr;
}

CPatternRow CRunQD::FindPartRow(std::string_view reference) const {
  FindDeviceRow(0, 0);  // makes the look-ups follow the run's tables
  const std::string key(reference);
  const auto kept = m_partRows.find(key);
  if (kept != m_partRows.end()) return kept->second;
  CPatternRow row = CRun::FindPartRow(reference);
  if (m_partRows.size() >= kMaxKeptPartRows) m_partRows.clear();
  m_partRows.emplace(key, row);
  return row;
}
