#include "platform/dbf_table.h"

namespace tvr::platform {

// Not written yet: every call fails cleanly so that callers can already build.
struct CDbfTable::State {
  std::string path;
  std::string error = "dBase tables are not available yet";
  std::vector<DbfFieldInfo> fields;
};

namespace {
const DbfFieldInfo kNoField{};
}

CDbfTable::CDbfTable() : m_state(std::make_unique<State>()) {}
CDbfTable::~CDbfTable() = default;
CDbfTable::CDbfTable(CDbfTable&&) noexcept = default;
CDbfTable& CDbfTable::operator=(CDbfTable&&) noexcept = default;

bool CDbfTable::Open(const std::string& path, Mode) {
  m_state->path = path;
  return false;
}
bool CDbfTable::Create(const std::string& path, std::vector<DbfFieldInfo>, CodePage) {
  m_state->path = path;
  return false;
}
bool CDbfTable::Flush() { return true; }
bool CDbfTable::Close() { return true; }
bool CDbfTable::IsOpen() const { return false; }
bool CDbfTable::IsReadOnly() const { return true; }
const std::string& CDbfTable::Path() const { return m_state->path; }
const std::string& CDbfTable::Error() const { return m_state->error; }
CodePage CDbfTable::GetCodePage() const { return CodePage::Cp850; }
int CDbfTable::FieldCount() const { return 0; }
const DbfFieldInfo& CDbfTable::Field(int) const { return kNoField; }
int CDbfTable::FieldIndex(std::string_view) const { return -1; }
std::uint32_t CDbfTable::RecordCount() const { return 0; }
bool CDbfTable::First() { return false; }
bool CDbfTable::Next() { return false; }
bool CDbfTable::AtEnd() const { return true; }
bool CDbfTable::GoTo(std::uint32_t) { return false; }
std::uint32_t CDbfTable::RecNo() const { return 0; }
bool CDbfTable::IsDeleted() const { return false; }
std::string CDbfTable::FieldText(int, int) const { return std::string(); }
std::int32_t CDbfTable::FieldInt(int) const { return 0; }
std::string CDbfTable::FieldRawText(int) const { return std::string(); }
std::string_view CDbfTable::FieldBytes(int) const { return std::string_view(); }
std::string_view CDbfTable::FieldBytesAt(std::uint32_t, int) const { return std::string_view(); }
std::optional<double> CDbfTable::FieldDouble(int) const { return std::nullopt; }
std::optional<bool> CDbfTable::FieldLogical(int) const { return std::nullopt; }
std::string CDbfTable::FieldDate(int) const { return std::string(); }
int CDbfTable::Assign(int, std::string_view) { return kAssignRefused; }
bool CDbfTable::AssignNumber(int, double) { return false; }
bool CDbfTable::AssignLogical(int, bool) { return false; }
bool CDbfTable::SetDeleted(bool) { return false; }
bool CDbfTable::Append() { return false; }
bool CDbfTable::AddTag(std::string_view, std::string_view) { return false; }
bool CDbfTable::SelectTag(std::string_view) { return false; }
std::string CDbfTable::SelectTagByName(std::string_view) const { return std::string(); }
std::string CDbfTable::SelectedTag() const { return std::string(); }
int CDbfTable::Seek(std::string_view) { return kSeekNoTag; }

}  // namespace tvr::platform
