#include "catalogue_test_support.h"

#include <gtest/gtest.h>

using tvr::platform::CDbfTable;

bool WriteTestTable(const std::string& path, const std::vector<tvr::platform::DbfFieldInfo>& fields,
                    const std::vector<CTestRecord>& records) {
  CDbfTable table;
  if (!table.Create(path, fields)) {
    ADD_FAILURE() << "cannot create " << path << ": " << table.Error();
    return false;
  }
  for (const CTestRecord& record : records) {
    if (!table.Append()) {
      ADD_FAILURE() << "cannot append to " << path << ": " << table.Error();
      return false;
    }
    for (std::size_t i = 0; i < record.values.size() && i < fields.size(); ++i) {
      if (table.Assign(static_cast<int>(i), record.values[i]) == CDbfTable::kAssignRefused) {
        ADD_FAILURE() << "cannot assign " << fields[i].name << " in " << path << ": "
                      << table.Error();
        return false;
      }
    }
    if (record.deleted) table.SetDeleted(true);
  }
  if (!table.Close()) {
    ADD_FAILURE() << "cannot write " << path << ": " << table.Error();
    return false;
  }
  return true;
}

std::string SampleProgramFolder() { return std::string(TVR_PROGRAM_DIR) + "/"; }
