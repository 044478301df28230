#include "geometry/box.h"

#include "fake_element.h"
#include "platform/archive.h"
#include "support/archive_bytes.h"
#include "geometry/3d_projection.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <vector>

// A box works its projected corners out again from the rotation of its last projection.
// These tests hold them to what a box used to store: each world corner rotated at the
// time of the projection by the matrix of that moment, compared bit for bit (signs of
// zero and not-a-number included), wherever the drawing or the depth order read them.

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

using Angles = std::array<int, 3>;
using Corners = std::array<C3DPoint, CBox::kCornerCount>;

// The view matrix as the projection used to keep it, written out independently.
struct ReferenceMatrix {
  double m[3][3];
  explicit ReferenceMatrix(const Angles& a) {
    const double r0 = a[0] * 0.017453292519943295, r1 = a[1] * 0.017453292519943295,
                 r2 = a[2] * 0.017453292519943295;
    const double sa = std::sin(r0), ca = std::cos(r0), sb = std::sin(r1), cb = std::cos(r1),
                 sc = std::sin(r2), cc = std::cos(r2);
    const double f[3][3] = {{cb * cc, cb * sc, -sb},
                            {sa * sb * cc - ca * sc, sa * sb * sc + ca * cc, sa * cb},
                            {ca * sb * cc + sa * sc, ca * sb * sc - sa * cc, ca * cb}};
    std::memcpy(m, f, sizeof m);
  }
  C3DPoint Rotate(const C3DPoint& p) const {
    const auto row = [&](int r) { return m[r][0] * p.x + m[r][1] * p.y + m[r][2] * p.z; };
    return {row(0), row(1), row(2)};
  }
};

Corners ReferenceProjection(const CBox& box, const Angles& angles) {
  const ReferenceMatrix matrix(angles);
  Corners projected;
  for (int n = 0; n < CBox::kCornerCount; ++n) projected[n] = matrix.Rotate(box.GetCorner(n));
  return projected;
}

bool SameBits(const C3DPoint& a, const C3DPoint& b) {
  return std::memcmp(&a.x, &b.x, sizeof(double)) == 0 &&
         std::memcmp(&a.y, &b.y, sizeof(double)) == 0 &&
         std::memcmp(&a.z, &b.z, sizeof(double)) == 0;
}

// The bounds as the box used to keep them: the first corner's values stay on ties.
void ReferenceBounds(const Corners& p, C3DPoint& low, C3DPoint& high) {
  low = high = p[0];
  for (const C3DPoint& c : p) {
    if (c.x < low.x) low.x = c.x;
    if (c.y < low.y) low.y = c.y;
    if (c.z < low.z) low.z = c.z;
    if (c.x > high.x) high.x = c.x;
    if (c.y > high.y) high.y = c.y;
    if (c.z > high.z) high.z = c.z;
  }
}

// Every reader of the projection against the expected corners.
void ExpectProjection(const CBox& box, const Corners& expected, const std::string& what) {
  const Corners all = box.GetProjectedCorners();
  const std::array<CPoint, CBox::kCornerCount> window = box.GetWindowCorners();
  for (int n = 0; n < CBox::kCornerCount; ++n) {
    EXPECT_TRUE(SameBits(box.GetProjectedCorner(n), expected[n])) << what << " corner " << n;
    EXPECT_TRUE(SameBits(all[n], expected[n])) << what << " all, corner " << n;
    const CPoint w(TruncateCoordinate(expected[n].x), TruncateCoordinate(expected[n].y));
    EXPECT_EQ(box.GetWindowCorner(n), w) << what << " window corner " << n;
    EXPECT_EQ(window[n], w) << what << " window corners " << n;
  }
  EXPECT_EQ(box.GetProjectedCorner(8), C3DPoint()) << what;
  EXPECT_EQ(box.GetProjectedCorner(-1), C3DPoint()) << what;
}

void ExpectBounds(const CBox& box, const Corners& expected, const std::string& what) {
  C3DPoint low, high;
  ReferenceBounds(expected, low, high);
  EXPECT_TRUE(SameBits(box.GetProjectedMin(), low)) << what;
  EXPECT_TRUE(SameBits(box.GetProjectedMax(), high)) << what;
  const bool finite = std::isfinite(low.x) && std::isfinite(low.y) && std::isfinite(low.z) &&
                      std::isfinite(high.x) && std::isfinite(high.y) && std::isfinite(high.z);
  EXPECT_EQ(box.HasFiniteProjection(), finite) << what;
}

struct Placement {
  C3DPoint origin;
  std::array<std::int32_t, 3> extents;
};

