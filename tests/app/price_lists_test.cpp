#include "app/price_lists.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/article_table.h"
#include "app/profile.h"
#include "catalogue_test_support.h"
#include "platform/dbf_table.h"
#include "support/case_table.h"

using tvr::platform::CDbfTable;
using tvr::platform::DbfFieldInfo;

namespace {

std::string Texts(int number) {
  return number == kMsgDefaultPriceListName ? "Price list %1" : std::string();
}

const std::vector<DbfFieldInfo> kArticleFields = {{"REFERENCE", 'C', 22, 0},
                                                  {"DESIGN_1", 'C', 30, 0},
                                                  {"DESIGN_2", 'C', 12, 0},
                                                  {"PRIX_1", 'N', 12, 2}};

class PriceListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteTestTable(m_folder.File("ARTICLE.DBU"), kArticleFields,
                               {{{"QMA2500ED430", "Élément droit 3 m", "", "410.50"}},
                                {{"PRICE_LIST_10", "Ten", "X"}},
                                {{"PRICE_LIST_1", "  Public  ", " EUR "}},
                                {{"PRICE_LIST_2", "", ""}},
                                {{"PRICE_LIST_5", "Old five", ""}, true},
                                {{"PRICE_LIST_12", "Douze", "CHF"}}}));
  }

  std::string Name(int n, bool second = false) const {
    return GetPriceListName(m_folder.Folder(), m_profile, n, second, Texts);
  }

  CTempFolder m_folder{"catalogue"};
  CProfile m_profile{m_folder.File("TVR.INI")};
};

TEST_F(PriceListsTest, NamesComeFromThePriceListRecords) {
  for (const CCaseRow& row : ReadCaseTable("app/price_list_names.tsv", 4)) {
    SCOPED_TRACE(row.where + " " + row[3]);
    EXPECT_EQ(Name(static_cast<int>(row.Int(0)), row.Flag(1)), row[2]);
  }
}

TEST_F(PriceListsTest, ALongerKeyIsNotTakenForAMissingList) {
  ASSERT_TRUE(WriteTestTable(m_folder.File("ARTICLE.DBU"), kArticleFields,
                             {{{"PRICE_LIST_10", "Ten", "X"}}}));
  EXPECT_EQ(Name(1), "Price list 1");
  EXPECT_EQ(Name(1, true), "");
}

TEST_F(PriceListsTest, CurrentCatalogueOneTo15IsTheListOfNumberZero) {
  EXPECT_EQ(Name(0), "Price list 0") << "no current catalogue setting";
  int current = 3;
  for (int n : {0, 16, -1}) {
    EXPECT_FALSE(SetCurrentCatalogue(n, current, m_profile)) << n;
    EXPECT_EQ(current, 3);
  }
  EXPECT_FALSE(std::filesystem::exists(m_profile.Path())) << "out of range writes nothing";
  EXPECT_TRUE(SetCurrentCatalogue(12, current, m_profile));
  EXPECT_EQ(current, 12);
  EXPECT_EQ(m_profile.ReadProfileText("Database", "CurrentCat", ""), "12");
  EXPECT_EQ(Name(0), "Douze");
  EXPECT_EQ(Name(-3, true), "CHF");
  EXPECT_TRUE(SetCurrentCatalogue(15, current, m_profile));
  EXPECT_EQ(m_profile.ReadProfileInt("Database", "CurrentCat", 0), 15);
}

TEST(PriceListsNoTableTest, MissingArticleTableGivesEmptyNamesWithoutDefaults) {
  CTempFolder folder{"catalogue"};
  CProfile profile(folder.File("TVR.INI"));
  EXPECT_EQ(GetPriceListName(folder.Folder(), profile, 1, false, Texts), "");
  CPriceListNames names = ReadPriceListNames(folder.Folder(), Texts);
  EXPECT_NE(names.error.find("ARTICLE.DBU"), std::string::npos) << names.error;
  for (const std::string& name : names.first) EXPECT_EQ(name, "");
}

