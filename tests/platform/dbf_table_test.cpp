#include "platform/dbf_table.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <iterator>

#include "platform/db_field.h"
#include "support/case_table.h"
#include "support/temp_folder.h"

namespace tvr::platform {
namespace {

class DbfTableTest : public ::testing::Test {
 protected:
  // A table of one record per value, every value written into field "VALUE".
  std::string MakeTable(const std::string& name, DbfFieldInfo field,
                        const std::vector<std::string>& values, CodePage page = CodePage::Cp850) {
    const std::string path = m_folder.File(name);
    CDbfTable table;
    EXPECT_TRUE(table.Create(path, {DbfFieldInfo{"ID", 'N', 4, 0}, field}, page)) << table.Error();
    int id = 0;
    for (const std::string& value : values) {
      EXPECT_TRUE(table.Append());
      EXPECT_TRUE(table.AssignNumber(0, ++id));
      EXPECT_NE(table.Assign(1, value), CDbfTable::kAssignRefused) << table.Error();
    }
    EXPECT_TRUE(table.Close()) << table.Error();
    return path;
  }

  CTempFolder m_folder{"dbf-table"};
};

TEST_F(DbfTableTest, FieldTextAndFieldIntFollowTheReadingRules) {
  for (const CCaseRow& row : ReadCaseTable("platform/dbf_field_reading.tsv", 8)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    const DbfFieldInfo info{"VALUE", row[1].at(0), static_cast<int>(row.Int(2)),
                            static_cast<int>(row.Int(3))};
    const std::string path = MakeTable("read.dbf", info, {row[4]});
    CDbfTable table;
    ASSERT_TRUE(table.Open(path)) << table.Error();
    ASSERT_TRUE(table.First());
    CDbField field(table, "value");
    EXPECT_EQ(FieldText(field, static_cast<int>(row.Int(5))), row[6]);
    EXPECT_EQ(FieldInt(field), row.Int(7));
  }
}

TEST_F(DbfTableTest, AssignCutsLongTextAndReportsIt) {
  CDbfTable table;
  ASSERT_TRUE(table.Create(m_folder.File("cut.dbf"), {{"NAME", 'C', 5, 0}}));
  ASSERT_TRUE(table.Append());
  CDbField name(table, "NAME");
  EXPECT_EQ(name.Assign("abcdefgh"), CDbfTable::kAssignCut);
  EXPECT_EQ(table.FieldBytes(0), "abcde");
  EXPECT_EQ(name.Assign("xy"), CDbfTable::kAssignDone);
  EXPECT_EQ(table.FieldBytes(0), "xy   ");
  EXPECT_EQ(name.Assign("abcde"), CDbfTable::kAssignDone);
}

struct RefusalCase {
  const char* why;
  DbfFieldInfo field;
  std::string value;
};

TEST_F(DbfTableTest, AssignRefusesValuesTheFieldCannotHoldAndKeepsTheOldValue) {
  const std::vector<RefusalCase> cases = {
      {"text in a number", {"F", 'N', 6, 2}, "abc"},
      {"number too wide", {"F", 'N', 6, 2}, "12345.5"},
      {"decimal comma", {"F", 'N', 6, 2}, "1,5"},
      {"bad date", {"F", 'D', 8, 0}, "20230230"},
      {"short date", {"F", 'D', 8, 0}, "2023011"},
      {"bad logical", {"F", 'L', 1, 0}, "X"},
      {"integer out of range", {"F", 'I', 4, 0}, "3000000000"},
      {"integer with fraction", {"F", 'I', 4, 0}, "1.5"},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.why);
    CDbfTable table;
    ASSERT_TRUE(table.Create(m_folder.File("refuse.dbf"), {c.field}));
    ASSERT_TRUE(table.Append());
    const std::string before(table.FieldBytes(0));
    EXPECT_EQ(table.Assign(0, c.value), CDbfTable::kAssignRefused);
    EXPECT_NE(table.Error().find("refuse.dbf"), std::string::npos) << table.Error();
    EXPECT_EQ(table.FieldBytes(0), before);
  }
}

TEST_F(DbfTableTest, NumbersAreRightAlignedWithTheirDecimals) {
  CDbfTable table;
  ASSERT_TRUE(
      table.Create(m_folder.File("numbers.dbf"), {{"PRICE", 'N', 10, 2}, {"QTY", 'N', 4, 0}}));
  ASSERT_TRUE(table.Append());
  EXPECT_TRUE(table.AssignNumber(0, 1234.5));
  EXPECT_EQ(table.FieldBytes(0), "   1234.50");
  EXPECT_TRUE(table.AssignNumber(0, -0.001));
  EXPECT_EQ(table.FieldBytes(0), "      0.00");
  EXPECT_EQ(table.Assign(1, " 42 "), CDbfTable::kAssignDone);
  EXPECT_EQ(table.FieldBytes(1), "  42");
  EXPECT_FALSE(table.AssignNumber(1, 12345));
  EXPECT_EQ(table.FieldBytes(1), "  42");
  EXPECT_EQ(table.FieldDouble(0), 0.0);
}

TEST_F(DbfTableTest, EveryFieldTypeSurvivesWriteAndReopen) {
  const std::string path = m_folder.File("types.dbf");
  {
    CDbfTable table;
    ASSERT_TRUE(table.Create(path, {{"NAME", 'C', 20, 0},
                                    {"PRICE", 'N', 12, 2},
                                    {"RATE", 'F', 10, 4},
                                    {"OK", 'L', 1, 0},
                                    {"DAY", 'D', 8, 0},
                                    {"COUNT", 'I', 4, 0}}));
    ASSERT_TRUE(table.Append());
    EXPECT_EQ(table.Assign(0, "Gaine à barres"), CDbfTable::kAssignDone);
    EXPECT_TRUE(table.AssignNumber(1, 1234.56));
    EXPECT_TRUE(table.AssignNumber(2, -0.125));
    EXPECT_TRUE(table.AssignLogical(3, true));
    EXPECT_EQ(table.Assign(4, "19991231"), CDbfTable::kAssignDone);
    EXPECT_TRUE(table.AssignNumber(5, -123456));
    ASSERT_TRUE(table.Append());  // left blank
    ASSERT_TRUE(table.Close()) << table.Error();
  }
  CDbfTable table;
  ASSERT_TRUE(table.Open(path)) << table.Error();
  ASSERT_EQ(table.RecordCount(), 2u);
  ASSERT_TRUE(table.GoTo(1));
  EXPECT_EQ(table.FieldText(0), "Gaine à barres");
  EXPECT_EQ(table.FieldDouble(1), 1234.56);
  EXPECT_EQ(table.FieldDouble(2), -0.125);
  EXPECT_EQ(table.FieldLogical(3), true);
  EXPECT_EQ(table.FieldDate(4), "19991231");
  EXPECT_EQ(table.FieldInt(5), -123456);
  ASSERT_TRUE(table.GoTo(2));
  EXPECT_EQ(table.FieldText(0), "");
  EXPECT_EQ(table.FieldDouble(1), std::nullopt);
  EXPECT_EQ(table.FieldLogical(3), std::nullopt);
  EXPECT_EQ(table.FieldDate(4), "");
  EXPECT_EQ(table.FieldInt(5), 0);
  EXPECT_FALSE(table.GoTo(3));
  EXPECT_TRUE(table.AtEnd());
}

TEST_F(DbfTableTest, WalksEveryRecordIncludingDeletedOnes) {
  const std::string path = MakeTable("walk.dbf", {"VALUE", 'C', 4, 0}, {"a", "b", "c"});
  {
    CDbfTable table;
    ASSERT_TRUE(table.Open(path, CDbfTable::Mode::ReadWrite));
    ASSERT_TRUE(table.GoTo(2));
    ASSERT_TRUE(table.SetDeleted(true));
  }  // the destructor writes the change
  CDbfTable table;
  ASSERT_TRUE(table.Open(path));
  std::string seen;
  for (bool on = table.First(); on; on = table.Next()) {
    seen += table.FieldText(1) + (table.IsDeleted() ? "*" : "");
  }
  EXPECT_EQ(seen, "ab*c");
  EXPECT_TRUE(table.AtEnd());
  EXPECT_EQ(table.RecNo(), 0u);
  EXPECT_FALSE(table.Next());
}

TEST_F(DbfTableTest, InPlaceWritesAndAppendsSurviveCloseAndReopen) {
  const std::string path = MakeTable("write.dbf", {"VALUE", 'C', 10, 0}, {"one", "two"});
  {
    CDbfTable table;
    ASSERT_TRUE(table.Open(path, CDbfTable::Mode::ReadWrite));
    ASSERT_TRUE(table.GoTo(1));
    EXPECT_EQ(table.Assign(1, "première"), CDbfTable::kAssignDone);
    ASSERT_TRUE(table.Append());
    EXPECT_TRUE(table.AssignNumber(0, 3));
    EXPECT_EQ(table.Assign(1, "three"), CDbfTable::kAssignDone);
    ASSERT_TRUE(table.Close()) << table.Error();
  }
  const std::string bytes = m_folder.ReadFile("write.dbf");
  ASSERT_GE(bytes.size(), 8u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[4]), 3);  // record count in the header
  EXPECT_EQ(bytes.back(), '\x1A');
  CDbfTable table;
  ASSERT_TRUE(table.Open(path));
  ASSERT_EQ(table.RecordCount(), 3u);
  ASSERT_TRUE(table.GoTo(1));
  EXPECT_EQ(table.FieldText(1), "première");
  ASSERT_TRUE(table.GoTo(3));
  EXPECT_EQ(table.FieldText(1), "three");
  EXPECT_EQ(table.FieldInt(0), 3);
}

