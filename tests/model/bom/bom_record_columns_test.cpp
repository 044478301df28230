#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/bom/bom_test_support.h"
#include "grid/grid_cell_format.h"
#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_grid.h"
#include "platform/archive.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A column the page gains after its fixed ones, with the alignment it is given.
struct AddedColumn {
  int kind;
  int alignment;
};

// A page whose columns are made again from its stored record leaves the cells of its lines
// to the numbering that follows: each row names what a cell written once, not twice, could
// lose.
struct ColumnsCase {
  const char* guards;
  std::vector<std::string> references;  // as the page made its lines
  std::vector<AddedColumn> columns;
  std::vector<std::string> reloadOrder;  // as the run made them again before reading
  bool formatted = false;                // a cell of each added column coloured, in a font
};

class BOMRecordColumnsTest : public BOMTestBase {
 protected:
  void SetUp() override {
    BOMTestBase::SetUp();
    source.Put("R1", BOMColumnKey(kBOMKindUnitPrice), "12.50");
    source.Put("R2", BOMColumnKey(kBOMKindDesignation), "Straight length");
    source.Put("R3", BOMColumnKey(kBOMKindComment), "kept");
  }

  std::unique_ptr<CBOMGrid> PageOf(const ColumnsCase& row) {
    auto grid = MakeBOMPage(source, row.references);
    for (const AddedColumn& added : row.columns) {
      const int at = grid->GetColumnCount();
      grid->InsertColumn(at - 1, added.kind, BOMDefaultTitle(added.kind));
      grid->GetColumn(at)->alignment = added.alignment;
      if (row.formatted) {
        grid->SetCellTextColor(1, at, CColor{0x10, 0x20, static_cast<std::uint8_t>(at)});
        grid->SetCellFont(2, at, CLogFont{.height = -11 - at, .faceName = "Mono"});
      }
    }
    grid->NumberLines(1);  // every cell in its column's alignment, as a reload leaves it
    return grid;
  }

  static Bytes Stored(const CBOMGrid& grid) {
    CArchiveWriter writer;
    grid.Serialize(writer);
    return writer.TakeBytes();
  }

  // What BOMGridState leaves out: each text cell's colour and font.
  static std::vector<std::string> Formats(const CBOMGrid& grid) {
    std::vector<std::string> formats;
    for (int row = 0; row < grid.GetRowCount(); ++row) {
      for (int column = 0; column < grid.GetColumnCount(); ++column) {
        const CGridCellFormat* cell = grid.GetTextCell(row, column);
        if (cell == nullptr) continue;
        formats.push_back(
            std::to_string(row) + "," + std::to_string(column) + " colour " +
            std::to_string(cell->HasTextColor() ? cell->GetTextColor().ToColorRef() : 0xFFFFFFFFu) +
            " font " + (cell->HasFont() ? cell->GetLogFont().faceName : "-"));
      }
    }
    return formats;
  }

  CFakeBOMSource source;
};

TEST_F(BOMRecordColumnsTest, ReloadedColumnsEndAsTheSavedOnes) {
  const ColumnsCase rows[] = {
      {"a price column: values from the run's records, empty where none",
       {"R1", "R2", "R3"},
       {{kBOMKindUnitPrice, 0}},
       {"R1", "R2", "R3"}},
      {"the stored alignment, not the one a new column takes",
       {"R1", "R2"},
       {{kBOMKindDesignation, 2}, {kBOMKindComment, 1}},
       {"R1", "R2"}},
      {"cells of added columns with their colour and font",
       {"R1", "R2", "R3"},
       {{kBOMKindDesignation, 1}, {kBOMKindUnitPrice, 2}},
       {"R1", "R2", "R3"},
       true},
      {"lines the run made again in another order",
       {"R1", "R2", "R3"},
       {{kBOMKindComment, 0}, {kBOMKindDesignation, 2}},
       {"R3", "R1", "R2"},
       true},
      {"a second reference column and a quantity column",
       {"R1", "R2"},
       {{kBOMKindRef, 1}, {kBOMKindQuantity, 2}},
       {"R2", "R1"}},
      {"lines with no record in the run", {"X1", "X2"}, {{kBOMKindUnitPrice, 2}}, {"X2", "X1"}},
  };
  for (const ColumnsCase& row : rows) {
    SCOPED_TRACE(row.guards);
    const auto saved = PageOf(row);
    const Bytes bytes = Stored(*saved);
    auto reloaded = MakeBOMPage(source, row.reloadOrder);
    CArchiveReader reader(bytes);
    reloaded->Serialize(reader);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(BOMGridState(*reloaded), BOMGridState(*saved));
    EXPECT_EQ(Formats(*reloaded), Formats(*saved));
    EXPECT_EQ(Stored(*reloaded), bytes);
  }
}

}  // namespace
