#include "platform/dbf_relation.h"

#include "platform/dbf_table.h"

namespace tvr::platform {

CDbfRelation::CDbfRelation(CDbfTable& table) : m_table(&table), m_query(table) {}

bool CDbfRelation::SetQuery(std::string_view expression) { return m_query.SetQuery(expression); }

bool CDbfRelation::SetSort(std::string_view fields) { return m_query.SetSort(fields); }

const std::string& CDbfRelation::Error() const { return m_query.Error(); }

bool CDbfRelation::Top() {
  m_rows = m_query.Select();
  m_position = 0;
  return Show();
}

bool CDbfRelation::Skip() {
  if (m_position < m_rows.size()) ++m_position;
  return Show();
}

bool CDbfRelation::AtEnd() const { return m_position >= m_rows.size(); }

bool CDbfRelation::Show() {
  if (AtEnd()) {
    m_table->GoTo(0);
    return false;
  }
  return m_table->GoTo(m_rows[m_position]);
}

}  // namespace tvr::platform
