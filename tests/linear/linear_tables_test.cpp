#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app/message_text.h"
#include "linear/linear_messages.h"
#include "linear/linear_test_support.h"
#include "platform/dbf_table.h"
#include "support/temp_folder.h"

namespace {

struct ReferenceCase {
  int product;
  int rating;
  int conductors;
  const char* name;
  const char* expected;  // "" when the name gives nothing
  const char* guards;
};

class LinearReferenceTest : public testing::TestWithParam<ReferenceCase> {
 protected:
  static void SetUpTestSuite() {
    s_tables = new CLinearTables();
    CLinearPriceSettings settings;
    ASSERT_TRUE(s_tables->OpenLinearTables(SampleFolders(), settings, 0));
  }
  static void TearDownTestSuite() { delete s_tables; }
  static CLinearTables* s_tables;
};
CLinearTables* LinearReferenceTest::s_tables = nullptr;

TEST_P(LinearReferenceTest, FillsTheTemplateOfTheFirstMatchingRow) {
  const ReferenceCase& c = GetParam();
  const auto found =
      s_tables->LookupLinearReference(MakeLine(0, c.product, c.rating, c.conductors, 55), c.name);
  EXPECT_EQ(found.value_or(""), c.expected) << c.guards;
}

INSTANTIATE_TEST_SUITE_P(
    SampleTables, LinearReferenceTest,
    testing::Values(
        ReferenceCase{0, 800, 13, "ED3", "QMA0800ED430", "QMA at 800 A reads 0800"},
        ReferenceCase{0, 1600, 12, "ED3", "QMA1600ED330", "three conductors"},
        ReferenceCase{1, 2000, 13, "ER", "QMC2000ER41", "the QM? row serves QMC too"},
        ReferenceCase{2, 400, 13, "ED3", "QW063ED430", "QW rating class 63"},
        ReferenceCase{2, 315, 13, "LP", "QW031LP4A", "QW rating class 31"},
        ReferenceCase{4, 160, 13, "ED3", "QPA250ED430", "QP 160 A uses the 250 A body"},
        ReferenceCase{5, 1000, 13, "ED3", "QJF14ED430", "QJF calibre from the rating"},
        ReferenceCase{5, 2500, 13, "ER", "QJF28ER41", "QJF calibre 28"},
        ReferenceCase{6, 63, 13, "ED3", "QDA63ED430", "QDA rating replaces both places"},
        ReferenceCase{6, 100, 13, "LP", "QDA100LP4A", "QDA rating grows the reference"},
        ReferenceCase{0, 800, 13, "YC", "QMB0000YC1", "a template without '?'"},
        ReferenceCase{4, 100, 13, "SE", "QPB0100SE", "100 A is not in the rating list 1000"},
        ReferenceCase{4, 1000, 13, "SE", "QPB0250SD", "1000 A is"},
        ReferenceCase{0, 800, 13, "PE", "QMB0164PE1", "3LNPE is not the word 3LNPER"},
        ReferenceCase{0, 800, 14, "PE", "QMB0404PE1", "3LNPER matches its own row"},
        ReferenceCase{0, 800, 17, "PE", "", "no word for configuration 17"},
        ReferenceCase{11, 25, 13, "ED3", "", "no rows for QYX"},
        ReferenceCase{0, 800, 13, "ED", "", "names are compared whole"}));

TEST(FillReferenceTemplateTest, RangeRules) {
  EXPECT_EQ(FillReferenceTemplate("QM???ED?30", 1, 800, 13, false), "QMC800ED430");
  EXPECT_EQ(FillReferenceTemplate("QMB??SE", 0, 1250, 13, false), "QMB0124SE");
  EXPECT_EQ(FillReferenceTemplate("QMB?XSE", 0, 1250, 13, false), "QMB0230SE");
  EXPECT_EQ(FillReferenceTemplate("QMB??SE", 1, 4000, 13, false), "QMB0324SE");
  EXPECT_EQ(FillReferenceTemplate("QMB?XSE", 1, 4000, 13, false), "QMB0510SE");
  EXPECT_EQ(FillReferenceTemplate("QMB??SE", 1, 800, 13, false), "QMB0074SE");
  EXPECT_EQ(FillReferenceTemplate("QP???ED?30", 10, 500, 13, false), "QPC800ED430");
  EXPECT_EQ(FillReferenceTemplate("QP???ED?30", 10, 500, 13, true), "QPC50ED430");
  EXPECT_EQ(FillReferenceTemplate("QJF??ED?30", 5, 3000, 15, false), "QJF36ED230");
  EXPECT_EQ(FillReferenceTemplate("QY???AB??x", 7, 25, 14, false), "QYA40AB22");
  EXPECT_EQ(FillReferenceTemplate("QW0??ED?30", 2, 250, 13, false), "QW025ED430");
  EXPECT_EQ(FillReferenceTemplate("QF???AB?x", 9, 20, 13, false), "QF?20AB4");
}

TEST(LinearTablesTest, CoefficientsMatchTheWholeRating) {
  CLinearTables tables;
  CLinearPriceSettings settings;
  ASSERT_TRUE(tables.OpenLinearTables(SampleFolders(), settings, 0));
  const CLinearTables::Coefficients none =
      tables.LoadLinearCoefficients(MakeLine(0, 4, 100, 13, 55));
  for (double c : none) EXPECT_EQ(c, 1.0) << "a 100 A line took the 1000 A row";
  const CLinearTables::Coefficients qw = tables.LoadLinearCoefficients(MakeLine(1, 2, 400, 13, 52));
  EXPECT_EQ(qw, (CLinearTables::Coefficients{0.95, 1, 1.1, 1.3, 1.2, 1.1, 1, 1, 1}));
  const CLinearTables::Coefficients qp = tables.LoadLinearCoefficients(MakeLine(2, 4, 250, 13, 55));
  EXPECT_EQ(qp, (CLinearTables::Coefficients{0.9, 1, 1.1, 1, 1, 1, 0.8, 0.9, 1}));
}

TEST(LinearTablesTest, ArticlesReadInHundredthsForTheActiveLists) {
  CLinearTables tables;
  CLinearPriceSettings settings;
  settings.priceList = 6;
  ASSERT_TRUE(tables.OpenLinearTables(SampleFolders(), settings, 0));
  const CLinearArticles::Prices p = tables.Articles().ReadArticlePrices("QMA0800ED430", 6, false);
  EXPECT_TRUE(p.found);
  EXPECT_EQ(p.prices[0], 38400);
  EXPECT_EQ(p.prices[3], 41472);
  EXPECT_EQ(p.prices[4], 0) << "list 5 is not active";
  EXPECT_EQ(p.time, 56);
  EXPECT_FALSE(tables.Articles().ReadArticlePrices("QMA0800ED43", 0, false).found);
  EXPECT_TRUE(settings.listTitle.empty()) << "list 7 has no title row";
}

TEST(LinearTablesTest, TcConversionUsesTheBaseArticleRate) {
  CLinearTables tables;
  CLinearPriceSettings settings;
  ASSERT_TRUE(tables.OpenLinearTables(SampleFolders(), settings, 1));
  EXPECT_EQ(tables.UseTc(), 1);
  EXPECT_EQ(settings.listTitle, "Public 2026");
  const CLinearArticles::Prices p = tables.Articles().ReadArticlePrices("QMA0800ED430", 0, true);
  EXPECT_DOUBLE_EQ(p.prices[0], 38400 * 8000 * 0.0001) << "REMISE_QM keeps 80 %";
  EXPECT_DOUBLE_EQ(p.prices[1], 0.0) << "the rate of list 2 is empty";
}

TEST(LinearTablesTest, MissingTablesAreReportedOnce) {
  const CEnglishTexts texts;
  CTempFolder folder("linear");
  CRecordingNotifier notifier;
  CLinearTables tables(&notifier);
  CLinearPriceSettings settings;
  EXPECT_FALSE(tables.OpenLinearTables({folder.Folder(), SampleFolders().article}, settings, 0));
  ASSERT_EQ(notifier.messages.size(), 1u);
  EXPECT_NE(notifier.messages[0].find("LIN_FORM.DBF"), std::string::npos);
  EXPECT_FALSE(tables.IsOpen());
  EXPECT_FALSE(tables.OpenLinearTables({SampleFolders().catalogue, folder.Folder()}, settings, 0));
  EXPECT_NE(notifier.messages.back().find("ARTICLE.DBU"), std::string::npos);
}

// An article table whose first price is a character field, its second a numeric field
// with decimals, its third one without.
std::string ArticlesWithTextPrices(const CTempFolder& folder,
                                   const std::vector<std::array<const char*, 4>>& rows) {
  tvr::platform::CDbfTable table;
  EXPECT_TRUE(table.Create(folder.File("ARTICLE.DBU"), {{"REFERENCE", 'C', 20},
                                                        {"PRIX_1", 'C', 12},
                                                        {"PRIX_2", 'N', 10, 2},
                                                        {"PRIX_3", 'N', 10},
                                                        {"TEMPS", 'N', 6}}));
  for (const auto& row : rows) {
    EXPECT_TRUE(table.Append());
    for (int field = 0; field < 4; ++field) table.Assign(field, row[field]);
  }
  table.Close();
  return folder.Folder();
}

struct TextPriceCase {
  const char* text;  // PRIX_1
  double price;      // list 1, in hundredths
};

class LinearTextPriceTest : public testing::TestWithParam<TextPriceCase> {};

TEST_P(LinearTextPriceTest, ACharacterPriceReadsAsTheNumberItHolds) {
  const CEnglishTexts texts;
  CTempFolder folder("linear");
  const std::string articles =
      ArticlesWithTextPrices(folder, {{"A1", GetParam().text, "12.34", "56"}});
  CRecordingNotifier notifier;
  CLinearTables tables(&notifier);
  CLinearPriceSettings settings;
  ASSERT_TRUE(tables.OpenLinearTables({SampleFolders().catalogue, articles}, settings, 0));
  const CLinearArticles::Prices p = tables.Articles().ReadArticlePrices("A1", 0, false);
  ASSERT_TRUE(p.found);
  EXPECT_DOUBLE_EQ(p.prices[0], GetParam().price);
  EXPECT_DOUBLE_EQ(p.prices[1], 1234.0) << "decimals are read in hundredths";
  EXPECT_DOUBLE_EQ(p.prices[2], 56.0) << "whole numbers are hundredths already";
  EXPECT_EQ(notifier.messages.size(), 0u) << notifier.messages.front();
}

INSTANTIATE_TEST_SUITE_P(Texts, LinearTextPriceTest,
                         testing::Values(TextPriceCase{"1250", 1250.0},
                                         TextPriceCase{"  12.5", 12.5}, TextPriceCase{"12,5", 12.5},
                                         TextPriceCase{"", 0.0}));

TEST(LinearTablesTest, ACharacterPriceThatIsNoNumberIsToldOnce) {
  const CEnglishTexts texts;
  CTempFolder folder("linear");
  const std::string articles = ArticlesWithTextPrices(
      folder, {{"A1", "12 EUR", "1", "1"}, {"A2", "n/a", "1", "1"}, {"A3", "80", "1", "1"}});
  CRecordingNotifier notifier;
  CLinearTables tables(&notifier);
  CLinearPriceSettings settings;
  ASSERT_TRUE(tables.OpenLinearTables({SampleFolders().catalogue, articles}, settings, 0));
  ASSERT_EQ(notifier.messages.size(), 1u);
  EXPECT_NE(notifier.messages[0].find("A1 PRIX_1 \"12 EUR\""), std::string::npos)
      << notifier.messages[0];
  EXPECT_EQ(tables.Articles().ReadArticlePrices("A1", 0, false).prices[0], 0.0);
  EXPECT_EQ(tables.Articles().ReadArticlePrices("A3", 0, false).prices[0], 80.0);
}

TEST(LinearTablesTest, ACharacterBaseRateConvertsTcPrices) {
  CTempFolder folder("linear");
  tvr::platform::CDbfTable table;
  ASSERT_TRUE(table.Create(
      folder.File("ARTICLE.DBU"),
      {{"REFERENCE", 'C', 20}, {"PRIX_1", 'C', 12}, {"LOCAL", 'C', 1}, {"TC", 'C', 20}}));
  for (const auto& row : std::vector<std::array<const char*, 4>>{{"A1", "1000", "", "BASE"},
                                                                 {"BASE", "80,00", "3", ""}}) {
    ASSERT_TRUE(table.Append());
    for (int field = 0; field < 4; ++field) table.Assign(field, row[field]);
  }
  table.Close();
  CLinearTables tables;
  CLinearPriceSettings settings;
  ASSERT_TRUE(tables.OpenLinearTables({SampleFolders().catalogue, folder.Folder()}, settings, 1));
  EXPECT_DOUBLE_EQ(tables.Articles().ReadArticlePrices("A1", 0, true).prices[0], 800.0);
}

}  // namespace
