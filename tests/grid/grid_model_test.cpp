#include "grid/grid_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "grid_fakes.h"
#include "support/case_table.h"

namespace {

class CCountingListener : public CGridListener {
 public:
  void GridInvalidated() override { ++invalidated; }
  void GridLayoutChanged() override { ++layoutChanged; }
  int invalidated = 0;
  int layoutChanged = 0;
};

std::string TextAt(const CGridModel& model, int row, int column) {
  const CGridCellFormat* cell = model.GetTextCell(row, column);
  return cell ? cell->GetText() : std::string("-");
}

// Cell (r, 0) of each row reads "r"; row r is 10 + r pixels high.
void Label(CGridModel& model) {
  for (int row = 0; row < model.GetRowCount(); ++row) {
    model.SetCellText(row, 0, std::to_string(row), 0, false);
    model.PutRowHeight(row, 10 + row);
  }
}

TEST(GridModelTest, NewGridSelectsFirstNonFixedCellAndTakesDefaultSizes) {
  const CGridModel bom(2, 3, 1, 2);
  EXPECT_EQ(bom.GetSelection(), (CCellRange{1, 2, 1, 2}));
  EXPECT_EQ(bom.GetSelectionKind(), 1);
  EXPECT_EQ(bom.GetCell(1, 2), nullptr) << "slots start missing";
  EXPECT_EQ(bom.GetDefaultRowHeight(), 16 + 4);
  EXPECT_EQ(bom.GetDefaultColumnWidth(), 2 * (2 + 6 * 7));
  EXPECT_EQ(bom.GetTotalWidth(), 3 * 88);

  const CGridModel plain(3, 3, 0, 0);
  EXPECT_EQ(plain.GetSelection(), (CCellRange{0, 0, 0, 0}));

  CFakeMeasurer measurer;
  CLogFont probe;
  const CGridModel measured(1, 1, 0, 0, &measurer);
  EXPECT_EQ(measured.GetDefaultRowHeight(), CFakeMeasurer::Height(probe) + 4);
}

TEST(GridModelTest, CountsAreSanitised) {
  const CGridModel model(-3, 2, 5, 7);
  EXPECT_EQ(model.GetRowCount(), 0);
  EXPECT_EQ(model.GetFixedRowCount(), 0);
  EXPECT_EQ(model.GetFixedColumnCount(), 2);
  EXPECT_FALSE(model.GetSelection().IsValid());
}

TEST(GridModelTest, OutOfRangeIndexesAreRefusedAndChangeNothing) {
  struct Case {
    const char* name;
    int row, column;
  };
  // 5 rows, 4 columns, 1 fixed row, 1 fixed column.
  const Case cases[] = {
      {"negative row", -1, 1},   {"negative column", 1, -1}, {"row past end", 5, 1},
      {"column past end", 1, 4}, {"both far", 1000, -1000},
  };
  CGridModel model(5, 4, 1, 1);
  Label(model);
  for (const Case& c : cases) {
    EXPECT_FALSE(model.SetCellText(c.row, c.column, "x", 0, true)) << c.name;
    EXPECT_FALSE(model.SetCell(c.row, c.column, nullptr, true)) << c.name;
    EXPECT_FALSE(model.SetCellBitmap(c.row, c.column, MakeBitmap(2, 2), true)) << c.name;
    EXPECT_EQ(model.GetCell(c.row, c.column), nullptr) << c.name;
    if (c.row < 0 || c.row >= 5) {
      EXPECT_FALSE(model.PutRowHeight(c.row, 30)) << c.name;
    }
    if (c.column < 0 || c.column >= 4) {
      EXPECT_FALSE(model.PutColumnWidth(c.column, 30)) << c.name;
    }
    EXPECT_FALSE(model.SelectCell({c.row, c.column})) << c.name;
    EXPECT_FALSE(model.SetSelection({1, 1, c.row, c.column}, false)) << c.name;
  }
  EXPECT_EQ(model.GetRowHeight(-1), 0);
  EXPECT_EQ(model.GetColumnWidth(4), 0);
  EXPECT_FALSE(model.PutColumnWidth(1, -1)) << "negative width";
  EXPECT_FALSE(model.PutColumnWidth(1, CGridModel::kMaxSize + 1)) << "width beyond 16 bits";
  EXPECT_EQ(model.GetRowCount(), 5);
  EXPECT_EQ(TextAt(model, 4, 0), "4");
  EXPECT_EQ(model.GetSelection(), (CCellRange{1, 1, 1, 1}));
  EXPECT_EQ(model.GetTotalHeight(), 10 + 11 + 12 + 13 + 14);
}

TEST(GridModelTest, InsertAndDeleteRefuseIndexesOutOfRange) {
  for (const CCaseRow& row : ReadCaseTable("grid/row_insert_delete.tsv", 5)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    CGridModel model(5, 2, static_cast<int>(row.Int(1)), 0);
    Label(model);
    const std::int64_t height = model.GetTotalHeight();
    const int index = static_cast<int>(row.Int(3));
    const bool accepted = row[2] == "insert" ? model.InsertRowAfter(index) : model.DeleteRow(index);
    EXPECT_EQ(accepted, row.Flag(4));
    if (!row.Flag(4)) {
      EXPECT_EQ(model.GetRowCount(), 5);
      EXPECT_EQ(model.GetTotalHeight(), height);
      for (int kept = 0; kept < 5; ++kept) EXPECT_EQ(TextAt(model, kept, 0), std::to_string(kept));
    }
  }
}

TEST(GridModelTest, ColumnsFollowTheSameRules) {
  CGridModel model(2, 4, 1, 2);
  EXPECT_FALSE(model.InsertColumnAfter(0));
  EXPECT_FALSE(model.DeleteColumn(1));
  EXPECT_FALSE(model.DeleteColumn(-1));
  EXPECT_FALSE(model.DeleteColumn(4));
  model.PutColumnWidth(2, 50);
  ASSERT_TRUE(model.InsertColumnAfter(1));
  EXPECT_EQ(model.GetColumnCount(), 5);
  EXPECT_EQ(model.GetColumnWidth(2), 50) << "takes the width of the column that moved right";
  EXPECT_EQ(model.GetColumnWidth(3), 50);
  ASSERT_TRUE(model.InsertColumnAfter(4));
  EXPECT_EQ(model.GetColumnWidth(5), model.GetDefaultColumnWidth());
  ASSERT_TRUE(model.DeleteColumn(2));
  EXPECT_EQ(model.GetTotalWidth(), 3 * 88 + 50 + 88);
}

TEST(GridModelTest, InsertedRowHoldsEmptyCellsAndTakesTheMovedRowsHeight) {
  struct Case {
    const char* name;
    int after;
    int newHeight;
  };
  const Case cases[] = {
      {"after the fixed row", 0, 11},  // row 1 (11 px) moved down
      {"in the middle", 2, 13},
      {"after the last row", 4, 20},  // the default height
  };
  for (const Case& c : cases) {
    CGridModel model(5, 2, 1, 0);
    Label(model);
    ASSERT_TRUE(model.InsertRowAfter(c.after)) << c.name;
    const int added = c.after + 1;
    EXPECT_EQ(model.GetRowHeight(added), c.newHeight) << c.name;
    ASSERT_NE(model.GetCell(added, 0), nullptr) << c.name;
    EXPECT_EQ(model.GetCell(added, 0)->GetKind(), CGridCell::kEmpty) << c.name;
    for (int row = 0; row < 6; ++row) {
      if (row == added) continue;
      const int old = row < added ? row : row - 1;
      EXPECT_EQ(TextAt(model, row, 0), std::to_string(old)) << c.name << " row " << row;
      EXPECT_EQ(model.GetRowHeight(row), 10 + old) << c.name << " row " << row;
    }
    EXPECT_EQ(model.GetTotalHeight(), 60 + c.newHeight) << c.name;
  }
}

// A row of text cells made at once holds what a row of empty cells then given empty texts
// holds: the same kinds, item data, heights, selection and cells around it.
TEST(GridModelTest, ARowOfTextCellsIsTheEmptyRowWithItsTextsSet) {
  struct Case {
    const char* name;
    int after;
    int firstText;
  };
  const Case cases[] = {
      {"texts from the third column", 2, 2},
      {"all texts", 0, 0},
      {"no texts", 4, 4},
      {"texts from past the end", 1, 9},
      {"at the end", 4, 1},
      {"before the fixed row: refused", -1, 0},
      {"past the end: refused", 5, 0},
  };
  const auto itemData = [](int column) { return static_cast<unsigned>(10 * column + 1); };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CGridModel expected(5, 4, 1, 0), made(5, 4, 1, 0);
    Label(expected);
    Label(made);
    const bool inserted = expected.InsertRowAfter(c.after);
    for (int column = c.firstText; inserted && column < expected.GetColumnCount(); ++column)
      expected.SetCellText(c.after + 1, column, "", itemData(column), false);
    EXPECT_EQ(made.InsertRowOfTextCells(c.after, c.firstText, itemData), inserted);
    ASSERT_EQ(made.GetRowCount(), expected.GetRowCount());
    EXPECT_EQ(made.GetTotalHeight(), expected.GetTotalHeight());
    EXPECT_EQ(made.GetSelection(), expected.GetSelection());
    for (int row = 0; row < made.GetRowCount(); ++row) {
      EXPECT_EQ(made.GetRowHeight(row), expected.GetRowHeight(row)) << "row " << row;
      for (int column = 0; column < made.GetColumnCount(); ++column) {
        const CGridCell* want = expected.GetCell(row, column);
        const CGridCell* got = made.GetCell(row, column);
        ASSERT_EQ(got == nullptr, want == nullptr) << row << "," << column;
        if (got == nullptr) continue;
        EXPECT_EQ(got->GetKind(), want->GetKind()) << row << "," << column;
        EXPECT_EQ(got->GetItemData(), want->GetItemData()) << row << "," << column;
        EXPECT_EQ(TextAt(made, row, column), TextAt(expected, row, column)) << row << "," << column;
      }
    }
  }
}

