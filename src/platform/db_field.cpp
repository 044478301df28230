#include "platform/db_field.h"

namespace tvr::platform {

CDbField::CDbField(CDbfTable& table, std::string_view name)
    : m_table(&table), m_index(table.FieldIndex(name)) {}

char CDbField::Type() const { return IsValid() ? m_table->Field(m_index).type : '\0'; }

int CDbField::Length() const { return IsValid() ? m_table->Field(m_index).length : 0; }

int CDbField::Decimals() const { return IsValid() ? m_table->Field(m_index).decimals : 0; }

std::string CDbField::Text() const {
  return IsValid() ? m_table->FieldRawText(m_index) : std::string();
}

int CDbField::Assign(std::string_view text) {
  return IsValid() ? m_table->Assign(m_index, text) : CDbfTable::kAssignRefused;
}

std::string FieldText(const CDbField& field, int width) {
  if (!field.IsValid()) return std::string();
  return field.Table()->FieldText(field.Index(), width);
}

std::int32_t FieldInt(const CDbField& field) {
  return field.IsValid() ? field.Table()->FieldInt(field.Index()) : 0;
}

}  // namespace tvr::platform
