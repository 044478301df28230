#include "app/range_table.h"

#include <gtest/gtest.h>

namespace {

TEST(RangeTableNameTest, RangeNamesBecomeEightCharacterFileNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"QMA_CALIBRE", "QM_CALIB.dbf"},  // the variants of a range share a table
      {"QMC_CALIBRE", "QM_CALIB.dbf"},
      {"QJF_CALIBRE", "QJF_CALI.dbf"},  // QJ keeps its third letter
      {"QJF_L_GROUND", "QJF_L_GR.dbf"},
      {"QGC_SPLITENGINE", "QG_SPLIT.dbf"},
      {"Qpa_DEVICES", "Qp_DEVIC.dbf"},
      {"QDA_HOUSING", "QD_HOUSI.dbf"},
      {"QWA_LINEAR", "QW_LINEA.dbf"},
      {"QDA_", "QD_.dbf"},  // fewer than six characters from the fourth
      {"QJF_", "QJF_.dbf"},
      {"QMAXCALIBRE", "QMAXCALIBRE.dbf"},  // no underscore at the fourth place: unchanged
      {"LIN_FORM", "LIN_FORM.dbf"},        // not a range name
      {"qma_CALIBRE", "qma_CALIBRE.dbf"},
      {"QM_", "QM_.dbf"},
      {"Q", "Q.dbf"},
      {"", ".dbf"},
  };
  for (auto [name, file] : cases) {
    EXPECT_EQ(RangeTableName("/cat/DBF/", name), std::string("/cat/DBF/") + file) << name;
  }
}

TEST(RangeTableNameTest, FolderGetsItsSlashAndEachCallItsOwnText) {
  EXPECT_EQ(RangeTableName("/cat/DBF", "QMA_CALIBRE"), "/cat/DBF/QM_CALIB.dbf");
  EXPECT_EQ(RangeTableName("", "QMA_CALIBRE"), "QM_CALIB.dbf");
  const std::string first = RangeTableName("/a/", "QMA_CALIBRE");
  EXPECT_EQ(RangeTableName("/b/", "QJF_CALIBRE"), "/b/QJF_CALI.dbf");
  EXPECT_EQ(first, "/a/QM_CALIB.dbf") << "each call gives its own text";
}

}  // namespace
