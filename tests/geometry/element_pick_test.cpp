#include "geometry/element_pick.h"

#include "fake_element.h"
#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/face_visibility.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// View along -z: window x, y are world x, y and the +z face (5) of every box faces the
// viewer.
class ElementPickTest : public ::testing::Test {
 protected:
  ElementPickTest() { projection.SetViewAngles(0, 0, 0, false, false); }
  // The list points to the boxes, which go before the projection: unlist them first, as
  // a destroyed element does.
  ~ElementPickTest() override { projection.ClearDisplayList(); }

  CFakeElement& Element(int kind, C3DPoint position, int direction = 4) {
    elements.push_back(std::make_unique<CFakeElement>());
    CFakeElement& e = *elements.back();
    e.kind = kind;
    e.position = position;
    e.direction = direction;
    e.projection = &projection;
    return e;
  }
  CBox& Box(CFakeElement* owner, int slot, C3DPoint origin, int e0, int e1, int e2,
            bool list = true) {
    boxes.push_back(std::make_unique<CBox>());
    CBox& box = *boxes.back();
    if (owner != nullptr) owner->Adopt(slot, box);
    box.SetPlacement(origin, e0, e1, e2);
    projection.ProjectBox(box);
    if (list) projection.InsertInDisplayList(box);
    return box;
  }

  C3DProjection projection;
  std::vector<std::unique_ptr<CFakeElement>> elements;
  std::vector<std::unique_ptr<CBox>> boxes;
};

void ExpectPoint(const CElementPick& pick, const C3DPoint& expected) {
  ASSERT_TRUE(pick.point.has_value());
  EXPECT_NEAR(pick.point->x, expected.x, 1e-9);
  EXPECT_NEAR(pick.point->y, expected.y, 1e-9);
  EXPECT_NEAR(pick.point->z, expected.z, 1e-9);
}

void ExpectPick(const CElementPick& pick, const C3DPoint& point, int code, const CBox* box) {
  ExpectPoint(pick, point);
  EXPECT_EQ(pick.code, code);
  EXPECT_EQ(pick.box, box);
}

TEST_F(ElementPickTest, EmptySpaceGivesNothing) {
  const CElementPick empty = HitTestElements(projection, {10, 10});
  EXPECT_FALSE(empty.point);
  EXPECT_EQ(empty.box, nullptr);
  Box(nullptr, 0, C3DPoint(0, 0, 0), 100, 100, 100);
  const CElementPick miss = HitTestElements(projection, {500, 500}, 3);
  EXPECT_FALSE(miss.point);
  EXPECT_EQ(miss.box, nullptr);
  EXPECT_EQ(miss.code, 3) << "the code is left as it came";
}

TEST_F(ElementPickTest, TheFrontBoxWins) {
  CBox& back = Box(nullptr, 0, C3DPoint(0, 0, 0), 100, 100, 100);
  CBox& front = Box(nullptr, 0, C3DPoint(20, 0, 300), 100, 100, 100);
  const CElementPick pick = HitTestElements(projection, {30, 10});
  EXPECT_EQ(pick.box, &front);
  ExpectPoint(pick, C3DPoint(30, 10, 350));
  const CElementPick side = HitTestElements(projection, {-40, 10});
  EXPECT_EQ(side.box, &back);
  ExpectPoint(side, C3DPoint(-40, 10, 50));
}

TEST_F(ElementPickTest, RestrictedFacesAreSkippedWithoutACode) {
  CFakeElement& e = Element(0, C3DPoint());
  CBox& behind = Box(nullptr, 0, C3DPoint(0, 0, 0), 100, 100, 100);
  CBox& part = Box(&e, 8, C3DPoint(0, 0, 300), 100, 100, 100);
  part.SetPassWord(0x20000000);
  EXPECT_EQ(HitTestElements(projection, {0, 0}).box, &behind);
  EXPECT_EQ(HitTestElements(projection, {0, 0}, 0).box, &part) << "codes 0 and 1 pick every face";
}

TEST_F(ElementPickTest, AnAxisPartIsAPlaneThroughItsOrigin) {
  CBox& axis = Box(nullptr, 0, C3DPoint(0, 0, 0), 0, 0, 0);
  axis.SetAttributes(0x70000000);
  const CElementPick parallel = HitTestElements(projection, {10, 10});
  EXPECT_FALSE(parallel.point) << "the view ray runs along the plane";
  EXPECT_EQ(parallel.box, &axis) << "and the walk ends there";

  projection.SetViewAngles(90, 0, 0, true, false);  // looking along the plane's normal
  const CElementPick near = HitTestElements(projection, {300, 400});
  ASSERT_TRUE(near.point);
  EXPECT_NEAR(near.point->y, 0.0, 1e-9);
  EXPECT_EQ(near.box, &axis);
  const CElementPick far = HitTestElements(projection, {600, 600});
  EXPECT_FALSE(far.point) << "849 units from the origin";
  EXPECT_EQ(far.box, nullptr);
}

