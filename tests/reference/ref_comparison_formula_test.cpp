// The texts of a comparison record: quantity formulas, value texts, the amounts of one
// entry and the stored form of an item.
#include "reference/ref_comparison.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

CRefCompFigures Figures() {
  CRefCompFigures figures;
  figures.length = 30, figures.tapOffs = 4, figures.lamps = 6, figures.tes = 2;
  figures.lampFix = 2, figures.stepCm = 150;
  return figures;
}

TEST(RefComparisonFormulaTest, QuantityFormulasFollowTheirGrammar) {
  const struct {
    const char* formula;
    bool valid;
    double value;
    bool keepHundredths;
    int group;
    double step;
    const char* guards;
  } cases[] = {
      {"[Length]/3+2", true, 12, false, 0, 0, "a product binds before the sum"},
      {"[Lamp]*2-1=%", true, 11, true, 200, 0, "'=%' keeps hundredths, lamps group 200"},
      {"[TapOff]*2+[Lamp]", true, 14, false, 100, 0, "the first group variable decides"},
      {"[Te] + [TapOff]", true, 6, false, 200, 0, "Te counts as a lamp; blanks trimmed"},
      {"[Length]/[Step]+1", true, 21, false, 0, 1.5, "[Step] in metres, and the step"},
      {"[LampFix]*[Lamp]", true, 12, false, 200, 0, "LampFix"},
      {"2,5*4", true, 10, false, 0, 0, "a comma is the decimal point"},
      {"[Length]/0+1", true, 1, false, 0, 0, "a division by zero gives a term of 0"},
      {"-2+[Length]", true, 28, false, 0, 0, "a leading sign"},
      {"[Length]-40", true, -10, false, 0, 0, "negative results are kept here"},
      {"[Length]*1,1+[Lamp]*0,5=%", true, 36, true, 200, 0, "the sample cable"},
      {"5=x+3", true, 8, false, 0, 0, "the token after '=' is no value"},
      {"[Length]=%", true, 30, true, 0, 0, "'=' closes the sum"},
      {"0", true, 0, false, 0, 0, "zero is a number"},
      {"abc", false, 0, false, 0, 0, "an unknown word"},
      {"", false, 0, false, 0, 0, "an empty formula"},
      {"[Length]+", false, 0, false, 0, 0, "a trailing operator"},
      {"[length]", false, 0, false, 0, 0, "variables are case-sensitive"},
      {"2abc", false, 0, false, 0, 0, "a number with a tail"},
      {"[Length]**2", false, 0, false, 0, 0, "an empty token between operators"},
      {"1e300*1e300", false, 0, false, 0, 0, "an infinite product"},
      {"99999999999", false, 0, false, 0, 0, "beyond a billion"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.formula) + ": " + c.guards);
    const CRefCompQuantity quantity = EvaluateCompQuantity(c.formula, Figures());
    EXPECT_EQ(quantity.valid, c.valid);
    if (!c.valid) continue;
    EXPECT_DOUBLE_EQ(quantity.value, c.value);
    EXPECT_EQ(quantity.keepHundredths, c.keepHundredths);
    EXPECT_EQ(quantity.group, c.group);
    EXPECT_DOUBLE_EQ(quantity.step, c.step);
  }
}

TEST(RefComparisonFormulaTest, QuantitiesAreRoundedToUnitsOrHundredths) {
  const struct {
    double value;
    bool keepHundredths;
    int multiplier;
    std::int64_t hundredths;
  } cases[] = {{2.346, true, 1, 235},  {2.346, false, 1, 200}, {2.5, false, 1, 300},
               {2.346, false, 3, 600}, {-4, false, 1, 0},      {0.004, true, 1, 0}};
  for (const auto& c : cases) {
    CRefCompQuantity quantity;
    quantity.valid = true, quantity.value = c.value, quantity.keepHundredths = c.keepHundredths;
    EXPECT_EQ(CompQuantityHundredths(quantity, c.multiplier), c.hundredths) << c.value;
  }
}

