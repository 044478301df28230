#include "model/booking_batch.h"

#include "model/bom_grid.h"
#include "model/bom_line.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Bookings = std::vector<std::pair<std::string, std::int64_t>>;

// Every line of the bill with its quantity, in row order.
Bookings LinesOf(const CBOMGrid& bom) {
  Bookings lines;
  for (int row = 1; row < bom.GetLineCount(); ++row)
    lines.emplace_back(bom.GetLine(row)->reference, bom.GetLineQuantity(row));
  return lines;
}

// The batch leaves the bill as booking each at once does, also where the bill refuses
// bookings: quantities out of range (which must not open a line either) and totals past
// the largest quantity, where the bookings that fit are taken one by one.
TEST(BookingBatchTest, LeavesTheBillAsBookingEachAtOnce) {
  constexpr std::int64_t kMax = CBOMGrid::kMaxQuantity;
  const std::vector<Bookings> cases = {
      {{"A", 1}, {"B", 1}, {"A", 1}, {"C", 3}, {"B", 2}},
      {{"A", 0}, {"B", 1}, {"A", 1}},                             // A's first booking is refused
      {{"A", kMax + 1}, {"B", 1}, {"A", 2}, {"A", -4}},           // so is a too large one
      {{"A", kMax - 1}, {"B", 1}, {"A", 5}, {"A", 1}, {"A", 1}},  // the total overflows
      {},
  };
  for (const Bookings& bookings : cases) {
    CBOMGrid expected;
    CBOMGrid batched;
    CBookingBatch batch;
    for (const auto& [reference, quantity] : bookings) {
      expected.AddHeldQuantity(reference, quantity);
      batch.Add(reference, quantity);
    }
    batch.BookInto(batched);
    EXPECT_EQ(LinesOf(batched), LinesOf(expected));
  }
}

// Into a bill whose lines hold quantities already, the batch's total may not fit where
// some of its bookings would: those are taken one by one, as booking each at once takes
// them, whether the line was booked one at a time or with larger quantities.
TEST(BookingBatchTest, IntoLinesNearlyFullTakesTheBookingsThatFit) {
  constexpr std::int64_t kMax = CBOMGrid::kMaxQuantity;
  const struct {
    const char* name;
    Bookings before;
    Bookings bookings;
  } cases[] = {
      {"ones, room for three",
       {{"A", kMax - 3}},
       {{"A", 1}, {"A", 1}, {"B", 1}, {"A", 1}, {"A", 1}, {"A", 1}}},
      {"ones, no room", {{"A", kMax}}, {{"A", 1}, {"A", 1}}},
      {"a larger one among ones",
       {{"A", kMax - 4}},
       {{"A", 1}, {"A", 5}, {"A", 1}, {"A", 2}, {"A", 1}}},
      {"a larger one first", {{"A", kMax - 2}}, {{"A", 3}, {"A", 1}, {"A", 1}, {"A", 1}}},
      {"room for all", {{"A", 10}}, {{"A", 1}, {"A", 4}, {"B", 2}}},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    CBOMGrid expected;
    CBOMGrid batched;
    CBookingBatch batch;
    for (const auto& [reference, quantity] : row.before) {
      expected.AddHeldQuantity(reference, quantity);
      batched.AddHeldQuantity(reference, quantity);
    }
    for (const auto& [reference, quantity] : row.bookings) {
      expected.AddHeldQuantity(reference, quantity);
      batch.Add(reference, quantity);
    }
    batch.BookInto(batched);
    EXPECT_EQ(LinesOf(batched), LinesOf(expected));
  }
}

// A batch is empty again once booked: booking it a second time adds nothing.
TEST(BookingBatchTest, ABookedBatchStartsAfresh) {
  CBOMGrid expected;
  CBOMGrid batched;
  CBookingBatch batch;
  for (const auto& [reference, quantity] : Bookings{{"A", 1}, {"B", 3}, {"A", 1}}) {
    expected.AddHeldQuantity(reference, quantity);
    batch.Add(reference, quantity);
  }
  batch.BookInto(batched);
  batch.BookInto(batched);
  batch.Add("A", 2);
  expected.AddHeldQuantity("A", 2);
  batch.BookInto(batched);
  EXPECT_EQ(LinesOf(batched), LinesOf(expected));
}

}  // namespace