TEST_F(DbfTableTest, ReadOnlyTablesRefuseEveryChange) {
  const std::string path = MakeTable("ro.dbf", {"VALUE", 'C', 10, 0}, {"one"});
  const std::string before = m_folder.ReadFile("ro.dbf");
  CDbfTable table;
  ASSERT_TRUE(table.Open(path));
  ASSERT_TRUE(table.First());
  EXPECT_EQ(table.Assign(1, "x"), CDbfTable::kAssignRefused);
  EXPECT_FALSE(table.Append());
  EXPECT_FALSE(table.SetDeleted(true));
  EXPECT_NE(table.Error().find("reading only"), std::string::npos) << table.Error();
  EXPECT_TRUE(table.Close());
  EXPECT_EQ(m_folder.ReadFile("ro.dbf"), before);
}

TEST_F(DbfTableTest, WritingIntoAReadOnlyFolderFailsAndKeepsTheTable) {
  const std::string path = MakeTable("keep.dbf", {"VALUE", 'C', 10, 0}, {"one"});
  const std::string before = m_folder.ReadFile("keep.dbf");
  CDbfTable table;
  ASSERT_TRUE(table.Open(path, CDbfTable::Mode::ReadWrite));
  ASSERT_TRUE(table.First());
  EXPECT_EQ(table.Assign(1, "changed"), CDbfTable::kAssignDone);
  ASSERT_EQ(::chmod(m_folder.Path().c_str(), 0555), 0);
  EXPECT_FALSE(table.Flush());
  EXPECT_NE(table.Error().find("keep.dbf"), std::string::npos) << table.Error();
  EXPECT_NE(table.Error().find("read-only"), std::string::npos) << table.Error();
  EXPECT_EQ(m_folder.ReadFile("keep.dbf"), before);
  // the change is kept, and written once the folder may be written again
  EXPECT_EQ(table.FieldText(1), "changed");
  ASSERT_EQ(::chmod(m_folder.Path().c_str(), 0755), 0);
  EXPECT_TRUE(table.Close()) << table.Error();
  CDbfTable again;
  ASSERT_TRUE(again.Open(path));
  ASSERT_TRUE(again.First());
  EXPECT_EQ(again.FieldText(1), "changed");
}

