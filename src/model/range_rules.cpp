#include "model/range_rules.h"

#include "app/catalogue_entry.h"

void CRangeTables::Release() {
  patterns.clear();
  ratings.clear();
  neutrals.clear();
  options.clear();
  references.clear();
  housings.clear();
  codes.clear();
  priceFormulas.clear();
  if (!temperatures.empty()) temperatures.front().value = 0.0;
}

CRangeTableCache& CRangeTableCache::Instance() {
  static CRangeTableCache cache;
  return cache;
}

void CRangeTableCache::Reset() {
  m_ranges.clear();
  m_catalogueCodes.clear();
  m_catalogueUsers = 0;
}

CRangeTables& CRangeTableCache::AddRun(std::string_view range) {
  auto it = m_ranges.find(range);
  if (it == m_ranges.end()) {
    it = m_ranges.emplace(std::string(range), std::make_unique<Range>()).first;
  }
  ++it->second->liveRuns;
  return it->second->tables;
}

bool CRangeTableCache::RemoveRun(std::string_view range) {
  auto it = m_ranges.find(range);
  if (it == m_ranges.end() || it->second->liveRuns <= 0) return false;
  return --it->second->liveRuns == 0;
}

int CRangeTableCache::LiveRuns(std::string_view range) const {
  auto it = m_ranges.find(range);
  return it == m_ranges.end() ? 0 : it->second->liveRuns;
}

std::vector<CCodeRow>& CRangeTableCache::AddCatalogueUser(
    const std::vector<CCatalogueEntry>& catalogues) {
  if (m_catalogueUsers++ == 0) {
    m_catalogueCodes.clear();
    for (const CCatalogueEntry& entry : catalogues) {
      m_catalogueCodes.push_back(CCodeRow{{entry.code, "0", entry.label, std::string()}});
    }
  }
  return m_catalogueCodes;
}

void CRangeTableCache::RemoveCatalogueUser() {
  if (m_catalogueUsers <= 0) return;
  if (--m_catalogueUsers == 0) m_catalogueCodes.clear();
}
