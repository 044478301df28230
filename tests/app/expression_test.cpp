#include "app/expression.h"

#include <gtest/gtest.h>

namespace {

struct ExpressionCase {
  const char* text;
  std::vector<std::string> variables;
  double expected;
  const char* guards;
};

TEST(EvaluateExpressionTest, LeftToRight) {
  const ExpressionCase cases[] = {
      {"L * 2", {"L=1.5"}, 3.0, "variable"},
      {"2 + 3 * 4", {}, 20.0, "no precedence"},
      {"2 3", {}, 5.0, "two operands repeat the operator"},
      {"", {}, 0.0, "empty"},
      {"10 - 4 / 2", {}, 3.0, "minus then divide"},
      {"* 3", {}, 0.0, "a leading operator works on 0"},
      {"-5 + 1", {}, -4.0, "a signed number is an operand"},
      {"L", {"LL=7", "L=2", "L=9"}, 2.0, "exact name, first of equal names"},
      {"l", {"L=2"}, 0.0, "names are case-sensitive"},
      {"L + 1", {"L"}, 1.0, "an entry without '=' is no variable"},
      {"X", {"X=abc"}, 0.0, "a variable that is no number reads 0"},
      {"0.5,5 + 1", {}, 1.5, "a decimal comma ends the number"},
      {"5 / 0", {}, 0.0, "division by zero gives 0, not infinity"},
      {"0 / 0", {}, 0.0, "0 / 0 gives 0, not not-a-number"},
      {"5 / 0 + 2", {}, 2.0, "after a division by zero it goes on from 0"},
      {"1e300 * 1e300", {}, 0.0, "overflow gives 0, not infinity"},
      {"\"2\" + 1", {}, 3.0, "tokens are split as a command line"}};
  for (const ExpressionCase& c : cases) {
    EXPECT_DOUBLE_EQ(EvaluateExpression(c.text, c.variables), c.expected) << c.guards;
  }
}

}  // namespace
