#include <gtest/gtest.h>

#include "linear_test_support.h"
#include "ref_test_support.h"

namespace {

// Factors of REF_FORM formulas are read as 64-bit numbers: their product with the count is
// held at the quantity limit (2^31 - 1) however far it overflows.
TEST(RefFormulaOverflowTest, AFactorTimesTheCountIsHeldAtTheQuantityLimit) {
  const struct {
    const char* guards;
    const char* formula;
    std::int32_t count;
    const char* expected;
  } rows[] = {
      {"a product past 64 bits", "LP * 5000000000", 2000000000, "QDA63LP4A x2147483647 :4\n"},
      {"the largest factor", "LP * 9223372036854775807", 3, "QDA63LP4A x2147483647 :4\n"},
      {"a product within 64 bits past the limit", "LP * 5000000000", 1,
       "QDA63LP4A x2147483647 :4\n"},
      {"a negative factor past 64 bits leaves the item out", "LP * -5000000000", 2000000000, ""},
      {"a product within the limit as it was", "LP * 1000", 2000, "QDA63LP4A x2000000 :4\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    CRefFormFolder folder({{"QDA", "9", "", row.formula}});
    CRefPriceSettings settings;
    CRefCatalogue catalogue;
    ASSERT_TRUE(catalogue.OpenRefCatalogue(folder.Setup(), settings));
    CRefLine line = MakeRefLine(3, 63);
    line.components[9] = row.count;
    catalogue.RebuildLineItems(line);
    EXPECT_EQ(ItemSummary(line), row.expected);
  }
}

}  // namespace