TEST(RefComparisonFormulaTest, ValueTextsNameTheirPricing) {
  using Kind = CRefCompValue::Kind;
  const struct {
    const char* text;
    bool valid;
    Kind kind;
    double step;
    int item;
    const char* reference;
    int divisor;
  } cases[] = {
      {"", true, Kind::kUserPrice, 0, 0, "", 0},
      {"Step=1,5", true, Kind::kStep, 1.5, 0, "", 0},
      {"Step=abc", false, Kind::kStep, 0, 0, "", 0},
      {"IT4", true, Kind::kOtherItem, 0, 4, "", 0},
      {"IT8", false, Kind::kOtherItem, 0, 8, "", 0},  // the record's own item
      {"IT41", false, Kind::kOtherItem, 0, 41, "", 0},
      {"IT0", false, Kind::kOtherItem, 0, 0, "", 0},
      {"ITEM", true, Kind::kArticle, 0, 0, "ITEM", 0},
      {"QYB0000CL10/10", true, Kind::kArticle, 0, 0, "QYB0000CL10", 10},
      {"QYB0000CL10/0", false, Kind::kArticle, 0, 0, "QYB0000CL10", 0},
      {"QYB0000CL10/x", false, Kind::kArticle, 0, 0, "QYB0000CL10", 0},
      {"/5", false, Kind::kArticle, 0, 0, "", 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const CRefCompValue value = ParseCompValue(c.text, 8);
    EXPECT_EQ(value.valid, c.valid);
    EXPECT_EQ(value.kind, c.kind);
    if (!c.valid) continue;
    EXPECT_DOUBLE_EQ(value.step, c.step);
    EXPECT_EQ(value.item, c.item);
    EXPECT_EQ(value.reference, c.reference);
    EXPECT_EQ(value.divisor, c.divisor);
  }
}

TEST(RefComparisonFormulaTest, EntryAmountsRoundAsTheTotalsDo) {
  const struct {
    std::int64_t price, time, quantity, rate;
    std::int64_t material, timeAmount, labour;
  } cases[] = {
      {12345, 150, 250, 4550, 309, 375, 17063},  // 1.2345 x 2.5; 3.75 h x 45.50
      {-1234, 0, 250, 0, -24, 0, 0},             // (250 / 100 x -1234) / 100
      {-123400, 0, 250, 0, -3085, 0, 0},         // (-1234 x 250) / 100
      {50, 0, 100, 0, 1, 0, 0},                  // 0.005 rounds half up
      {49, 0, 100, 0, 0, 0, 0},
      {0, 33, 100, 150, 0, 33, 50},     // 0.33 h x 1.50 = 0.495: half up
      {0, -33, 100, 150, 0, -33, -49},  // a negative labour is truncated
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.price << " " << c.time << " " << c.quantity);
    EXPECT_EQ(CompMaterialAmount(c.price, c.quantity), c.material);
    EXPECT_EQ(CompTimeAmount(c.time, c.quantity), c.timeAmount);
    EXPECT_EQ(CompLabourAmount(c.time, c.quantity, c.rate), c.labour);
  }
}

TEST(RefComparisonFormulaTest, AmountsOfHostileFiguresAreHeldInsteadOfOverflowing) {
  constexpr std::int64_t kPrice = 2147483647, kQuantity = 100000000000;  // 2^31 - 1, 1e11
  constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(CompMaterialAmount(kPrice, kQuantity), kLargest / 10000 + 1);
  EXPECT_EQ(CompMaterialAmount(-kPrice * 100, kQuantity),
            std::numeric_limits<std::int64_t>::min() / 100);
  EXPECT_EQ(CompLabourAmount(kPrice, kQuantity, kPrice), kLargest / 100);
  CRefComparison comparison;
  comparison.items[1] = {kPrice, kPrice, "", 2};
  for (int k = 1; k <= 2; ++k)
    comparison.solutions[static_cast<std::size_t>(k)].entries.assign(12, {1, kQuantity});
  comparison.ComputeTotals(kPrice);
  EXPECT_EQ(comparison.solutions[1].labour, 12 * (kLargest / 100));
  EXPECT_EQ(comparison.solutions[2].material, 12 * (kLargest / 10000 + 1));
}

TEST(RefComparisonFormulaTest, StoredItemTextsReadBackAndKeepTheirSign) {
  const struct {
    const char* text;
    std::int64_t price, time;
  } reads[] = {{"12,5;30", 1250, 30}, {"12;30", 1200, 30},  {"0;0", 0, 0}, {"12,5;", 1250, 0},
               {"12,5", 1250, 0},     {"7.25;abc", 725, 0}, {"", 0, 0},    {"-12,34;5", -1234, 5}};
  for (const auto& c : reads) {
    std::int64_t price = -1, time = -1;
    ReadCompItemText(c.text, price, time);
    EXPECT_EQ(price, c.price) << c.text;
    EXPECT_EQ(time, c.time) << c.text;
  }
  const struct {
    std::int64_t price, time;
    const char* text;
  } writes[] = {{125000, 30, "1250,00;30"},
                {1234, 0, "12,34;0"},
                {5, 1, "0,05;1"},
                {-1234, 5, "-12,34;5"}};  // "%d,%02d" would write "-12,-34"
  for (const auto& c : writes) {
    EXPECT_EQ(CompItemText(c.price, c.time), c.text);
    std::int64_t price = 0, time = 0;
    ReadCompItemText(CompItemText(c.price, c.time), price, time);
    EXPECT_EQ(price, c.price);
    EXPECT_EQ(time, c.time);
  }
  EXPECT_EQ(CompItemKey(7), "IT07");
  EXPECT_EQ(CompItemKey(40), "IT40");
}

}  // namespace
