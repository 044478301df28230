#include "app/expression.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/case_table.h"

namespace {

TEST(EvaluateExpressionTest, LeftToRight) {
  for (const CCaseRow& row : ReadCaseTable("app/expression.tsv", 4)) {
    SCOPED_TRACE(row.where + " " + row[3]);
    std::vector<std::string> variables;
    std::istringstream entries(row[1]);
    for (std::string entry; std::getline(entries, entry, ';');) variables.push_back(entry);
    EXPECT_DOUBLE_EQ(EvaluateExpression(row[0], variables), row.Number(2));
  }
}

}  // namespace
