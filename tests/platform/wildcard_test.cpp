#include "platform/wildcard.h"

#include <gtest/gtest.h>

#include "support/case_table.h"

namespace {

TEST(MatchWildcardTest, Matches) {
  for (const CCaseRow& row : ReadCaseTable("platform/wildcard.tsv", 4)) {
    SCOPED_TRACE(row.where + " " + row[3]);
    EXPECT_EQ(MatchWildcard(row[0], row[1]), row.Flag(2));
  }
}

}  // namespace
