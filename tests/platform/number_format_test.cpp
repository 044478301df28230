#include "platform/number_format.h"

#include <gtest/gtest.h>

#include "support/case_table.h"

namespace {

TEST(CNumberFormatTest, WritesLikePrintfInTheCLocale) {
  for (const CCaseRow& row : ReadCaseTable("platform/number_format_apply.tsv", 3)) {
    SCOPED_TRACE(row.where);
    const auto format = CNumberFormat::Parse(row[0]);
    ASSERT_TRUE(format.has_value());
    EXPECT_EQ(format->Apply(row.Number(1)), row[2]);
  }
}

TEST(CNumberFormatTest, RefusesFormatsThatAreNotOneNumber) {
  for (const CCaseRow& row : ReadCaseTable("platform/number_format_refused.tsv", 2)) {
    SCOPED_TRACE(row.where + " " + row[1]);
    EXPECT_FALSE(CNumberFormat::Parse(row[0]).has_value());
  }
}

}  // namespace
