// Rows of text cells appended at once, against the same rows inserted one by one.

#include "grid/grid_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CCountingListener : public CGridListener {
 public:
  void GridInvalidated() override {}
  void GridLayoutChanged() override { ++layoutChanged; }
  int layoutChanged = 0;
};

// Every row's height and every cell's kind, item data and text ("-" for no cell), with the
// total height and the selection.
std::vector<std::string> Contents(const CGridModel& model) {
  std::vector<std::string> all;
  const CCellRange selection = model.GetSelection();
  all.push_back("selection " + std::to_string(selection.top) + "," +
                std::to_string(selection.left) + "," + std::to_string(selection.bottom) + "," +
                std::to_string(selection.right));
  all.push_back("total " + std::to_string(model.GetTotalHeight()));
  for (int row = 0; row < model.GetRowCount(); ++row) {
    all.push_back("row " + std::to_string(row) + " " + std::to_string(model.GetRowHeight(row)));
    for (int column = 0; column < model.GetColumnCount(); ++column) {
      const CGridCell* cell = model.GetCell(row, column);
      const CGridCellFormat* text = model.GetTextCell(row, column);
      all.push_back(cell == nullptr ? "-"
                                    : std::to_string(cell->GetKind()) + "|" +
                                          std::to_string(cell->GetItemData()) + "|" +
                                          (text != nullptr ? text->GetText() : ""));
    }
  }
  return all;
}

TEST(GridModelAppendRowsTest, AppendedRowsAreTheRowsInsertedOneByOneAtTheEnd) {
  struct Case {
    const char* name;
    int rows, columns, fixedRows, fixedColumns;
    bool selected;  // a cell selected before
    int count;
    int firstText;
    bool taken;
  };
  const Case cases[] = {
      {"a bill's rows", 2, 3, 1, 2, false, 5, 0, true},
      {"one row", 2, 3, 1, 2, false, 1, 0, true},
      {"texts from the second column", 3, 4, 1, 0, false, 3, 1, true},
      {"no texts", 3, 4, 1, 0, false, 2, 4, true},
      {"a selection kept", 4, 3, 1, 1, true, 4, 0, true},
      // The first cell past the fixed ones is selected once a row brings one.
      {"only the fixed row before", 1, 3, 1, 1, false, 2, 0, true},
      {"an empty grid", 0, 2, 0, 0, false, 3, 0, true},
      {"no columns", 2, 0, 1, 0, false, 2, 0, true},
      {"no rows asked: refused", 2, 3, 1, 2, false, 0, 0, false},
      {"a negative count: refused", 2, 3, 1, 2, false, -3, 0, false},
  };
  const auto itemData = [](int column) { return static_cast<unsigned>(10 * column + 1); };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CGridModel expected(c.rows, c.columns, c.fixedRows, c.fixedColumns);
    CGridModel made(c.rows, c.columns, c.fixedRows, c.fixedColumns);
    for (CGridModel* model : {&expected, &made}) {
      for (int row = 0; row < model->GetRowCount(); ++row) {
        model->SetCellText(row, 0, "r" + std::to_string(row), 7, false);
        model->PutRowHeight(row, 20 + row);
      }
      if (c.selected) model->SetSelection({2, 1, 3, 2}, false);
    }
    for (int i = 0; i < c.count; ++i)
      ASSERT_TRUE(expected.InsertRowOfTextCells(expected.GetRowCount() - 1, c.firstText, itemData));
    CCountingListener listener;
    made.SetListener(&listener);
    EXPECT_EQ(made.AppendRowsOfTextCells(c.count, c.firstText, itemData), c.taken);
    EXPECT_EQ(listener.layoutChanged, c.taken ? 1 : 0);
    EXPECT_EQ(Contents(made), Contents(expected));
  }
}

}  // namespace