// Flat, empty, odd, huge, negative-zero, fractional and non-finite boxes.
const Placement kDegenerate[] = {
    {{0, 0, 0}, {0, 0, 0}},
    {{-0.0, -0.0, -0.0}, {0, 0, 0}},
    {{1.5, -2.5, 3.25}, {1, 3, 5}},
    {{0, 0, 0}, {kMax, kMax, kMax}},
    {{0, 0, 0}, {kMin, 0, 1}},
    {{1e300, -1e300, 1e300}, {10, 20, 30}},
    {{kInf, 0, 0}, {10, 20, 30}},
    {{0, -kInf, 0}, {0, 0, 0}},
    {{kNaN, 1, 2}, {10, 20, 30}},
    {{0, 0, kNaN}, {0, 7, 0}},
    {{2147483647.0, -2147483648.0, 0.5}, {3, 0, 9}},
    {{1e-310, -1e-310, 0}, {1, 1, 1}},
};

const Angles kAngles[] = {{330, 315, 0},  {0, 0, 0},    {90, 180, 270}, {1, 359, 45},
                          {17, 123, 301}, {270, 90, 0}, {359, 359, 359}};

std::vector<Placement> RandomPlacements(int count) {
  std::mt19937 random(651);
  std::uniform_real_distribution<double> coordinate(-1e6, 1e6);
  std::uniform_int_distribution<std::int32_t> extent(-100000, 100000);
  std::vector<Placement> placements;
  for (int i = 0; i < count; ++i) {
    C3DPoint origin(coordinate(random), coordinate(random), coordinate(random));
    if (i % 2 == 0) origin = C3DPoint(std::trunc(origin.x), std::trunc(origin.y), origin.z);
    placements.push_back({origin, {extent(random), extent(random), extent(random)}});
  }
  return placements;
}

// A stored record: the corners, whatever the projection, the pass word, origin, extents.
std::vector<std::uint8_t> Record(const std::array<std::array<std::int32_t, 3>, 8>& corners,
                                 const std::array<std::int32_t, 3>& origin,
                                 const std::array<std::int32_t, 3>& extents) {
  std::vector<std::uint8_t> bytes;
  const auto put = [&](std::int32_t v) {
    for (int i = 0; i < 4; ++i)
      bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
  };
  for (const auto& c : corners) {
    for (std::int32_t v : c) put(v);
    put(12345);  // a projected corner, never trusted
    put(-678);
  }
  bytes.resize(bytes.size() + 7 * 8, 0);
  put(0);
  for (std::int32_t v : origin) put(v);
  for (std::int32_t v : extents) put(v);
  return bytes;
}

class BoxProjectionTest : public ::testing::Test {
 protected:
  BoxProjectionTest() { element.projection = &projection; }
  void Turn(const Angles& a) { projection.SetViewAngles(a[0], a[1], a[2], false, false); }

  C3DProjection projection;
  CFakeElement element;
};

TEST_F(BoxProjectionTest, PlacedBoxesProjectAsTheStoredCornersDid) {
  std::vector<Placement> placements = RandomPlacements(300);
  placements.insert(placements.end(), std::begin(kDegenerate), std::end(kDegenerate));
  for (const Angles& angles : kAngles) {
    Turn(angles);
    for (std::size_t i = 0; i < placements.size(); ++i) {
      const Placement& p = placements[i];
      CBox box(&element);
      box.SetPlacement(p.origin, p.extents[0], p.extents[1], p.extents[2]);
      const std::string what = "box " + std::to_string(i) + " at " + std::to_string(angles[0]) +
                               "/" + std::to_string(angles[1]) + "/" + std::to_string(angles[2]);
      const Corners expected = ReferenceProjection(box, angles);
      ExpectProjection(box, expected, what);
      ExpectBounds(box, expected, what);
    }
  }
}

