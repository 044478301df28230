#include <gtest/gtest.h>

#include <clocale>
#include <limits>

#include "linear/linear_formula.h"
#include "linear/price_vector.h"

namespace {

struct FormulaCase {
  const char* text;
  double expected;
  bool malformed;
  const char* guards;
};

// Names: "A" is 2, "B" is 10, anything else 0.
double ValueOfName(const CLinearFormula::Operand& operand) {
  return operand.text == "A" ? 2.0 : operand.text == "B" ? 10.0 : 0.0;
}

class LinearFormulaTest : public testing::TestWithParam<FormulaCase> {};

TEST_P(LinearFormulaTest, EvaluatesOverTwoRegisters) {
  const FormulaCase& c = GetParam();
  const CLinearFormula formula = CLinearFormula::Parse(c.text);
  EXPECT_DOUBLE_EQ(formula.Evaluate<double>(ValueOfName), c.expected) << c.guards;
  EXPECT_EQ(formula.IsMalformed(), c.malformed) << c.guards;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinearFormulaTest,
    testing::Values(FormulaCase{"2+3*4", 14, false, "products bind tighter than sums"},
                    FormulaCase{"2*3+4", 10, false, "left to right"},
                    FormulaCase{"8/0*5", 0, false, "division by zero gives a zero term"},
                    FormulaCase{"1+2=*3", 9, false, "'=' closes the sum into one factor"},
                    FormulaCase{"1+2=7*3", 9, false, "the operand after '=' is dropped"},
                    FormulaCase{"12/4*3", 9, false, "a chain of products runs left to right"},
                    FormulaCase{"-5+1", -4, false, "a leading minus negates the first term"},
                    FormulaCase{"0.5*4", 2, false, "decimal point"},
                    FormulaCase{"0,5*4", 2, false, "decimal comma"},
                    FormulaCase{"1,5,2", 1.5, false, "only the first comma becomes a point"},
                    FormulaCase{" A * B ", 20, false, "names are trimmed"},
                    FormulaCase{"A*C", 0, false, "an unknown name is 0"},
                    FormulaCase{"2e3/A", 1000, false, "exponent"},
                    FormulaCase{"nan+1", 1, false, "'nan' is a name, not a number"},
                    FormulaCase{"inf*1", 0, false, "'inf' is a name, not a number"},
                    FormulaCase{"0x10", 0, false, "hex is read as 0 and the rest ignored"},
                    FormulaCase{"", 0, false, "an empty formula gives 0"},
                    FormulaCase{"   ", 0, true, "a formula of blanks is malformed"},
                    FormulaCase{"2**3", 0, true, "an empty operand between operators"},
                    FormulaCase{"5+", 5, true, "a trailing operator"}));

TEST(LinearFormulaNumbersTest, HugeNumbersSaturateInsteadOfWrapping) {
  const double huge = CLinearFormula::Parse("1e999").Evaluate<double>(ValueOfName);
  EXPECT_EQ(huge, std::numeric_limits<double>::max());
  EXPECT_EQ(SaturateToInt32(huge), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(SaturateToInt32(-3e12), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(SaturateToInt32(-7.9), -7);
  EXPECT_EQ(SaturateToInt32(std::int64_t{5000000000}), std::numeric_limits<std::int32_t>::max());
}

TEST(LinearFormulaNumbersTest, NumbersIgnoreTheLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
  const double value = CLinearFormula::Parse("2.5*2").Evaluate<double>(ValueOfName);
  if (previous) std::setlocale(LC_NUMERIC, "C");
  EXPECT_DOUBLE_EQ(value, 5.0);
}

TEST(LinearFormulaVectorTest, ReferencesGiveEachListItsOwnPrice) {
  std::array<double, kPriceListCount15> prices{};
  prices[0] = 300;
  prices[1] = 150;
  const CLinearFormula formula = CLinearFormula::Parse("REF/3+1");
  const CPriceVector value = formula.Evaluate<CPriceVector>(
      [&](const CLinearFormula::Operand&) { return CPriceVector(prices); });
  EXPECT_DOUBLE_EQ(value.values[0], 101);
  EXPECT_DOUBLE_EQ(value.values[1], 51);
  EXPECT_DOUBLE_EQ(value.values[2], 1);
}

}  // namespace
