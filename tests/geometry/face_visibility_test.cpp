#include "geometry/face_visibility.h"

#include "fake_element.h"
#include "geometry/3d_projection.h"
#include "geometry/box.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// The initial view (330, 315, 0) shows faces 0 (-A), 2 (+B) and 5 (+C) of an unturned box.
constexpr std::uint32_t kShown = 0x300303;

class FaceVisibilityTest : public ::testing::Test {
 protected:
  FaceVisibilityTest() { element.projection = &projection; }

  CBox& Slot(int slot, bool listed) {
    boxes.push_back(std::make_unique<CBox>());
    CBox& box = *boxes.back();
    element.Adopt(slot, box);
    box.SetPlacement(C3DPoint(slot * 10.0, 0, 0), 100, 100, 100);
    box.SetListed(listed);
    return box;
  }
  static std::uint32_t Nibbles(const CBox& box) {
    return box.GetAttributes() & CBox::kFaceNibblesMask;
  }
  static std::uint32_t Face(int f, std::uint32_t value) { return value << (4 * f); }

  C3DProjection projection;
  CFakeElement element;
  std::vector<std::unique_ptr<CBox>> boxes;
};

TEST_F(FaceVisibilityTest, AFreeBoxShowsTheFacesTowardTheViewer) {
  CBox box;
  box.SetPlacement(C3DPoint(), 10, 10, 10);
  box.SetAttributes(0x70000000 | 0xFFFFFF);
  UpdateFaceVisibility(projection, box);
  EXPECT_EQ(box.GetAttributes(), 0x70000000u | kShown);
}

TEST_F(FaceVisibilityTest, TheBodyClosesItsJointsWithListedDirectionBoxes) {
  element.kind = 2;                // joins its body
  CBox& toward0 = Slot(0, true);   // body face 0 shown: loses value 1
  CBox& toward4 = Slot(4, true);   // its face 0 (opposite of 4) shown: loses value 1
  CBox& toward2 = Slot(2, false);  // not listed: nothing happens
  CBox& body = Slot(6, false);
  for (CBox* b : {&toward0, &toward4, &toward2}) UpdateFaceVisibility(projection, *b);
  const std::uint32_t before0 = Nibbles(toward0), before2 = Nibbles(toward2);
  UpdateFaceVisibility(projection, body);
  EXPECT_EQ(Nibbles(body), kShown & ~Face(0, 1)) << "face 0 joins the box toward 0";
  EXPECT_EQ(Nibbles(toward4) & Face(0, 1), 0u);
  EXPECT_EQ(Nibbles(toward0), before0) << "its face 4 is not shown anyway";
  EXPECT_EQ(Nibbles(toward2), before2);
}

TEST_F(FaceVisibilityTest, KeptStylesAndPassBitsLeaveTheDirectionBoxesOpen) {
  const struct {
    const char* name;
    int kind;
    std::uint32_t style, bodyPass;
    bool kept;
  } cases[] = {
      {"an ordinary end element", 0, 3, 0, false},
      {"an end element of variant 7", 0, 7, 0, true},
      {"variant 6 with a shape below 3", 0, 6 | (2u << 20), 0, true},
      {"variant 6 with shape 3", 0, 6 | (3u << 20), 0, false},
      {"a body with drawing-pass bits", 0, 3, 0x40000000, true},
  };
  for (const auto& c : cases) {
    boxes.clear();
    element = CFakeElement();
    element.projection = &projection;
    element.kind = c.kind;
    element.style = c.style;
    CBox& toward4 = Slot(4, true);
    CBox& body = Slot(6, false);
    body.SetPassWord(c.bodyPass);
    UpdateFaceVisibility(projection, toward4);
    UpdateFaceVisibility(projection, body);
    EXPECT_EQ((Nibbles(toward4) & Face(0, 1)) != 0, c.kept) << c.name;
    EXPECT_EQ(Nibbles(body), kShown) << c.name << ": kind 0 does not join its body";
  }
}

TEST_F(FaceVisibilityTest, ADirectionBoxClosesItsOwnJoints) {
  element.kind = 1;
  element.direction = 4;
  CBox& body = Slot(6, true);
  UpdateFaceVisibility(projection, body);
  CBox& toward2 = Slot(2, true);
  UpdateFaceVisibility(projection, toward2);
  EXPECT_EQ(Nibbles(toward2), kShown & ~Face(2, 1))
      << "face 2 (its own direction) closed, 3 not shown";
  EXPECT_EQ(Nibbles(body) & Face(2, 1), 0u) << "the body's face 2 joins it";
  CBox& toward3 = Slot(3, true);
  UpdateFaceVisibility(projection, toward3);
  EXPECT_EQ(Nibbles(toward3), kShown & ~Face(2, 1)) << "face 2 is the opposite of 3";
}

TEST_F(FaceVisibilityTest, AWideJointKeepsItsFacesAndAZeroLengthNeighbourClosesAll) {
  element.kind = 9;
  element.direction = 4;
  CBox& body = Slot(6, true);
  CBox& toward3 = Slot(3, true);
  toward3.SetExtent2(300);  // wider than the body across direction 3
  UpdateFaceVisibility(projection, toward3);
  EXPECT_EQ(Nibbles(toward3), kShown) << "kept: face 2 stays open";
  EXPECT_EQ(Nibbles(body), 0u) << "kind 9 does not join its body (never updated here)";

  CFakeElement next;
  next.length = 0;
  element.neighbours[5] = &next;
  CBox& toward5 = Slot(5, true);
  UpdateFaceVisibility(projection, toward5);
  EXPECT_EQ(Nibbles(toward5), kShown & 0x222222) << "only the shown bits remain";
  element.direction = 1;  // slot 5 is now the back: the element itself continues there
  element.length = 0;
  UpdateFaceVisibility(projection, toward5);
  EXPECT_EQ(Nibbles(toward5), kShown & 0x222222);
}

TEST_F(FaceVisibilityTest, BoxesOutsideTheFirstSevenSlotsAreLeftAlone) {
  element.kind = 2;
  CBox& part = Slot(7, true);
  CBox& body = Slot(6, true);
  UpdateFaceVisibility(projection, body);
  UpdateFaceVisibility(projection, part);
  EXPECT_EQ(Nibbles(part), kShown);
  EXPECT_EQ(Nibbles(body), kShown);
}

}  // namespace
