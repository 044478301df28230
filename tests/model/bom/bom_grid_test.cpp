#include "model/bom/bom_grid.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "model/bom/bom_test_support.h"
#include "support/case_table.h"

namespace {

class BOMGridTest : public BOMTestBase {
 protected:
  void SetUp() override {
    BOMTestBase::SetUp();
    grid.SetSource(&source);
    grid.SetView(&view);
    grid.SetItemPrefix("A");
  }

  CFakeBOMSource source;
  CFakeBOMView view;
  CBOMGrid grid;
};

// The default column records and view angles are pinned with the stored grid.
TEST_F(BOMGridTest, NewGridHasTitleRowEditLineAndThreeColumns) {
  CBOMGrid fresh;
  ASSERT_EQ(fresh.GetRowCount(), 2);
  ASSERT_EQ(fresh.GetColumnCount(), 3);
  EXPECT_EQ(fresh.GetFixedRowCount(), 1);
  EXPECT_EQ(fresh.GetFixedColumnCount(), 2);
  EXPECT_EQ(fresh.GetColumn(3), nullptr);
  EXPECT_EQ(fresh.GetColumn(-1), nullptr);
  EXPECT_EQ(fresh.GetCell(0, 0), nullptr);  // no title over the marker column
  EXPECT_EQ(fresh.GetCellText(0, 1), "MSG_7517");
  EXPECT_EQ(fresh.GetCellText(0, 2), "MSG_7501");
  EXPECT_EQ(fresh.GetTextCell(0, 2)->GetItemData(), 1u);
  EXPECT_EQ(fresh.GetCellText(1, 0), "*");
  EXPECT_EQ(fresh.GetCellText(1, 1), ".1");
  EXPECT_TRUE(fresh.IsTotalPage());
}

TEST_F(BOMGridTest, AddingMakesALineAboveANewEditLineOrMergesIntoItsLine) {
  ASSERT_TRUE(grid.AddRefQuantity("R1", 2));
  EXPECT_EQ(view.calls, (std::vector<std::pair<int, int>>{{0, 1}}));
  grid.AddRefQuantity("R2", 1);
  grid.AddRefQuantity(" R1 ", 5);  // blanks at the ends do not count
  EXPECT_EQ(BOMReferences(grid), (std::vector<std::string>{"R1", "R2"}));
  EXPECT_EQ(grid.GetLineQuantity(1), 7);
  EXPECT_EQ(source.quantities["R1"], 7);
  const std::vector<std::vector<std::string>> cells = {
      {"", "A.1", "R1"}, {"", "A.2", "R2"}, {"*", "A.3", ""}};
  for (int row = 1; row <= 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      EXPECT_EQ(grid.GetCellText(row, column), cells[row - 1][column]) << row << "/" << column;
    }
  }
}

TEST_F(BOMGridTest, QuantitiesBeyondSixteenBitsDoNotWrap) {
  grid.InsertColumn(2, kBOMKindQuantity, "Qty");
  grid.AddRefQuantity("R1", 65535);
  grid.AddRefQuantity("R1", 2);
  EXPECT_EQ(grid.GetLineQuantity(1), 65537);
  EXPECT_EQ(grid.GetLineFieldText(1, kBOMKindQuantity), "65537");
  EXPECT_EQ(grid.GetCellText(1, 3), "65537");
  EXPECT_EQ(source.quantities["R1"], 65537);
  EXPECT_TRUE(grid.RemoveRefQuantity("R1", 65536));
  EXPECT_EQ(grid.GetLineQuantity(1), 1);
}

