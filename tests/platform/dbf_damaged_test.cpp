#include "platform/dbf_table.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <tuple>

#include "support/case_table.h"
#include "support/temp_folder.h"

namespace tvr::platform {
namespace {

void PutU16(std::string& bytes, std::size_t pos, unsigned value) {
  bytes[pos] = static_cast<char>(value & 0xFF);
  bytes[pos + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void PutU32(std::string& bytes, std::size_t pos, std::uint32_t value) {
  PutU16(bytes, pos, value & 0xFFFF);
  PutU16(bytes, pos + 2, value >> 16);
}

class DbfDamagedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // two fields (C 10, N 5 1), three records: header 32 + 64 + 1 = 97, record 16
    CDbfTable table;
    ASSERT_TRUE(
        table.Create(m_folder.File("good.dbf"), {{"NAME", 'C', 10, 0}, {"PRICE", 'N', 5, 1}}));
    for (const char* name : {"one", "two", "three"}) {
      ASSERT_TRUE(table.Append());
      table.Assign(0, name);
      table.AssignNumber(1, 1.5);
    }
    ASSERT_TRUE(table.Close());
    m_good = m_folder.ReadFile("good.dbf");
    ASSERT_EQ(m_good.size(), 97u + 3 * 16 + 1);
  }

  CTempFolder m_folder{"dbf-damaged"};
  std::string m_good;
};

// Does to the bytes what a damage of a case table says.
void Damage(std::string& bytes, const std::string& damage) {
  std::istringstream words(damage);
  std::string what;
  std::size_t at = 0;
  words >> what >> at;
  if (what == "clear") bytes.clear();
  if (what == "resize") bytes.resize(at);
  if (what == "cut") bytes.resize(bytes.size() - at);
  std::string value;
  words >> value;
  if (what == "byte") bytes[at] = static_cast<char>(std::stoul(value, nullptr, 16));
  if (what == "u16") PutU16(bytes, at, static_cast<unsigned>(std::stoul(value)));
  if (what == "u32") PutU32(bytes, at, static_cast<std::uint32_t>(std::stoul(value)));
}

TEST_F(DbfDamagedTest, DamagedTablesDoNotOpenAndNameTheFile) {
  std::string tooManyFields = m_good.substr(0, 32);
  std::string descriptor = m_good.substr(32, 32);
  descriptor[16] = 1;  // C 1
  for (int i = 0; i < 256; ++i) tooManyFields += descriptor;
  tooManyFields += '\x0D';
  PutU16(tooManyFields, 8, static_cast<unsigned>(tooManyFields.size()));
  PutU16(tooManyFields, 10, 257);
  PutU32(tooManyFields, 4, 0);
  std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"too many fields", tooManyFields, "more than 255 fields"}};
  for (const CCaseRow& row : ReadCaseTable("platform/dbf_damaged_headers.tsv", 3)) {
    cases.emplace_back(row.where + " " + row[0], m_good, row[2]);
    Damage(std::get<1>(cases.back()), row[1]);
  }
  for (const auto& [where, bytes, fault] : cases) {
    SCOPED_TRACE(where);
    const std::string path = m_folder.WriteFile("damaged.dbf", bytes);
    CDbfTable table;
    EXPECT_FALSE(table.Open(path));
    EXPECT_FALSE(table.IsOpen());
    EXPECT_EQ(table.RecordCount(), 0u);
    EXPECT_FALSE(table.First());
    EXPECT_NE(table.Error().find(path), std::string::npos) << table.Error();
    EXPECT_NE(table.Error().find(fault), std::string::npos) << table.Error();
  }
}

TEST_F(DbfDamagedTest, AFolderOrAMissingFileIsNoTable) {
  CDbfTable table;
  EXPECT_FALSE(table.Open(m_folder.Path()));
  EXPECT_NE(table.Error().find(m_folder.Path()), std::string::npos);
  EXPECT_FALSE(table.Open(m_folder.File("none.dbf")));
  EXPECT_NE(table.Error().find("none.dbf"), std::string::npos);
}

TEST_F(DbfDamagedTest, TablesWithoutEndMarkOrWithTrailingBytesOpen) {
  for (const std::string& bytes : {m_good.substr(0, m_good.size() - 1), m_good + "garbage"}) {
    const std::string path = m_folder.WriteFile("tail.dbf", bytes);
    CDbfTable table;
    ASSERT_TRUE(table.Open(path)) << table.Error();
    EXPECT_EQ(table.RecordCount(), 3u);
    ASSERT_TRUE(table.GoTo(3));
    EXPECT_EQ(table.FieldText(0), "three");
  }
}

TEST_F(DbfDamagedTest, MemoTablesOpenWithoutTheirMemoFile) {
  std::string bytes = m_good;
  bytes[0] = static_cast<char>(0x83);
  const std::string path = m_folder.WriteFile("memo.dbf", bytes);
  CDbfTable table;
  ASSERT_TRUE(table.Open(path)) << table.Error();
  ASSERT_TRUE(table.First());
  EXPECT_EQ(table.FieldText(0), "one");
}

// Random bytes changed anywhere: the table opens or refuses, and an open one reads whole.
TEST_F(DbfDamagedTest, RandomDamageNeverReadsPastTheFile) {
  std::mt19937 random(1234);
  int opened = 0;
  for (int round = 0; round < 400; ++round) {
    std::string bytes = m_good;
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < changes; ++i) {
      bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
    }
    if (round % 5 == 0) bytes.resize(random() % bytes.size());
    const std::string path = m_folder.WriteFile("random.dbf", bytes);
    CDbfTable table;
    if (!table.Open(path)) {
      EXPECT_NE(table.Error().find(path), std::string::npos);
      continue;
    }
    ++opened;
    for (bool on = table.First(); on; on = table.Next()) {
      for (int field = 0; field < table.FieldCount(); ++field) {
        table.FieldText(field, 7);
        table.FieldInt(field);
        table.FieldDouble(field);
      }
    }
  }
  EXPECT_GT(opened, 0);  // the damage does not always touch the header
}

}  // namespace
}  // namespace tvr::platform