TEST_F(PriceListsTest, ReadAllNamesAtOnce) {
  CPriceListNames names = ReadPriceListNames(m_folder.Folder(), Texts);
  EXPECT_EQ(names.error, "");
  for (int n = 1; n <= kPriceListCount; ++n) {
    EXPECT_EQ(names.first[n - 1], Name(n)) << n;
    EXPECT_EQ(names.second[n - 1], Name(n, true)) << n;
  }
}

TEST(DefaultPriceListNameTest, EveryFirstParameterIsReplaced) {
  auto text = [](std::string t) { return [t](int) { return t; }; };
  EXPECT_EQ(DefaultPriceListName(3, text("Tarif %1")), "Tarif 3");
  EXPECT_EQ(DefaultPriceListName(4, text("%1/%1 %2")), "4/4 %2");
  EXPECT_EQ(DefaultPriceListName(1, text("%%1")), "%1");
  EXPECT_EQ(DefaultPriceListName(2, text("")), "");
  EXPECT_EQ(DefaultPriceListName(2, TextLookup()), "");
}

TEST(CatalogueCommandIdTest, FifteenCommandsInMenuOrder) {
  const std::pair<int, int> cases[] = {{-1, 0},    {0, 32883}, {5, 32888},  {6, 32689},
                                       {8, 32691}, {9, 32978}, {14, 32983}, {15, 0}};
  for (auto [index, id] : cases) EXPECT_EQ(CatalogueCommandId(index), id) << index;
}

// One position of the price list page: its list number and its two names.
struct CListNames {
  int number;
  std::string first, second;
};

class SavePriceListsTest : public PriceListsTest {
 protected:
  CPriceListSave Save(const std::vector<CListNames>& lists, bool withSecond = true) {
    std::array<std::string, 30> names{};
    std::array<int, 15> numbers{};
    for (std::size_t i = 0; i < lists.size(); ++i) {
      numbers[i] = lists[i].number;
      names[i] = lists[i].first;
      names[i + 15] = lists[i].second;
    }
    return SavePriceListNames(m_folder.Folder(), names, numbers, withSecond);
  }

  // A save of list 1 and of a new list 9 must fail with a message holding that text and
  // leave the table (or its absence) as it was.
  void ExpectRefusedSave(const std::string& error) {
    const bool existed = std::filesystem::exists(m_folder.File("ARTICLE.DBU"));
    const std::string before = m_folder.ReadFile("ARTICLE.DBU");
    CPriceListSave result = Save({{1, "Changed", ""}, {9, "New", ""}});
    EXPECT_FALSE(result.saved);
    EXPECT_FALSE(result.error.empty());
    EXPECT_NE(result.error.find(error), std::string::npos) << result.error;
    EXPECT_EQ(std::filesystem::exists(m_folder.File("ARTICLE.DBU")), existed);
    EXPECT_EQ(m_folder.ReadFile("ARTICLE.DBU"), before);
  }
};

TEST_F(SavePriceListsTest, SavedNamesReadBack) {
  CPriceListSave result = Save(
      {{1, "Public 2027", "EUR"}, {2, "Revendeur", ""}, {0, "Ignored", ""}, {12, "Twelve", "CHF"}});
  EXPECT_TRUE(result.saved) << result.error;
  EXPECT_TRUE(result.appended.empty());
  EXPECT_EQ(Name(1), "Public 2027");
  EXPECT_EQ(Name(2), "Revendeur");
  EXPECT_EQ(Name(12), "Twelve");
  EXPECT_EQ(Name(10), "Ten");  // untouched
}

TEST_F(SavePriceListsTest, EmptyFirstNameKeepsTheOldOneButSecondNamesAreWritten) {
  EXPECT_TRUE(Save({{1, "", ""}, {12, "Douze bis", ""}}).saved);
  EXPECT_EQ(Name(1), "Public");
  EXPECT_EQ(Name(1, true), "");
  EXPECT_EQ(Name(12, true), "");
  EXPECT_TRUE(Save({{1, "", ""}, {12, "Douze bis", "ignored"}}, false).saved);
  EXPECT_EQ(Name(12, true), "");  // second names left alone without the switch
}

