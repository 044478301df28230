// Small pieces of the element drawing: a face's window polygon from corners worked out
// once against the one read corner by corner, and the element that owns a box.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/box.h"
#include "geometry/view_rotation.h"
#include "model/element/dev.h"
#include "view/element_draw_support.h"

namespace {

using element_draw::FacePolygon;

struct CPlacedBox {
  const char* guards;
  C3DPoint origin;
  std::array<std::int32_t, 3> extents;
  std::array<int, 3> angles;
  bool projected;
};

// Boxes of even and odd extents (exact and truncated corners), flat and huge ones, far
// from the origin, at angles that put corners on either side of whole window units, and
// one never projected (its window corners are all zero).
const CPlacedBox kBoxes[] = {
    {"a plain box seen from the usual angles", {0, 0, 0}, {100, 200, 300}, {30, 20, 10}, true},
    {"odd extents: corners truncated", {17, -33, 5}, {101, 7, 33}, {45, 45, 45}, true},
    {"a flat box", {1000, 2000, -3000}, {0, 500, 40}, {0, 90, 0}, true},
    {"a face turned edge on", {-5, 5, -5}, {60, 60, 60}, {90, 0, 0}, true},
    {"negative angles", {123456, -654321, 999}, {2400, 110, 85}, {-30, -60, 15}, true},
    {"huge extents far away", {1e8, -1e8, 5e7}, {2000000000, 3, 2000000000}, {13, 77, 181}, true},
    {"half-unit corners", {0.5, 1.5, -2.5}, {1, 3, 5}, {1, 2, 3}, true},
    {"never projected", {10, 20, 30}, {40, 50, 60}, {0, 0, 0}, false},
};

TEST(ElementDrawSupportTest, AFacePolygonFromTheCornersWorkedOutOnceIsTheOneReadCornerByCorner) {
  for (const CPlacedBox& c : kBoxes) {
    CBox box;
    box.SetPlacement(c.origin, c.extents[0], c.extents[1], c.extents[2]);
    if (c.projected)
      box.StoreProjection(CViewRotation::ForAngles(c.angles[0], c.angles[1], c.angles[2]));
    const std::array<CPoint, CBox::kCornerCount> corners = box.GetWindowCorners();
    // Faces and starts outside the table give the points the box gives for them.
    for (int face = -1; face <= CBox::kFaceCount; ++face) {
      for (int start = -1; start <= 4; ++start) {
        EXPECT_EQ(FacePolygon(corners, face, start), FacePolygon(box, face, start))
            << c.guards << ", face " << face << " from corner " << start;
      }
    }
  }
}

TEST(ElementDrawSupportTest, TheFacePolygonFollowsTheFaceTableFromItsStart) {
  std::array<CPoint, CBox::kCornerCount> corners{};
  for (int n = 0; n < CBox::kCornerCount; ++n) corners[static_cast<std::size_t>(n)] = {n, 10 * n};
  for (int face = 0; face < CBox::kFaceCount; ++face) {
    for (int start = 0; start < 4; ++start) {
      const std::array<CPoint, 4> polygon = FacePolygon(corners, face, start);
      for (int i = 0; i < 4; ++i) {
        const int corner = CBox::GetFaceCorner(face, (start + i) % 4);
        EXPECT_EQ(polygon[static_cast<std::size_t>(i)], CPoint(corner, 10 * corner))
            << "face " << face << " from corner " << start << ", point " << i;
      }
    }
  }
}

// Not an element: a box of some other owner.
class COtherOwner : public CBoxOwner {
 public:
  int GetKind() const override { return CDev::kInLine; }
  std::uint32_t GetStyle() const override { return 0; }
  std::uint32_t GetFlags() const override { return 0; }
  int GetDirection() const override { return 0; }
  int GetRotation() const override { return 0; }
  std::int32_t GetLength() const override { return 0; }
  C3DPoint GetPosition() const override { return {}; }
  CBox* GetBox(int) const override { return nullptr; }
  CBoxOwner* GetNeighbour(int) const override { return nullptr; }
  C3DProjection* GetProjection() const override { return nullptr; }
  std::vector<const CBox*> GetExtraBoxes() const override { return {}; }
  std::string GetRunProperty(std::string_view) const override { return {}; }
};

TEST(ElementDrawSupportTest, TheOwningElementIsTheBoxsElementOrNone) {
  CDev element;
  COtherOwner other;
  const struct {
    CBox box;
    const CDev* expected;
    const char* guards;
  } rows[] = {
      {CBox(&element), &element, "an element's box"},
      {CBox(&other), nullptr, "another owner is no element, whatever kind it tells"},
      {CBox(), nullptr, "a box of no owner"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(element_draw::OwningElement(row.box), row.expected) << row.guards;
}

}  // namespace
