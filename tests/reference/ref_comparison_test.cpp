// The comparison table walked for a line: the sample's three QYA solutions worked out
// by hand, the product filters, damaged records, the settings texts of the items.
#include "reference/ref_comparison.h"

#include <gtest/gtest.h>

#include "app/profile.h"
#include "linear_test_support.h"
#include "platform/dbf_table.h"
#include "ref_test_support.h"
#include "reference/ref_comparison_view.h"
#include "support/temp_folder.h"

namespace {

using Entry = CRefComparison::Entry;

// A QYA line of 30 m with six luminaires, single conductors, line mode 1, fixing every
// 3 m, on price list 1 with coefficient 1.
CRefCompInput SampleInput() {
  CRefCompInput input;
  input.productCode = "QYA";
  input.conductorText = "L+N+PE";
  input.figures.length = 30, input.figures.tapOffs = 6, input.figures.lamps = 6;
  input.figures.lampFix = 2, input.figures.stepCm = 300;
  return input;
}

// The codes and quantities of a solution, "group:priced item x quantity".
std::vector<std::string> Entries(const CRefComparison& comparison, int solution) {
  std::vector<std::string> texts;
  for (const Entry& entry : comparison.solutions[static_cast<std::size_t>(solution)].entries)
    texts.push_back(std::to_string(entry.Group()) + ":" + std::to_string(entry.PricedItem()) +
                    " x" + std::to_string(entry.quantity));
  return texts;
}

CRefComparison SampleComparison(CRefRecordingNotifier& notifier) {
  CRefComparison comparison;
  EXPECT_TRUE(comparison.CostComparisonSolutions(SampleRefSetup(), SampleInput(), &notifier));
  // The user's prices: the cable at 1.25 and 0.05 h a metre, the brackets at 2.00 and
  // 0.25 h.
  comparison.items[1].price = 12500, comparison.items[1].time = 5;
  comparison.items[7].price = 20000, comparison.items[7].time = 25;
  comparison.ComputeTotals(4000);
  return comparison;
}

TEST(RefComparisonTest, TheSampleSolutionsAreWalkedAndTotalledAsWorkedOutByHand) {
  CRefRecordingNotifier notifier;
  const CRefComparison comparison = SampleComparison(notifier);
  EXPECT_TRUE(notifier.messages.empty());
  EXPECT_EQ(comparison.reference, 1);
  EXPECT_EQ(comparison.cableItem, 1);  // the 3LNPE cable is skipped for L+N+PE
  EXPECT_EQ(comparison.SolutionsWithItems(), (std::vector<int>{1, 2, 3}));
  // Ordinary items before the lamp (200) and tap-off (100) items met before them.
  EXPECT_EQ(Entries(comparison, 1),
            (std::vector<std::string>{"1:1 x1000", "6:6 x1100", "205:5 x1200"}));
  EXPECT_EQ(Entries(comparison, 2),
            (std::vector<std::string>{"1:1 x3650", "3:3 x10000", "204:4 x600", "205:5 x1200"}));
  EXPECT_EQ(Entries(comparison, 3),
            (std::vector<std::string>{"7:7 x2100", "1:1 x1000", "205:5 x1200", "108:4 x600"}));
  EXPECT_DOUBLE_EQ(comparison.solutions[1].step, 3.0);  // [Step]: the line's spacing
  EXPECT_DOUBLE_EQ(comparison.solutions[3].step, 1.5);  // Step=1,5
  // Articles: price list 1 in ten-thousandths, a pack of ten divided by ten.
  EXPECT_EQ(comparison.items[3].price, 6500);
  EXPECT_EQ(comparison.items[3].time, 2);
  EXPECT_EQ(comparison.items[4].price, 78000);
  EXPECT_EQ(comparison.items[6].price, 42000);
  const struct {
    int solution;
    std::int64_t time, labour, material;
  } totals[] = {{1, 196, 7840, 9590}, {2, 508, 20320, 19463}, {3, 701, 28040, 13850}};
  for (const auto& t : totals) {
    const auto& solution = comparison.solutions[static_cast<std::size_t>(t.solution)];
    EXPECT_EQ(solution.time, t.time) << t.solution;
    EXPECT_EQ(solution.labour, t.labour) << t.solution;
    EXPECT_EQ(solution.material, t.material) << t.solution;
  }
  // States: listed with a user price (1), used (2), priced from articles (0).
  const int states[] = {0, 2, 1, 0, 2, 0, 0, 2, 0};
  for (int n = 1; n <= 8; ++n) EXPECT_EQ(comparison.items[n].state, states[n]) << n;
}

TEST(RefComparisonTest, ArticlePricesTimesTheCoefficientKeepTheirLastUnit) {
  // 4.20 x 0.57 and 7.80 x 1.13 in doubles fall just below the whole ten-thousandth.
  const struct {
    double coefficient;
    std::int64_t chains, boxes;
  } cases[] = {{0.57, 23940, 44460}, {1.13, 47460, 88140}, {0.35, 14700, 27300}};
  for (const auto& c : cases) {
    CRefCompInput input = SampleInput();
    input.coefficient = c.coefficient;
    CRefComparison comparison;
    CRefRecordingNotifier notifier;
    ASSERT_TRUE(comparison.CostComparisonSolutions(SampleRefSetup(), input, &notifier));
    EXPECT_EQ(comparison.items[6].price, c.chains) << c.coefficient;
    EXPECT_EQ(comparison.items[4].price, c.boxes) << c.coefficient;
  }
}

TEST(RefComparisonTest, TheOverviewComparesEverySolutionWithTheReference) {
  const CEnglishTexts texts;
  CRefRecordingNotifier notifier;
  const CRefComparison comparison = SampleComparison(notifier);
  const std::vector<CRefCompColumn> columns = CompOverview(comparison, ',');
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[0].head, "Solution 1");
  EXPECT_EQ(columns[1].cells,
            (std::array<std::string, 5>{"5,08", "203,20", "194,63", "397,83", "+128%"}));
  EXPECT_EQ(columns[0].cells[4], "+0%");
  EXPECT_EQ(columns[2].cells[3], "418,90");
  EXPECT_EQ(columns[2].cells[4], "+140%");
  EXPECT_EQ(CompOverviewLabels()[4], "Difference");
  // A reference solution that costs nothing leaves nothing to compare with.
  CRefComparison free = comparison;
  for (int n : {1, 5, 6}) free.items[static_cast<std::size_t>(n)] = {};
  free.ComputeTotals(4000);
  ASSERT_EQ(free.solutions[1].Sum(), 0);
  const std::vector<CRefCompColumn> freeColumns = CompOverview(free, ',');
  EXPECT_EQ(freeColumns[0].cells[4], "-");
  EXPECT_EQ(freeColumns[1].cells[4], "-");
}

