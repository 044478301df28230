#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/dbf_table.h"

// A temporary folder for the tables of one test, removed with everything in it.
class CCatalogueFolder {
 public:
  CCatalogueFolder();
  ~CCatalogueFolder();
  CCatalogueFolder(const CCatalogueFolder&) = delete;
  CCatalogueFolder& operator=(const CCatalogueFolder&) = delete;

  // The folder, ending with '/'.
  std::string Folder() const { return m_path.string() + "/"; }
  std::string PathOf(const std::string& name) const { return (m_path / name).string(); }
  std::string ReadBytes(const std::string& name) const;
  void WriteBytes(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path m_path;
};

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
