#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/dbf_table.h"

namespace tvr::platform {

// A field of an open table, bound by name once and read on every record the table's
// cursor visits. A name the table does not have gives an invalid field, which reads as
// empty text and 0 and refuses writes. The field must not outlive its table.
class CDbField {
 public:
  CDbField() = default;
  CDbField(CDbfTable& table, std::string_view name);

  bool IsValid() const { return m_table != nullptr && m_index >= 0; }
  int Index() const { return m_index; }
  char Type() const;     // 0 when invalid
  int Length() const;    // 0 when invalid
  int Decimals() const;  // 0 when invalid

  // The decoded text of the current record, untrimmed.
  std::string Text() const;
  // The text encoded into the table's code page and assigned (CDbfTable::Assign):
  // 0 written, -1 written but cut to the field length, -2 refused.
  int Assign(std::string_view text);

  const CDbfTable* Table() const { return m_table; }

 private:
  CDbfTable* m_table = nullptr;
  int m_index = -1;
};

// The field's text on the current record: 'N' as the decimal text of its integer part,
// other types trimmed; when 0 < width < 255, padded with blanks or cut to width
// characters (CDbfTable::FieldText).
std::string FieldText(const CDbField& field, int width = 0);

// The field's integer reading on the current record (CDbfTable::FieldInt).
std::int32_t FieldInt(const CDbField& field);

}  // namespace tvr::platform
