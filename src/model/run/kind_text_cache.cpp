#include "model/run/kind_text_cache.h"

#include "model/run/range_rules.h"

std::optional<int> CKindTextCache::Find(const std::vector<CCodeRow>& table, int kind,
                                        int variant) const {
  if (!IsFor(table)) return std::nullopt;
  const auto it = m_rowsByKind.find(Key(kind, variant));
  if (it == m_rowsByKind.end()) return std::nullopt;
  return it->second;
}

void CKindTextCache::Keep(const std::vector<CCodeRow>& table, int kind, int variant, int row) {
  if (!IsFor(table)) {
    Clear();
    m_table = &table;
    m_rows = table.data();
    m_rowCount = table.size();
  }
  m_rowsByKind.insert_or_assign(Key(kind, variant), row);
}

void CKindTextCache::Clear() {
  m_rowsByKind.clear();
  m_table = nullptr;
  m_rows = nullptr;
  m_rowCount = 0;
}

std::uint64_t CKindTextCache::Key(int kind, int variant) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(kind)) << 32) |
         static_cast<std::uint32_t>(variant);
}

bool CKindTextCache::IsFor(const std::vector<CCodeRow>& table) const {
  return m_table == &table && m_rows == table.data() && m_rowCount == table.size();
}
