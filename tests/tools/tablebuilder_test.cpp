#include "tablebuilder/table_source.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dbf_test_support.h"
#include "platform/dbf_table.h"
#include "support/temp_folder.h"
#include "tablebuilder/table_build.h"

namespace tvr::tools {
namespace {

using platform::CDbfTable;

const char kHeader[] =
    "# units\n"
    "field ID N 4\n"
    "field NAME C 20\n"
    "field PRICE N 8 2\n"
    "field OK L 1\n"
    "field DAY D 8\n";

TEST(TableSourceTest, ReadsFieldsCodePageAndRecords) {
  CTableSource source;
  const std::string text = std::string(kHeader) +
                           "codepage cp1252\r\n"
                           "\n"
                           "   # an indented comment\n"
                           "1| Gaine à barres |12.5|T|20240131\n"
                           "*|2|deleted\n"
                           "3|a\\|b|\n"
                           "4\n";
  ASSERT_TRUE(source.Parse(text, "units.dbf.txt")) << source.Error();
  ASSERT_EQ(source.Fields().size(), 5u);
  EXPECT_EQ(source.Fields()[2].name, "PRICE");
  EXPECT_EQ(source.Fields()[2].decimals, 2);
  EXPECT_EQ(source.Page(), platform::CodePage::Cp1252);
  ASSERT_EQ(source.Records().size(), 4u);
  EXPECT_EQ(source.Records()[0].values[1], "Gaine à barres");
  EXPECT_FALSE(source.Records()[0].deleted);
  EXPECT_TRUE(source.Records()[1].deleted);
  EXPECT_EQ(source.Records()[1].values[0], "2");
  EXPECT_EQ(source.Records()[2].values[1], "a|b");
  EXPECT_EQ(source.Records()[3].values, (std::vector<std::string>{"4", "", "", "", ""}));
}

struct FaultCase {
  const char* why;
  std::string text;
  const char* fault;  // part of the error, after "<name>:<line>: "
};

TEST(TableSourceTest, FaultsStopWithFileAndLine) {
  const std::string header = kHeader;  // 6 lines
  const std::vector<FaultCase> cases = {
      {"unknown type", "field A X 4\n", "t.txt:1: unknown field type \"X\""},
      {"missing length", "field A C\n", "t.txt:1: a field line is"},
      {"length not a number", "field A C ten\n",
       "t.txt:1: the length and decimals must be whole numbers"},
      {"name too long", "field ABCDEFGHIJK C 4\n", "t.txt:1: field \"ABCDEFGHIJK\""},
      {"duplicate field", "field A C 4\nfield a C 4\n", "t.txt:2: field \"A\" appears twice"},
      {"bad code page", "codepage UTF-8\n", "t.txt:1: a code page line is"},
      {"record before fields", "1|2\n", "t.txt:1: a record before any \"field\" line"},
      {"no fields", "# nothing\n\n", "t.txt:2: no \"field\" line"},
      {"too many values", header + "1|a|1|T|20240101|extra\n", "t.txt:7: 6 values for 5 fields"},
      {"text too long", header + "1|abcdefghijklmnopqrstu\n",
       "t.txt:7: field NAME: \"abcdefghijklmnopqrstu\" is 21 characters long; the field holds 20"},
      {"not a number", header + "x\n", "t.txt:7: field ID: \"x\" is not a number"},
      {"decimal comma", header + "1|a|1,5\n", "t.txt:7: field PRICE: \"1,5\" is not a number"},
      {"exponent", header + "1e2\n", "field ID: \"1e2\" is not a number"},
      {"too many decimals", header + "1|a|1.255\n",
       "t.txt:7: field PRICE: \"1.255\" has more than 2 decimals"},
      {"number too wide", header + "12345\n",
       "t.txt:7: field ID: \"12345\" does not fit in 4 characters"},
      {"bad logical", header + "1|a|1|X\n", "field OK: \"X\" is not a logical value"},
      {"bad date", header + "1|a|1|T|20240230\n", "t.txt:7: field DAY: \"20240230\" is not a date"},
      {"character outside the code page", header + "1|5 €\n",
       "field NAME: \"5 €\" holds a character that CP850 lacks"},
      {"invalid UTF-8", header + "1|\xC3\n", "lacks"},
      {"second fault not reported first", header + "1\n2\nx\n1|" + std::string(20, 'a') + "\n",
       "t.txt:9:"},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.why);
    CTableSource source;
    EXPECT_FALSE(source.Parse(c.text, "t.txt"));
    EXPECT_NE(source.Error().find(c.fault), std::string::npos) << source.Error();
  }
}

TEST(TableSourceTest, SplitValuesHonoursEscapedPipes) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"a|b", {"a", "b"}},
      {" a \\| b |", {"a | b", ""}},
      {"\\", {"\\"}},
      {"a\\b", {"a\\b"}},
      {"", {""}}};
  for (const auto& [line, values] : cases) EXPECT_EQ(SplitValues(line), values) << line;
}