TEST_F(SavePriceListsTest, MissingRecordIsAppendedInsteadOfLosingTheName) {
  // 8: nothing to keep, no record; 5: its only record is deleted.
  CPriceListSave result = Save({{7, "Sept", "EUR"}, {8, "", ""}, {5, "Cinq", ""}});
  EXPECT_TRUE(result.saved) << result.error;
  EXPECT_EQ(result.appended, (std::vector<int>{7, 5}));
  EXPECT_EQ(Name(7), "Sept");
  EXPECT_EQ(Name(7, true), "EUR");
  EXPECT_EQ(Name(5), "Cinq");
  CDbfTable table;
  ASSERT_TRUE(OpenArticleTable(table, m_folder.Folder(), CDbfTable::Mode::ReadOnly));
  EXPECT_EQ(table.RecordCount(), 8u);
  EXPECT_FALSE(SeekArticle(table, PriceListKey(8)));
}

TEST_F(SavePriceListsTest, LongNameIsStoredCutAndReported) {
  CPriceListSave result = Save({{1, std::string(40, 'n'), ""}});
  EXPECT_TRUE(result.saved);
  EXPECT_EQ(result.cut, (std::vector<int>{1}));
  EXPECT_EQ(Name(1), std::string(30, 'n'));
}

TEST_F(SavePriceListsTest, ReadOnlyTableIsLeftAsItWas) {
  namespace fs = std::filesystem;
  fs::permissions(m_folder.File("ARTICLE.DBU"),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                  fs::perm_options::replace);
  ExpectRefusedSave("read-only");
}

TEST_F(SavePriceListsTest, DamagedTableIsLeftAsItWas) {
  m_folder.WriteFile("ARTICLE.DBU", m_folder.ReadFile("ARTICLE.DBU").substr(0, 40));
  ExpectRefusedSave("");
}

TEST_F(SavePriceListsTest, MissingTableIsReportedAndNotMade) {
  std::filesystem::remove(m_folder.File("ARTICLE.DBU"));
  ExpectRefusedSave("ARTICLE.DBU");
}

TEST_F(SavePriceListsTest, TableWithoutSecondNameFieldTakesOnlyFirstNames) {
  ASSERT_TRUE(WriteTestTable(m_folder.File("ARTICLE.DBU"),
                             {{"REFERENCE", 'C', 22, 0}, {"DESIGN_1", 'C', 30, 0}},
                             {{{"PRICE_LIST_1", "Public"}}}));
  ExpectRefusedSave("DESIGN_2");
  EXPECT_TRUE(Save({{1, "Changed", ""}}, false).saved);
  EXPECT_EQ(Name(1), "Changed");
}

TEST_F(SavePriceListsTest, ANameTheTableCannotHoldIsRefusedAndNothingChanges) {
  // The table is in the OEM code page, which has no euro, no œ and no typographic quotes.
  for (const char* name : {"Tarif 1 €", "Cœur de ville", "“Revendeur”"}) {
    SCOPED_TRACE(name);
    const std::string before = m_folder.ReadFile("ARTICLE.DBU");
    for (bool second : {false, true}) {
      CPriceListSave result = second ? Save({{1, "Changed", ""}, {2, "Deux", name}})
                                     : Save({{1, "Changed", ""}, {2, name, ""}});
      EXPECT_FALSE(result.saved);
      EXPECT_NE(result.error.find(name), std::string::npos) << result.error;
      EXPECT_EQ(m_folder.ReadFile("ARTICLE.DBU"), before);
    }
  }
  // A name at a position without a list is not saved, so it is not refused either.
  EXPECT_TRUE(Save({{1, "Changed", ""}, {0, "Tarif €", ""}}).saved);
  EXPECT_EQ(Name(1), "Changed");
}

}  // namespace
