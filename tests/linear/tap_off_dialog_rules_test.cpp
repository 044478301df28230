#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "linear/linear_test_support.h"
#include "linear/tap_off_dialog_rules.h"
#include "platform/dbf_table.h"
#include "support/temp_folder.h"

namespace {

// PROD, PARAM, REF1, CAL, TYP1, RAT1.
using Row = std::array<const char*, 6>;

std::string RefCoff(const CTempFolder& folder, const std::vector<Row>& rows) {
  tvr::platform::CDbfTable table;
  EXPECT_TRUE(table.Create(folder.File("REF_COFF.DBF"), {{"PROD", 'C', 4},
                                                         {"PARAM", 'C', 10},
                                                         {"FCT", 'N', 3},
                                                         {"REF1", 'C', 60},
                                                         {"CAL", 'C', 12},
                                                         {"TYP1", 'C', 40},
                                                         {"RAT1", 'N', 6}}));
  for (const Row& row : rows) {
    EXPECT_TRUE(table.Append());
    table.Assign(0, row[0]);
    table.Assign(1, row[1]);
    table.Assign(2, "1");
    for (int field = 2; field < 6; ++field) table.Assign(field + 1, row[field]);
  }
  table.Close();
  return folder.Folder();
}

class TapOffDialogRulesTest : public testing::Test {
 protected:
  void TearDown() override { ResetRememberedTapOffChoice(); }
  CTapOffDialogRules Rules(const std::vector<Row>& rows, const char* code) {
    CTempFolder folder("tapoff");
    CRefCoffTable table;
    EXPECT_TRUE(table.Load(RefCoff(folder, rows), false));
    CTapOffDialogRules rules;
    rules.Load(table, code);
    return rules;
  }
  CEnglishTexts m_texts;
};

TEST_F(TapOffDialogRulesTest, ParamGivesFunctionAndSubFunctionByFamily) {
  const struct {
    const char* name;
    const char* code;
    const char* param;
    int function, subFunction;  // 0: the row is left out
  } rows[] = {
      {"QD row as written", "QDA", "1-2", 1, 2},
      {"unknown sub-function", "QDA", "3-?", 3, 63},
      {"QP: functions above 4 move up", "QPA", "5-1", 6, 1},
      {"QP: function 4 with sub-function 2", "QPA", "4-2", 5, 0},
      {"QW: the third digit is the function", "QWA", "1-3", 3, 0},
      {"QPC leaves function 6 out", "QPC", "5-1", 0, 0},
      {"PARAM too short", "QDA", "1-", 0, 0},
      {"PARAM not a number", "QDA", "x-1", 0, 0},
      {"function 0", "QDA", "0-1", 0, 0},
      {"linear row", "QDA", "L", 0, 0},
  };
  for (const auto& row : rows) {
    const CTapOffDialogRules rules =
        Rules({{row.code, row.param, "QXB1", "63", "", "0"}}, row.code);
    if (row.function == 0) {
      EXPECT_TRUE(rules.Rows().empty()) << row.name;
      continue;
    }
    ASSERT_EQ(rules.Rows().size(), 1u) << row.name;
    EXPECT_EQ(rules.Rows()[0].function, row.function) << row.name;
    EXPECT_EQ(rules.Rows()[0].subFunction, row.subFunction) << row.name;
  }
}

TEST_F(TapOffDialogRulesTest, RowsOfTheProductUpToTwoHundred) {
  std::vector<Row> rows(205, Row{"QMA", "1-1", "QMB1", "160", "", "300"});
  rows[3] = Row{"QWA", "1-1", "QWB1", "63", "", "0"};
  rows.push_back(Row{"?QMA", "1-1", "QMB2", "160", "", "0"});
  const CTapOffDialogRules rules = Rules(rows, "?QMA");
  EXPECT_EQ(rules.Family(), 2);
  EXPECT_EQ(rules.Rows().size(), CTapOffDialogRules::kMaxRows);
  EXPECT_EQ(rules.Rows()[0].ratings[0], 300);
}

TEST_F(TapOffDialogRulesTest, TextsOfTheRows) {
  const CTapOffDialogRules rules = Rules({{"QDA", "1-1", "QDB-16", "16", "MSG32460", "0"},
                                          {"QDA", "1-1", "QDB0020", "abc", "MSG", "0"},
                                          {"QDA", "1-1", "QDB0032", "", "MSG99999", "0"}},
                                         "QDA");
  ASSERT_EQ(rules.Rows().size(), 3u);
  EXPECT_EQ(rules.RowLabel(0), "QDB...16  |  Fuses");
  EXPECT_EQ(rules.DeviceButtonText(0), "QDB...16  -  16 A");
  EXPECT_EQ(rules.Rows()[1].texts[3], "") << "MSG without a number shows nothing";
  EXPECT_EQ(rules.Rows()[2].texts[3], "") << "a number outside the messages shows nothing";
  EXPECT_EQ(rules.DeviceRows(1), (std::vector<int>{1, 2})) << "rows of the same type text";
  EXPECT_EQ(rules.RowLabel(7), "");
  EXPECT_EQ(rules.FunctionButtonText(1), "Fuses");
}

TEST_F(TapOffDialogRulesTest, SubFunctionNames) {
  const struct {
    int subFunction, function, family, message;
  } rows[] = {
      {1, 1, 0, 31056}, {1, 1, 4, 31116}, {1, 1, 1, -1},    {0, 1, 0, 0},     {0, 5, 2, 31119},
      {4, 3, 0, 31156}, {4, 3, 2, 31142}, {4, 6, 2, 31147}, {6, 6, 2, 31152}, {6, 6, 0, 31144},
      {7, 1, 0, 31157}, {7, 6, 2, 32421}, {8, 1, 0, -1},    {3, 2, 1, -1},    {1, 8, 0, -1},
      {5, 8, 3, 31143}, {3, 6, 2, 31146}, {2, 7, 0, 32435}, {2, 5, 5, 32424}, {3, 4, 5, 32057},
  };
  for (const auto& row : rows)
    EXPECT_EQ(CTapOffDialogRules::SubFunctionMessage(row.subFunction, row.function, row.family),
              row.message)
        << row.subFunction << " of " << row.function << " in family " << row.family;
}

TEST_F(TapOffDialogRulesTest, SubFunctionsOfAFunction) {
  const CTapOffDialogRules rules = Rules({{"QDA", "1-2", "A", "", "", "0"},
                                          {"QDA", "1-?", "B", "", "", "0"},
                                          {"QDA", "1-1", "C", "", "", "0"},
                                          {"QDA", "1-2", "D", "", "", "0"},
                                          {"QDA", "3-1", "E", "", "", "0"}},
                                         "QDA");
  EXPECT_EQ(rules.Functions(), (std::vector<int>{1, 3}));
  EXPECT_EQ(rules.SubFunctions(1), (std::vector<int>{1, 2})) << "63 is never listed";
  EXPECT_EQ(rules.RowsOf(1, 2), (std::vector<int>{0, 3}));
  EXPECT_EQ(rules.SubFunctionName(1, 1), "Fuse boxes");
  EXPECT_EQ(rules.SubFunctionName(0, 1), "");
  EXPECT_EQ(rules.SubFunctionName(9, 1), "?");
}

// Family 5 (QD) names no sub-function of functions 3 and 6: the rows' type texts do.
TEST_F(TapOffDialogRulesTest, SubFunctionsTheFamilyDoesNotNameTakeTheirRowsText) {
  const CTapOffDialogRules rules = Rules({{"QDA", "3-1", "A", "16", "", "0"},
                                          {"QDA", "3-1", "B", "16", "MSG32464", "0"},
                                          {"QDA", "6-1", "C", "63", "MSG32077", "0"},
                                          {"QDA", "6-2", "D", "63", "", "0"},
                                          {"QDA", "1-1", "E", "16", "MSG32460", "0"}},
                                         "QDA");
  ASSERT_EQ(rules.Family(), 5);
  EXPECT_EQ(rules.SubFunctionName(1, 3), "Plug-in");
  EXPECT_EQ(rules.SubFunctionName(1, 6), "Boxes up to 63 A");
  EXPECT_EQ(rules.SubFunctionName(2, 6), "?") << "no row with a text";
  EXPECT_EQ(rules.SubFunctionName(1, 1), "Fuse boxes") << "named by the family";
  EXPECT_EQ(rules.FunctionButtonText(6), "Boxes up to 63 A");
}

TEST_F(TapOffDialogRulesTest, AcceptRemembersTheRowWithItsMask) {
  const struct {
    const char* name;
    const char* code;
    const char* param;
    const char* rating;
    bool distribute;
    std::uint32_t mask;
    int result;
  } rows[] = {
      {"QP below 400 A", "QPA", "1-1", "250", false, 3, 1},
      {"QP from 400 A", "QPA", "1-1", "400", false, 2, 1},
      {"QP function 6", "QPA", "5-1", "63", false, 0x1003, 1},
      {"QP function 7", "QPA", "6-1", "630", false, 0x4002, 1},
      {"Qp", "Qpa", "1-1", "63", false, 3, 1},
      {"QM", "QMA", "1-1", "160", false, 4, 1},
      {"QM second outlet", "QMA", "3-2", "160", false, 8, 1},
      {"QM function 5", "QMA", "5-2", "160", false, 8, 1},
      {"QM function 6", "QMA", "6-1", "160", false, 16, 1},
      {"QW", "QWA", "1-1", "63", true, 64, 6},
      {"QJF", "QJF", "1-1", "630", false, 16, 1},
      {"QJF side outlet", "QJF", "1-2", "400", false, 32, 1},
      {"QD", "QDA", "1-1", "16", false, 128, 1},
  };
  for (const auto& row : rows) {
    const CTapOffDialogRules rules =
        Rules({{row.code, row.param, "QXB0001", row.rating, "", "0"}}, row.code);
    ASSERT_EQ(rules.Rows().size(), 1u) << row.name;
    EXPECT_EQ(rules.Accept(0, row.distribute), row.result) << row.name;
    EXPECT_EQ(RememberedTapOffChoice().record.mask, row.mask) << row.name;
    EXPECT_EQ(RememberedTapOffChoice().reference, "QXB0001") << row.name;
  }
  EXPECT_EQ(CTapOffDialogRules().Accept(0, false), 0) << "no row: nothing remembered";
}

TEST_F(TapOffDialogRulesTest, RememberedChoiceIsPreselected) {
  const std::vector<Row> rows = {{"QMA", "1-1", "QMB0160SE", "160", "", "0"},
                                 {"QMA", "1-1", "QMB0250SE(G)", "250", "", "0"}};
  EXPECT_EQ(Rules(rows, "QMA").PreselectedRow(), -1);
  RememberedTapOffChoice().reference = "QMB0250SEG";
  EXPECT_EQ(Rules(rows, "QMA").PreselectedRow(), 1) << "the grey variant of a (G) row";
  RememberedTapOffChoice().reference = "QMB0160SE";
  EXPECT_EQ(Rules(rows, "QMA").PreselectedRow(), 0);
}

}  // namespace
