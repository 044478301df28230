#include <gtest/gtest.h>

#include <algorithm>

#include "linear/linear_line_list.h"
#include "linear/linear_price_table.h"
#include "linear/linear_slots.h"
#include "linear/linear_test_support.h"

namespace {

// The designations and values of every row of the line's table, one text per row.
std::vector<std::string> Listing(const CLinearPriceTable& table) {
  std::vector<std::string> rows;
  std::string text;
  const int count = table.FormatDesignation(CLinearPriceTable::kCountRows, 0, text);
  for (int row = 1; row <= count; ++row) {
    table.FormatDesignation(row, 0, text);
    std::string listing = text;
    for (int column = 1; column <= 5; ++column) {
      table.FormatDesignation(row, column, text);
      listing += "|" + text;
    }
    rows.push_back(listing);
  }
  return rows;
}

TEST(LinearPriceTableTest, RowsOfAPricedLine) {
  const CEnglishTexts texts;
  CLinearLine line = MakeLine(1, kProductQWA, 400, 13, 52);
  line.Slots[2] = 1, line.Slots[5] = 1234, line.Slots[9] = 3, line.Slots[10] = 350,
  line.Slots[29] = 2;
  line.Slots[30] = PackBoxSlot({4, 40, 63, 1, 0});
  line.ItemValues[0][5] = 1234, line.ItemValues[1][5] = 1200000, line.ItemValues[1][2] = 999;
  line.ItemValues[0][9] = 3, line.ItemValues[4][9] = 1705, line.ItemValues[0][30] = 4;
  line.ExtraValues[2] = 120;
  const CLinearPriceTable::Settings settings{10.0, ',', false, {true, true, true, true}};
  const CLinearPriceTable table(line, settings);
  EXPECT_EQ(Listing(table), (std::vector<std::string>{
                                "Upstream end|||||",
                                "Switchboard connection|0|1 998|0||0,00",
                                "Run|||||",
                                "Riser lengths|24,68 m|2 400 000|0||0,00",
                                "Floors every 3,50 m|6|0|0||34,10",
                                "Tap-off boxes|||||",
                                "Fuse boxes, 63 A, IP40|8|0|0||0,00",
                                "Services|||||",
                                "Services and supervision|||240||",
                            }));
  std::string text;
  EXPECT_EQ(table.FormatDesignation(0, 2, text), CLinearPriceTable::kNoValue);
  EXPECT_EQ(text, "Gross price");
  EXPECT_EQ(table.FormatDesignation(4, 2, text, true), 2400000);
  EXPECT_EQ(text, "2400000");
  EXPECT_EQ(table.FormatDesignation(-3, 0, text), CLinearPriceTable::kMultipliedTotal);
  EXPECT_EQ(text, "Total times 2");
  EXPECT_EQ(table.FormatDesignation(2, 8, text), CLinearPriceTable::kNoRow);
  EXPECT_EQ(table.FormatDesignation(-4, 0, text), CLinearPriceTable::kNoRow);
}

TEST(LinearPriceTableTest, BoxDesignationsSpaceTheirParts) {
  const CEnglishTexts texts;
  const struct {
    const char* fault;
    CBoxSlot box;
    const char* designation;
  } cases[] = {
      {"parts run together", {4, 40, 63, 1, 0}, "Fuse boxes, 63 A, IP40"},
      {"the line's own IP told again", {4, 54, 63, 1, 0}, "Fuse boxes, 63 A"},
      {"a rating of none told", {4, 40, 0, 1, 0}, "Fuse boxes, IP40"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    CLinearLine line = MakeLine(1, kProductQWA, 400, 13, 52);
    line.Slots[30] = PackBoxSlot(c.box);
    line.ItemValues[0][30] = c.box.quantity;
    const std::vector<std::string> rows = Listing(CLinearPriceTable(line, {}));
    const auto box = std::find_if(rows.begin(), rows.end(), [](const std::string& row) {
      return row.rfind("Fuse boxes", 0) == 0;
    });
    ASSERT_NE(box, rows.end());
    EXPECT_EQ(box->substr(0, box->find('|')), c.designation);
  }
}

TEST(LinearPriceTableTest, EmptyLinesAndTheServicesSwitch) {
  const CEnglishTexts texts;
  CLinearLine line = MakeLine(0, kProductQMA, 800, 13, 55);
  std::string text;
  CLinearPriceTable::Settings settings{0.0, '.', false, {true, true, true, true}};
  EXPECT_EQ(
      CLinearPriceTable(line, settings).FormatDesignation(CLinearPriceTable::kCountRows, 0, text),
      0);
  line.Slots[5] = 0;
  EXPECT_EQ(Listing(CLinearPriceTable(line, settings)),
            (std::vector<std::string>{"Run|||||", "Straight lengths|0 m|0|0||0.00"}));
}

TEST(LinearPriceTableTest, AllLinesTotalCountsIdenticalLines) {
  CLinearLineList list;
  for (int copies : {1, 3}) {
    list.BeginNewLine(0);
    list.Working().TotalValues[1] = 100;
    list.Working().Slots[29] = copies;
    list.SaveWorkingAsNew("l");
  }
  const CLinearPriceTable table(list.Line(0), {}, &list, CLinearLineList::kAllLines);
  std::string text;
  EXPECT_EQ(table.FormatDesignation(-2, 2, text), 400);
  EXPECT_EQ(CLinearPriceTable::FormatMoney(999), "999");
  EXPECT_EQ(CLinearPriceTable::FormatMoney(1000), "1 000");
}

// The three total rows of a 25 m QMA line twice over, in a project of two lines: each
// row says how many lines it covers, only the multiplied one is multiplied, and none adds
// metres to pieces.
TEST(LinearPriceTableTest, TotalRowsCountTheirLinesAndLeaveQuantitiesOut) {
  const CEnglishTexts texts;
  CLinearLineList list;
  for (int copies : {2, 1}) {
    list.BeginNewLine(0);
    CLinearLine& line = list.Working();
    line.Product = kProductQMA, line.Slots[5] = 2500, line.Slots[7] = 4, line.Slots[29] = copies;
    line.ItemValues[0][5] = 2500, line.ItemValues[0][7] = 4;
    line.TotalValues[0] = 2504, line.TotalValues[2] = 1000;
    list.SaveWorkingAsNew("l");
  }
  const CLinearPriceTable table(list.Line(0), {}, &list, CLinearLineList::kAllLines);
  struct TotalRow {
    int row;
    const char* label;
    int sale;  // column 3
  };
  for (const TotalRow& expected :
       {TotalRow{-1, "Total for 1 line", 1000}, TotalRow{-3, "Total times 2", 2000},
        TotalRow{-2, "Total for 3 lines", 3000}}) {
    std::string text;
    table.FormatDesignation(expected.row, 0, text);
    EXPECT_EQ(text, expected.label);
    EXPECT_EQ(table.FormatDesignation(expected.row, 3, text, true), expected.sale) << text;
    EXPECT_EQ(table.FormatDesignation(expected.row, 1, text), CLinearPriceTable::kNoValue)
        << expected.label << ": " << text;
  }
}

TEST(LinearPriceTableTest, TickedBracketsAndJointsAreListed) {
  const CEnglishTexts texts;
  CLinearLine line = MakeLine(0, kProductQMA, 800, 13, 55);
  line.Slots[5] = 1000, line.Slots[28] = PackSlot28(1, 1);
  line.ItemValues[0][5] = 1000, line.ItemValues[0][28] = 1, line.ItemValues[0][29] = 1;
  line.ItemValues[1][28] = 450, line.ItemValues[1][29] = 900;
  const CLinearPriceTable::Settings settings{0.0, '.', false, {true, true, true, true}};
  EXPECT_EQ(Listing(CLinearPriceTable(line, settings)),
            (std::vector<std::string>{"Run|||||", "Straight lengths|10 m|0|0||0.00",
                                      "Fixing brackets|1|450|0||0.00",
                                      "Expansion joints|1|900|0||0.00"}));
  line.Slots[28] = PackSlot28(0, 1);
  EXPECT_EQ(Listing(CLinearPriceTable(line, settings)).back(), "Expansion joints|1|900|0||0.00");
  EXPECT_EQ(Listing(CLinearPriceTable(line, settings)).size(), 3u) << "brackets not ticked";
}

}  // namespace
