#include "platform/mapped_file.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <csignal>

#include "platform/dbf_table.h"
#include "support/temp_folder.h"

namespace tvr::platform {
namespace {

constexpr int kRecords = 4000;  // some 20 pages of records

std::string WriteTable(const CTempFolder& folder, const std::string& name) {
  const std::string path = folder.File(name);
  CDbfTable table;
  EXPECT_TRUE(table.Create(path, {{"REFERENCE", 'C', 12, 0}, {"PRICE", 'N', 10, 2}}));
  for (int i = 0; i < kRecords; ++i) {
    EXPECT_TRUE(table.Append());
    table.Assign(0, "QD" + std::to_string(i));
    table.AssignNumber(1, i * 0.5);
  }
  EXPECT_TRUE(table.Close()) << table.Error();
  return path;
}

TEST(MappedFileTest, WhatCannotBeMappedOpensAsItDidBefore) {
  CTempFolder folder("mapped");
  struct Case {
    std::string path;
    bool opens;
    std::size_t size;
  };
  const std::vector<Case> cases = {
      {folder.WriteFile("empty", ""), true, 0},
      {folder.WriteFile("small", "abc"), true, 3},
      {folder.Path(), false, 0},
      {folder.File("missing"), false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    CMappedFile file;
    std::string fault;
    EXPECT_EQ(file.Open(c.path, 1000, fault), c.opens);
    EXPECT_EQ(fault.empty(), c.opens);
    EXPECT_EQ(file.Bytes().size(), c.size);
  }
  CMappedFile file;
  std::string fault;
  EXPECT_FALSE(file.Open(cases[1].path, 2, fault));
  EXPECT_EQ(fault, "the file is too large");
  ASSERT_TRUE(file.Open(cases[1].path, 3, fault));
  CMappedFile moved = std::move(file);
  EXPECT_EQ(moved.Bytes(), "abc");
  EXPECT_TRUE(file.Bytes().empty());
}

TEST(MappedFileTest, ATableCutShortUnderneathReadsAsBlanksInsteadOfCrashing) {
  CTempFolder folder("mapped");
  const std::string path = WriteTable(folder, "ARTICLE.DBF");
  CDbfTable table;
  ASSERT_TRUE(table.Open(path)) << table.Error();
  ASSERT_TRUE(table.GoTo(1));
  EXPECT_EQ(table.FieldText(0), "QD0");  // the first page is in memory now
  ASSERT_EQ(::truncate(path.c_str(), 100), 0);
  int blank = 0;
  for (bool on = table.First(); on; on = table.Next()) blank += table.FieldText(0).empty();
  EXPECT_GT(blank, kRecords / 2);
  ASSERT_TRUE(table.AddTag("TAG_REF", "REFERENCE"));
  ASSERT_TRUE(table.SelectTag("TAG_REF"));
  EXPECT_NE(table.Seek("QD3999"), CDbfTable::kSeekHit);
}

TEST(MappedFileTest, ATableReplacedUnderneathKeepsItsOldRecords) {
  CTempFolder folder("mapped");
  const std::string path = WriteTable(folder, "ARTICLE.DBF");
  CDbfTable reader;
  ASSERT_TRUE(reader.Open(path)) << reader.Error();
  CDbfTable writer;
  ASSERT_TRUE(writer.Open(path, CDbfTable::Mode::ReadWrite)) << writer.Error();
  ASSERT_TRUE(writer.GoTo(kRecords));
  writer.Assign(0, "CHANGED");
  ASSERT_TRUE(writer.Close()) << writer.Error();
  ASSERT_TRUE(reader.GoTo(kRecords));
  EXPECT_EQ(reader.FieldText(0), "QD" + std::to_string(kRecords - 1));
  // An index built now reads the old records too.
  ASSERT_TRUE(reader.AddTag("TAG_REF", "REFERENCE"));
  ASSERT_TRUE(reader.SelectTag("TAG_REF"));
  EXPECT_EQ(reader.Seek("CHANGED"), CDbfTable::kSeekAfter);
  EXPECT_EQ(reader.Seek("QD" + std::to_string(kRecords - 1)), CDbfTable::kSeekHit);
  CDbfTable again;
  ASSERT_TRUE(again.Open(path));
  ASSERT_TRUE(again.GoTo(kRecords));
  EXPECT_EQ(again.FieldText(0), "CHANGED");
}

TEST(MappedFileDeathTest, BusErrorsOutsideTheMappedTablesStillEndTheProgram) {
  CTempFolder folder("mapped");
  const std::string path = folder.WriteFile("other", std::string(3 * 4096, 'x'));
  CMappedFile table;  // installs the handler
  std::string fault;
  ASSERT_TRUE(table.Open(WriteTable(folder, "ARTICLE.DBF"), 1 << 20, fault));
  EXPECT_EXIT(
      {
        const int fd = ::open(path.c_str(), O_RDONLY);
        auto* bytes = static_cast<volatile const char*>(
            ::mmap(nullptr, 3 * 4096, PROT_READ, MAP_PRIVATE, fd, 0));
        (void)::truncate(path.c_str(), 0);
        std::exit(bytes[2 * 4096]);
      },
      ::testing::KilledBySignal(SIGBUS), "");
}

}  // namespace
}  // namespace tvr::platform
