#include <gtest/gtest.h>

#include "reference/ref_catalogue.h"
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

TEST(RefPriceRowsTest, SpecialModeTwoCaptionsTheShownLightingRows) {
  const struct {
    int mode;
    int row;
    int calMax;
    int caption;
  } cases[] = {
      {2, 4, 25, 32063},  // QYA
      {2, 3, 40, 32231},  // QYB
      {2, 4, 24, 0},      // a row not shown
      {2, 2, 160, 0},     // QDA keeps its code
      {2, 6, 25, 0},      // so does QYX
      {0, 4, 40, 0},      // other modes keep the codes
      {1, 3, 40, 0},      //
      {3, 4, 40, 0},      //
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " row " << c.row);
    CRefConfig config;
    config.SetSpecialMode(c.mode);
    config.Product(RefPriceRowProduct(c.row, false)).optionSlots[8] = c.calMax;
    EXPECT_EQ(RefPriceRowSpecialCaption(config, c.row, false), c.caption);
  }
}

TEST(RefPriceRowsTest, DefaultCoefficientsFillEveryColumnOfTheirProduct) {
  CRefConfig config;
  const std::array<double, kRefProductCount> coefs{0.9, 1.0, 1.1, 0.8, 0.75, 0.7, 1.2, 0.65, 0.5};
  for (int product = 0; product < kRefProductCount; ++product)
    config.SetCoefficient(product, coefs[static_cast<std::size_t>(product)]);
  CRefPriceSettings settings;
  TakeDefaultCoefficients(config, settings);
  for (int product = 0; product < kRefProductCount; ++product)
    for (double value : settings.productCoefs[static_cast<std::size_t>(product)])
      EXPECT_EQ(value, coefs[static_cast<std::size_t>(product)]) << product;
}

}  // namespace
