#include "geometry/box.h"

#include "fake_element.h"
#include "geometry/3d_projection.h"
#include "platform/archive.h"
#include "support/archive_bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The record as its layout reads, built corner by corner from what the box answers: each
// world corner truncated, then projected by the owner's projection, or the box's own
// window corner without one.
std::vector<std::uint8_t> CornerByCornerRecord(const CBox& box) {
  std::vector<std::uint8_t> bytes;
  auto put = [&bytes](std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
  };
  const C3DProjection* projection =
      box.GetOwner() != nullptr ? box.GetOwner()->GetProjection() : nullptr;
  for (int n = 0; n < CBox::kCornerCount; ++n) {
    const C3DPoint c = box.GetCorner(n);
    const C3DPoint stored(C3DPoint::ToStoredInt(c.x), C3DPoint::ToStoredInt(c.y),
                          C3DPoint::ToStoredInt(c.z));
    put(static_cast<std::int32_t>(stored.x));
    put(static_cast<std::int32_t>(stored.y));
    put(static_cast<std::int32_t>(stored.z));
    const CPoint w =
        projection != nullptr ? projection->ProjectPoint(stored) : box.GetWindowCorner(n);
    put(w.x);
    put(w.y);
  }
  bytes.insert(bytes.end(), 7 * 8, 0);
  put(static_cast<std::int32_t>(box.GetPassWord()));
  put(C3DPoint::ToStoredInt(box.GetOrigin().x));
  put(C3DPoint::ToStoredInt(box.GetOrigin().y));
  put(C3DPoint::ToStoredInt(box.GetOrigin().z));
  for (int k = 0; k < 3; ++k) put(box.GetExtent(k));
  return bytes;
}

// How the box under test comes by its corners.
enum class EMade {
  kPlaced,        // worked out from origin and extents
  kReadBack,      // read from its own record: corners truncated when they had fractions
  kReadOffByOne,  // read from a record with one coordinate moved: corners listed
};

struct RecordCase {
  const char* guards;
  C3DPoint origin;
  std::array<std::int32_t, 3> extents;
  EMade made;
  std::optional<std::array<int, 3>> angles;  // none: the owner has no projection
  bool owned = true;
};

class BoxStoredRecordTest : public ::testing::Test {
 protected:
  // The box of the case, as the case says it was made.
  CBox Make(const RecordCase& row) {
    CBox placed(row.owned ? &element : nullptr);
    placed.SetPlacement(row.origin, row.extents[0], row.extents[1], row.extents[2]);
    placed.SetPassWord(0x30000005);
    if (row.made == EMade::kPlaced) return placed;
    std::vector<std::uint8_t> bytes = WrittenBytes(placed);
    if (row.made == EMade::kReadOffByOne) {
      std::int32_t y = 0;
      std::memcpy(&y, bytes.data() + 3 * 20 + 4, 4);  // corner 3's y; the host is little-endian
      ++y;
      std::memcpy(bytes.data() + 3 * 20 + 4, &y, 4);
    }
    CBox read(row.owned ? &element : nullptr);
    ReadBytes(read, bytes);
    return read;
  }

  C3DProjection projection;
  CFakeElement element;
};

// The record is laid out from each coordinate's two values rather than corner by corner:
// it must come to the same bytes for every way a box holds its corners, for fractions
// that truncate, values beyond the stored range, not-a-number, and with or without a
// projection to give the window corners.
TEST_F(BoxStoredRecordTest, TheRecordEqualsTheOneBuiltCornerByCorner) {
  const RecordCase rows[] = {
      {"whole corners", {100, 200, 300}, {10, 20, 30}, EMade::kPlaced, {{0, 0, 0}}},
      {"negative whole corners stay as they are",
       {-100, -200, -300},
       {10, 20, 30},
       EMade::kPlaced,
       {{0, 0, 0}}},
      {"odd extents: half units truncated toward zero",
       {0, 0, 0},
       {3, 5, 7},
       EMade::kPlaced,
       {{0, 0, 0}}},
      {"negative fractions truncate toward zero",
       {-7.75, -9.5, -11.25},
       {3, 1, 5},
       EMade::kPlaced,
       {{30, 45, 60}}},
      {"the axes told apart: a swap of two would show",
       {1, 2, 3},
       {10, 200, 3000},
       EMade::kPlaced,
       {{10, 20, 30}}},
      {"corners beyond the stored range are clamped",
       {2.5e9, -2.5e9, 0},
       {kMax, kMax, 1},
       EMade::kPlaced,
       {{0, 0, 0}}},
      {"a not-a-number origin is stored as zero",
       {kNaN, 4, 5},
       {10, 10, 10},
       EMade::kPlaced,
       {{0, 0, 0}}},
      {"an empty box", {5, 5, 5}, {0, 0, 0}, EMade::kPlaced, {{0, 90, 180}}},
      {"truncated corners read back",
       {0.5, -0.5, 1.5},
       {3, 5, 7},
       EMade::kReadBack,
       {{15, 25, 35}}},
      {"whole corners read back", {100, 200, 300}, {10, 20, 30}, EMade::kReadBack, {{0, 0, 0}}},
      {"listed corners read back", {0, 0, 0}, {3, 5, 7}, EMade::kReadOffByOne, {{45, 0, 300}}},
      {"listed corners, far out", {-3e9, 1, 2}, {kMax, 4, 6}, EMade::kReadOffByOne, {{0, 0, 0}}},
      {"no projection: the box's own window corners",
       {1, 2, 3},
       {4, 5, 6},
       EMade::kPlaced,
       std::nullopt},
      {"listed corners, no projection", {1, 2, 3}, {4, 5, 6}, EMade::kReadOffByOne, std::nullopt},
      {"no owner", {1.5, 2.5, 3.5}, {4, 5, 6}, EMade::kPlaced, std::nullopt, false},
  };
  for (const RecordCase& row : rows) {
    SCOPED_TRACE(row.guards);
    if (row.angles) {
      projection.SetViewAngles((*row.angles)[0], (*row.angles)[1], (*row.angles)[2], false, false);
    }
    element.projection = row.angles ? &projection : nullptr;
    const CBox box = Make(row);
    const std::vector<std::uint8_t> written = WrittenBytes(box);
    ASSERT_EQ(written.size(), CBox::kRecordSize);
    EXPECT_EQ(written, CornerByCornerRecord(box));
  }
}

}  // namespace
