#include "platform/dbf_query.h"

#include <gtest/gtest.h>

#include "platform/dbf_relation.h"
#include "platform/dbf_table.h"
#include "support/temp_folder.h"

namespace tvr::platform {
namespace {

// A rating table as the range loaders read it: RUN, ID, SUBID, SEQ (numeric), LIB.
class DbfQueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_table.Create(m_folder.File("qd_calib.dbf"), {{"RUN", 'C', 4, 0},
                                                               {"ID", 'C', 6, 0},
                                                               {"SUBID", 'C', 3, 0},
                                                               {"SEQ", 'N', 4, 0},
                                                               {"LIB", 'C', 20, 0}}));
    const std::vector<std::vector<std::string>> rows = {
        {"QD?", "800", "2", "10", "row1"},   {"QDA", "630", "1", "2", "row2"},
        {"QDT", "630", "3", "-1", "row3"},   {"C?", "400", "1", "", "row4"},
        {"QDA", "1000", "1", "100", "row5"}, {"QM?", "630", "2", "7", "row6"},
        {"CA", "250", "9", "3", "Entrée"},   {"QDA", "630", "0", "2", "row8"},
    };
    for (const auto& row : rows) {
      ASSERT_TRUE(m_table.Append());
      for (int field = 0; field < 5; ++field) {
        ASSERT_NE(m_table.Assign(field, row[static_cast<std::size_t>(field)]),
                  CDbfTable::kAssignRefused);
      }
    }
  }

  // The LIB texts of the selected rows, in order, separated by blanks.
  std::string Labels(const std::vector<std::uint32_t>& rows) {
    std::string labels;
    for (std::uint32_t recno : rows) {
      m_table.GoTo(recno);
      labels += (labels.empty() ? "" : " ") + m_table.FieldText(4);
    }
    return labels;
  }

  CTempFolder m_folder{"dbf-query"};
  CDbfTable m_table;
};

struct QueryCase {
  const char* expression;
  const char* sort;
  const char* labels;
};

TEST_F(DbfQueryTest, SelectsAndSortsAsTheRangeLoadersAsk) {
  const std::vector<QueryCase> cases = {
      {"", "", "row1 row2 row3 row4 row5 row6 Entrée row8"},
      {"RUN = 'QD?' .OR. RUN = 'QDA'", "ID", "row5 row2 row8 row1"},  // '?' is a plain character
      {"RUN = 'QD?' .OR. RUN = 'QDT'", "", "row1 row3"},
      {"RUN = 'C?' .OR. RUN = 'CA'", "ID", "Entrée row4"},
      {"RUN = 'QD'", "", "row1 row2 row3 row5 row8"},  // begins with
      {"RUN = ''", "", "row1 row2 row3 row4 row5 row6 Entrée row8"},
      {"RUN = 'QDA '", "", "row2 row5 row8"},  // stored blanks count
      {"RUN = 'QDAX'", "", ""},
      {"run = 'qda'", "", ""},  // literals keep their letter case
      {"ID = '630' .AND. (RUN = 'QD?' .OR. RUN = 'QDA')", "", "row2 row8"},
      {"ID = '630' .AND. RUN = 'QD?' .OR. RUN = 'QDA'", "", "row2 row5 row8"},  // .AND. binds first
      {".NOT. RUN = 'QD'", "", "row4 row6 Entrée"},
      {"RUN <> 'QD' .AND. RUN # 'C'", "", "row6"},
      {"LIB = 'Entr\xC3\xA9'", "", "Entrée"},
      {"LIB = \"row\"", "SEQ", "row4 row3 row2 row8 row6 row1 row5"},  // blank SEQ first, by value
      {"SEQ = '2'", "", "row2 row8"},
      {"SEQ = '2.0'", "", "row2 row8"},
      {"RUN = 'QDA'", "ID,SUBID", "row5 row8 row2"},
      {"RUN = 'QDA'", " id + subid ", "row5 row8 row2"},
      {"RUN = 'QDA'", "SUBID,ID", "row8 row5 row2"},
  };
  for (const QueryCase& c : cases) {
    SCOPED_TRACE(std::string(c.expression) + " sort " + c.sort);
    CDbfQuery query(m_table);
    ASSERT_TRUE(query.SetQuery(c.expression)) << query.Error();
    ASSERT_TRUE(query.SetSort(c.sort)) << query.Error();
    EXPECT_EQ(Labels(query.Select()), c.labels);
  }
}

