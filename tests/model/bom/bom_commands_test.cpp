#include "model/bom/bom_grid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/bom/bom_test_support.h"

namespace {

class BOMCommandsTest : public BOMTestBase {
 protected:
  void SetUp() override {
    BOMTestBase::SetUp();
    page = MakeBOMPage(source, {"R1", "R2", "R3"});
    page->SetView(&view);
    page->SetPrompter(&prompter);
    other = MakeBOMPage(otherSource, {"X"});
    other->SetView(&view);
    view.pages = {&total, page.get(), other.get()};
    view.firstPage = &total;
  }
  std::vector<int> Kinds(const CBOMGrid& grid) const {
    std::vector<int> kinds;
    for (int column = 0; column < grid.GetColumnCount(); ++column)
      kinds.push_back(grid.GetColumn(column)->kind);
    return kinds;
  }

  CFakeBOMSource source, otherSource;
  CFakeBOMView view;
  CFakeBOMPrompter prompter;
  CBOMGrid total;
  std::unique_ptr<CBOMGrid> page, other;
};

// Lines that elements use are only informed about (quantity = count) or reduced to the
// count after OK; other lines go.
TEST_F(BOMCommandsTest, DeletingLinesKeepsWhatElementsUse) {
  const struct {
    const char* guards;
    int used, extra;
    std::vector<bool> answers;
    int questions;
    bool cancel;
    int left;  // the line's quantity afterwards, 0: gone
  } rows[] = {{"added by hand", 0, 4, {}, 0, false, 0},
              {"quantity equal to the count", 5, 0, {}, 1, false, 5},
              {"more than the count, OK", 2, 3, {true}, 1, true, 2},
              {"more than the count, Cancel", 2, 3, {false}, 1, true, 5}};
  for (const auto& row : rows) {
    page->ClearLines();
    prompter.questions.clear();
    prompter.answers = row.answers;
    source.counts["R"] = row.used;
    page->AddRefQuantity("R", row.used + row.extra);
    page->AddRefQuantity("S", 1);
    const int modified = source.modified;
    page->DeleteLines({page->FindLine("R"), page->FindLine("S"), page->GetRowCount() - 1, 0});
    ASSERT_EQ(prompter.questions.size(), static_cast<std::size_t>(row.questions)) << row.guards;
    if (row.questions > 0) {
      EXPECT_EQ(prompter.questions[0].cancel, row.cancel) << row.guards;
    }
    const int line = page->FindLine("R");
    EXPECT_EQ(line < 0 ? 0 : page->GetLineQuantity(line), row.left) << row.guards;
    EXPECT_EQ(page->FindLine("S"), -1) << row.guards;
    EXPECT_GT(source.modified, modified) << row.guards;
  }
}

// Column changes reach every other page, the total page included; transient columns
// stay where they are.
TEST_F(BOMCommandsTest, ColumnCommandsCopyTheColumnsToTheOtherPages) {
  const int added = page->InsertColumnForEdit(2);
  ASSERT_EQ(added, 3);
  CBOMCellProps props = page->GetCellProps(CBOMCellProps::kColumn, 0, added);
  EXPECT_EQ(props.kind, kBOMKindRef);
  props.kind = kBOMKindUnitPrice;
  props.text = "Price";
  props.alignment = 2;
  props.columnWidth = "77";
  page->ApplyCellProps(CBOMCellProps::kColumn, 0, added, 0, added, props);
  for (const CBOMGrid* grid : std::vector<const CBOMGrid*>{page.get(), other.get(), &total}) {
    EXPECT_EQ(Kinds(*grid),
              (std::vector<int>{kBOMKindNone, kBOMKindNone, kBOMKindRef, kBOMKindUnitPrice}));
    EXPECT_EQ(grid->GetColumn(3)->title, "Price");
    EXPECT_EQ(grid->GetColumn(3)->alignment, 2);
    EXPECT_EQ(grid->GetColumnWidth(3), 77);
    EXPECT_FALSE(grid->GetColumn(3)->autoWidth);
  }
  EXPECT_FALSE(page->DeleteColumns({0, 1}));
  EXPECT_TRUE(page->DeleteColumns({2, 3}));
  EXPECT_EQ(Kinds(*other), (std::vector<int>{kBOMKindNone, kBOMKindNone}));
}

TEST_F(BOMCommandsTest, ExportOptionsOfAColumn) {
  const struct {
    int column;
    const char* width;
    bool csv, excel;
    int exportWidth, csvFlag, excelFlag;
  } rows[] = {{2, "300", true, false, 300, 1, 0},
              {2, "0", false, true, 0, 0, 1},
              {2, "-40", true, true, 0, 1, 1},
              {2, "abc", true, true, 0, 1, 1},
              {1, "100", true, true, 100, 0, 1}};
  for (const auto& row : rows) {
    ASSERT_TRUE(page->ApplyColumnOptions(row.column, row.width, row.csv, row.excel));
    const CBOMColumn* column = page->GetColumn(row.column);
    EXPECT_EQ(column->exportWidth, row.exportWidth) << row.width;
    EXPECT_EQ(column->csvFlag, row.csvFlag) << row.width;
    EXPECT_EQ(column->excelFlag, row.excelFlag) << row.width;
  }
  EXPECT_FALSE(page->ApplyColumnOptions(0, "100", true, true));
  EXPECT_FALSE(page->ApplyColumnOptions(9, "100", true, true));
}

// Sizes: the auto word fits, a number fixes, an empty text changes nothing.
TEST_F(BOMCommandsTest, RowAndGridSizes) {
  CBOMCellProps props = page->GetCellProps(CBOMCellProps::kRow, 1, 2);
  EXPECT_EQ(props.rowHeight, "MSG_7510");
  props.rowHeight = "40";
  page->ApplyCellProps(CBOMCellProps::kRows, 1, 0, 2, 0, props);
  EXPECT_EQ(page->GetRowHeight(1), 40);
  EXPECT_EQ(page->GetRowHeight(2), 40);
  EXPECT_FALSE(page->GetLine(2)->autoRowHeight);
  EXPECT_EQ(page->GetCellProps(CBOMCellProps::kCell, 1, 2).rowHeight, "40");
  props.rowHeight = "";
  page->ApplyCellProps(CBOMCellProps::kRow, 1, 0, 1, 0, props);
  EXPECT_EQ(page->GetRowHeight(1), 40);
  CBOMCellProps grid = page->GetCellProps(CBOMCellProps::kGrid, 0, 0);
  EXPECT_EQ(grid.text, "A");
  grid.fontChosen = true;
  grid.font.faceName = "Liberation Serif";
  grid.font.height = -20;
  grid.alignment = 2;
  page->ApplyCellProps(CBOMCellProps::kGrid, 0, 0, 0, 0, grid);
  EXPECT_TRUE(page->GetLine(1)->autoRowHeight);
  EXPECT_EQ(page->GetDefaultLogFont().faceName, "Liberation Serif");
  EXPECT_EQ(page->GetCellLogFont(1, 2).faceName, "Liberation Serif");
  EXPECT_EQ(page->GetColumn(2)->alignment, 2);
  EXPECT_EQ(page->GetTextCell(0, 2)->GetItemData(), 1u);  // titles stay centred
}

}  // namespace