TEST(RefComparisonTest, TheDetailGroupsTheItemsOfOneSolution) {
  const CEnglishTexts texts;
  CRefRecordingNotifier notifier;
  const CRefComparison comparison = SampleComparison(notifier);
  const std::vector<CRefCompDetailRow> rows = CompDetailRows(comparison, 3, 30, 4000, ',');
  std::vector<std::string> firsts;
  for (const CRefCompDetailRow& row : rows) firsts.push_back(row.cells[0]);
  EXPECT_EQ(firsts,
            (std::vector<std::string>{"", "", "Installation items (fixing every 1,5 m)",
                                      "Additional item 7", "Additional item 1", "Luminaire items",
                                      "Additional item 5", "Tap-off items", "Additional item 8", "",
                                      "Material and labour", "Sale price"}));
  // Item 8 is priced as item 4 and keeps its own label.
  EXPECT_EQ(rows[8].cells, (std::array<std::string, 7>{"Additional item 8", "6 pcs", "7,80",
                                                       "46,80", "0,15", "0,90", "36,00"}));
  EXPECT_EQ(rows[9].cells[3], "138,50");
  EXPECT_EQ(rows[10].cells[3], "418,90");
  EXPECT_EQ(rows[11].cells[3], "13,96");  // per metre of the 30 m line
  EXPECT_EQ(CompDetailRows(comparison, 3, 0, 4000, ',').back().cells[3], "-     ");
  EXPECT_EQ(CompDetailRows(comparison, 1, 30, 4000, '.')[2].cells[0],
            "Installation items (fixing every 3 m)");
}