TEST_F(DbfTableTest, WritingOverAReadOnlyFileFails) {
  const std::string path = MakeTable("rofile.dbf", {"VALUE", 'C', 10, 0}, {"one"});
  const std::string before = m_folder.ReadFile("rofile.dbf");
  CDbfTable table;
  ASSERT_TRUE(table.Open(path, CDbfTable::Mode::ReadWrite));
  ASSERT_TRUE(table.Append());
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  EXPECT_FALSE(table.Close());
  EXPECT_NE(table.Error().find("rofile.dbf"), std::string::npos);
  EXPECT_EQ(m_folder.ReadFile("rofile.dbf"), before);
}

TEST_F(DbfTableTest, WritingThroughALinkKeepsTheLinkAndLeavesNoTemporaryFile) {
  const std::string path = MakeTable("target.dbf", {"VALUE", 'C', 10, 0}, {"one"});
  const std::string link = m_folder.File("link.dbf");
  std::filesystem::create_symlink(path, link);
  {
    CDbfTable table;
    ASSERT_TRUE(table.Open(link, CDbfTable::Mode::ReadWrite));
    ASSERT_TRUE(table.Append());
    ASSERT_TRUE(table.Close()) << table.Error();
  }
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  CDbfTable table;
  ASSERT_TRUE(table.Open(path));
  EXPECT_EQ(table.RecordCount(), 2u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder.Path()),
                          std::filesystem::directory_iterator()),
            2)
      << "no temporary file left";
}

