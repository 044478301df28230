// Tables written here are read by independent readers from Debian (python3-dbf and
// shapelib's dbfdump), and tables they write are read here.
#include <gtest/gtest.h>

#include "dbf_test_support.h"
#include "platform/code_page.h"
#include "platform/dbf_table.h"
#include "support/temp_folder.h"

namespace tvr::platform {
namespace {

using test::RunProgram;
using test::RunResult;

constexpr char kPython[] = "/usr/bin/python3";
constexpr char kDbfDump[] = "/usr/bin/dbfdump";

// Prints the code page, then one line per record: '*' or ' ', then the values joined
// by '|' (texts without trailing blanks, numbers as Python writes them).
constexpr char kDumpScript[] = R"(
import sys, dbf
t = dbf.Table(sys.argv[1])
t.open(dbf.READ_ONLY)
lines = [str(t.codepage).split()[0]]
for r in t:
    values = []
    for name in t.field_names:
        v = r[name]
        values.append(v.rstrip() if isinstance(v, str) else str(v))
    lines.append(('*' if dbf.is_deleted(r) else ' ') + '|'.join(values))
t.close()
sys.stdout.buffer.write(('\n'.join(lines) + '\n').encode('utf-8'))
)";

constexpr char kWriteScript[] = R"(
import sys, dbf
t = dbf.Table(sys.argv[1], 'NAME C(20); QTY N(8,2); OK L; DAY D', codepage=sys.argv[2], dbf_type='db3')
t.open(dbf.READ_WRITE)
t.append(('Élément à côté', 12.5, True, dbf.Date(2024, 2, 29)))
t.append(('second', -3, False, None))
t.append(('gone', 1, None, None))
dbf.delete(t[2])
t.close()
)";

bool HasPythonDbf() {
  if (!test::IsProgram(kPython)) return false;
  return RunProgram(kPython, {"-c", "import dbf"}).exitCode == 0;
}

class DbfInteropTest : public ::testing::Test {
 protected:
  // A table of every writable type, written by our writer, with a deleted record.
  std::string WriteOurs(CodePage page) {
    const std::string path = m_folder.File("ours.dbf");
    CDbfTable table;
    EXPECT_TRUE(table.Create(path,
                             {{"NAME", 'C', 20, 0},
                              {"PRICE", 'N', 10, 2},
                              {"RATE", 'F', 8, 3},
                              {"OK", 'L', 1, 0},
                              {"DAY", 'D', 8, 0}},
                             page));
    const std::vector<std::vector<std::string>> rows = {
        {"Té de dérivation", "1234.5", "-0.125", "T", "20240229"},
        {"Coude à 90°", "-7", "3", "F", ""},
        {"effacé", "", "", "", "19991231"},
    };
    for (const auto& row : rows) {
      EXPECT_TRUE(table.Append());
      for (int field = 0; field < 5; ++field) {
        EXPECT_EQ(table.Assign(field, row[static_cast<std::size_t>(field)]),
                  CDbfTable::kAssignDone);
      }
    }
    EXPECT_TRUE(table.SetDeleted(true));
    EXPECT_TRUE(table.Close()) << table.Error();
    return path;
  }

  CTempFolder m_folder{"dbf-interop"};
};

TEST_F(DbfInteropTest, PythonDbfReadsOurTablesFieldForField) {
  if (!HasPythonDbf()) GTEST_SKIP() << "python3-dbf is not installed";
  for (CodePage page : {CodePage::Cp850, CodePage::Cp1252}) {
    SCOPED_TRACE(std::string(CodePageName(page)));
    const std::string path = WriteOurs(page);
    const RunResult result = RunProgram(kPython, {"-c", kDumpScript, path});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    const std::string codec = page == CodePage::Cp850 ? "cp850" : "cp1252";
    EXPECT_EQ(result.output, codec +
                                 "\n"
                                 " Té de dérivation|1234.5|-0.125|True|2024-02-29\n"
                                 " Coude à 90°|-7.0|3.0|False|None\n"
                                 "*effacé|None|None|None|1999-12-31\n");
  }
}

