#include "qm_test_support.h"

#include "platform/dbf_table.h"
#include "support/temp_folder.h"

namespace {

// Catalogue values of QM parts: the per-metre value of the rating table (QMA 2500 A:
// 25, 30 and 36 for the neutral columns 3, 4 and 5, times 1000) times the part's length
// in metres, the length from the parts row, the parameters and the family; the lengths
// of line pieces add the value of the run's "YA" piece (7 here).
class QMCatalogTest : public QMRunTest {
 protected:
  void SetUp() override {
    QMRunTest::SetUp();
    m_path = m_folder.File("values.dbf");
    {
      tvr::platform::CDbfTable table;
      ASSERT_TRUE(table.Create(m_path, {{"REFERENCE", 'C', 22, 0}, {"MASSE", 'C', 10, 0}}));
      const std::pair<const char*, const char*> rows[] = {
          {"QMA2500ED4", "5"},  {"QMA2500ED7", "5"},  {"QMA2500ED3", "5"},   {"QMA2500ER47", "5"},
          {"QMA2500ER41", "5"}, {"QMA2500EL45", "5"}, {"QMA2500EL41", "5"},  {"QMA2500AB44", "5"},
          {"QMA2500YA4", "7"},  {"QMB0350SE1", "12"}, {"QMB0350BC01", "12"}, {"QMA9900ED4", "5"},
          {"QMA2500ED4G", "5"}, {"QM", "3"}};
      for (const auto& [reference, value] : rows) {
        ASSERT_TRUE(table.Append());
        table.Assign(0, reference);
        table.Assign(1, value);
      }
      ASSERT_TRUE(table.Close());
    }
    ASSERT_TRUE(m_table.Open(m_path));
    ASSERT_TRUE(m_table.AddTag("TAG_REF", "REFERENCE"));
    ASSERT_TRUE(m_table.SelectTag("TAG_REF"));
  }
  void TearDown() override {
    m_table.Close();
    QMRunTest::TearDown();
  }

  CTempFolder m_folder{"qm-catalog"};
  std::string m_path;
  tvr::platform::CDbfTable m_table;
};

TEST_F(QMCatalogTest, PartValuesFromTheRatingTableAndTheirLength) {
  struct Row {
    const char* text;
    int expected;
  };
  const Row rows[] = {
      {"QMA2500ED4", 30 * 4000 + 7},                     // the row's longest length
      {"QMA2500ED4 l=3000", 30 * 3000 + 7},              // a shorter cut
      {"QMA2500ED4 l=5000", 30 * 4000 + 7},              // no longer than the row
      {"QMA2500ED4 a=1000,b=500,c=200", 30 * 1700 + 7},  // the legs of a cut
      {"QMA2500ED4 a=1000,c=200", 30 * 1000 + 7},        // c only after b
      {"QMA2500ED4G", 30 * 4000 + 7},                    // the colour mark is no part
      {"QMA2500ED7", 36 * 4000 + 7},                     // odd neutral: column 5
      {"QMA2500ED3", 25 * 4000 + 7},
      // Connection units: 600 from the row, 200, and their conductors by the column.
      {"QMA2500ER47 p=500,q=600,r=700,s=800", 30 * (600 + 200 + 2400 / 4)},
      {"QMA2500ER41 j=100,k=200,m=50", 30 * (600 + 200 + 550 / 4)},
      {"QMA2500ER41 k=100", 30 * (600 + 200 + 240 / 4)},
      {"QMA2500EL45 e=300,n=100", 30 * (600 + 200 + 700 / 4)},
      {"QMA2500EL41", 30 * (600 + 1830)},
      {"QMA2500AB44", 7},  // a row of length 0
      {"QMA2500YA4", 7},   // counted by piece
      {"QMB0350SE1", 12},
      {"QMB0350BC01", -1},
      {"QMA9900ED4", -1},  // no rating row
      {"QMA2500XX4", -1},  // not in the table
      {"QM", -1},
      {"", -1},
  };
  CRunQM& run = MakeRun("A", "25");
  run.SetPartsState(1);
  for (const Row& row : rows)
    EXPECT_EQ(run.SeekCatalogCode(row.text, &m_table, "REFERENCE", "MASSE"), row.expected)
        << row.text;
  run.SetPartsState(0);
  EXPECT_EQ(run.SeekCatalogCode("QMA2500ED4", &m_table, "REFERENCE", "MASSE"), -1);
}

}  // namespace
