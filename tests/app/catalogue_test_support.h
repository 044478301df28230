#pragma once

#include <string>
#include <vector>

#include "platform/dbf_table.h"
#include "support/temp_folder.h"

// One record of a test table: its field texts in field order (missing ones stay blank).
struct CTestRecord {
  std::vector<std::string> values;
  bool deleted = false;
};

// Writes the table through the engine's writer; false (with a gtest failure added) when
// the engine refused anything.
bool WriteTestTable(const std::string& path, const std::vector<tvr::platform::DbfFieldInfo>& fields,
                    const std::vector<CTestRecord>& records);

// The folder of the generated sample catalogue (the program folder), ending with '/'.
std::string SampleProgramFolder();
