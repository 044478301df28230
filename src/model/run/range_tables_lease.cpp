#include "model/run/range_tables_lease.h"

#include "model/run/range_rules.h"

#include <utility>

CRangeTablesLease::CRangeTablesLease(CRangeTableSet& set) : m_set(&set) {
  const auto lock = CRangeTableCache::Instance().Lock();
  m_first = set.liveRuns == 0;
  ++set.liveRuns;
}

CRangeTablesLease::CRangeTablesLease(CRangeTablesLease&& other) noexcept
    : m_set(std::exchange(other.m_set, nullptr)), m_first(other.m_first) {}

CRangeTablesLease& CRangeTablesLease::operator=(CRangeTablesLease&& other) noexcept {
  if (this != &other) {
    Release();
    m_set = std::exchange(other.m_set, nullptr);
    m_first = other.m_first;
  }
  return *this;
}

CRangeTables* CRangeTablesLease::Tables() const {
  return m_set != nullptr ? &m_set->tables : nullptr;
}

void CRangeTablesLease::Release() {
  CRangeTableSet* set = std::exchange(m_set, nullptr);
  if (set == nullptr) return;
  const auto lock = CRangeTableCache::Instance().Lock();
  if (set->liveRuns > 0) --set->liveRuns;
  if (set->liveRuns == 0) set->tables.Release();
}
