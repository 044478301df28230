// A run's bill as reading fills it: the bookings of its records, appended in bulk, then its
// stored record, against the same bookings made one by one and the record read after them.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "grid/grid_fakes.h"
#include "model/bom/bom_test_support.h"
#include "grid/grid_cell_format.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_line.h"
#include "model/bom/booking_batch.h"
#include "model/bom/item_numbering.h"
#include "platform/archive.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Bookings = std::vector<std::pair<std::string, std::int64_t>>;
constexpr std::int64_t kMax = CBOMGrid::kMaxQuantity;

std::string Grouped(const std::string& reference, int group, const std::string& flag = "") {
  return reference + " \nGroup=" + std::to_string(group) + flag;
}

// BOMGridState with what it leaves out: the selection, each line's automatic height, each
// cell's own colour and font, the columns' records and the item prefix.
std::vector<std::string> FullState(const CBOMGrid& grid) {
  std::vector<std::string> state = BOMGridState(grid);
  const CCellRange selection = grid.GetSelection();
  state.push_back("selection " + std::to_string(selection.top) + "," +
                  std::to_string(selection.left) + "," + std::to_string(selection.bottom) + "," +
                  std::to_string(selection.right));
  state.push_back("prefix " + grid.GetItemPrefix());
  for (int column = 0; column < grid.GetColumnCount(); ++column) {
    const CBOMColumn* record = grid.GetColumn(column);
    state.push_back("column " + record->title + " kind " + std::to_string(record->kind) +
                    " align " + std::to_string(record->alignment) + " auto " +
                    std::to_string(record->autoWidth));
  }
  for (int row = 0; row < grid.GetRowCount(); ++row) {
    state.push_back("auto height " + std::to_string(grid.GetLine(row)->autoRowHeight));
    for (int column = 0; column < grid.GetColumnCount(); ++column) {
      const CGridCellFormat* cell = grid.GetTextCell(row, column);
      if (cell == nullptr) continue;
      if (cell->HasTextColor())
        state.push_back("colour " + std::to_string(cell->GetTextColor().ToColorRef()));
      if (cell->HasFont()) state.push_back("font " + cell->GetLogFont().faceName);
    }
  }
  return state;
}

struct ReadCase {
  const char* name;
  std::vector<std::string> saved;  // the lines when the grid was stored
  Bookings bookings;               // those of the run's records, as read
};

const std::vector<ReadCase>& ReadCases() {
  static const std::vector<ReadCase> cases = {
      {"nothing stored, nothing booked", {}, {}},
      {"the lines as stored", {"A", "B", "C"}, {{"A", 1}, {"B", 2}, {"C", 1}, {"A", 1}}},
      {"the stored order wins", {"A", "B", "C"}, {{"C", 1}, {"A", 3}, {"B", 1}}},
      {"a line gone, one new", {"A", "B", "C"}, {{"B", 1}, {"D", 2}, {"A", 1}}},
      {"several ranges",
       {"QPC-10AM", "QDA-3", "QPC-12"},
       {{"QDA-3", 2}, {"QPC-12", 1}, {"QPC-10AM", 4}, {Grouped("QPC-5AM", 4, "a"), 1}}},
      {"duplicates and zero quantities",
       {"A", "B"},
       {{"A", 1}, {"B", 0}, {"A", 2}, {"C", -1}, {"B", 1}, {"C", 3}, {"A", 0}}},
      // A reference that differs by blanks only finds the line of the first.
      {"blanks around references",
       {"A"},
       {{"A", 1}, {" A", 1}, {"B ", 2}, {" ", 1}, {"", 1}, {"C", 1}}},
      // A line without reference shows none of the source's fields.
      {"a line without reference", {}, {{"", 2}, {"A", 1}, {" ", 1}}},
      // The total does not fit: bookings after it go one by one, bulk again after.
      {"a total past the largest",
       {"B"},
       {{"A", kMax - 1}, {"B", 1}, {"A", 5}, {"C", 1}, {"D", 2}}},
      {"groups and flags",
       {"x", Grouped("y", 5), Grouped("z", 5, "a"), "w"},
       {{Grouped("z", 5, "a"), 1}, {"w", 1}, {"x", 2}, {Grouped("y", 5), 1}, {"v", 1}}},
  };
  return cases;
}