TEST(RefComparisonTest, ProductCodesFilterTheRecords) {
  const struct {
    const char* prod;
    const char* code;
    bool matches;
  } cases[] = {
      {"QYA", "QYA", true},     {"QYB", "QYA", false},    {"  QYA     ", "QYA", true},
      {"QFP1x", "QFP1x", true}, {"QFP1x", "QFP1", false}, {"QFP1h", "QFP1x", false},
      {"QFP1h", "QFP1", true},  {"QFP2", "QFP1", false},  {"QFP", "QFP2x", true},
      {"QFP12", "QFP2", true},  {"QYA", "QY", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CompProductMatches(c.prod, c.code), c.matches) << c.prod << " / " << c.code;
}

// A comparison table of the test's own beside the sample's article table.
class CCompFolder {
 public:
  explicit CCompFolder(const std::vector<CRefCompRow>& rows) {
    tvr::platform::CDbfTable table;
    std::vector<tvr::platform::DbfFieldInfo> fields;
    for (const char* name : {"PROD", "SOLUTION", "PARAM", "LIB", "QTE", "TYP", "VAL"})
      fields.push_back({name, 'C', 40, 0});
    EXPECT_TRUE(table.Create(m_folder.File("REF_COMP.DBF"), fields));
    for (const CRefCompRow& row : rows) {
      EXPECT_TRUE(table.Append());
      int field = 0;
      for (const std::string* text :
           {&row.prod, &row.solution, &row.param, &row.lib, &row.qte, &row.typ, &row.val})
        table.Assign(field++, *text);
    }
    EXPECT_TRUE(table.Close());
  }
  CRefCatalogueSetup Setup() const {
    CRefCatalogueSetup setup = SampleRefSetup();
    setup.catalogueFolder = m_folder.Path() + "/";
    return setup;
  }

 private:
  CTempFolder m_folder{"comparison"};
};

TEST(RefComparisonTest, DamagedRecordsAreLeftOutWithOneMessage) {
  const CEnglishTexts texts;
  const CCompFolder folder({{"QYA", "S1", "", "IT01cbl", "10", "m", ""},
                            {"QYA", "S1", "", "IT02", "[Length]+", "m", ""},
                            {"QYA", "S2", "", "IT03", "[Lamp]", "pcs", "IT41"},
                            {"QYA", "S2", "", "IT04", "[Lamp]", "pcs", "LAMPT836/0"},
                            {"QYA", "S2", "", "IT05", "[Lamp]", "pcs", "LAMPT836"},
                            {"QYA", "S0 S11 S3", "", "IT06", "2", "pcs", "NOSUCHREF"},
                            {"QYA", "S3", "", "X7", "2", "pcs", ""}});
  CRefRecordingNotifier notifier;
  CRefComparison comparison;
  ASSERT_TRUE(comparison.CostComparisonSolutions(folder.Setup(), SampleInput(), &notifier));
  ASSERT_EQ(notifier.messages.size(), 1u);
  EXPECT_NE(notifier.messages[0].find("3 records"), std::string::npos) << notifier.messages[0];
  EXPECT_EQ(Entries(comparison, 1), (std::vector<std::string>{"1:1 x1000"}));
  EXPECT_EQ(Entries(comparison, 2), (std::vector<std::string>{"205:5 x600"}));
  EXPECT_EQ(Entries(comparison, 3), (std::vector<std::string>{"6:6 x200"}));
  EXPECT_EQ(comparison.items[6].price, 0);  // an unknown reference costs nothing
}

TEST(RefComparisonTest, ATableWithoutSolutionsComparesNothing) {
  const CCompFolder folder({{"QYB", "S1", "", "IT01", "10", "m", ""}});
  CRefRecordingNotifier notifier;
  CRefComparison comparison;
  EXPECT_FALSE(comparison.CostComparisonSolutions(folder.Setup(), SampleInput(), &notifier));
  EXPECT_EQ(comparison.reference, 0);
  comparison.ComputeTotals(4000);
  EXPECT_TRUE(CompOverview(comparison, '.').empty());
  CRefCatalogueSetup missing = folder.Setup();
  missing.catalogueFolder += "nowhere/";
  CRefComparison unread;
  EXPECT_FALSE(unread.CostComparisonSolutions(missing, SampleInput(), &notifier));
  EXPECT_EQ(notifier.messages.size(), 1u);
}

TEST(RefComparisonTest, TwelveItemsFillASolution) {
  std::vector<CRefCompRow> rows;
  for (int n = 1; n <= 13; ++n)
    rows.push_back({"QYA", "S1", "", "IT" + std::to_string(n), "1", "", ""});
  CRefComparison comparison;
  CLinearReport report;
  comparison.Build(rows, nullptr, SampleInput(), report);
  EXPECT_EQ(comparison.solutions[1].entries.size(), 12u);
  EXPECT_EQ(comparison.solutions[1].entries.back().PricedItem(), 12);
}

TEST(RefComparisonTest, ItemsAreLoadedAndSavedAsSettingsTexts) {
  CTempFolder folder("comparison_items");
  CProfile profile(folder.File("TVR.INI"));
  ASSERT_TRUE(profile.WriteProfileText("Comp", "IT01", "12,5;30"));
  ASSERT_TRUE(profile.WriteProfileText("Comp", "IT02", "12;30"));
  ASSERT_TRUE(profile.WriteProfileText("Comp", "IT03", "99;9"));
  CRefComparison comparison;
  comparison.LoadAllItems(profile);
  EXPECT_EQ(comparison.items[1].price, 1250);
  EXPECT_EQ(comparison.items[2].time, 30);
  EXPECT_EQ(comparison.items[3].price, 9900);
  EXPECT_EQ(comparison.items[3].state, CRefComparison::kStateAbsent);
  comparison.items[2].state = CRefComparison::kStateListed;
  comparison.items[2].price = -1234;
  ASSERT_TRUE(comparison.SaveItems(profile));
  // Only the listed item is written; the others keep their texts.
  EXPECT_EQ(profile.ReadProfileText("Comp", "IT02", ""), "-12,34;30");
  EXPECT_EQ(profile.ReadProfileText("Comp", "IT01", ""), "12,5;30");
}

}  // namespace
