// The sample catalogue that the build generates into the program folder: its start-up
// tables and its article table hold what the program reads.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "app/article_table.h"
#include "app/price_lists.h"
#include "app/profile.h"
#include "app/start_lists.h"
#include "catalogue_test_support.h"
#include "platform/dbf_table.h"

using tvr::platform::CDbfTable;

namespace {

std::string Text(int number) { return std::to_string(number); }

class SampleCatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dbf = SampleProgramFolder() + "DBF/";
    m_bd = SampleProgramFolder() + "BD/";
    if (!std::filesystem::exists(m_bd + "ARTICLE.DBU")) {
      GTEST_SKIP() << "the sample catalogue has not been generated into " << SampleProgramFolder();
    }
  }

  std::string m_dbf;
  std::string m_bd;
};

// What the program relies on, not the sample's own values: the first unit is the metric
// one of a new document, and price lists 1 to 5 have names.
TEST_F(SampleCatalogueTest, TheMetricUnitComesFirstAndPriceListsOneToFiveHaveNames) {
  CTableList<CUnitEntry> units = LoadUnitList(m_dbf, Text);
  ASSERT_EQ(units.error, "");
  ASSERT_FALSE(units.entries.empty());
  EXPECT_EQ(units.entries[0].idd, "0");
  EXPECT_EQ(units.entries[0].baseCoef, "1");
  std::set<std::string> ids;
  for (const CUnitEntry& unit : units.entries) EXPECT_TRUE(ids.insert(unit.idd).second) << unit.idd;
  CPriceListNames names = ReadPriceListNames(m_bd, [](int) { return std::string(); });
  ASSERT_EQ(names.error, "");
  for (int n = 1; n <= 5; ++n) EXPECT_FALSE(names.first[n - 1].empty()) << n;
}

TEST_F(SampleCatalogueTest, CataloguesCoverEveryRangeCode) {
  CTableList<CCatalogueEntry> all = LoadCatalogueList(m_dbf, 1, 0, Text);
  ASSERT_EQ(all.error, "");
  std::set<std::string> codes;
  for (const CCatalogueEntry& entry : all.entries) codes.insert(entry.code);
  for (const CCatalogueEntry& entry : LoadCatalogueList(m_dbf, 1, 1, Text).entries) {
    codes.insert(entry.code);
  }
  const std::set<std::string> expected = {"QJF", "QDA", "QDT", "QGA", "QGC", "QMA", "QMC",
                                          "QPA", "QPC", "Qpa", "Qpc", "QWA", "QWC"};
  EXPECT_EQ(codes, expected);
  ASSERT_FALSE(all.entries.empty());
  EXPECT_EQ(all.entries.front().code, "QMA");  // SEQ order, not stored order
}

TEST_F(SampleCatalogueTest, DevicesCoverTheColourPageCodes) {
  CTableList<CDeviceEntry> devices = LoadDeviceList(m_dbf, Text);
  ASSERT_EQ(devices.error, "");
  std::vector<std::string> codes;
  for (const CDeviceEntry& device : devices.entries) codes.push_back(device.code);
  // 2 and 3 name the elbows and tees that a range makes no part for.
  EXPECT_EQ(codes, (std::vector<std::string>{"0", "1", "2", "3", "7", "8", "32", "64", "99"}));
}

TEST_F(SampleCatalogueTest, ArticleTableHasEveryFieldTheProgramReads) {
  CDbfTable table;
  std::string error;
  ASSERT_TRUE(OpenArticleTable(table, m_bd, CDbfTable::Mode::ReadOnly, &error)) << error;
  std::vector<std::string> fields = {"REFERENCE", "DESIGN_1", "DESIGN_2", "DESIGN_3", "LOCAL",
                                     "QTE_INDIV", "REF2",     "TEMPS",    "MASSE",    "TC"};
  for (int n = 1; n <= 15; ++n) fields.push_back("PRIX_" + std::to_string(n));
  for (const std::string& field : fields) EXPECT_GE(table.FieldIndex(field), 0) << field;
  EXPECT_GE(table.RecordCount(), 300u);
}

TEST_F(SampleCatalogueTest, ArticlesAreFoundByTheirWholeReference) {
  CDbfTable table;
  ASSERT_TRUE(OpenArticleTable(table, m_bd, CDbfTable::Mode::ReadOnly));
  ASSERT_TRUE(SeekArticle(table, "QMA2500ED430"));
  EXPECT_GT(table.FieldDouble(table.FieldIndex("PRIX_1")).value_or(0), 0.0);
  EXPECT_FALSE(SeekArticle(table, "QMA2500ED4"));  // only a beginning
}

}  // namespace
