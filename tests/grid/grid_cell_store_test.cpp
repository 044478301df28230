#include "grid/grid_cell_store.h"
#include "grid/gap_vector.h"
#include "grid/grid_cell_format.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

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

// Random bursts of inserts and removals at random places, and resizes, on owning
// elements: every step must leave the same sequence as a plain vector, nothing lost and
// nothing left owned in the gap.
TEST(GapVectorTest, BurstsAnywhereKeepTheSequenceOfAPlainVector) {
  std::mt19937 random(11);
  CGapVector<std::vector<int>> gapped;  // owning, and emptied by a move onto itself
  std::vector<int> plain;
  int next = 0;
  for (int burst = 0; burst < 400; ++burst) {
    const int kind = static_cast<int>(random() % 5);
    const std::size_t at = plain.empty() ? 0 : random() % (plain.size() + 1);
    for (int step = static_cast<int>(random() % 40); step >= 0; --step) {
      if (kind <= 1) {
        const std::size_t place = std::min(at, plain.size());
        gapped.insert(place, std::vector<int>{next});
        plain.insert(plain.begin() + static_cast<std::ptrdiff_t>(place), next++);
      } else if (kind == 2 && !plain.empty()) {
        const std::size_t place = std::min(at, plain.size() - 1);
        gapped.erase(place);
        plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(place));
      }
    }
    if (kind == 3) {
      const std::size_t count = random() % (plain.size() + 8);
      gapped.resize(count);
      plain.resize(count, -1);
    }
    ASSERT_EQ(gapped.size(), plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
      ASSERT_EQ(gapped[i].empty() ? -1 : gapped[i][0], plain[i])
          << "burst " << burst << " at " << i;
    }
  }
}

}  // namespace
