#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "model/bom/bom_test_support.h"
#include "grid/grid_fakes.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_line.h"
#include "model/bom/booking_batch.h"
#include "model/bom/item_numbering.h"

namespace {

using Bookings = std::vector<std::pair<std::string, std::int64_t>>;

std::string Grouped(const std::string& reference, int group, const std::string& flag = "") {
  return reference + " \nGroup=" + std::to_string(group) + flag;
}

struct RoundCase {
  const char* name;
  Bookings bookings;
};

const std::vector<RoundCase>& RoundCases() {
  constexpr std::int64_t kMax = CBOMGrid::kMaxQuantity;
  static const std::vector<RoundCase> cases = {
      {"nothing", {}},
      {"one line", {{"A", 1}}},
      {"repeats", {{"A", 1}, {"B", 2}, {"A", 3}, {"C", 1}, {"B", 1}}},
      {"groups and flags",
       {{"x", 1},
        {Grouped("y", 5), 1},
        {Grouped("z", 5, "a"), 2},
        {Grouped("v", 3), 1},
        {"w", 4},
        {Grouped("y", 5), 1}}},
      {"refused bookings", {{"A", 0}, {"B", kMax + 1}, {"C", -3}, {"A", 1}}},
      {"a total past the largest", {{"A", kMax - 1}, {"B", 1}, {"A", 5}, {"A", 1}}},
      {"a long reference", {{std::string(300, 'r'), 1}, {"s", 1}}},
      {"blank references", {{" ", 1}, {"", 1}, {"  A", 2}}},
  };
  return cases;
}

// A run page with columns that show the reference, the quantity and a field of the
// source, so that each booking writes cells beside the item number.
std::unique_ptr<CBOMGrid> MakeWidePage(CFakeBOMSource& source, const CGridTextMeasurer* measurer) {
  auto grid = MakeBOMPage(source);
  grid->InsertColumn(1, kBOMKindRef, "Ref");
  grid->InsertColumn(2, kBOMKindQuantity, "Qty");
  grid->InsertColumn(3, kBOMKindDesignation, "Designation");
  if (measurer != nullptr) grid->SetTextMeasurer(measurer);
  return grid;
}

class BOMBookingRoundTest : public BOMTestBase,
                            public ::testing::WithParamInterface<std::tuple<bool, bool>> {
 protected:
  // The grid as booking each at once leaves it, and as a round of the same bookings does.
  static std::pair<std::vector<std::string>, std::vector<std::string>> BothWays(
      const Bookings& bookings, bool measured) {
    CFakeBOMSource source;
    source.Put("A", "Designation", "A box of parts");
    source.Put("y", "Designation", "A long designation of the y parts");
    CFakeMeasurer measurer;
    const auto single = MakeWidePage(source, measured ? &measurer : nullptr);
    const auto rounded = MakeWidePage(source, measured ? &measurer : nullptr);
    std::vector<bool> taken;
    for (const auto& [reference, quantity] : bookings)
      taken.push_back(single->AddHeldQuantity(reference, quantity));
    {
      const CBOMGrid::CBookingRound round(*rounded);
      for (std::size_t i = 0; i < bookings.size(); ++i) {
        EXPECT_EQ(rounded->AddHeldQuantity(bookings[i].first, bookings[i].second), taken[i]) << i;
      }
    }
    return {BOMGridState(*single), BOMGridState(*rounded)};
  }

  void SetUp() override {
    BOMTestBase::SetUp();
    if (!std::get<1>(GetParam())) CItemNumbering::Instance().Toggle();
  }
  void TearDown() override {
    if (!CItemNumbering::Instance().IsOn()) CItemNumbering::Instance().Toggle();
    BOMTestBase::TearDown();
  }
};

TEST_P(BOMBookingRoundTest, LeavesTheGridAsBookingEachAtOnce) {
  for (const RoundCase& row : RoundCases()) {
    SCOPED_TRACE(row.name);
    const auto [single, rounded] = BothWays(row.bookings, std::get<0>(GetParam()));
    EXPECT_EQ(rounded, single);
  }
}

TEST_P(BOMBookingRoundTest, RandomBookingsLeaveTheGridAsBookingEachAtOnce) {
  std::mt19937 random(65);
  const std::vector<std::string> pool = {
      "A", "B", Grouped("y", 5), Grouped("z", 5, "a"), Grouped("v", 2), "w", Grouped("u", 12, "b"),
      " "};
  for (int trial = 0; trial < 20; ++trial) {
    Bookings bookings;
    const int count = std::uniform_int_distribution<int>(0, 60)(random);
    for (int i = 0; i < count; ++i) {
      const std::string& reference =
          pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random)];
      bookings.emplace_back(reference, std::uniform_int_distribution<std::int64_t>(0, 4)(random));
    }
    SCOPED_TRACE(trial);
    const auto [single, rounded] = BothWays(bookings, std::get<0>(GetParam()));
    EXPECT_EQ(rounded, single);
  }
}

// With and without a measurer, with numbering on and off.
INSTANTIATE_TEST_SUITE_P(MeasuredAndNumbered, BOMBookingRoundTest,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()));

using BOMBookingRoundNestingTest = BOMTestBase;

TEST_F(BOMBookingRoundNestingTest, ANestedRoundLeavesTheNumberingToTheOuterOne) {
  CFakeBOMSource source;
  const auto single = MakeWidePage(source, nullptr);
  const auto rounded = MakeWidePage(source, nullptr);
  for (const char* reference : {"A", "B", "C"}) single->AddHeldQuantity(reference, 1);
  {
    const CBOMGrid::CBookingRound outer(*rounded);
    rounded->AddHeldQuantity("A", 1);
    {
      const CBOMGrid::CBookingRound inner(*rounded);
      rounded->AddHeldQuantity("B", 1);
    }
    rounded->AddHeldQuantity("C", 1);
  }
  EXPECT_EQ(BOMGridState(*rounded), BOMGridState(*single));
  // Bookings after the round number their lines at once again.
  single->AddHeldQuantity("D", 1);
  rounded->AddHeldQuantity("D", 1);
  EXPECT_EQ(BOMGridState(*rounded), BOMGridState(*single));
}

// The batch of a run being read books into the grid as booking each at once does, cell
// for cell.
using BOMBookingBatchCellsTest = BOMTestBase;

TEST_F(BOMBookingBatchCellsTest, ABatchLeavesEveryCellAsBookingEachAtOnce) {
  for (const RoundCase& row : RoundCases()) {
    SCOPED_TRACE(row.name);
    CFakeBOMSource source;
    const auto single = MakeWidePage(source, nullptr);
    const auto batched = MakeWidePage(source, nullptr);
    CBookingBatch batch;
    for (const auto& [reference, quantity] : row.bookings) {
      single->AddHeldQuantity(reference, quantity);
      batch.Add(reference, quantity);
    }
    batch.BookInto(*batched);
    EXPECT_EQ(BOMGridState(*batched), BOMGridState(*single));
  }
}

}  // namespace
