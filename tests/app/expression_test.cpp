#include "app/expression.h"

#include <gtest/gtest.h>

namespace {

struct ExpressionCase {
  const char* text;
  std::vector<std::string> variables;
  double expected;
  const char* guards;
};

class EvaluateExpressionCases : public ::testing::TestWithParam<ExpressionCase> {};

TEST_P(EvaluateExpressionCases, LeftToRight) {
  const ExpressionCase& c = GetParam();
  EXPECT_DOUBLE_EQ(EvaluateExpression(c.text, c.variables), c.expected) << c.guards;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EvaluateExpressionCases,
    ::testing::Values(
        ExpressionCase{"L * 2", {"L=1.5"}, 3.0, "variable"},
        ExpressionCase{"2 + 3 * 4", {}, 20.0, "no precedence"},
        ExpressionCase{"2 3", {}, 5.0, "two operands repeat the operator"},
        ExpressionCase{"", {}, 0.0, "empty"},
        ExpressionCase{"10 - 4 / 2", {}, 3.0, "minus then divide"},
        ExpressionCase{"* 3", {}, 0.0, "a leading operator works on 0"},
        ExpressionCase{"-5 + 1", {}, -4.0, "a signed number is an operand"},
        ExpressionCase{"L", {"LL=7", "L=2", "L=9"}, 2.0, "exact name, first of equal names"},
        ExpressionCase{"l", {"L=2"}, 0.0, "names are case-sensitive"},
        ExpressionCase{"L + 1", {"L"}, 1.0, "an entry without '=' is no variable"},
        ExpressionCase{"X", {"X=abc"}, 0.0, "a variable that is no number reads 0"},
        ExpressionCase{"0.5,5 + 1", {}, 1.5, "a decimal comma ends the number"},
        ExpressionCase{"5 / 0", {}, 0.0, "division by zero gives 0, not infinity"},
        ExpressionCase{"0 / 0", {}, 0.0, "0 / 0 gives 0, not not-a-number"},
        ExpressionCase{"5 / 0 + 2", {}, 2.0, "after a division by zero it goes on from 0"},
        ExpressionCase{"1e300 * 1e300", {}, 0.0, "overflow gives 0, not infinity"},
        ExpressionCase{"\"2\" + 1", {}, 3.0, "tokens are split as a command line"}));

}  // namespace