TEST_F(DbfTableTest, OpenFindsTheFileInAnyLetterCase) {
  const std::string path = MakeTable("ARTICLE.DBU", {"VALUE", 'C', 4, 0}, {"x"});
  CDbfTable table;
  ASSERT_TRUE(table.Open(m_folder.File("article.dbu"))) << table.Error();
  EXPECT_EQ(table.Path(), path);
  EXPECT_FALSE(table.Open(m_folder.File("missing.dbf")));
  EXPECT_NE(table.Error().find("missing.dbf"), std::string::npos);
  EXPECT_FALSE(table.IsOpen());
}

TEST_F(DbfTableTest, FieldLookupIgnoresLetterCase) {
  const std::string path = MakeTable("names.dbf", {"DESIGN_1", 'C', 4, 0}, {"x"});
  CDbfTable table;
  ASSERT_TRUE(table.Open(path));
  EXPECT_EQ(table.FieldIndex("design_1"), 1);
  EXPECT_EQ(table.FieldIndex("Id"), 0);
  EXPECT_EQ(table.FieldIndex("DESIGN"), -1);
  ASSERT_TRUE(table.First());
  CDbField missing(table, "NOPE");
  EXPECT_FALSE(missing.IsValid());
  EXPECT_EQ(FieldText(missing, 3), "");
  EXPECT_EQ(FieldInt(missing), 0);
  EXPECT_EQ(missing.Assign("x"), CDbfTable::kAssignRefused);
}

TEST_F(DbfTableTest, CreateRefusesFieldsThatCannotMakeATable) {
  const std::vector<std::pair<const char*, std::vector<DbfFieldInfo>>> cases = {
      {"no fields", {}},
      {"lower-case name", {{"name", 'C', 4, 0}}},
      {"name too long", {{"ABCDEFGHIJK", 'C', 4, 0}}},
      {"duplicate", {{"A", 'C', 4, 0}, {"A", 'N', 4, 0}}},
      {"unknown type", {{"A", 'X', 4, 0}}},
      {"character too long", {{"A", 'C', 255, 0}}},
      {"decimals too many", {{"A", 'N', 4, 3}}},
      {"date length", {{"A", 'D', 6, 0}}},
  };
  for (const auto& [why, fields] : cases) {
    SCOPED_TRACE(why);
    CDbfTable table;
    EXPECT_FALSE(table.Create(m_folder.File("bad.dbf"), fields));
    EXPECT_NE(table.Error().find("bad.dbf"), std::string::npos) << table.Error();
    EXPECT_FALSE(table.IsOpen());
  }
}