class TableBuildTest : public ::testing::Test {
 protected:
  void Source(const std::string& relative, const std::string& text) {
    m_sources.WriteFile(relative, text);
  }

  CTempFolder m_sources{"tablebuild-src"};
  CTempFolder m_output{"tablebuild-out"};
};

TEST_F(TableBuildTest, EverySourceBecomesATableOfTheSameRelativeName) {
  Source("DBF/dims.dbf.txt", "field IDD N 3\nfield LIB C 10\n0|Mètre\n*|1|old\n");
  Source("BD/ARTICLE.DBU.txt", "field REFERENCE C 20\ncodepage CP1252\nQDA100\n");
  Source("CMakeLists.txt", "add_custom_target(x)\n");
  Source("DBF/readme.md", "not a table");
  EXPECT_EQ(FindTableSources(m_sources.Path()),
            (std::vector<std::string>{"BD/ARTICLE.DBU.txt", "DBF/dims.dbf.txt"}));
  std::string error;
  int built = 0;
  ASSERT_TRUE(BuildTables(m_sources.Path(), m_output.Path(), error, built)) << error;
  EXPECT_EQ(built, 2);
  CDbfTable dims;
  ASSERT_TRUE(dims.Open(m_output.File("DBF/dims.dbf"))) << dims.Error();
  EXPECT_EQ(dims.GetCodePage(), platform::CodePage::Cp850);
  ASSERT_EQ(dims.RecordCount(), 2u);
  ASSERT_TRUE(dims.GoTo(1));
  EXPECT_EQ(dims.FieldText(1), "Mètre");
  EXPECT_EQ(dims.FieldBytes(0), "  0");
  ASSERT_TRUE(dims.GoTo(2));
  EXPECT_TRUE(dims.IsDeleted());
  CDbfTable article;
  ASSERT_TRUE(article.Open(m_output.File("BD/ARTICLE.DBU"))) << article.Error();
  EXPECT_EQ(article.GetCodePage(), platform::CodePage::Cp1252);
  EXPECT_FALSE(std::filesystem::exists(m_output.File("CMakeLists")));
}

TEST_F(TableBuildTest, NoSourcesBuildNothing) {
  std::string error;
  int built = -1;
  EXPECT_TRUE(BuildTables(m_sources.Path(), m_output.Path(), error, built)) << error;
  EXPECT_EQ(built, 0);
  EXPECT_FALSE(BuildTables(m_sources.File("missing"), m_output.Path(), error, built));
  EXPECT_NE(error.find("missing"), std::string::npos);
}

TEST_F(TableBuildTest, TheProgramFailsOnABadSourceAndNamesFileAndLine) {
  const std::string program = TVR_TABLEBUILD;
  Source("DBF/good.dbf.txt", "field A C 2\nok\n");
  Source("DBF/units.dbf.txt", "field A C 2\nok\ntoo long\n");
  platform::test::RunResult result =
      platform::test::RunProgram(program, {m_sources.Path(), m_output.Path()});
  ASSERT_TRUE(result.started);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.output.find("units.dbf.txt:3:"), std::string::npos) << result.output;
  EXPECT_FALSE(std::filesystem::exists(m_output.File("DBF/units.dbf")));

  Source("DBF/units.dbf.txt", "field A C 2\nok\n");
  result = platform::test::RunProgram(program, {m_sources.Path(), m_output.Path()});
  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_TRUE(std::filesystem::exists(m_output.File("DBF/units.dbf")));

  result = platform::test::RunProgram(program, {m_sources.Path()});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.output.find("usage"), std::string::npos);
}

}  // namespace
}  // namespace tvr::tools
