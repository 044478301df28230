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

TEST(RatingTableTest, LooksUpByRatingAndColumn) {
  for (const CCaseRow& row : ReadCaseTable("app/rating_table.tsv", 4)) {
    SCOPED_TRACE(row.where);
    EXPECT_EQ(LookupRatingTable(row[0], static_cast<int>(row.Int(1)), static_cast<int>(row.Int(2))),
              row.Int(3));
  }
}

}  // namespace