TEST_F(DbfInteropTest, DbfDumpReadsOurTablesFieldForField) {
  if (!test::IsProgram(kDbfDump)) GTEST_SKIP() << "shapelib's dbfdump is not installed";
  const std::string path = WriteOurs(CodePage::Cp850);
  const RunResult result = RunProgram(kDbfDump, {"-m", "-r", path});
  ASSERT_EQ(result.exitCode, 0) << result.output;
  // dbfdump prints the stored bytes (texts in CP850), numbers moved to the left
  const std::string expected =
      "Record: 0\nNAME: " + FromUtf8("Té de dérivation    ", CodePage::Cp850) +
      "\nPRICE: 1234.50   \nRATE: -0.125  \nOK: T\nDAY: 20240229\n\n"
      "Record: 1\nNAME: " +
      FromUtf8("Coude à 90°         ", CodePage::Cp850) +
      "\nPRICE: -7.00     \nRATE: 3.000   \nOK: F\nDAY:         \n";
  EXPECT_NE(result.output.find(expected), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("DAY: 19991231\n(DELETED)"), std::string::npos);
}

TEST_F(DbfInteropTest, WeReadTablesThatPythonDbfWrites) {
  if (!HasPythonDbf()) GTEST_SKIP() << "python3-dbf is not installed";
  for (const std::string codec : {"cp850", "cp1252", "cp437"}) {
    SCOPED_TRACE(codec);
    const std::string path = m_folder.File("theirs-" + codec + ".dbf");
    const RunResult written = RunProgram(kPython, {"-c", kWriteScript, path, codec});
    ASSERT_EQ(written.exitCode, 0) << written.output;
    CDbfTable table;
    ASSERT_TRUE(table.Open(path)) << table.Error();
    EXPECT_EQ(CodePageName(table.GetCodePage()), codec == "cp850"    ? "CP850"
                                                 : codec == "cp1252" ? "CP1252"
                                                                     : "CP437");
    ASSERT_EQ(table.FieldCount(), 4);
    EXPECT_EQ(table.Field(1).type, 'N');
    EXPECT_EQ(table.Field(1).decimals, 2);
    ASSERT_EQ(table.RecordCount(), 3u);
    ASSERT_TRUE(table.First());
    EXPECT_EQ(table.FieldText(0), "Élément à côté");
    EXPECT_EQ(table.FieldDouble(1), 12.5);
    EXPECT_EQ(table.FieldText(1), "12");
    EXPECT_EQ(table.FieldLogical(2), true);
    EXPECT_EQ(table.FieldDate(3), "20240229");
    EXPECT_FALSE(table.IsDeleted());
    ASSERT_TRUE(table.Next());
    EXPECT_EQ(table.FieldText(0), "second");
    EXPECT_EQ(table.FieldInt(1), -3);
    EXPECT_EQ(table.FieldLogical(2), false);
    EXPECT_EQ(table.FieldDate(3), "");
    ASSERT_TRUE(table.Next());
    EXPECT_TRUE(table.IsDeleted());
    EXPECT_EQ(table.FieldLogical(2), std::nullopt);
    // a seek by the accented key, encoded the way the table is
    ASSERT_TRUE(table.AddTag("TAG_NAME", "NAME"));
    ASSERT_TRUE(table.SelectTag("TAG_NAME"));
    EXPECT_EQ(table.Seek("Élément à côté"), CDbfTable::kSeekHit);
    EXPECT_EQ(table.RecNo(), 1u);
  }
}

TEST_F(DbfInteropTest, OurChangesToTheirTablesStayReadableByThem) {
  if (!HasPythonDbf()) GTEST_SKIP() << "python3-dbf is not installed";
  const std::string path = m_folder.File("shared.dbf");
  ASSERT_EQ(RunProgram(kPython, {"-c", kWriteScript, path, "cp850"}).exitCode, 0);
  {
    CDbfTable table;
    ASSERT_TRUE(table.Open(path, CDbfTable::Mode::ReadWrite));
    ASSERT_TRUE(table.GoTo(2));
    EXPECT_EQ(table.Assign(0, "deuxième"), CDbfTable::kAssignDone);
    ASSERT_TRUE(table.Append());
    EXPECT_EQ(table.Assign(0, "ajouté"), CDbfTable::kAssignDone);
    EXPECT_TRUE(table.AssignNumber(1, 0.5));
    ASSERT_TRUE(table.Close()) << table.Error();
  }
  const RunResult result = RunProgram(kPython, {"-c", kDumpScript, path});
  ASSERT_EQ(result.exitCode, 0) << result.output;
  EXPECT_EQ(result.output,
            "cp850\n"
            " Élément à côté|12.5|True|2024-02-29\n"
            " deuxième|-3.0|False|None\n"
            "*gone|1.0|None|None\n"
            " ajouté|0.5|None|None\n");
}

}  // namespace
}  // namespace tvr::platform
