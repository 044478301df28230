#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"
#include "platform/dbf_table.h"

namespace tvr::tools {

// The readable text form of one catalogue table (UTF-8):
//   # comment                          lines whose first non-blank character is '#'
//   field NAME TYPE LENGTH [DECIMALS]  one per field, in order; TYPE is C, N, F, L or D
//   codepage CP850                     optional (CP437, CP850, CP1252), default CP850
//   value1|value2|...                  one record per line, after the field lines
// Blank lines are ignored. Values are trimmed of surrounding blanks; an empty value is a
// blank field; fewer values than fields leave the others blank. "\|" is a literal '|'.
// A line starting with "*|" is a deleted record.
class CTableSource {
 public:
  struct Record {
    bool deleted = false;
    std::vector<std::string> values;  // UTF-8, one per field
  };

  // Reads the text; false with Error() set to "<name>:<line>: <fault>" on the first
  // fault: a bad field line, a value that its field cannot hold (too long, not a number,
  // too many decimals, not a date, not a logical value, a character the code page lacks),
  // too many values, no field at all.
  bool Parse(std::string_view text, const std::string& name);

  // Writes the table to path with the dBase writer; false with Error() set on failure.
  bool Write(const std::string& path);

  const std::string& Error() const { return m_error; }
  const std::vector<platform::DbfFieldInfo>& Fields() const { return m_fields; }
  platform::CodePage Page() const { return m_page; }
  const std::vector<Record>& Records() const { return m_records; }

 private:
  bool Fail(std::size_t line, const std::string& fault);
  bool ParseField(std::string_view line, std::size_t number);
  bool ParseCodePage(std::string_view line, std::size_t number);
  bool ParseRecord(std::string_view line, std::size_t number);
  // Empty when the field takes the value, else why not.
  std::string CheckValue(const platform::DbfFieldInfo& field, const std::string& value) const;

  std::string m_name;
  std::string m_error;
  std::vector<platform::DbfFieldInfo> m_fields;
  platform::CodePage m_page = platform::CodePage::Cp850;
  std::vector<Record> m_records;
};

// Splits a record line on '|' (not on "\|", which gives '|') and trims each value.
std::vector<std::string> SplitValues(std::string_view line);

}  // namespace tvr::tools
