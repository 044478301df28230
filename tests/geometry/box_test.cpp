#include "geometry/box.h"

#include "fake_element.h"
#include "platform/archive.h"
#include "support/archive_bytes.h"
#include "support/golden_file.h"
#include "geometry/3d_projection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <array>
#include <limits>
#include <vector>

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

class BoxTest : public ::testing::Test {
 protected:
  BoxTest() {
    projection.SetViewAngles(0, 0, 0, false, false);
    element.projection = &projection;
  }

  C3DProjection projection;
  CFakeElement element;
};

TEST_F(BoxTest, CornersFollowTheNumbering) {
  CBox box;
  box.SetPlacement(C3DPoint(0, 0, 0), 10, 20, 30);
  const C3DPoint expected[8] = {{-10, 15, 5},  {-10, -15, 5},  {10, 15, 5},  {10, -15, 5},
                                {-10, 15, -5}, {-10, -15, -5}, {10, 15, -5}, {10, -15, -5}};
  for (int n = 0; n < 8; ++n) EXPECT_EQ(box.GetCorner(n), expected[n]) << n;
  EXPECT_EQ(box.GetCorner(8), C3DPoint());
  EXPECT_EQ(box.GetCorner(-1), C3DPoint());
  EXPECT_EQ(box.GetWorldMin(), C3DPoint(-10, -15, -5));
  EXPECT_EQ(box.GetWorldMax(), C3DPoint(10, 15, 5));
}

TEST_F(BoxTest, ExtentsAreStoredAsAbsoluteValues) {
  CBox box;
  box.SetExtent1(-40);
  box.SetExtent2(-7);
  box.SetExtent3(kMin);                     // no overflow: the largest extent instead
  const int expected[] = {40, 7, kMax, 0};  // no fourth extent
  for (int i = 0; i < 4; ++i) EXPECT_EQ(box.GetExtent(i), expected[i]) << i;
  box.SetPlacement(C3DPoint(1, 2, 3), -1, -2, -3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(box.GetExtent(i), i + 1) << i;
}

TEST_F(BoxTest, FaceFlagsAndTheInListBit) {
  CBox box;
  box.SetAttributes(0x30000000 | 0x00654321);
  for (int f = 0; f < 6; ++f)
    EXPECT_EQ(box.GetFaceFlags(f), static_cast<std::uint32_t>(f + 1)) << f;
  EXPECT_EQ(box.GetFaceFlags(6), 0u);
  box.SetListed(true);
  EXPECT_EQ(box.GetFaceFlags(6), CBox::kInListBit);
  EXPECT_EQ(box.GetFaceFlags(-1), CBox::kInListBit);
  EXPECT_EQ(box.GetKindCode(), 3);
  box.ClearFaceNibbles();
  EXPECT_EQ(box.GetAttributes(), 0x31000000u);
}

TEST_F(BoxTest, FaceNormalsAndOutOfRangeFaces) {
  CBox box;
  const C3DPoint expected[6] = {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0},
                                {0, -1, 0}, {1, 0, 0},  {0, 0, 1}};
  for (int f = 0; f < 6; ++f) EXPECT_EQ(box.GetFaceNormal(f), expected[f]) << f;
  for (int f : {-1, 6, 1000}) EXPECT_EQ(box.GetFaceNormal(f), C3DPoint()) << f;
  EXPECT_EQ(CBox::GetFaceCorner(6, 0), -1);
  EXPECT_EQ(CBox::GetFaceCorner(0, 4), -1);
  const int pairs[][3] = {{2, 3, -2}, {4, 4, -1}, {5, 0, 2}, {7, 0, -1}};
  for (const auto& p : pairs)
    EXPECT_EQ(CBox::GetFacePairEntry(p[0], p[1]), p[2]) << p[0] << "," << p[1];
}

