#include "platform/dbf_query.h"

#include <gtest/gtest.h>

#include "platform/dbf_relation.h"
#include "platform/dbf_table.h"
#include "support/case_table.h"
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

TEST_F(DbfQueryTest, SelectsAndSortsAsTheRangeLoadersAsk) {
  for (const CCaseRow& row : ReadCaseTable("platform/dbf_query_select.tsv", 3)) {
    SCOPED_TRACE(row.where + " " + row[0] + " sort " + row[1]);
    CDbfQuery query(m_table);
    ASSERT_TRUE(query.SetQuery(row[0])) << query.Error();
    ASSERT_TRUE(query.SetSort(row[1])) << query.Error();
    EXPECT_EQ(Labels(query.Select()), row[2]);
  }
}

TEST_F(DbfQueryTest, BadExpressionsAreRefusedWithTheirFault) {
  for (const CCaseRow& row : ReadCaseTable("platform/dbf_query_refused.tsv", 2)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    CDbfQuery query(m_table);
    EXPECT_FALSE(query.SetQuery(row[0]));
    EXPECT_NE(query.Error().find(row[1]), std::string::npos) << query.Error();
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