TEST_F(ElementPickTest, BodiesSnapToTheirOriginOrCorners) {
  CFakeElement& plain = Element(1, C3DPoint(0, 0, 0));
  Box(&plain, 6, C3DPoint(0, 0, 0), 200, 200, 200);
  const CElementPick origin = HitTestElements(projection, {50, 30}, 0);
  ExpectPoint(origin, C3DPoint(0, 0, 0));
  EXPECT_EQ(origin.code, 9);

  CFakeElement& unit = Element(7, C3DPoint(1000, 0, 0), 1);
  CBox& body = Box(&unit, 6, C3DPoint(1000, 0, 0), 200, 200, 200);
  ExpectPick(HitTestElements(projection, {1090, 90}, 0), body.GetCorner(2), 3, &body);
  SCOPED_TRACE("no corner within 100: the origin");
  ExpectPick(HitTestElements(projection, {1000, 0}, 0), C3DPoint(1000, 0, 0), 9, &body);
  EXPECT_EQ(HitTestElements(projection, {1000, 0}, 1).code, 9);
}

class DirectionBoxPickTest : public ElementPickTest {
 protected:
  DirectionBoxPickTest()
      : start(Element(1, C3DPoint(0, 0, 0))), next(Element(9, C3DPoint(6000, 0, 0))) {
    CFakeElement::Link(start, 4, next);
    Box(&start, 6, C3DPoint(0, 0, 0), 100, 100, 100);
    Box(&next, 6, C3DPoint(6000, 0, 0), 100, 100, 100);
    length = &Box(&start, 4, C3DPoint(3000, 0, 0), 100, 5000, 100);  // x 500..5500
    back = &Box(&next, 0, C3DPoint(5800, 0, 0), 100, 300, 100);      // the joint's back box
  }

  CFakeElement& start;
  CFakeElement& next;
  CBox* length = nullptr;
  CBox* back = nullptr;
};

TEST_F(DirectionBoxPickTest, NearANodeTheElementsBodyIsTaken) {
  length->SetPlacement(C3DPoint(2900, 0, 0), 100, 5800, 100);  // x 0..5800 now
  projection.ResortDisplayList();
  ExpectPick(HitTestElements(projection, {90, 20}, 0), C3DPoint(0, 0, 0), 9, start.GetBox(6));
}

TEST_F(DirectionBoxPickTest, TapOffOutletsOfTheJointAhead) {
  next.outlets = {C3DPoint(1400, 0, 50), C3DPoint(3000, 0, 50)};
  next.outletWord = 0x1000;
  ExpectPick(HitTestElements(projection, {1500, 20}, 0), C3DPoint(1400, 0, 50), 10, back);
  EXPECT_EQ(HitTestElements(projection, {3100, -20}, 0).code, 11);
  next.outletWord = 0x1001;
  EXPECT_EQ(HitTestElements(projection, {3100, -20}, 0).code, 21) << "the outlets' second side";
  next.outletWord = 0x1000;
  EXPECT_EQ(HitTestElements(projection, {3100, -20}, 10 + 0x1000).code, 11) << "the mask matches";
  const CElementPick refused = HitTestElements(projection, {3100, -20}, 10 + 0x2000);
  EXPECT_FALSE(refused.point) << "an outlet search finds no outlet of that mask: nothing";
  EXPECT_EQ(refused.box, nullptr);
  next.outletWord = 0x2000;
  EXPECT_EQ(HitTestElements(projection, {3100, -20}, 0).code, 0)
      << "a mask above 4096 hides the outlets";
}

TEST_F(DirectionBoxPickTest, CornersNearerThanTheAxisOrThePointOnTheFace) {
  // Box corner 2 is reference point 6 for direction 4.
  ExpectPick(HitTestElements(projection, {5490, 45}, 0), length->GetCorner(2), 7, length);
  ExpectPick(HitTestElements(projection, {3000, 10}, 0), C3DPoint(3000, 10, 50), 0, length);
  EXPECT_FALSE(HitTestElements(projection, {3000, 10}, 10).point)
      << "outlet searches take outlets only";
}

TEST_F(DirectionBoxPickTest, SupportPointsWhenShown) {
  start.supports = {C3DPoint(9000, 0, 0), C3DPoint(3050, 0, 50)};
  EXPECT_EQ(HitTestElements(projection, {3000, 10}, 0, false).code, 0) << "hidden";
  ExpectPick(HitTestElements(projection, {3000, 10}, 0, true), C3DPoint(3050, 0, 50), 100000001,
             length);
}

TEST_F(ElementPickTest, TheFarPartOfAnEndCabinet) {
  CFakeElement& cabinet = Element(0, C3DPoint(5000, 5000, 0), 4);
  cabinet.farConnection = true;
  cabinet.runProperties = {{"Neutral", "7"}, {"COTE_NEUTRE", "2"}};
  Box(&cabinet, 6, C3DPoint(5000, 5000, 0), 100, 100, 100);
  CBox& part = Box(&cabinet, 7, C3DPoint(0, 0, 0), 1000, 1000, 1000);
  ExpectPick(HitTestElements(projection, {0, 0}, 0), C3DPoint(5519, 5036, 0), 9, &part);
  cabinet.farConnection = false;
  EXPECT_FALSE(HitTestElements(projection, {0, 0}, 0).point)
      << "a part far from its points: nothing";
}

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
