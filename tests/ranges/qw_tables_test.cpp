// The sample QW tables as an independent reader (shapelib's dbfdump) sees them: every
// record that our reader reads, and the rows the range's rules need.
#include "platform/dbf_table.h"
#include "platform/dbf_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using tvr::platform::CDbfTable;
using tvr::platform::test::IsProgram;
using tvr::platform::test::RunProgram;

constexpr char kDbfDump[] = "/usr/bin/dbfdump";

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

TEST(QWSampleTables, DbfDumpReadsEveryRecordAndTheRowsTheRulesNeed) {
  if (!IsProgram(kDbfDump)) GTEST_SKIP() << "shapelib's dbfdump is not installed";
  struct Row {
    const char* table;
    std::vector<const char*> texts;  // "FIELD: value" that dbfdump must print
  };
  for (const Row& row :
       {Row{"QW_SPLIT",
            {"PARTREF: QW???ET431", "PARTREF: QW???EV4M1", "PARTREF: QW020ER41",
             "PARTREF: QW080LP4042", "PARTREF: QW063TP4092", "LEG1: 350-1000"}},
        Row{"QW_DEVIC", {"PARTREF: QW0??ET4", "PARTREF: QW0??EV4", "PARTREF: QW0??ER42"}},
        Row{"QW_HOUSI", {"HEIGHT: 44", "HEIGHT: 71", "HEIGHT: 114"}},
        Row{"QW_CALIB", {"ID: 20", "ID: 63", "RUN: QWC"}},
        Row{"QW_L_OPT", {"OPTION: NEUTRAL", "OPTION: IP", "ID: A0"}},
        Row{"QW_DEVHO", {"PARTREF: QW0##ER42"}},
        Row{"QW_LINEA", {"FORMULA: QW0??ET431 QW0??JN4"}}}) {
    SCOPED_TRACE(row.table);
    const std::string path = std::string(TVR_PROGRAM_DIR "/DBF/") + row.table + ".dbf";
    const auto dump = RunProgram(kDbfDump, {"-m", "-r", path});
    ASSERT_EQ(dump.exitCode, 0) << dump.output;
    CDbfTable table;
    ASSERT_TRUE(table.Open(path)) << table.Error();
    EXPECT_EQ(Count(dump.output, "Record: "), table.RecordCount());
    EXPECT_EQ(Count(dump.output, "(DELETED)"), 0u);
    for (const char* text : row.texts)
      EXPECT_NE(dump.output.find(text), std::string::npos) << text << "\n" << dump.output;
  }
}

}  // namespace
