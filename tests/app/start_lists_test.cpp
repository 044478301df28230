#include "app/start_lists.h"

#include <gtest/gtest.h>

#include "catalogue_test_support.h"
#include "support/case_table.h"

using tvr::platform::DbfFieldInfo;

namespace {

std::string Text(int number) { return "text " + std::to_string(number); }

std::vector<std::string> Codes(const std::vector<CCatalogueEntry>& entries) {
  std::vector<std::string> codes;
  for (const CCatalogueEntry& entry : entries) codes.push_back(entry.code);
  return codes;
}

TEST(CatalogueOfferTest, SwitchesFilterTheCodes) {
  for (const CCaseRow& row : ReadCaseTable("app/catalogue_offer.tsv", 6)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    EXPECT_EQ(IsCatalogueOffered(row[0], 0, 0), row.Flag(1));
    EXPECT_EQ(IsCatalogueOffered(row[0], 1, 0), row.Flag(2));
    EXPECT_EQ(IsCatalogueOffered(row[0], 0, 1), row.Flag(3));
    EXPECT_EQ(IsCatalogueOffered(row[0], 1, 1), row.Flag(4));
  }
  // Any non-zero value switches on.
  EXPECT_TRUE(IsCatalogueOffered("QMC", -1, 0));
  EXPECT_TRUE(IsCatalogueOffered("Qpa", 0, 7));
}

class StartListsTest : public ::testing::Test {
 protected:
  void WriteCatalogues() {
    ASSERT_TRUE(WriteTestTable(m_folder.File("catalog.dbf"),
                               {{"ID", 'C', 3, 0}, {"LIB", 'N', 5, 0}, {"SEQ", 'N', 3, 0}},
                               {{{"QPA", "9118", "50"}},
                                {{"QMC", "9117", "20"}},
                                {{"Qpa", "9120", "70"}},
                                {{"QMA", "9116", "10"}},
                                {{"QGA", "9114", "30"}, true},
                                {{"QDA", "9112", "120"}},
                                {{"QJF", "9111", "90"}}}));
  }

  CTempFolder m_folder{"catalogue"};
};

TEST_F(StartListsTest, CataloguesFollowSeqAndTheFilters) {
  WriteCatalogues();
  CTableList<CCatalogueEntry> list = LoadCatalogueList(m_folder.Folder(), 0, 1, Text);
  EXPECT_EQ(list.error, "");
  // APOD 1, Copper 0: QMC skipped by rule 1, QPA and QJF by rule 3, Qpa kept; QGA deleted.
  EXPECT_EQ(Codes(list.entries), (std::vector<std::string>{"QMA", "Qpa", "QDA"}));
  ASSERT_EQ(list.entries.size(), 3u);
  EXPECT_EQ(list.entries[0].label, "text 9116");
  EXPECT_EQ(list.entries[1].label, "text 9120");

  list = LoadCatalogueList(m_folder.Folder(), 1, 0, Text);
  EXPECT_EQ(Codes(list.entries), (std::vector<std::string>{"QMA", "QMC", "QPA", "QJF", "QDA"}));
}

TEST_F(StartListsTest, MissingTablesLeaveEmptyListsWithAnError) {
  CTableList<CCatalogueEntry> catalogues = LoadCatalogueList(m_folder.Folder(), 0, 0, Text);
  EXPECT_TRUE(catalogues.entries.empty());
  EXPECT_NE(catalogues.error.find("catalog.dbf"), std::string::npos) << catalogues.error;

  CTableList<CUnitEntry> units = LoadUnitList(m_folder.Folder(), Text);
  EXPECT_TRUE(units.entries.empty());
  EXPECT_NE(units.error.find("dims.dbf"), std::string::npos) << units.error;

  CTableList<CDeviceEntry> devices = LoadDeviceList(m_folder.Folder(), Text);
  EXPECT_TRUE(devices.entries.empty());
  EXPECT_NE(devices.error.find("devices.dbf"), std::string::npos) << devices.error;
}

TEST_F(StartListsTest, DamagedTableLeavesAnEmptyList) {
  m_folder.WriteFile("catalog.dbf", std::string("\x03\x7a\x01\x01\xff\xff\xff\x7f", 8));
  CTableList<CCatalogueEntry> list = LoadCatalogueList(m_folder.Folder(), 0, 0, Text);
  EXPECT_TRUE(list.entries.empty());
  EXPECT_FALSE(list.error.empty());
}

TEST_F(StartListsTest, TableWithoutAListFieldIsRefused) {
  ASSERT_TRUE(WriteTestTable(m_folder.File("catalog.dbf"), {{"ID", 'C', 3, 0}, {"LIB", 'N', 5, 0}},
                             {{{"QMA", "9116"}}}));
  CTableList<CCatalogueEntry> list = LoadCatalogueList(m_folder.Folder(), 0, 0, Text);
  EXPECT_TRUE(list.entries.empty());
  EXPECT_NE(list.error.find("SEQ"), std::string::npos) << list.error;
}

TEST_F(StartListsTest, UnitsKeepStoredOrderAndTranslateTheirName) {
  const std::vector<DbfFieldInfo> fields = {{"IDD", 'N', 3, 0},         {"IDL", 'C', 8, 0},
                                            {"LIB", 'N', 5, 0},         {"INPUTSTR", 'C', 60, 0},
                                            {"INPUTCOEF", 'C', 40, 0},  {"OUTPUTSTR", 'C', 40, 0},
                                            {"OUTPUTCOEF", 'C', 30, 0}, {"BASECOEF", 'C', 12, 0}};
  ASSERT_TRUE(WriteTestTable(
      m_folder.File("DIMS.DBF"), fields,
      {{{"4", "FTIN", "9105", "%f|ft|%f|in", "12|1", "%.0f|' |%.1f|\"", "12|1", "25.4"}},
       {{"9", "GONE", "9999"}, true},
       {{"0", " MM ", "9101", "%f|mm", "1", "%.0f|mm", "1", "1"}}}));
  CTableList<CUnitEntry> list = LoadUnitList(m_folder.Folder(), Text);
  EXPECT_EQ(list.error, "");
  ASSERT_EQ(list.entries.size(), 2u);
  const CUnitEntry& f = list.entries[0];
  EXPECT_EQ((std::vector<std::string>{f.idd, f.idl, f.label, f.inputText, f.inputCoef, f.outputText,
                                      f.outputCoef, f.baseCoef}),
            (std::vector<std::string>{"4", "FTIN", "text 9105", "%f|ft|%f|in", "12|1",
                                      "%.0f|' |%.1f|\"", "12|1", "25.4"}));
  EXPECT_EQ(list.entries[1].idl, "MM");  // trimmed
}

TEST_F(StartListsTest, DevicesSortByIdAndTranslateNumberedLabels) {
  ASSERT_TRUE(WriteTestTable(
      m_folder.File("devices.dbf"), {{"ID", 'N', 3, 0}, {"LIB", 'C', 20, 0}},
      {{{"64", "9136"}}, {{"7", "Own label"}}, {{"0", "9131"}}, {{"32", "0"}}, {{"8", ""}}}));
  CTableList<CDeviceEntry> list = LoadDeviceList(m_folder.Folder(), Text);
  EXPECT_EQ(list.error, "");
  const std::vector<CDeviceEntry> expected = {
      {"0", "text 9131"}, {"7", "Own label"}, {"8", ""}, {"32", "0"}, {"64", "text 9136"}};
  EXPECT_EQ(list.entries, expected);
}

}  // namespace