// The same for a column of text cells between two rows.
TEST(GridModelTest, AColumnOfTextCellsIsTheEmptyColumnWithItsTextsSet) {
  struct Case {
    const char* name;
    int after;
    int firstText;
    int lastText;
  };
  const Case cases[] = {
      {"texts between the fixed row and the last", 1, 1, 3},
      {"all texts", 0, 0, 4},
      {"no texts", 3, 3, 2},
      {"at the end", 3, 2, 9},
      {"past the end: refused", 4, 0, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CGridModel expected(5, 4, 1, 0), made(5, 4, 1, 0);
    Label(expected);
    Label(made);
    const bool inserted = expected.InsertColumnAfter(c.after);
    for (int row = std::max(c.firstText, 0); inserted && row <= c.lastText && row < 5; ++row)
      expected.SetCellText(row, c.after + 1, "", 7, false);
    EXPECT_EQ(made.InsertColumnOfTextCells(c.after, c.firstText, c.lastText, 7), inserted);
    ASSERT_EQ(made.GetColumnCount(), expected.GetColumnCount());
    EXPECT_EQ(made.GetTotalWidth(), expected.GetTotalWidth());
    for (int row = 0; row < made.GetRowCount(); ++row) {
      for (int column = 0; column < made.GetColumnCount(); ++column) {
        const CGridCell* want = expected.GetCell(row, column);
        const CGridCell* got = made.GetCell(row, column);
        ASSERT_EQ(got == nullptr, want == nullptr) << row << "," << column;
        if (got == nullptr) continue;
        EXPECT_EQ(got->GetKind(), want->GetKind()) << row << "," << column;
        EXPECT_EQ(got->GetItemData(), want->GetItemData()) << row << "," << column;
        EXPECT_EQ(TextAt(made, row, column), TextAt(expected, row, column)) << row << "," << column;
      }
    }
  }
}

TEST(GridModelTest, DeletingRowsKeepsTheSelectionInTheGrid) {
  struct Case {
    const char* name;
    CCellRange selection;
    int deleted;
    CCellRange after;
  };
  // 5 rows, 3 columns, 1 fixed row and column.
  const Case cases[] = {
      {"the last data row was selected", {4, 1, 4, 1}, 4, {3, 1, 3, 1}},
      {"a range over the end is cut", {2, 1, 4, 2}, 3, {2, 1, 3, 2}},
      {"a selection above stays", {1, 1, 1, 1}, 3, {1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    CGridModel model(5, 3, 1, 1);
    ASSERT_TRUE(model.SetSelection(c.selection, false)) << c.name;
    ASSERT_TRUE(model.DeleteRow(c.deleted)) << c.name;
    EXPECT_EQ(model.GetSelection(), c.after) << c.name;
  }
  CGridModel model(2, 3, 1, 1);
  ASSERT_TRUE(model.DeleteRow(1));
  EXPECT_EQ(model.GetSelection(), (CCellRange{0, 1, 0, 1})) << "only the fixed row remains";
}

TEST(GridModelTest, AGridWithoutDataSelectsItsFirstCellWhenOneArrives) {
  CGridModel model(1, 3, 1, 1);
  EXPECT_FALSE(model.GetSelection().IsValid());
  ASSERT_TRUE(model.InsertRowAfter(0));
  EXPECT_EQ(model.GetSelection(), (CCellRange{1, 1, 1, 1}));
  CGridModel empty(0, 0, 0, 0);
  ASSERT_TRUE(empty.InsertColumnAfter(-1));
  ASSERT_TRUE(empty.InsertRowAfter(-1));
  EXPECT_EQ(empty.GetSelection(), (CCellRange{0, 0, 0, 0}));
}

TEST(GridModelTest, SetCellTextKeepsAnExistingTextCellsFontAndColour) {
  CGridModel model(3, 3, 0, 0);
  CGridCellFormat styled("old");
  styled.SetTextColor({255, 0, 0});
  CLogFont font;
  font.faceName = "Arial";
  styled.SetFont(font);
  ASSERT_TRUE(model.SetCell(1, 1, &styled, false));
  ASSERT_TRUE(model.SetCellText(1, 1, "new", 2, false));
  const CGridCellFormat* cell = model.GetTextCell(1, 1);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->GetText(), "new");
  EXPECT_EQ(cell->GetItemData(), 2u);
  EXPECT_TRUE(cell->HasTextColor());
  EXPECT_EQ(model.GetCellLogFont(1, 1).faceName, "Arial");
  EXPECT_EQ(model.GetCellLogFont(0, 0).faceName, "System");
  EXPECT_EQ(model.GetCellTextColor(1, 1), (CColor{255, 0, 0}));

  CBitmapDesc broken = MakeBitmap(4, 4);
  broken.widthBytes = 1;
  EXPECT_FALSE(model.SetCellBitmap(1, 1, broken, true))
      << "an invalid bitmap leaves the cell alone";
  EXPECT_EQ(TextAt(model, 1, 1), "new");
  ASSERT_TRUE(model.SetCellBitmap(2, 2, MakeBitmap(4, 4), false));
  ASSERT_TRUE(model.SetCellText(2, 2, "was a picture", 0, false));
  EXPECT_EQ(TextAt(model, 2, 2), "was a picture");
  ASSERT_TRUE(model.SetCell(2, 2, nullptr, false));
  EXPECT_EQ(model.GetCell(2, 2)->GetKind(), CGridCell::kEmpty);
}

TEST(GridModelTest, AutoSizeFitsTheLargestExtentPlusMargins) {
  CFakeMeasurer measurer;
  CGridModel model(4, 3, 1, 0, &measurer);
  model.SetCellText(0, 1, "Title", 0, false);
  model.SetCellText(2, 1, "a much longer text", 0, false);
  model.SetCellText(3, 1, "two\nlines", 0, false);
  model.SetCellBitmap(1, 2, MakeBitmap(30, 50), false);
  ASSERT_TRUE(model.AutoSizeColumn(1));
  EXPECT_EQ(model.GetColumnWidth(1), 18 * 7 + 4);
  ASSERT_TRUE(model.AutoSizeRow(3));
  EXPECT_EQ(model.GetRowHeight(3), 2 * 16 + 4);
  ASSERT_TRUE(model.AutoSizeRow(1));
  EXPECT_EQ(model.GetRowHeight(1), 50 + 4);
  ASSERT_TRUE(model.AutoSizeColumns());
  EXPECT_EQ(model.GetColumnWidth(0), 4) << "a column of missing cells shrinks to its margins";
  EXPECT_EQ(model.GetColumnWidth(2), 30 + 4);
  EXPECT_EQ(model.GetTotalWidth(), 4 + 130 + 34);
  EXPECT_FALSE(model.AutoSizeColumn(3));
  EXPECT_FALSE(model.AutoSizeRow(-1));

  CGridModel unmeasured(2, 2, 0, 0);  // without a measurer nothing is sized
  unmeasured.SetCellText(0, 0, "text", 0, false);
  EXPECT_FALSE(unmeasured.AutoSizeColumn(0));
  EXPECT_FALSE(unmeasured.AutoSizeColumns());
  EXPECT_EQ(unmeasured.GetColumnWidth(0), unmeasured.GetDefaultColumnWidth());
  EXPECT_EQ(unmeasured.GetCellTextExtent(0, 0), (CSize{0, 0}));
}

TEST(GridModelTest, ListenerHearsOfRepaintsAndLayoutChanges) {
  CGridModel model(3, 3, 1, 1);
  CCountingListener listener;
  model.SetListener(&listener);
  model.SetCellText(1, 1, "quiet", 0, false);
  model.PutRowHeight(1, 40);
  EXPECT_EQ(listener.invalidated + listener.layoutChanged, 0) << "no repaint asked";
  model.SetCellText(1, 1, "loud", 0, true);
  model.SetSelection({1, 1, 2, 2}, true);
  EXPECT_EQ(listener.invalidated, 2);
  model.InsertRowAfter(2);
  model.DeleteColumn(2);
  EXPECT_EQ(listener.layoutChanged, 2);
  model.DeleteColumn(0);
  EXPECT_EQ(listener.layoutChanged, 2) << "a refused delete tells nothing";
  model.SetListener(nullptr);
  model.SetCellText(1, 1, "alone", 0, true);
  EXPECT_EQ(listener.invalidated, 2);
}

TEST(GridModelTest, LayoutBatchesTellTheirChangesOnceAsTheLastEnds) {
  CFakeMeasurer measurer;
  CGridModel model(3, 3, 1, 1, &measurer);
  model.SetCellText(1, 1, "wide text", 0, false);
  CCountingListener listener;
  model.SetListener(&listener);
  { const CGridModel::CLayoutBatch quiet(model); }
  EXPECT_EQ(listener.layoutChanged, 0) << "a batch without a change tells nothing";
  {
    const CGridModel::CLayoutBatch outer(model);
    model.AutoSizeColumn(1);
    {
      const CGridModel::CLayoutBatch inner(model);
      model.AutoSizeRow(1);
      model.InsertRowAfter(2);
    }
    EXPECT_EQ(listener.layoutChanged, 0) << "an inner batch ends within the outer one";
    model.AutoSizeColumn(2);
  }
  EXPECT_EQ(listener.layoutChanged, 1);
  EXPECT_EQ(model.GetColumnWidth(1), model.GetCellTextExtent(1, 1).cx + 2 * CGridModel::kMargin)
      << "the changes themselves are made at once";
  model.AutoSizeRow(1);
  EXPECT_EQ(listener.layoutChanged, 2) << "outside a batch a change is told at once";
}

}  // namespace
