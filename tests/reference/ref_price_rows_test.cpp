#include <gtest/gtest.h>

#include "reference/ref_config.h"
#include "reference/ref_price_rows.h"

namespace {

TEST(RefPriceRowsTest, CoefficientAndDiscountFollowEachOther) {
  const struct {
    const char* text;
    char decimal;
    bool fromDiscount;
    const char* partner;
  } cases[] = {
      {"0,9", ',', false, "10"},     // (1 - 0.9) x 100 is 9.999...: shown to 15 digits
      {"15", ',', true, "0,85"},     //
      {"10,5", ',', true, "0,895"},  //
      {"10.5", ',', true, "0,895"},  // the point is read too
      {"100", '.', true, "0"},       //
      {"2", '.', false, "-100"},     //
      {"1", '.', false, "0"},        // no "-0"
      {"", '.', false, ""},          // emptying one empties the other
      {"  ", '.', true, ""},         //
      {"0.9x", '.', false, ""},      // not a number: nothing is made up
      {"1e400", '.', false, ""},     // beyond a double
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(PartnerNumberText(c.text, c.decimal, c.fromDiscount), c.partner);
  }
}

TEST(RefPriceRowsTest, RowsFollowTheProductsAndTheirLargestRating) {
  CRefConfig config;
  const struct {
    int row;
    bool apod;
    int product;
    int calMax;
    bool shown;
  } cases[] = {
      {0, false, 8, 99, false},  // QPC below 100
      {0, false, 8, 100, true},  //
      {0, true, 5, 100, true},   // QPC row edits Qpc with APOD
      {1, false, 4, 99, false},  // QPA
      {1, true, 7, 100, true},   //
      {2, false, 3, 39, false},  // QDA
      {2, false, 3, 40, true},   //
      {3, false, 2, 25, true},   // QYB
      {4, false, 1, 24, false},  // QYA
      {5, false, 0, 20, true},   // QFP
      {5, false, 0, 0, false},   // a product not offered
      {6, false, 6, 25, true},   // QYX
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << c.row << " apod " << c.apod);
    EXPECT_EQ(RefPriceRowProduct(c.row, c.apod), c.product);
    config.Product(c.product).optionSlots[8] = c.calMax;
    EXPECT_EQ(RefPriceRowShown(config, c.row, c.apod), c.shown);
  }
  EXPECT_EQ(RefPriceRowProduct(7, false), -1);
  EXPECT_FALSE(RefPriceRowShown(config, -1, false));
}

}  // namespace
