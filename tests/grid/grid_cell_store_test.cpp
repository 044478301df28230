#include "grid/grid_cell_store.h"

#include <gtest/gtest.h>

#include "grid/grid_cell_format.h"

namespace {

std::string TextAt(const CGridCellStore& store, int row, int column) {
  const auto* cell = dynamic_cast<const CGridCellFormat*>(store.GetCell(row, column));
  return cell ? cell->GetText() : std::string("-");
}

// A store whose cell (r, c) reads "r,c".
CGridCellStore Labelled(int rows, int columns) {
  CGridCellStore store(rows, columns);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      store.SetCell(r, c,
                    std::make_unique<CGridCellFormat>(std::to_string(r) + "," + std::to_string(c)));
    }
  }
  return store;
}

TEST(GridCellStoreTest, OutOfRangeIndexesAreRefusedAndChangeNothing) {
  struct Case {
    const char* name;
    int row, column;
  };
  const Case cases[] = {
      {"negative row", -1, 0},   {"negative column", 0, -1},    {"row past end", 3, 0},
      {"column past end", 0, 2}, {"far negative", -100000, -5},
  };
  CGridCellStore store = Labelled(3, 2);
  for (const Case& c : cases) {
    EXPECT_EQ(store.GetCell(c.row, c.column), nullptr) << c.name;
    EXPECT_FALSE(store.SetCell(c.row, c.column, std::make_unique<CGridCell>())) << c.name;
  }
  EXPECT_FALSE(store.InsertRow(-1));
  EXPECT_FALSE(store.InsertRow(4));
  EXPECT_FALSE(store.InsertColumn(3));
  EXPECT_FALSE(store.RemoveRow(3));
  EXPECT_FALSE(store.RemoveRow(-1));
  EXPECT_FALSE(store.RemoveColumn(-1));
  EXPECT_FALSE(store.RemoveColumn(2));
  EXPECT_EQ(store.GetRowCount(), 3);
  EXPECT_EQ(store.GetColumnCount(), 2);
  EXPECT_EQ(TextAt(store, 2, 1), "2,1");
}

TEST(GridCellStoreTest, InsertAndRemoveMoveTheCells) {
  CGridCellStore store = Labelled(3, 2);
  ASSERT_TRUE(store.InsertRow(1));
  EXPECT_EQ(TextAt(store, 0, 0), "0,0");
  EXPECT_EQ(TextAt(store, 1, 0), "-");
  EXPECT_EQ(TextAt(store, 2, 1), "1,1");
  EXPECT_EQ(TextAt(store, 3, 1), "2,1");
  ASSERT_TRUE(store.InsertRow(4)) << "the count appends";
  EXPECT_EQ(store.GetRowCount(), 5);
  ASSERT_TRUE(store.InsertColumn(0));
  EXPECT_EQ(TextAt(store, 0, 1), "0,0");
  EXPECT_EQ(store.GetCell(0, 0), nullptr);
  ASSERT_TRUE(store.RemoveRow(0));
  EXPECT_EQ(TextAt(store, 0, 1), "-");
  EXPECT_EQ(TextAt(store, 1, 1), "1,0");
  ASSERT_TRUE(store.RemoveColumn(1));
  EXPECT_EQ(TextAt(store, 1, 1), "1,1");
}

TEST(GridCellStoreTest, SettingCountsAddsAndRemovesAtTheEnd) {
  CGridCellStore store = Labelled(3, 3);
  store.SetRowCount(2);
  store.SetColumnCount(4);
  EXPECT_EQ(TextAt(store, 1, 2), "1,2");
  EXPECT_EQ(store.GetCell(1, 3), nullptr) << "new slots hold no cell";
  EXPECT_EQ(store.GetCell(2, 0), nullptr);
  store.SetRowCount(-4);
  EXPECT_EQ(store.GetRowCount(), 0);
  EXPECT_EQ(store.GetColumnCount(), 4);
}

}  // namespace