// The two side tables as stated: side and rotation index to a place; place and
// direction to a face.
constexpr int kSidePlace[4][4] = {{0, 2, 1, 3}, {1, 3, 0, 2}, {2, 1, 3, 0}, {3, 0, 2, 1}};
constexpr int kPlaceFace[4][6] = {
    {1, 4, 0, 4, 5, 0}, {5, 0, 4, 0, 1, 4}, {2, 2, 1, 1, 2, 2}, {3, 3, 5, 5, 3, 3}};
constexpr int kRotations[4] = {16, 32, 64, 128};

TEST_F(BoxTest, MapSideToFaceCoversEverySideRotationAndDirection) {
  CBox box(&element);
  for (int direction = 0; direction < 6; ++direction) {
    element.direction = direction;
    for (int r = 0; r < 4; ++r) {
      element.rotation = kRotations[r];
      for (int side = 0; side < 4; ++side) {
        const int expected = kPlaceFace[kSidePlace[side][r]][direction];
        EXPECT_EQ(box.MapSideToFace(side, 0), expected) << direction << r << side;
        EXPECT_EQ(box.MapSideToFace(side, 1000), kPlaceFace[kSidePlace[side][0]][direction]);
        const int turned = (3 + r + 1000) % 4;
        EXPECT_EQ(box.MapSideToFace(side, 3), kPlaceFace[kSidePlace[side][turned]][direction]);
      }
    }
  }
}

TEST_F(BoxTest, MapSideToFaceRefusals) {
  CBox box(&element);
  element.direction = 2;
  element.rotation = 32;
  const struct {
    const char* name;
    int side, turn, expected;
  } cases[] = {
      {"side 4", 4, 0, -1},
      {"side -1", -1, 0, -1},
      {"a large negative turn stays in the table", 0, -2003, kPlaceFace[kSidePlace[0][2]][2]},
      {"the most negative turn", 1, kMin, kPlaceFace[kSidePlace[1][1]][2]},
      {"the largest turn", 1, kMax, kPlaceFace[kSidePlace[1][0]][2]},
      {"turn 0 keeps the rotation", 0, 0, kPlaceFace[kSidePlace[0][1]][2]},
  };
  for (const auto& c : cases) EXPECT_EQ(box.MapSideToFace(c.side, c.turn), c.expected) << c.name;
  element.rotation = 48;
  EXPECT_EQ(box.MapSideToFace(0, 0), kPlaceFace[kSidePlace[0][0]][2]);
  element.direction = 6;
  EXPECT_EQ(box.MapSideToFace(0, 0), -1);
  CBox free;
  EXPECT_EQ(free.MapSideToFace(0, 0), -1);
}

TEST_F(BoxTest, RefPointsOfASlotBox) {
  CBox box;
  element.Adopt(6, box);
  element.direction = 1;
  element.rotation = 16;
  box.SetPlacement(C3DPoint(0, 0, 0), 10, 20, 30);
  for (int n = 0; n < 8; ++n) EXPECT_EQ(box.GetRefPoint(n), box.GetCorner(n)) << n;
  EXPECT_EQ(box.GetRefPoint(8), (box.GetCorner(0) + box.GetCorner(2)) / 2.0);
  EXPECT_EQ(box.GetRefPoint(19), (box.GetCorner(6) + box.GetCorner(7)) / 2.0);
  // Direction 0, rotation 32: reference 0 is logical corner 1, box corner 3.
  element.direction = 0;
  element.rotation = 32;
  EXPECT_EQ(box.GetRefPoint(0), box.GetCorner(3));
  EXPECT_EQ(box.GetRefPoint(7), box.GetCorner(4));
  for (int n : {-1, 20, 100}) EXPECT_EQ(box.GetRefPoint(n), C3DPoint()) << n;
  element.direction = -3;
  EXPECT_EQ(box.GetRefPoint(0), C3DPoint());
  CBox free;
  free.SetPlacement(C3DPoint(5, 5, 5), 2, 2, 2);
  EXPECT_EQ(free.GetRefPoint(0), C3DPoint());
}

