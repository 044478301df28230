#include "catalogue_test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using tvr::platform::CDbfTable;

CCatalogueFolder::CCatalogueFolder() {
  static int counter = 0;
  m_path = fs::path(TVR_TEST_OUTPUT_DIR) /
           ("catalogue-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
  fs::remove_all(m_path);
  fs::create_directories(m_path);
}

CCatalogueFolder::~CCatalogueFolder() {
  std::error_code error;
  // Tests make files read-only; give the rights back so that everything can go.
  for (const auto& entry : fs::directory_iterator(m_path, error)) {
    fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::add, error);
  }
  fs::remove_all(m_path, error);
}

std::string CCatalogueFolder::ReadBytes(const std::string& name) const {
  std::ifstream in(m_path / name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void CCatalogueFolder::WriteBytes(const std::string& name, const std::string& bytes) const {
  std::ofstream(m_path / name, std::ios::binary) << bytes;
}

bool WriteTestTable(const std::string& path,
                    const std::vector<tvr::platform::DbfFieldInfo>& fields,
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
