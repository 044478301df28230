#include "platform/dbf_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

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

struct DamageCase {
  const char* why;
  std::function<void(std::string&)> damage;
  const char* fault;  // part of the error text
};

TEST_F(DbfDamagedTest, DamagedTablesDoNotOpenAndNameTheFile) {
  const std::vector<DamageCase> cases = {
      {"empty file", [](std::string& b) { b.clear(); }, "empty"},
      {"shorter than a header", [](std::string& b) { b.resize(20); }, "too short"},
      {"unknown version", [](std::string& b) { b[0] = 0x02; }, "version byte 0x02"},
      {"header length past the end", [](std::string& b) { PutU16(b, 8, 0xFFFF); },
       "header length 65535"},
      {"header length too small", [](std::string& b) { PutU16(b, 8, 20); }, "header length 20"},
      {"record length too long", [](std::string& b) { PutU16(b, 10, 17); }, "record length 17"},
      {"record length too short", [](std::string& b) { PutU16(b, 10, 15); }, "record length 15"},
      {"more records than the file", [](std::string& b) { PutU32(b, 4, 4); }, "counts 4 records"},
      {"record count near 2^32", [](std::string& b) { PutU32(b, 4, 0xFFFFFFFF); },
       "counts 4294967295"},
      {"file cut inside a record", [](std::string& b) { b.resize(b.size() - 10); }, "holds 2"},
      {"field of length 0", [](std::string& b) { b[32 + 16] = 0; }, "length 0"},
      {"field without a name", [](std::string& b) { b[32] = '\0'; }, "has no name"},
      {"no end of the fields", [](std::string& b) { PutU16(b, 8, 96); }, "no end mark"},
      {"descriptor past the header", [](std::string& b) { PutU16(b, 8, 80); }, "runs past"},
      {"no fields", [](std::string& b) { b[32] = 0x0D; }, "no fields"},
      {"too many fields",
       [](std::string& b) {
         std::string header = b.substr(0, 32);
         std::string descriptor = b.substr(32, 32);
         descriptor[16] = 1;  // C 1
         for (int i = 0; i < 256; ++i) header += descriptor;
         header += '\x0D';
         PutU16(header, 8, static_cast<unsigned>(header.size()));
         PutU16(header, 10, 257);
         PutU32(header, 4, 0);
         b = header;
       },
       "more than 255 fields"},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.why);
    std::string bytes = m_good;
    c.damage(bytes);
    const std::string path = m_folder.WriteFile("damaged.dbf", bytes);
    CDbfTable table;
    EXPECT_FALSE(table.Open(path));
    EXPECT_FALSE(table.IsOpen());
    EXPECT_EQ(table.RecordCount(), 0u);
    EXPECT_FALSE(table.First());
    EXPECT_NE(table.Error().find(path), std::string::npos) << table.Error();
    EXPECT_NE(table.Error().find(c.fault), std::string::npos) << table.Error();
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