TEST_F(BoxTest, RefPointsOfExtraBoxesUseTheLastTwoOfTheirKind) {
  element.direction = 1;
  CBox other(&element), first(&element), second(&element), asked(&element);
  other.SetAttributes(0x50000000);
  first.SetAttributes(0x30000000);
  second.SetAttributes(0x30000000);
  asked.SetAttributes(0x30000000);
  first.SetPlacement(C3DPoint(0, 0, 0), 10, 10, 10);
  second.SetPlacement(C3DPoint(100, 0, 0), 10, 20, 30);
  asked.SetPlacement(C3DPoint(-500, 0, 0), 1, 1, 1);

  EXPECT_EQ(asked.GetRefPoint(0), C3DPoint()) << "no extra box of its kind";
  element.extraBoxes = {&first, &other};
  EXPECT_EQ(asked.GetRefPoint(5), first.GetCorner(5)) << "one box: its corner";
  element.extraBoxes = {&first, &other, &second};
  EXPECT_EQ(asked.GetRefPoint(2), second.GetCorner(2)) << "corner below 4: the last one's";
  EXPECT_EQ(asked.GetRefPoint(6), second.GetCorner(2) - (first.GetCorner(0) - first.GetCorner(4)))
      << "corner 4 and up: the far end of the two-box part";
}

TEST_F(BoxTest, HitTestFaceFindsFacesTowardTheViewer) {
  CBox box;
  element.Adopt(6, box);
  box.SetPlacement(C3DPoint(0, 0, 0), 10, 20, 30);
  EXPECT_FALSE(box.IsListed()) << "projecting through the owner never lists the box";
  projection.UpdateFaceVisibility(box);
  EXPECT_EQ(box.GetFaceFlags(5), CBox::kFaceOpen | CBox::kFaceVisible);
  EXPECT_EQ(box.HitTestFace(0, 0, false), 6);
  EXPECT_EQ(box.HitTestFace(-9, 14, false), 6);
  EXPECT_EQ(box.HitTestFace(10, 0, false), 0) << "on the edge";
  EXPECT_EQ(box.HitTestFace(11, 0, false), 0);
  box.SetPassWord(0x20000000);
  EXPECT_EQ(box.HitTestFace(0, 0, true), 6) << "the body is never restricted";
  CBox part;
  element.Adopt(7, part);
  part.SetPlacement(C3DPoint(0, 0, 0), 10, 20, 30);
  projection.UpdateFaceVisibility(part);
  part.SetPassWord(0x20000000);
  EXPECT_EQ(part.HitTestFace(0, 0, true), 0);
  EXPECT_EQ(part.HitTestFace(0, 0, false), 6);
}

TEST_F(BoxTest, RecordBytesArePinned) {
  CBox box(&element);
  box.SetPlacement(C3DPoint(1.5, -2.5, 3), 10, 20, 30);
  box.SetPassWord(0xF1000000);
  const std::vector<std::uint8_t> bytes = WrittenBytes(box);
  EXPECT_EQ(bytes, ReadGoldenBytes("geometry/box_pinned.hex"));
  EXPECT_EQ(bytes.size(), CBox::kRecordSize);
}

TEST_F(BoxTest, LoadingKeepsStoredCornersUntilASetterRuns) {
  CBox box(&element);
  ReadBytes(box, ReadGoldenBytes("geometry/box_stored_corners.hex"));
  for (int n = 0; n < 8; ++n) EXPECT_EQ(box.GetCorner(n), C3DPoint(7, 7, 7));
  EXPECT_EQ(box.GetProjectedCorner(0), C3DPoint(7, 7, 7)) << "projected again, not read";
  EXPECT_EQ(box.GetPassWord(), 0x10000000u);
  EXPECT_EQ(box.GetExtent(0), 10);
  EXPECT_EQ(box.GetExtent(2), kMax);
  EXPECT_EQ(box.GetAxis(0), C3DPoint(1, 0, 0));
  box.SetExtent1(10);
  EXPECT_EQ(box.GetCorner(0), C3DPoint(-10, kMax / 2.0, 5));
}