TEST_F(DbfTableTest, TextsUseTheCodePageTheHeaderNames) {
  for (CodePage page : {CodePage::Cp850, CodePage::Cp1252, CodePage::Cp437}) {
    SCOPED_TRACE(std::string(CodePageName(page)));
    const std::string path = MakeTable("page.dbf", {"VALUE", 'C', 10, 0}, {"Çàé"}, page);
    CDbfTable table;
    ASSERT_TRUE(table.Open(path, CDbfTable::Mode::ReadWrite));
    EXPECT_EQ(table.GetCodePage(), page);
    EXPECT_EQ(static_cast<unsigned char>(m_folder.ReadFile("page.dbf")[29]), LdidOf(page));
    ASSERT_TRUE(table.First());
    EXPECT_EQ(std::string(table.FieldBytes(1)).substr(0, 3), FromUtf8("Çàé", page));
    EXPECT_EQ(table.FieldText(1), "Çàé");
  }
}

TEST_F(DbfTableTest, ATextTheCodePageCannotHoldIsRefusedNeverStoredChanged) {
  const struct {
    const char* text;
    CodePage page;
    bool taken;
  } rows[] = {
      {"Tarif 1 €", CodePage::Cp850, false},  // no euro in the OEM pages
      {"Tarif 1 €", CodePage::Cp437, false},      {"Tarif 1 €", CodePage::Cp1252, true},
      {"Cœur", CodePage::Cp850, false},           {"Cœur", CodePage::Cp1252, true},
      {"“Quoted”", CodePage::Cp850, false},  // typographic quotes
      {"“Quoted”", CodePage::Cp1252, true},       {"Câble", CodePage::Cp850, true},
      {"Tarif 1 ?", CodePage::Cp850, true},        // a question mark of its own is text
      {"bad \xFF byte", CodePage::Cp1252, false},  // not UTF-8
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.text) + " in " + std::string(CodePageName(row.page)));
    CDbfTable table;
    ASSERT_TRUE(table.Create(m_folder.File("lossy.dbf"), {{"NAME", 'C', 12, 0}}, row.page));
    ASSERT_TRUE(table.Append());
    ASSERT_EQ(table.Assign(0, "Old"), CDbfTable::kAssignDone);
    EXPECT_EQ(table.CanHoldText(row.text), row.taken);
    EXPECT_EQ(table.Assign(0, row.text),
              row.taken ? CDbfTable::kAssignDone : CDbfTable::kAssignRefused);
    EXPECT_EQ(table.FieldText(0), row.taken ? row.text : "Old");
    if (!row.taken) {
      EXPECT_NE(table.Error().find("code page"), std::string::npos) << table.Error();
    }
  }
}

TEST_F(DbfTableTest, MovedTableKeepsItsRecords) {
  const std::string path = MakeTable("move.dbf", {"VALUE", 'C', 4, 0}, {"a", "b"});
  CDbfTable first;
  ASSERT_TRUE(first.Open(path));
  CDbfTable second(std::move(first));
  EXPECT_EQ(second.RecordCount(), 2u);
  EXPECT_FALSE(first.IsOpen());  // NOLINT(bugprone-use-after-move): moved-from is closed
  CDbfTable third;
  third = std::move(second);
  ASSERT_TRUE(third.GoTo(2));
  EXPECT_EQ(third.FieldText(1), "b");
}

}  // namespace
}  // namespace tvr::platform