TEST_F(BoxProjectionTest, ReadBoxesOfEveryCornerFormProjectAsTheStoredCornersDid) {
  std::mt19937 random(65);
  std::uniform_int_distribution<std::int32_t> any(kMin, kMax);
  struct Case {
    const char* name;
    std::array<std::int32_t, 3> origin;
    std::array<std::int32_t, 3> extents;
    bool scattered;  // corners that follow no rule
  };
  const Case cases[] = {
      {"even extents (exact corners)", {100, -200, 300}, {10, 20, 30}, false},
      {"odd extents (truncated corners)", {100, -200, 301}, {11, 21, 31}, false},
      {"largest extents", {0, 0, 0}, {kMax, kMax, kMax}, false},
      {"scattered corners", {1, 2, 3}, {4, 5, 6}, true},
      {"scattered extreme corners", {kMin, kMax, 0}, {kMin, 0, kMax}, true},
  };
  for (const Angles& angles : kAngles) {
    Turn(angles);
    for (const Case& c : cases) {
      CBox placed;  // only to give the corners a box of this placement has
      placed.SetPlacement(C3DPoint(c.origin[0], c.origin[1], c.origin[2]), c.extents[0],
                          c.extents[1], c.extents[2]);
      std::array<std::array<std::int32_t, 3>, 8> corners;
      for (int n = 0; n < 8; ++n) {
        const C3DPoint k = placed.GetCorner(n);
        corners[n] = {C3DPoint::ToStoredInt(k.x), C3DPoint::ToStoredInt(k.y),
                      C3DPoint::ToStoredInt(k.z)};
        if (c.scattered) corners[n] = {any(random), any(random), any(random)};
      }
      CBox box(&element);
      ReadBytes(box, Record(corners, c.origin, c.extents));
      for (int n = 0; n < 8; ++n) {
        ASSERT_EQ(box.GetCorner(n), C3DPoint(corners[n][0], corners[n][1], corners[n][2]))
            << c.name;
      }
      const Corners expected = ReferenceProjection(box, angles);
      ExpectProjection(box, expected, c.name);
      ExpectBounds(box, expected, c.name);
    }
  }
}

TEST_F(BoxProjectionTest, ATurnWithoutAResortLeavesEveryBoxItsLastProjection) {
  for (const Placement& p : kDegenerate) {
    Turn({330, 315, 0});
    CBox box(&element);
    box.SetPlacement(p.origin, p.extents[0], p.extents[1], p.extents[2]);
    const Corners before = ReferenceProjection(box, {330, 315, 0});
    Turn({10, 20, 30});
    ExpectProjection(box, before, "after the turn");
    ExpectBounds(box, before, "after the turn");
    projection.ProjectBox(box);
    ExpectProjection(box, ReferenceProjection(box, {10, 20, 30}), "projected again");
  }
}

// How a box's corners can change while it cannot be projected again.
enum class Loss { kOwnerLetGo, kOwnerWithoutProjection };
enum class Move { kOrigin, kPlacement, kExtent1, kExtent2, kExtent3, kCorners, kRecord };

void MoveBox(CBox& box, Move move) {
  switch (move) {
    case Move::kOrigin: box.SetOrigin(C3DPoint(5, 6, 7)); break;
    case Move::kPlacement: box.SetPlacement(C3DPoint(-9, 8, -7), 3, 5, 7); break;
    case Move::kExtent1: box.SetExtent1(999); break;
    case Move::kExtent2: box.SetExtent2(999); break;
    case Move::kExtent3: box.SetExtent3(999); break;
    case Move::kCorners: box.ComputeCorners(); break;
    case Move::kRecord: {
      const std::array<std::int32_t, 3> c{1, 2, 3};
      ReadBytes(box, Record({c, c, c, c, c, c, c, c}, {4, 5, 6}, {7, 8, 9}));
      break;
    }
  }
}

TEST_F(BoxProjectionTest, ABoxMovedWhereItCannotBeProjectedKeepsItsLastProjection) {
  const Move moves[] = {Move::kOrigin,  Move::kPlacement, Move::kExtent1, Move::kExtent2,
                        Move::kExtent3, Move::kCorners,   Move::kRecord};
  for (Loss loss : {Loss::kOwnerLetGo, Loss::kOwnerWithoutProjection}) {
    for (Move move : moves) {
      const std::string what = "loss " + std::to_string(static_cast<int>(loss)) + " move " +
                               std::to_string(static_cast<int>(move));
      Turn({17, 123, 301});
      element.projection = &projection;
      CBox box(&element);
      box.SetPlacement(C3DPoint(100.5, -200, 300), 11, 21, 31);
      const Corners before = ReferenceProjection(box, {17, 123, 301});
      if (loss == Loss::kOwnerLetGo) box.SetOwner(nullptr);
      if (loss == Loss::kOwnerWithoutProjection) element.projection = nullptr;
      MoveBox(box, move);
      ExpectProjection(box, before, what);
      ExpectBounds(box, before, what);
      MoveBox(box, Move::kOrigin);  // a second move keeps the same projection
      ExpectProjection(box, before, what + " twice");

      const CBox copy = box;
      box.SetOwner(&element);
      element.projection = &projection;
      box.ComputeCorners();
      const Corners after = ReferenceProjection(box, {17, 123, 301});
      ExpectProjection(box, after, what + " projected again");
      ExpectBounds(box, after, what + " projected again");
      ExpectProjection(copy, before, what + " copy");
    }
  }
}

