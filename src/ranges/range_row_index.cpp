#include "ranges/range_row_index.h"

#include "model/run/run.h"

#include "platform/text_conversions.h"

namespace {

// Bound on the kept part-row answers: references with parameter texts are many.
constexpr std::size_t kMaxKeptPartRows = 4096;

std::int64_t DeviceKey(int code, int variant) {
  return (static_cast<std::int64_t>(code) << 32) | static_cast<std::uint32_t>(variant);
}

}  // namespace

void CRangeRowIndex::Follow(const CRangeTables* tables) {
  const std::size_t sizes =
      tables != nullptr ? tables->codes.size() * 65536 + tables->patterns.size() : 0;
  if (m_tables == tables && m_sizes == sizes) return;
  m_deviceRows.clear();
  m_partRows.clear();
  m_tables = tables;
  m_sizes = sizes;
  if (tables == nullptr) return;
  // Later rows win, as a search from the last row to the first finds them.
  for (const CCodeRow& row : tables->codes)
    m_deviceRows[DeviceKey(TextToInt(row.texts[0]), TextToInt(row.texts[1]) % 100)] = &row;
}

const CCodeRow* CRangeRowIndex::FindDeviceRow(const CRangeTables* tables, int code, int variant) {
  Follow(tables);
  const auto found = m_deviceRows.find(DeviceKey(code, variant));
  return found != m_deviceRows.end() ? found->second : nullptr;
}

CPatternRow CRangeRowIndex::FindPartRow(const CRun& run, std::string_view reference) {
  Follow(run.GetRangeTables());
  const std::string key(reference);
  const auto kept = m_partRows.find(key);
  if (kept != m_partRows.end()) return kept->second;
  CPatternRow row = run.CRun::FindPartRow(reference);
  if (m_partRows.size() >= kMaxKeptPartRows) m_partRows.clear();
  m_partRows.emplace(key, row);
  return row;
}
