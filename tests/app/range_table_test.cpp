#include "app/range_table.h"
#include "app/rating_table.h"

#include <gtest/gtest.h>

#include "support/case_table.h"

namespace {

TEST(RangeTableNameTest, RangeNamesBecomeEightCharacterFileNames) {
  for (const CCaseRow& row : ReadCaseTable("app/range_table_names.tsv", 3)) {
    SCOPED_TRACE(row.where + " " + row[2]);
    EXPECT_EQ(RangeTableName("/cat/DBF/", row[0]), "/cat/DBF/" + row[1]);
  }
}

TEST(RangeTableNameTest, FolderGetsItsSlashAndEachCallItsOwnText) {
  EXPECT_EQ(RangeTableName("/cat/DBF", "QMA_CALIBRE"), "/cat/DBF/QM_CALIB.dbf");
  EXPECT_EQ(RangeTableName("", "QMA_CALIBRE"), "QM_CALIB.dbf");
  const std::string first = RangeTableName("/a/", "QMA_CALIBRE");
  EXPECT_EQ(RangeTableName("/b/", "QJF_CALIBRE"), "/b/QJF_CALI.dbf");
  EXPECT_EQ(first, "/a/QM_CALIB.dbf") << "each call gives its own text";
}

struct RatingCase {
  const char* code;
  int rating;
  int column;
  std::uint32_t expected;
};

class RatingTableTest : public testing::TestWithParam<RatingCase> {};

TEST_P(RatingTableTest, LooksUpByRatingAndColumn) {
  const RatingCase& c = GetParam();
  EXPECT_EQ(LookupRatingTable(c.code, c.rating, c.column), c.expected)
      << c.code << " " << c.rating << " " << c.column;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RatingTableTest,
    testing::Values(RatingCase{"QMA", 2000, 4, 26000}, RatingCase{"QMC", 2000, 4, 45000},
                    RatingCase{"QMA", 2000, 6, 26000}, RatingCase{"QMA", 2000, 7, 31000},
                    RatingCase{"QGA", 2000, 13, 61000}, RatingCase{"QGC", 6300, 13, 0},
                    RatingCase{"QGA", 900, 3, 0}, RatingCase{"QMA", 2000, 13, 31000},
                    RatingCase{"QPA", 2000, 3, 0}, RatingCase{"QMA", 800, 3, 12000},
                    RatingCase{"QGC", 6300, 5, 249000}, RatingCase{"QMA", 0, 3, 0},
                    RatingCase{"QMA", 800, 2, 0}, RatingCase{"QGA", 800, 6, 0},
                    RatingCase{"QM", 800, 3, 0}));

}  // namespace