TEST_F(BoxProjectionTest, AProjectionOutlivesTheProjectionThatMadeIt) {
  auto own = std::make_unique<C3DProjection>();
  own->SetViewAngles(45, 30, 15, false, false);
  CFakeElement owner;
  owner.projection = own.get();
  CBox box(&owner);
  box.SetPlacement(C3DPoint(1, 2, 3), 40, 50, 60);
  const CBox copy = box;
  const Corners expected = ReferenceProjection(box, {45, 30, 15});
  own.reset();
  owner.projection = nullptr;
  ExpectProjection(box, expected, "the box");
  ExpectProjection(copy, expected, "its copy");
  box.SetOrigin(C3DPoint(0, 0, 0));
  ExpectProjection(box, expected, "moved afterwards");
}

// The states a box out of the scene can be in when a scene is made anew.
enum class Before {
  kProjectedNow,      // by the angles in force
  kTurnedSince,       // by other angles
  kMovedUnprojected,  // its corners changed while its owner had no projection
  kNeverProjected,
  kReadFromRecord,  // corners of a stored record, projected as read
  kFacesMarked,     // projected now, its face nibbles set since
};

void BringInto(CBox& box, Before before, const Placement& p, CFakeElement& element,
               C3DProjection& projection) {
  C3DProjection* const own = element.projection;
  if (before == Before::kNeverProjected) element.projection = nullptr;
  box.SetPlacement(p.origin, p.extents[0], p.extents[1], p.extents[2]);
  element.projection = own;
  switch (before) {
    case Before::kTurnedSince: projection.SetViewAngles(45, 30, 15, false, false); break;
    case Before::kMovedUnprojected:
      element.projection = nullptr;
      box.SetOrigin(C3DPoint(-70, 80, -90.5));
      element.projection = own;
      break;
    case Before::kReadFromRecord: {
      const std::array<std::int32_t, 3> c{1, 2, 3};
      ReadBytes(box, Record({c, c, c, c, c, c, c, c}, {4, 5, 6}, {7, 8, 9}));
      break;
    }
    case Before::kFacesMarked:
      for (int face = 0; face < CBox::kFaceCount; ++face) box.SetFaceBits(face, 0xF);
      break;
    default: break;
  }
}

// Every reader of a box's projection and its attribute word.
void ExpectSameProjection(const CBox& a, const CBox& b, const std::string& what) {
  const Corners ac = a.GetProjectedCorners();
  const Corners bc = b.GetProjectedCorners();
  for (int n = 0; n < CBox::kCornerCount; ++n)
    EXPECT_TRUE(SameBits(ac[n], bc[n])) << what << " corner " << n;
  EXPECT_EQ(a.GetWindowCorners(), b.GetWindowCorners()) << what;
  EXPECT_TRUE(SameBits(a.GetProjectedMin(), b.GetProjectedMin())) << what;
  EXPECT_TRUE(SameBits(a.GetProjectedMax(), b.GetProjectedMax())) << what;
  EXPECT_EQ(a.HasFiniteProjection(), b.HasFiniteProjection()) << what;
  EXPECT_EQ(a.GetAttributes(), b.GetAttributes()) << what;
}

TEST_F(BoxProjectionTest, ABoxProjectedAgainEndsAsAFreshProjectionLeavesIt) {
  const Before states[] = {Before::kProjectedNow,     Before::kTurnedSince,
                           Before::kMovedUnprojected, Before::kNeverProjected,
                           Before::kReadFromRecord,   Before::kFacesMarked};
  const Angles now{17, 123, 301};
  for (Before before : states) {
    for (const Placement& p : kDegenerate) {
      const std::string what = "state " + std::to_string(static_cast<int>(before));
      Turn(now);
      CBox box(&element);
      BringInto(box, before, p, element, projection);
      Turn(now);
      CBox fresh = box;
      CBox again = box;
      projection.ProjectBox(fresh);
      projection.ReprojectBox(again);
      ExpectSameProjection(again, fresh, what);
      ExpectProjection(again, ReferenceProjection(box, now), what);
    }
  }
}

TEST_F(BoxProjectionTest, ABoxNeverProjectedGivesZeros) {
  const Corners zeros{};
  CBox bare;
  ExpectProjection(bare, zeros, "new");
  bare.SetPlacement(C3DPoint(1, 2, 3), 4, 5, 6);
  ExpectProjection(bare, zeros, "placed without an owner");
  CBox owned(&element);
  element.projection = nullptr;
  owned.SetPlacement(C3DPoint(1, 2, 3), 4, 5, 6);
  ExpectProjection(owned, zeros, "placed by an owner without a projection");
  EXPECT_EQ(owned.GetProjectedMin(), C3DPoint());
  EXPECT_EQ(owned.GetProjectedMax(), C3DPoint());
}

}  // namespace
