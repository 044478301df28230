#pragma once

#include "model/run/range_rules.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

class CRun;

// Look-ups by key into a run's range tables, made once per set of tables: the last
// device-kind row of a code and variant, and the parts-list row that a reference
// matches (kept per reference, since a rebuild asks for the same few references again
// and again). The keys are dropped when the run's tables change.
class CRangeRowIndex {
 public:
  // The last device-kind row whose code is `code` and whose sub-code modulo 100 is the
  // variant; null when there is none.
  const CCodeRow* FindDeviceRow(const CRangeTables* tables, int code, int variant);
  // The run's parts-list row for the reference, as CRun::FindPartRow finds it.
  CPatternRow FindPartRow(const CRun& run, std::string_view reference);

 private:
  void Follow(const CRangeTables* tables);

  const CRangeTables* m_tables = nullptr;
  std::size_t m_sizes = 0;
  std::unordered_map<std::int64_t, const CCodeRow*> m_deviceRows;
  std::unordered_map<std::string, CPatternRow> m_partRows;
};