struct BadQueryCase {
  std::string expression;
  const char* fault;  // part of the error text
};

TEST_F(DbfQueryTest, BadExpressionsAreRefusedWithTheirFault) {
  const std::vector<BadQueryCase> cases = {
      {"RUN = 'QD", "closing quote at position 7"},
      {"RUN = QD", "quoted text expected at position 7"},
      {"RUN 'QD'", "'=', '<>' or '#' expected at position 5"},
      {"NOPE = 'x'", "no field \"NOPE\" at position 1"},
      {"(RUN = 'x'", "')' expected"},
      {"RUN = 'x')", "unexpected text at position 10"},
      {"RUN = 'x' .AND.", "field name expected"},
      {"RUN = 'x' .XOR. RUN = 'y'", "unexpected text at position 11"},
      {".OR. RUN = 'x'", "field name expected at position 1"},
      {"SEQ = 'abc'", "numeric"},
      {"RUN > 'x'", "'=', '<>' or '#' expected"},
      {std::string(200, '('), "nested too deeply"},
  };
  for (const BadQueryCase& c : cases) {
    SCOPED_TRACE(c.expression);
    CDbfQuery query(m_table);
    EXPECT_FALSE(query.SetQuery(c.expression));
    EXPECT_NE(query.Error().find(c.fault), std::string::npos) << query.Error();
    EXPECT_NE(query.Error().find("qd_calib.dbf"), std::string::npos) << query.Error();
    EXPECT_TRUE(query.Select().empty());
    EXPECT_FALSE(query.Matches(1));
  }
}

// A chain of terms is read and evaluated without one level of recursion per term: such
// chains once overflowed the stack at about 60,000 terms.
TEST_F(DbfQueryTest, VeryLongChainsOfTermsAreSelectedWithoutExhaustingTheStack) {
  constexpr int kTerms = 300000;
  const struct {
    std::string term;
    std::string joint;
    std::string last;
    const char* labels;
  } cases[] = {
      {"RUN = 'X'", " .OR. ", "RUN = 'QDT'", "row3"},
      {"RUN = 'Q'", " .AND. ", "ID = '630'", "row2 row3 row6 row8"},
      {"(RUN = 'X' .OR. RUN = 'C')", " .AND. ", ".NOT. SUBID = '9'", "row4"},
  };
  for (const auto& c : cases) {
    std::string expression;
    expression.reserve((c.term.size() + c.joint.size()) * kTerms + c.last.size());
    for (int i = 0; i < kTerms; ++i) expression += c.term + c.joint;
    expression += c.last;
    CDbfQuery query(m_table);
    ASSERT_TRUE(query.SetQuery(expression)) << query.Error().substr(0, 200);
    EXPECT_EQ(Labels(query.Select()), c.labels) << c.term;
  }
}

TEST_F(DbfQueryTest, ABadSortSelectsNothingUntilAGoodOne) {
  CDbfQuery query(m_table);
  EXPECT_FALSE(query.SetSort("ID,NOPE"));
  EXPECT_NE(query.Error().find("NOPE"), std::string::npos);
  EXPECT_TRUE(query.Select().empty());
  ASSERT_TRUE(query.SetSort("SEQ"));
  EXPECT_EQ(query.Select().size(), 8u);
}

TEST_F(DbfQueryTest, RelationWalksTheSelectedRowsThroughTheTable) {
  CDbfRelation relation(m_table);
  ASSERT_TRUE(relation.SetQuery("RUN = 'QD?' .OR. RUN = 'QDA'"));
  ASSERT_TRUE(relation.SetSort("ID"));
  std::string labels;
  for (bool on = relation.Top(); on; on = relation.Skip()) labels += m_table.FieldText(4) + " ";
  EXPECT_EQ(labels, "row5 row2 row8 row1 ");
  EXPECT_TRUE(relation.AtEnd());
  EXPECT_TRUE(m_table.AtEnd());
  EXPECT_FALSE(relation.Skip());
  // the same relation with a new query, the sort staying
  ASSERT_TRUE(relation.SetQuery("RUN = 'C?' .OR. RUN = 'CA'"));
  ASSERT_TRUE(relation.Top());
  EXPECT_EQ(m_table.FieldText(1), "250");
  EXPECT_FALSE(relation.SetQuery("RUN ="));
  EXPECT_FALSE(relation.Top());
}

}  // namespace
}  // namespace tvr::platform
