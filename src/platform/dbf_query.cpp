#include "platform/dbf_query.h"

#include "platform/dbf_table.h"

namespace tvr::platform {

// Not written yet: every query selects nothing.
struct CDbfQuery::State {
  const CDbfTable* table = nullptr;
  std::string error = "queries are not available yet";
};

CDbfQuery::CDbfQuery(const CDbfTable& table) : m_state(std::make_unique<State>()) {
  m_state->table = &table;
}
CDbfQuery::~CDbfQuery() = default;
CDbfQuery::CDbfQuery(CDbfQuery&&) noexcept = default;
CDbfQuery& CDbfQuery::operator=(CDbfQuery&&) noexcept = default;

bool CDbfQuery::SetQuery(std::string_view) { return false; }
bool CDbfQuery::SetSort(std::string_view) { return false; }
const std::string& CDbfQuery::Error() const { return m_state->error; }
std::vector<std::uint32_t> CDbfQuery::Select() const { return {}; }
bool CDbfQuery::Matches(std::uint32_t) const { return false; }

}  // namespace tvr::platform
