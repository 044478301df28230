#include "model/bom/booking_batch.h"

#include "model/bom/bom_grid.h"
#include "model/bom/bom_line.h"

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

// Bookings with keys leave the bill as bookings without, whatever the keys: a key kept
// for one reference, none, one key for two references in turn (a key's text may change
// under it), and keys first met with a quantity the bill refuses.
TEST(BookingBatchTest, KeyedBookingsLeaveTheBillAsUnkeyedOnes) {
  constexpr std::int64_t kMax = CBOMGrid::kMaxQuantity;
  struct Booking {
    const char* reference;
    std::int64_t quantity;
    int key;  // an index into the keys below; -1 for none
  };
  const struct {
    const char* name;
    std::vector<Booking> bookings;
  } cases[] = {
      {"a key each", {{"A", 1, 0}, {"B", 1, 1}, {"A", 1, 0}, {"B", 2, 1}, {"A", 1, 0}}},
      {"keys and none mixed", {{"A", 1, 0}, {"A", 1, -1}, {"B", 1, -1}, {"B", 3, 1}, {"A", 1, 0}}},
      {"one key, two references",
       {{"A", 1, 0}, {"B", 1, 0}, {"A", 2, 0}, {"B", 1, 0}, {"C", 1, 0}}},
      {"a refused first booking", {{"A", 0, 0}, {"A", kMax + 1, 0}, {"A", 1, 0}, {"B", 1, 1}}},
      {"a total past the largest quantity",
       {{"A", kMax - 1, 0}, {"A", 1, 0}, {"A", 1, 0}, {"B", 1, 1}, {"A", 1, 0}}},
  };
  const int keys[2] = {};
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    CBOMGrid expected;
    CBOMGrid batched;
    CBookingBatch batch;
    for (const Booking& booking : row.bookings) {
      expected.AddHeldQuantity(booking.reference, booking.quantity);
      batch.Add(booking.reference, booking.quantity,
                booking.key < 0 ? nullptr : &keys[booking.key]);
    }
    batch.BookInto(batched);
    EXPECT_EQ(LinesOf(batched), LinesOf(expected));
  }
}

// A booked batch forgets its keys with its lines: a key met again opens its line anew.
TEST(BookingBatchTest, ABookedBatchForgetsItsKeys) {
  const int key = 0;
  CBOMGrid expected;
  CBOMGrid batched;
  CBookingBatch batch;
  const Bookings rounds[] = {{{"A", 1}, {"B", 1}}, {{"B", 2}, {"A", 1}}};
  for (const Bookings& round : rounds) {
    for (const auto& [reference, quantity] : round) {
      expected.AddHeldQuantity(reference, quantity);
      batch.Add(reference, quantity, &key);
    }
    batch.BookInto(batched);
  }
  EXPECT_EQ(LinesOf(batched), LinesOf(expected));
}

}  // namespace
