#include "platform/dbf_table.h"
#include "qg_test_support.h"
#include "support/temp_folder.h"

namespace {

// Weights of made-to-measure parts follow their developed length: the per-metre value
// of the QGA 1000 A row, column 4 (29 x 1000), times the length in metres.
TEST_F(QGRunTest, CatalogueCodesOfMadeToMeasurePartsScaleWithTheirLength) {
  const CTempFolder folder("qg-catalogue-code");
  const std::string path = folder.File("weights.dbf");
  {
    tvr::platform::CDbfTable table;
    ASSERT_TRUE(table.Create(path, {{"REFERENCE", 'C', 22, 0}, {"MASSE", 'C', 10, 0}}));
    for (const char* reference :
         {"QGA1000ED430", "QGA1000EF4SM", "QGA1000ER41", "QGA1250YA4", "QGA1000XX4XX", "QGB0000DA1",
          "QGB0130EM13", "QGB0010CR2", "QGA1000RU425", "QGA1000ET430"}) {
      ASSERT_TRUE(table.Append());
      table.Assign(0, reference);
      table.Assign(1, "5");
    }
    ASSERT_TRUE(table.Close());
  }
  tvr::platform::CDbfTable table;
  ASSERT_TRUE(table.Open(path));
  ASSERT_TRUE(table.AddTag("TAG_REF", "REFERENCE"));
  ASSERT_TRUE(table.SelectTag("TAG_REF"));
  CRunQG& run = MakeRun("A", "10", "4");
  EXPECT_EQ(run.SeekCatalogCode("QGA1000ED430", &table, "REFERENCE", "MASSE"), -1);
  run.SetPartsState(2);
  struct Row {
    const char* key;
    int value;
  };
  const Row rows[] = {
      {"QGA1000ED430", 87000},  // a fixed 3 m piece
      {"QGA1000EF4SM x=1200", 34800},
      {"QGA1000EF4SM", 86971},  // no length given: the longest of the row, 2999
      {"QGA1000EF4SM x=9000", 86971},
      // An end feed unit: 0 - 156 + u 150 + (p + q + r 300 + t 10 + 100).
      {"QGA1000ER41 p=100,q=100,r=100,t=10,u=150,v=100", 11716},
      {"QGA1250YA4", 5},     // no parts-list row: the article's own value for "YA"
      {"QGA1000XX4XX", -1},  // no row and another family
      {"QGA1000ZZ430", -1},  // not in the table
      // The range's accessories, made to no measure: their articles' own values.
      {"QGB0000DA1", 5},
      {"QGB0130EM13", 5},
      {"QGB0010CR2 d=300,g=200,z=50", 5},
      {"QGA1000RU425 x=2150", 5},      // a riser kit of its size
      {"QGA1000ET430 x=3000", 87000},  // the 3 m end piece: 3 m of the line
  };
  for (const Row& row : rows) {
    EXPECT_EQ(run.SeekCatalogCode(row.key, &table, "REFERENCE", "MASSE"), row.value) << row.key;
  }
}

}  // namespace
