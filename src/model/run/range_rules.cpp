#include "model/run/range_rules.h"

#include "app/catalogue_entry.h"

void CRangeTables::Release() {
  patterns.clear();
  ratings.clear();
  neutrals.clear();
  options.clear();
  references.clear();
  housings.clear();
  codes.clear();
  accessoryCodes.clear();
  priceFormulas.clear();
  if (!temperatures.empty()) temperatures.front().value = 0.0;
}

namespace {

thread_local bool t_fillsRefused = false;

}  // namespace

CRangeTableCache& CRangeTableCache::Instance() {
  static CRangeTableCache cache;
  return cache;
}

CRangeTableCache::CFillRefusal::CFillRefusal() : m_before(t_fillsRefused) { t_fillsRefused = true; }

CRangeTableCache::CFillRefusal::~CFillRefusal() { t_fillsRefused = m_before; }

bool CRangeTableCache::FillsRefused() { return t_fillsRefused; }

void CRangeTableCache::Reset() {
  const std::lock_guard lock(m_mutex);
  m_sets.clear();
  m_catalogueCodes.clear();
  m_catalogueUsers = 0;
}

CRangeTablesLease CRangeTableCache::Take(std::string_view setName) {
  const std::lock_guard lock(m_mutex);
  auto it = m_sets.find(setName);
  if (it == m_sets.end()) {
    it = m_sets.emplace(std::string(setName), std::make_unique<CRangeTableSet>()).first;
  }
  return CRangeTablesLease(*it->second);
}

int CRangeTableCache::LiveRuns(std::string_view setName) const {
  const std::lock_guard lock(m_mutex);
  auto it = m_sets.find(setName);
  return it == m_sets.end() ? 0 : it->second->liveRuns;
}

const CRangeTables* CRangeTableCache::Find(std::string_view setName) const {
  const std::lock_guard lock(m_mutex);
  auto it = m_sets.find(setName);
  return it == m_sets.end() ? nullptr : &it->second->tables;
}

std::vector<CCodeRow>& CRangeTableCache::AddCatalogueUser(
    const std::vector<CCatalogueEntry>& catalogues) {
  const std::lock_guard lock(m_mutex);
  if (m_catalogueUsers++ == 0) {
    m_catalogueCodes.clear();
    for (const CCatalogueEntry& entry : catalogues) {
      m_catalogueCodes.push_back(CCodeRow{{entry.code, "0", entry.label, std::string()}});
    }
  }
  return m_catalogueCodes;
}

void CRangeTableCache::RemoveCatalogueUser() {
  const std::lock_guard lock(m_mutex);
  if (m_catalogueUsers <= 0) return;
  if (--m_catalogueUsers == 0) m_catalogueCodes.clear();
}

int CRangeTableCache::CatalogueUsers() const {
  const std::lock_guard lock(m_mutex);
  return m_catalogueUsers;
}
