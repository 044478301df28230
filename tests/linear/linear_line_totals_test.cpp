#include <gtest/gtest.h>

#include <functional>

#include "linear/linear_price_table.h"
#include "linear/linear_pricing.h"
#include "linear/linear_slots.h"
#include "linear/linear_test_support.h"

namespace {

// A line of one range as a user enters it: lengths, fixings ticked, an IP54 length or
// fixing brackets where the range offers them, and the items that must be priced.
struct RangeLine {
  const char* name;
  std::function<CLinearLine()> make;
  std::vector<int> pricedItems;  // each must show a quantity and a price
};

CLinearLine WithRun(CLinearLine line, int lengthSlot, int centimetres) {
  line.Slots[lengthSlot] = centimetres, line.Slots[7] = 1, line.Slots[11] = 1;
  return line;
}

CLinearLine Qma() {  // 180.5 m with brackets and expansion joints, fed by a transformer
  CLinearLine line = WithRun(MakeLine(0, kProductQMA, 1600, 13, 55), 5, 18050);
  line.Slots[1] = 1, line.Slots[15] = 1, line.Slots[28] = PackSlot28(1, 1);
  return line;
}

CLinearLine Qmc() {  // 42 m riser with brackets, over floors
  CLinearLine line = WithRun(MakeLine(1, kProductQMC, 1600, 13, 55), 5, 4200);
  line.Slots[3] = 1, line.Slots[9] = 3, line.Slots[10] = 350, line.Slots[28] = PackSlot28(1, 0);
  return line;
}

CLinearLine Qwa() {  // IP54 riser with 20 m of IP54 length
  CLinearLine line = WithRun(MakeLine(2, kProductQWA, 400, 13, 54), 6, 4000);
  line.Slots[2] = 1, line.Slots[14] = 2000;
  return line;
}

CLinearLine Qpa() {  // an IP55 line outside APOD mode with 20 m of IP54 length
  CLinearLine line = WithRun(MakeLine(1, kProductQPA, 250, 13, 55), 5, 3000);
  line.Slots[3] = 1, line.Slots[9] = 2, line.Slots[10] = 300, line.Slots[12] = 1;
  line.Slots[14] = 2000, line.Slots[30] = PackBoxSlot({2, 40, 63, 1, 0});
  return line;
}

CLinearLine Qjf() {  // a horizontal QJF line
  CLinearLine line = WithRun(MakeLine(2, kProductQJF, 1000, 13, 31), 5, 2500);
  line.Slots[2] = 1, line.Slots[6] = 0, line.Slots[30] = PackBoxSlot({1, 40, 630, 1, 0});
  return line;
}

CLinearLine Qda() {  // the tester's QDA 100 A line: cables, 12.5 m, 1 change, 6 QD boxes
  CLinearLine line = WithRun(MakeLine(2, kProductQDA, 100, 13, 55), 6, 1250);
  line.Slots[3] = 1, line.Slots[4] = 0, line.Slots[24] = 10;
  line.Slots[30] = PackBoxSlot({6, 40, 16, 1, 0});
  return line;
}

CLinearLine QdaHalfMetre() {  // fixings every 0.5 m: twice as many
  CLinearLine line = Qda();
  line.Slots[24] = 5;
  return line;
}

CLinearLine Qya() {  // a lighting line, fixings every 1.5 m
  CLinearLine line = WithRun(MakeLine(3, kProductQYA, 25, 13, 52), 6, 3000);
  line.Slots[3] = 1, line.Slots[24] = 15, line.Slots[125] = 0;
  return line;
}

class LinearLineTotalsTest : public testing::TestWithParam<RangeLine> {
 protected:
  static void SetUpTestSuite() {
    s_tables = new CLinearTables();
    CLinearPriceSettings settings;
    ASSERT_TRUE(s_tables->OpenLinearTables(SampleFolders(), settings, 0));
  }
  static void TearDownTestSuite() { delete s_tables; }
  static CLinearTables* s_tables;
};
CLinearTables* LinearLineTotalsTest::s_tables = nullptr;

TEST_P(LinearLineTotalsTest, RowsAddUpToTheTotalAndFixingsAndIp54ArePriced) {
  const CEnglishTexts texts;
  const RangeLine& c = GetParam();
  CLinearPriceSettings settings;
  settings.kCoefs = 1;
  for (auto& row : settings.saleCoefs) row.fill(0.8);
  CLinearLine line = c.make();
  ComputeLinearItem(line, 0, CLinearColumnFormulas::Parse(settings.columnFormulas), *s_tables,
                    settings);
  const CLinearPriceTable table(line, CLinearPriceTable::Settings{});
  std::string text;
  const int rows = table.FormatDesignation(CLinearPriceTable::kCountRows, 0, text);
  for (int column : {2, 3, 5}) {
    std::int64_t shown = 0;
    for (int row = 1; row <= rows; ++row)
      shown += std::max(table.FormatDesignation(row, column, text, true), 0);
    EXPECT_EQ(shown, table.FormatDesignation(-1, column, text, true))
        << c.name << ", column " << column;
  }
  for (int item : c.pricedItems) {
    bool listed = false;
    for (const CLinearPriceTable::Row& row : table.Rows()) listed = listed || row.item == item;
    EXPECT_TRUE(listed) << c.name << ", item " << item << " has a row";
    EXPECT_GT(line.ItemValues[0][item], 0) << c.name << ", item " << item << " quantity";
    EXPECT_GT(line.ItemValues[1][item], 0) << c.name << ", item " << item << " gross price";
    EXPECT_GT(line.ItemValues[2][item], 0) << c.name << ", item " << item << " sale price";
  }
}

INSTANTIATE_TEST_SUITE_P(EveryRange, LinearLineTotalsTest,
                         testing::Values(RangeLine{"QMA", Qma, {1, 5, 7, 11, 15, 28}},
                                         RangeLine{"QMC", Qmc, {3, 5, 7, 11, 28}},
                                         RangeLine{"QWA", Qwa, {2, 6, 7, 11, 14}},
                                         RangeLine{"QPA", Qpa, {3, 5, 7, 9, 11, 12, 14, 30}},
                                         RangeLine{"QJF", Qjf, {2, 5, 7, 11, 30}},
                                         RangeLine{"QDA", Qda, {3, 6, 7, 11, 30}},
                                         RangeLine{"QDA every 0.5 m", QdaHalfMetre, {11}},
                                         RangeLine{"QYA", Qya, {11}}));

// The fixings follow the length and the fixing step the user chose.
TEST(LinearLineTotalsRulesTest, FixingsAndBracketsFollowTheLength) {
  CLinearTables tables;
  CLinearPriceSettings settings;
  ASSERT_TRUE(tables.OpenLinearTables(SampleFolders(), settings, 0));
  const CLinearColumnFormulas formulas = CLinearColumnFormulas::Parse(settings.columnFormulas);
  auto priced = [&](CLinearLine line) {
    ComputeLinearItem(line, 0, formulas, tables, settings);
    return line;
  };
  EXPECT_EQ(priced(Qda()).ItemValues[0][11], 12) << "12.5 m, one every metre";
  EXPECT_EQ(priced(QdaHalfMetre()).ItemValues[0][11], 25);
  EXPECT_EQ(priced(Qya()).ItemValues[0][11], 20) << "30 m, one every 1.5 m";
  CLinearLine shorter = Qma();
  shorter.Slots[5] = 4200;
  EXPECT_GT(priced(Qma()).ItemValues[1][28], 4 * priced(shorter).ItemValues[1][28])
      << "the brackets of 180.5 m cost more than four times those of 42 m";
  EXPECT_EQ(priced(Qda()).ItemValues[1][24], 0) << "the fixing step is a choice, not an item";
}

}  // namespace
