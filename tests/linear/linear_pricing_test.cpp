#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>

#include "linear/linear_pricing.h"
#include "linear/linear_slots.h"
#include "linear/linear_test_support.h"
#include "platform/dbf_table.h"
#include "support/temp_folder.h"

namespace {

// A line priced by hand from the sample tables (prices in hundredths, column 2 = price x
// quantity / 100, column 3 = column 2 x sale coefficient plus 10 % services on the total).
struct PricedLine {
  const char* name;
  std::function<CLinearLine()> make;
  double saleCoef;                        // 0: sale coefficients off
  std::vector<std::array<int, 5>> items;  // slot, columns 1..4
  std::array<int, 4> totals;              // columns 1..4
};

CLinearLine LineQma() {  // 25 m of QMA 800 A with a transformer feed, 2 elbows, an end
  CLinearLine line = MakeLine(0, kProductQMA, 800, 13, 55);
  line.Slots[1] = 1, line.Slots[5] = 2500, line.Slots[7] = 2, line.Slots[15] = 1,
  line.Slots[29] = 2;
  return line;
}

CLinearLine LineQwa() {  // 40 m of QWA 400 A over 3 floors, 4 tap-off boxes of 63 A
  CLinearLine line = MakeLine(1, kProductQWA, 400, 13, 52);
  line.Slots[2] = 1, line.Slots[5] = 4000, line.Slots[9] = 3, line.Slots[10] = 350,
  line.Slots[13] = 0;
  line.Slots[30] = PackBoxSlot({4, 40, 63, 1, 0});
  return line;
}

CLinearLine LineQda() {  // 12 m of QDA 63 A, cable and centre feed, fixing code 10, boxes
  CLinearLine line = MakeLine(2, kProductQDA, 63, 13, 55);
  line.Slots[3] = 1, line.Slots[4] = 1, line.Slots[6] = 1200, line.Slots[24] = 10;
  line.Slots[30] = PackBoxSlot({2, 40, 16, 1, 0});
  line.Slots[31] = PackBoxSlot({1, 40, 20, 1, 1});
  return line;
}

CLinearLine LineQpa() {  // 15 m of QPA 250 A over 2 floors every 7 m, 5 m of IP54
  CLinearLine line = MakeLine(1, kProductQPA, 250, 13, 54);
  line.Slots[3] = 1, line.Slots[5] = 1500, line.Slots[9] = 2, line.Slots[10] = 700;
  line.Slots[11] = 1, line.Slots[12] = 1, line.Slots[14] = 500;
  line.Slots[32] = PackBoxSlot({3, 40, 250, 1, 2});
  return line;
}

// QMA check states in slot 28, and slot 29's quantity when slot 28 is not offered: 0,
// not 1023.
template <int kSlot28>
CLinearLine LineChecks() {
  CLinearLine line = MakeLine(0, kProductQMA, 800, 13, 55);
  line.Slots[5] = 0;  // the checks stand in the run block
  line.Slots[28] = kSlot28;
  line.Slots[29] = 5;
  return line;
}

class LinearPricingTest : public testing::TestWithParam<PricedLine> {
 protected:
  static void SetUpTestSuite() {
    s_tables = new CLinearTables();
    CLinearPriceSettings settings;
    ASSERT_TRUE(s_tables->OpenLinearTables(SampleFolders(), settings, 0));
  }
  static void TearDownTestSuite() { delete s_tables; }
  static CLinearTables* s_tables;
};
CLinearTables* LinearPricingTest::s_tables = nullptr;

TEST_P(LinearPricingTest, ColumnsAndTotalsMatchTheHandCalculation) {
  const PricedLine& c = GetParam();
  CLinearPriceSettings settings;
  if (c.saleCoef > 0) {
    settings.kCoefs = 1;
    for (auto& row : settings.saleCoefs) row.fill(c.saleCoef);
  }
  CLinearLine line = c.make();
  ComputeLinearItem(line, 0, CLinearColumnFormulas::Parse(settings.columnFormulas), *s_tables,
                    settings);
  std::array<std::array<int, 4>, kLinearSlotCount> expected{};
  for (const auto& item : c.items) expected[item[0]] = {item[1], item[2], item[3], item[4]};
  for (int slot = 0; slot < kLinearSlotCount; ++slot)
    for (int column = 1; column <= 4; ++column)
      EXPECT_EQ(line.ItemValues[column - 1][slot], expected[slot][column - 1])
          << c.name << ", slot " << slot << ", column " << column;
  for (int column = 1; column <= 4; ++column)
    EXPECT_EQ(line.TotalValues[column - 1], c.totals[column - 1])
        << c.name << ", column " << column;
  EXPECT_EQ(line.ExtraValues[2], c.totals[2] / 11) << c.name << ": 10 % services on column 3";
}

INSTANTIATE_TEST_SUITE_P(SampleLines, LinearPricingTest,
                         testing::Values(PricedLine{"QMA",
                                                    LineQma,
                                                    0,
                                                    {{1, 1, 614, 614, 84},
                                                     {5, 2500, 3360, 3360, 450},
                                                     {7, 2, 409, 409, 54},
                                                     {15, 1, 44, 44, 6}},
                                                    {2504, 4427, 4869, 594}},
                                         PricedLine{"QWA",
                                                    LineQwa,
                                                    0,
                                                    {{2, 1, 371, 371, 60},
                                                     {5, 4000, 4153, 4153, 720},
                                                     {9, 3, 472, 472, 72},
                                                     {13, 3, 196, 196, 36},
                                                     {30, 4, 466, 466, 160}},
                                                    {4011, 5658, 6223, 1048}},
                                         PricedLine{"QDA",
                                                    LineQda,
                                                    0.9,
                                                    {{3, 1, 159, 143, 60},
                                                     {4, 1, 197, 177, 72},
                                                     {6, 1200, 844, 759, 216},
                                                     {30, 2, 148, 133, 80},
                                                     {31, 1, 78, 70, 40}},
                                                    {1205, 1426, 1410, 468}},
                                         PricedLine{"QPA",
                                                    LineQpa,
                                                    0,
                                                    {{3, 1, 229, 229, 60},
                                                     {5, 1500, 1012, 1012, 270},
                                                     {9, 2, 162, 162, 24},
                                                     {11, 7, 51, 51, 70},
                                                     {12, 4, 46, 46, 60},
                                                     {14, 500, 67, 67, 15},
                                                     {32, 3, 1335, 1335, 150}},
                                                    {2017, 2902, 3192, 649}},
                                         PricedLine{"checks",
                                                    LineChecks<PackSlot28(1, 1)>,
                                                    0,
                                                    {{28, 1, 0, 0, 0}, {29, 1, 0, 0, 0}},
                                                    {2, 0, 0, 0}},
                                         PricedLine{
                                             "no checks", LineChecks<-1>, 0, {}, {0, 0, 0, 0}}));

TEST(LinearPricingRulesTest, UnusedSlotsKeepTheirValueAndLeaveTheTotal) {
  CLinearTables tables;
  CLinearPriceSettings settings;
  ASSERT_TRUE(tables.OpenLinearTables(SampleFolders(), settings, 0));
  const CLinearColumnFormulas formulas = CLinearColumnFormulas::Parse(settings.columnFormulas);
  CLinearLine line = LineQma();
  ComputeLinearItem(line, 0, formulas, tables, settings);
  line.Slots[7] = -1;
  ComputeLinearItem(line, 2, formulas, tables, settings);
  EXPECT_EQ(line.ItemValues[1][7], 409);
  EXPECT_EQ(line.TotalValues[1], 4427 - 409);
  EXPECT_EQ(line.TotalValues[2], 4869) << "column 3 was not asked for";
}

TEST(LinearPricingRulesTest, UserColumnsAreHundredthsAndTotalsDoNotWrap) {
  CLinearTables tables;
  CLinearPriceSettings settings;
  ASSERT_TRUE(tables.OpenLinearTables(SampleFolders(), settings, 0));
  settings.columnFormulas[6] = "Q/4";
  settings.columnFormulas[7] = "PRICE()*1000000";
  CLinearLine line = LineQma();
  ComputeLinearItem(line, 0, CLinearColumnFormulas::Parse(settings.columnFormulas), tables,
                    settings);
  EXPECT_EQ(line.ItemValues[5][7], 50) << "2 elbows / 4 = 0.50";
  EXPECT_EQ(line.ItemValues[6][1], std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(line.TotalValues[6], std::numeric_limits<std::int32_t>::max()) << "summed in 64 bits";
}

// A catalogue folder with the sample tables and a LIN_FORM of the given QM rows.
std::string CatalogueWithForms(const CTempFolder& folder,
                               const std::vector<std::array<const char*, 3>>& rows) {
  namespace fs = std::filesystem;
  for (const char* name : {"LIN_REF.DBF", "REF_COFF.DBF", "LIN_COEF.DBF"})
    fs::copy_file(SampleFolders().catalogue + name, folder.File(name));
  tvr::platform::CDbfTable table;
  EXPECT_TRUE(table.Create(folder.File("LIN_FORM.DBF"), {{"PROD", 'C', 4},
                                                         {"FCT", 'C', 10},
                                                         {"PARAM", 'C', 10},
                                                         {"FORMULE", 'C', 60},
                                                         {"TEMPS", 'C', 60},
                                                         {"POIDS", 'C', 60}}));
  for (const auto& row : rows) {
    EXPECT_TRUE(table.Append());
    table.Assign(0, "QM");
    table.Assign(1, row[0]);
    table.Assign(3, row[1]);
    table.Assign(4, row[2]);
  }
  table.Close();
  return folder.Folder();
}

TEST(LinearPricingRulesTest, BadFormulasAreReportedOnceAndTheRestIsPriced) {
  const CEnglishTexts texts;
  CTempFolder folder("linear");
  const std::string catalogue = CatalogueWithForms(folder, {{"1", "EH", "EH"},
                                                            {"5", "ZZZ*2", ""},
                                                            {"7", "LP**2", ""},
                                                            {"15", "", ""},
                                                            {"15", "EX", "EX+"}});
  CRecordingNotifier notifier;
  CLinearTables tables(&notifier);
  CLinearPriceSettings settings;
  settings.columnFormulas[6] = "COEF4*Q";
  ASSERT_TRUE(tables.OpenLinearTables({catalogue, SampleFolders().article}, settings, 0));
  const CLinearColumnFormulas formulas = CLinearColumnFormulas::Parse(settings.columnFormulas);
  CLinearLine first = LineQma(), second = LineQma();
  ComputeLinearItem(first, 0, formulas, tables, settings);
  ComputeLinearItem(second, 0, formulas, tables, settings);
  EXPECT_EQ(notifier.messages.size(), 5u)
      << "ZZZ, LP**2, the empty formula, EX+ and COEF4, once each";
  EXPECT_EQ(second.ItemValues[1][1], 614) << "the sound rows are priced";
  EXPECT_EQ(second.ItemValues[1][5], 0);
  EXPECT_EQ(second.ItemValues[1][15], 44);
  EXPECT_EQ(second.ItemValues[3][15], 6) << "EX+ is read as far as it goes";
}

}  // namespace

namespace {

// The sale coefficient column of a QMA line whose sale coefficient is 0.5, by UseTC state.
struct SaleCoefficientCase {
  int useTc;
  int expected;  // "KCESSION*100" for slot 5
};

class LinearKCessionTest : public testing::TestWithParam<SaleCoefficientCase> {};

TEST_P(LinearKCessionTest, IsOneWheneverUseTcIsSet) {
  CLinearTables tables;
  CLinearPriceSettings settings;
  ASSERT_TRUE(tables.OpenLinearTables(SampleFolders(), settings, 0));
  settings.kCoefs = 1;
  settings.saleCoefs[kProductQMA][0] = 0.5;
  settings.useTc = GetParam().useTc;
  const CLinearFormula formula =
      CLinearColumnFormulas::Parse({"", "", "", "KCESSION*100"}).formulas[3];
  CLinearPriceBuffer buffer;
  EXPECT_EQ(EvaluatePriceFormula(LineQma(), 3, 5, buffer, formula, settings), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(States, LinearKCessionTest,
                         testing::Values(SaleCoefficientCase{0, 50}, SaleCoefficientCase{1, 100},
                                         SaleCoefficientCase{-1, 100}));

TEST(LinearPricingRulesTest, HugeStoredLengthsAndCountsSaturate) {
  CTempFolder folder("linear");
  const std::string catalogue = CatalogueWithForms(folder, {{"1", "[Length]", ""}});
  CLinearTables tables;
  CLinearPriceSettings settings;
  ASSERT_TRUE(tables.OpenLinearTables({catalogue, SampleFolders().article}, settings, 0));
  settings.columnFormulas[2] = "PRICE()";
  CLinearLine line = MakeLine(0, kProductQMA, 800, 13, 55);
  constexpr std::int32_t kTop = std::numeric_limits<std::int32_t>::max();
  line.Slots[1] = 1, line.Slots[5] = kTop, line.Slots[6] = kTop;
  line.Slots[9] = 5, line.Slots[13] = kTop;
  ComputeLinearItem(line, 0, CLinearColumnFormulas::Parse(settings.columnFormulas), tables,
                    settings);
  EXPECT_EQ(line.ItemValues[0][13], kTop) << "slot 13 plus the floors of slot 9";
  EXPECT_EQ(line.ItemValues[1][1], static_cast<std::int32_t>(2.0 * kTop * 0.01))
      << "[Length] of two full slots, in metres";
}

}  // namespace