// A box keeps its stored corners in the least it can: worked out from origin and extents,
// those truncated, or listed. Each kind comes back from its record as stored and is
// written again byte for byte.
TEST_F(BoxTest, ReadCornersComeBackAsStoredWhateverRuleTheyFollow) {
  struct Row {
    C3DPoint origin;
    std::array<std::int32_t, 3> extents;
  };
  const Row rows[] = {
      {{100, 200, 300}, {10, 20, 30}},  // whole corners
      {{0, 0, 0}, {3, 5, 7}},           // half units, truncated on storing
      {{-7, 9, -11}, {kMax, 1, kMax}},  // truncated, and far out
      {{1.5, -2.5, 3}, {10, 20, 30}},   // the stored origin no longer gives the corners
      {{-0.75, 0.25, 0.5}, {1, 2, 3}},
  };
  for (const Row& row : rows) {
    CBox box(&element);
    box.SetPlacement(row.origin, row.extents[0], row.extents[1], row.extents[2]);
    const std::vector<std::uint8_t> bytes = WrittenBytes(box);
    CBox loaded(&element);
    ReadBytes(loaded, bytes);
    C3DPoint low = loaded.GetCorner(0), high = low;
    for (int n = 0; n < CBox::kCornerCount; ++n) {
      const C3DPoint c = box.GetCorner(n);
      const C3DPoint stored(C3DPoint::ToStoredInt(c.x), C3DPoint::ToStoredInt(c.y),
                            C3DPoint::ToStoredInt(c.z));
      EXPECT_EQ(loaded.GetCorner(n), stored) << row.origin.x << " corner " << n;
      low = {std::min(low.x, stored.x), std::min(low.y, stored.y), std::min(low.z, stored.z)};
      high = {std::max(high.x, stored.x), std::max(high.y, stored.y), std::max(high.z, stored.z)};
    }
    EXPECT_EQ(loaded.GetWorldMin(), low) << row.origin.x;
    EXPECT_EQ(loaded.GetWorldMax(), high) << row.origin.x;
    EXPECT_EQ(WrittenBytes(loaded), bytes) << row.origin.x;
    // A copy keeps corners of its own: the original worked out anew leaves it as read.
    std::array<C3DPoint, CBox::kCornerCount> read{};
    for (int n = 0; n < CBox::kCornerCount; ++n)
      read[static_cast<std::size_t>(n)] = loaded.GetCorner(n);
    const CBox copy = loaded;
    loaded.SetPlacement(C3DPoint(1, 1, 1), 2, 2, 2);
    EXPECT_EQ(WrittenBytes(copy), bytes) << row.origin.x;
    for (int n = 0; n < CBox::kCornerCount; ++n)
      EXPECT_EQ(copy.GetCorner(n), read[static_cast<std::size_t>(n)]) << row.origin.x << " " << n;
  }
}