TEST_F(BOMGridTest, RefusedQuantitiesChangeNothing) {
  grid.AddRefQuantity("R1", CBOMGrid::kMaxQuantity - 1);
  const struct {
    const char* reference;
    std::int64_t quantity;
    const char* fault;
  } cases[] = {
      {"R2", 0, "zero"},
      {"R2", -4, "negative"},
      {"R1", 2, "the total would pass the largest quantity"},
      {"R2", CBOMGrid::kMaxQuantity + 1, "a new line beyond the largest quantity"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(grid.AddRefQuantity(c.reference, c.quantity)) << c.fault;
    EXPECT_EQ(grid.GetRowCount(), 3) << c.fault;
    EXPECT_EQ(grid.GetLineQuantity(1), CBOMGrid::kMaxQuantity - 1) << c.fault;
  }
  EXPECT_TRUE(grid.AddRefQuantity("R1", 1));
  EXPECT_EQ(grid.GetLineQuantity(1), CBOMGrid::kMaxQuantity);
}

TEST_F(BOMGridTest, RemovingQuantities) {
  const struct {
    const char* name;
    const char* reference;
    std::int64_t amount;
    bool result;
    std::vector<std::string> lines;
    std::int64_t quantityOfFirst;
  } cases[] = {
      {"part of a line", "R1", 2, true, {"R1", "R2", " "}, 3},
      {"amount above the quantity removes the line", "R1", 9, true, {"R2", " "}, 1},
      {"exactly the quantity", "R1", 5, true, {"R2", " "}, 1},
      {"zero removes nothing", "R1", 0, false, {"R1", "R2", " "}, 5},
      {"negative removes nothing", "R1", -1, false, {"R1", "R2", " "}, 5},
      {"unknown reference", "R9", 1, false, {"R1", "R2", " "}, 5},
      {"blank reference removes its whole line", "  ", 1, true, {"R1", "R2"}, 5},
      {"empty reference finds the blank line too", "", 0, true, {"R1", "R2"}, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto page = MakeBOMPage(source);
    page->AddRefQuantity("R1", 5);
    page->AddRefQuantity("R2", 1);
    page->AddRefQuantity(" ", 4);
    EXPECT_EQ(page->RemoveRefQuantity(c.reference, c.amount), c.result);
    EXPECT_EQ(BOMReferences(*page), c.lines);
    EXPECT_EQ(page->GetLineQuantity(1), c.quantityOfFirst);
  }
}

TEST_F(BOMGridTest, RemovingTheLastLineOrClearingLeavesTheEmptyGridAndTellsTheSource) {
  for (const bool clear : {false, true}) {
    SCOPED_TRACE(clear ? "clear" : "remove");
    CFakeBOMSource run;
    auto page = MakeBOMPage(run, {"R1", "R2"});
    page->AddRefQuantity("R1", 1);
    run.modified = 0;
    if (clear) {
      EXPECT_TRUE(page->ClearLines());
      EXPECT_EQ(run.modified, 1);
    } else {
      ASSERT_TRUE(page->RemoveRefQuantity("R2", 1));
      ASSERT_TRUE(page->RemoveRefQuantity("R1", 2));
      EXPECT_FALSE(page->RemoveRefQuantity("R1", 1));
    }
    EXPECT_EQ(page->GetRowCount(), 2);
    EXPECT_EQ(page->GetCellText(1, 0), "*");
    EXPECT_EQ(page->GetCellText(1, 1), "A.1");
    EXPECT_EQ(run.quantities, (std::map<std::string, std::int64_t>{{"R1", 0}, {"R2", 0}}));
    EXPECT_EQ(page->FindLine("R1"), -1);
  }
}

TEST_F(BOMGridTest, FindLineComparesWholeTextsOnARunPageAndBareOnesOnTheTotalPage) {
  const std::string grouped = "R1 \nGroup=2";
  grid.AddRefQuantity("R1", 1);
  EXPECT_EQ(grid.FindLine(grouped), -1);
  EXPECT_EQ(grid.FindLine("  R1"), 1);
  grid.AddRefQuantity(grouped, 1);
  EXPECT_EQ(grid.FindLine(grouped), 2);

  CBOMGrid total;
  total.AddRefQuantity("R1", 1);
  EXPECT_EQ(total.FindLine(grouped), 1);
  total.AddRefQuantity("R2 \nGroup=3", 2);
  total.AddRefQuantity("R2 \nGroup=4!", 1);
  EXPECT_EQ(total.GetRowCount(), 4);  // the groups merged into one line
  EXPECT_EQ(total.GetLine(2)->reference, "R2");
  EXPECT_EQ(total.GetLineQuantity(2), 3);
  EXPECT_EQ(total.GetCellText(2, 2), "R2");
}

TEST_F(BOMGridTest, SwitchingBetweenPageKindsReKeysTheIndex) {
  CBOMGrid page;
  page.AddRefQuantity("R1", 1);
  page.SetSource(&source);
  page.AddRefQuantity("R1 \nGroup=2", 1);
  EXPECT_EQ(page.GetRowCount(), 4);
  page.SetSource(nullptr);
  EXPECT_EQ(page.FindLine("R1 \nGroup=5"), 1);
}

TEST_F(BOMGridTest, MoveLineKeepsTheEditLineLast) {
  const struct {
    int from, to;
    bool result;
    std::vector<std::string> lines;
  } cases[] = {
      {1, 3, true, {"R2", "R3", "R1"}},   {3, 1, true, {"R3", "R1", "R2"}},
      {2, 2, true, {"R1", "R2", "R3"}},   {0, 2, false, {"R1", "R2", "R3"}},  // the title row
      {2, 0, false, {"R1", "R2", "R3"}},  {4, 1, false, {"R1", "R2", "R3"}},  // the edit line
      {1, 4, false, {"R1", "R2", "R3"}},  {5, 1, false, {"R1", "R2", "R3"}},  // the row count
      {-1, 1, false, {"R1", "R2", "R3"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " to " + std::to_string(c.to));
    auto page = MakeBOMPage(source, {"R1", "R2", "R3"});
    EXPECT_EQ(page->MoveLine(c.from, c.to), c.result);
    EXPECT_EQ(BOMReferences(*page), c.lines);
    EXPECT_EQ(page->FindLine(c.lines[0]), 1);
  }
}

TEST_F(BOMGridTest, RenameLineGivesTheLineTheNewText) {
  grid.AddRefQuantity("R1", 2);
  source.modified = 0;
  EXPECT_FALSE(grid.RenameLine("R9", "R5"));
  EXPECT_EQ(source.modified, 0);
  EXPECT_TRUE(grid.RenameLine("R1", "R5"));
  EXPECT_EQ(grid.FindLine("R1"), -1);
  EXPECT_EQ(grid.FindLine("R5"), 1);
  EXPECT_EQ(grid.GetCellText(1, 2), "R5");
  EXPECT_EQ(source.modified, 1);
}

TEST_F(BOMGridTest, LineFieldsByKind) {
  source.Put("R1 \nGroup=5a", "PrixU", "12.50");
  grid.AddRefQuantity("X", 1);
  grid.AddRefQuantity("R1 \nGroup=5a", 4);
  for (const CCaseRow& row : ReadCaseTable("model/bom_line_fields.tsv", 4)) {
    SCOPED_TRACE(row.where);
    const std::optional<std::string> text =
        grid.GetLineFieldText(static_cast<int>(row.Int(0)), static_cast<int>(row.Int(1)));
    EXPECT_EQ(text.has_value(), row.Flag(2));
    if (text) {
      EXPECT_EQ(*text, row[3]);
    }
  }
}

TEST_F(BOMGridTest, TheTotalPageReadsItsValuesFromItsCells) {
  CBOMGrid total;
  total.AddRefQuantity("R1", 1);
  total.InsertColumn(2, kBOMKindTotalPrice, "Total");
  total.SetCell(1, 3, "99.00", 2);
  EXPECT_EQ(total.GetLineFieldText(1, kBOMKindTotalPrice), "99.00");
  EXPECT_EQ(total.GetLineFieldText(1, kBOMKindUnitPrice), "");
  total.NumberLines(1);  // a refresh keeps what the view wrote
  EXPECT_EQ(total.GetCellText(1, 3), "99.00");
}

TEST_F(BOMGridTest, TheTotalPageDoesNotMarkTotalsStale) {
  CBOMGrid total;
  view.firstPage = &total;
  EXPECT_EQ(grid.GetTotalPage(), &total);
  total.SetView(&view);
  total.AddRefQuantity("R1", 1);
  total.RemoveRefQuantity("R1", 1);
  EXPECT_TRUE(view.calls.empty());
  grid.SetView(nullptr);
  EXPECT_EQ(grid.GetTotalPage(), nullptr);
}

}  // namespace