// A stored grid with columns of several kinds, a coloured and a fonted cell, a line of its
// own height and a column of a fixed width.
Bytes Stored(CFakeBOMSource& source, const std::vector<std::string>& references) {
  auto grid = MakeBOMPage(source, references);
  grid->InsertColumn(1, kBOMKindRef, "Ref");
  grid->InsertColumn(2, kBOMKindQuantity, "Qty");
  grid->InsertColumn(3, kBOMKindDesignation, "Designation");
  grid->InsertColumn(4, kBOMKindPicture, "Picture");
  grid->GetColumn(5)->autoWidth = false;
  grid->PutColumnWidth(5, 90);
  if (grid->GetRowCount() > 3) {
    grid->SetCellTextColor(1, 3, CColor{0x10, 0x20, 0x30});
    CLogFont font = grid->GetDefaultLogFont();
    font.faceName = "Liberation Serif";
    grid->SetCellFont(2, 4, font);
    grid->SetLineAutoHeight(2, false);
    grid->PutRowHeight(2, 41);
  }
  CArchiveWriter writer;
  grid->Serialize(writer);
  return writer.Bytes();
}

class BOMReadWithBookingsTest : public BOMTestBase, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    BOMTestBase::SetUp();
    if (!GetParam()) CItemNumbering::Instance().Toggle();
    source.Put("A", "Designation", "A box of parts");
    source.Put("x", "Designation", "A long designation of the x parts");
    source.Put("QPC-10AM", "Designation", "An accessory");
    source.pictures["B"] = MakeBOMPicture(12, 9);
  }
  void TearDown() override {
    if (!CItemNumbering::Instance().IsOn()) CItemNumbering::Instance().Toggle();
    BOMTestBase::TearDown();
  }

  // A fresh run page as a run makes it.
  std::unique_ptr<CBOMGrid> FreshPage(const CGridTextMeasurer* measurer) {
    auto grid = std::make_unique<CBOMGrid>();
    grid->SetSource(&source);
    if (measurer != nullptr) grid->SetTextMeasurer(measurer);
    return grid;
  }

  CFakeBOMSource source;
};

// Booked one by one and read after, with the prefix set then: the grid the bulk path must
// leave, measured or not.
TEST_P(BOMReadWithBookingsTest, LeavesTheGridAsBookingEachThenReadingTheRecord) {
  for (const bool measured : {false, true}) {
    for (const ReadCase& row : ReadCases()) {
      SCOPED_TRACE(std::string(row.name) + (measured ? ", measured" : ""));
      const Bytes bytes = Stored(source, row.saved);
      CFakeMeasurer measurer;
      const auto expected = FreshPage(measured ? &measurer : nullptr);
      const auto read = FreshPage(measured ? &measurer : nullptr);
      CBookingBatch batch;
      for (const auto& [reference, quantity] : row.bookings) {
        expected->AddHeldQuantity(reference, quantity);
        batch.Add(reference, quantity);
      }
      CArchiveReader first(bytes);
      expected->Serialize(first);
      expected->SetItemPrefix("R7");
      CArchiveReader second(bytes);
      read->ReadWithBookings(second, "R7", batch);
      EXPECT_TRUE(second.AtEnd());
      EXPECT_EQ(FullState(*read), FullState(*expected));
      // Numbering goes on from the same place.
      expected->AddHeldQuantity("NEW", 1);
      read->AddHeldQuantity("NEW", 1);
      EXPECT_EQ(FullState(*read), FullState(*expected));
    }
  }
}

// A damaged record is refused before anything is booked.
TEST_P(BOMReadWithBookingsTest, ADamagedRecordBooksNothing) {
  const Bytes bytes = Stored(source, {"A", "B"});
  for (const std::size_t size :
       {std::size_t{0}, std::size_t{3}, bytes.size() / 2, bytes.size() - 1}) {
    SCOPED_TRACE(size);
    const auto grid = FreshPage(nullptr);
    const std::vector<std::string> before = FullState(*grid);
    CBookingBatch batch;
    batch.Add("A", 1);
    batch.Add("C", 2);
    CArchiveReader reader(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)));
    EXPECT_THROW(grid->ReadWithBookings(reader, "Z", batch), CArchiveError);
    EXPECT_EQ(FullState(*grid), before);
  }
}

INSTANTIATE_TEST_SUITE_P(NumberedOrNot, BOMReadWithBookingsTest, ::testing::Bool());

}  // namespace