// One coordinate of one stored corner a unit away from what origin and extents give,
// for a box of whole corners and one of truncated corners: every such corner comes back
// as stored, the others too, and the record is written again as read.
TEST_F(BoxTest, ACornerOffByOneCoordinateComesBackAsStored) {
  struct Row {
    const char* name;
    C3DPoint origin;
    std::array<std::int32_t, 3> extents;
  };
  const Row rows[] = {{"whole corners", {100, 200, 300}, {10, 20, 30}},
                      {"truncated corners", {0, 0, 0}, {3, 5, 7}},
                      {"truncated, negative", {-7, -9, -11}, {3, 1, 5}}};
  constexpr std::size_t kCornerBytes = 20;  // the point and the projected corner
  for (const Row& row : rows) {
    CBox box(&element);
    box.SetPlacement(row.origin, row.extents[0], row.extents[1], row.extents[2]);
    const std::vector<std::uint8_t> bytes = WrittenBytes(box);
    for (std::size_t corner = 0; corner < CBox::kCornerCount; ++corner) {
      for (std::size_t axis = 0; axis < 3; ++axis) {
        SCOPED_TRACE(std::string(row.name) + " corner " + std::to_string(corner) + " axis " +
                     std::to_string(axis));
        std::vector<std::uint8_t> edited = bytes;
        const std::size_t at = corner * kCornerBytes + 4 * axis;
        std::int32_t value = 0;
        std::memcpy(&value, edited.data() + at, 4);  // the host is little-endian, as the file
        ++value;
        std::memcpy(edited.data() + at, &value, 4);
        CBox loaded(&element);
        ReadBytes(loaded, edited);
        for (int n = 0; n < CBox::kCornerCount; ++n) {
          const C3DPoint c = box.GetCorner(n);
          C3DPoint stored(C3DPoint::ToStoredInt(c.x), C3DPoint::ToStoredInt(c.y),
                          C3DPoint::ToStoredInt(c.z));
          if (static_cast<std::size_t>(n) == corner)
            (axis == 0 ? stored.x : axis == 1 ? stored.y : stored.z) += 1;
          EXPECT_EQ(loaded.GetCorner(n), stored) << "corner " << n;
        }
        // The projected corners are worked out again from the edited corner, never read.
        std::vector<std::uint8_t> written = WrittenBytes(loaded);
        for (std::size_t n = 0; n < CBox::kCornerCount; ++n) {
          std::fill_n(written.begin() + static_cast<std::ptrdiff_t>(n * kCornerBytes + 12), 8, 0);
          std::fill_n(edited.begin() + static_cast<std::ptrdiff_t>(n * kCornerBytes + 12), 8, 0);
        }
        EXPECT_EQ(written, edited);
      }
    }
  }
}

TEST_F(BoxTest, DamagedRecordsAreRefusedWithoutChangingTheBox) {
  CBox box(&element);
  box.SetPlacement(C3DPoint(1, 2, 3), 4, 5, 6);
  const std::vector<std::uint8_t> good = WrittenBytes(CBox(&element));
  for (std::size_t size : {std::size_t{0}, std::size_t{12}, CBox::kRecordSize - 1}) {
    const std::vector<std::uint8_t> bytes(good.begin(), good.begin() + static_cast<long>(size));
    EXPECT_THROW(ReadBytes(box, bytes), CArchiveError) << size;
    EXPECT_EQ(box.GetOrigin(), C3DPoint(1, 2, 3));
    EXPECT_EQ(box.GetExtent(2), 6);
  }
}

TEST_F(BoxTest, ExtremeStoredValuesStayHarmless) {
  CBox box(&element);
  ReadBytes(box, ReadGoldenBytes("geometry/box_extremes.hex"));
  EXPECT_TRUE(box.HasFiniteProjection());
  projection.UpdateFaceVisibility(box);
  EXPECT_EQ(box.HitTestFace(0, 0, false), 6);
  EXPECT_EQ(WrittenBytes(box).size(), CBox::kRecordSize);
}

TEST_F(BoxTest, NotANumberCornersAreWrittenAsZeroAndNeverPicked) {
  CBox box(&element);
  box.SetPlacement(C3DPoint(std::numeric_limits<double>::quiet_NaN(), 0, 0), 10, 10, 10);
  EXPECT_FALSE(box.HasFiniteProjection());
  projection.UpdateFaceVisibility(box);
  EXPECT_EQ(box.HitTestFace(0, 0, false), 0);
  CBox loaded(&element);
  ReadBytes(loaded, WrittenBytes(box));
  EXPECT_EQ(loaded.GetCorner(0).x, 0.0);
  EXPECT_TRUE(loaded.HasFiniteProjection());
}

}  // namespace
