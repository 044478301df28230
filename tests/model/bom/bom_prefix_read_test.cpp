#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "grid/grid_fakes.h"
#include "model/bom/bom_test_support.h"
#include "model/bom/bom_grid.h"
#include "model/bom/item_numbering.h"
#include "platform/archive.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct PrefixCase {
  const char* name;
  std::vector<std::string> saved;     // the lines when the grid was stored
  std::vector<std::string> reloaded;  // the lines the source re-created before reading
  const char* prefix;
};

std::string Grouped(const std::string& reference, int group, const std::string& flag = "") {
  return reference + " \nGroup=" + std::to_string(group) + flag;
}

const std::vector<PrefixCase>& PrefixCases() {
  static const std::vector<PrefixCase> cases = {
      {"no lines", {}, {}, "B"},
      {"the same lines", {"A", "B", "C"}, {"A", "B", "C"}, "B"},
      {"the stored order wins", {"A", "B", "C"}, {"C", "A", "B"}, "R7"},
      {"a line gone, one new", {"A", "B", "C"}, {"B", "D", "A"}, "B"},
      {"groups and flags",
       {"x", Grouped("y", 5), Grouped("z", 5, "a"), "w"},
       {Grouped("z", 5, "a"), "w", "x", Grouped("y", 5)},
       "Q"},
      {"an empty prefix", {"A", "B"}, {"B", "A"}, ""},
  };
  return cases;
}

std::unique_ptr<CBOMGrid> MakeWidePage(CFakeBOMSource& source,
                                       const std::vector<std::string>& references) {
  auto grid = MakeBOMPage(source, references);
  grid->InsertColumn(1, kBOMKindRef, "Ref");
  grid->InsertColumn(2, kBOMKindQuantity, "Qty");
  grid->InsertColumn(3, kBOMKindDesignation, "Designation");
  return grid;
}

class BOMPrefixReadTest : public BOMTestBase, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    BOMTestBase::SetUp();
    if (!GetParam()) CItemNumbering::Instance().Toggle();
  }
  void TearDown() override {
    if (!CItemNumbering::Instance().IsOn()) CItemNumbering::Instance().Toggle();
    BOMTestBase::TearDown();
  }

  Bytes Stored(const std::vector<std::string>& references) {
    const auto grid = MakeWidePage(source, references);
    if (grid->GetRowCount() > 2) grid->SetCellTextColor(1, 3, CColor{0x10, 0x20, 0x30});
    CArchiveWriter writer;
    grid->Serialize(writer);
    return writer.Bytes();
  }

  CFakeBOMSource source;
};

// Reading with the prefix leaves the grid cell for cell as reading and then setting the
// prefix, with and without a measurer.
TEST_P(BOMPrefixReadTest, LeavesTheGridAsReadingThenSettingThePrefix) {
  source.Put("A", "Designation", "A box of parts");
  source.Put("x", "Designation", "A long designation of the x parts");
  for (const bool measured : {false, true}) {
    for (const PrefixCase& row : PrefixCases()) {
      SCOPED_TRACE(std::string(row.name) + (measured ? ", measured" : ""));
      const Bytes bytes = Stored(row.saved);
      CFakeMeasurer measurer;
      const auto twoSteps = MakeBOMPage(source, row.reloaded);
      const auto oneStep = MakeBOMPage(source, row.reloaded);
      if (measured) {
        twoSteps->SetTextMeasurer(&measurer);
        oneStep->SetTextMeasurer(&measurer);
      }
      CArchiveReader first(bytes);
      twoSteps->Serialize(first);
      twoSteps->SetItemPrefix(row.prefix);
      CArchiveReader second(bytes);
      oneStep->SerializeWithItemPrefix(second, row.prefix);
      EXPECT_TRUE(second.AtEnd());
      EXPECT_EQ(oneStep->GetItemPrefix(), row.prefix);
      EXPECT_EQ(BOMGridState(*oneStep), BOMGridState(*twoSteps));
    }
  }
}

// A damaged record is refused before anything changes, the prefix included.
TEST_P(BOMPrefixReadTest, ADamagedRecordChangesNothing) {
  const Bytes bytes = Stored({"A", "B"});
  for (const std::size_t size :
       {std::size_t{0}, std::size_t{3}, bytes.size() / 2, bytes.size() - 1}) {
    SCOPED_TRACE(size);
    const auto grid = MakeBOMPage(source, {"B", "A"});
    const std::vector<std::string> before = BOMGridState(*grid);
    CArchiveReader reader(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)));
    EXPECT_THROW(grid->SerializeWithItemPrefix(reader, "Z"), CArchiveError);
    EXPECT_EQ(grid->GetItemPrefix(), "A");
    EXPECT_EQ(BOMGridState(*grid), before);
  }
}

INSTANTIATE_TEST_SUITE_P(NumberedOrNot, BOMPrefixReadTest, ::testing::Bool());

}  // namespace
