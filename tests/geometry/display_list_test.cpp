#include "geometry/display_list.h"

#include "geometry/3d_projection.h"
#include "geometry/box.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

// Depth answers from a table of box pairs; every other pair is unrelated.
class CScriptedRules : public CDepthOrderRules {
 public:
  void InFront(const CBox& front, const CBox& back) { m_answers[{&front, &back}] = 1; }

  void PrepareInsert(CBox&) override { ++prepared; }
  int CompareDepth(const CBox& a, const CBox& b, std::uint32_t flagsA, std::uint32_t) override {
    if (&a == &b) return (flagsA & kSecondNode) ? 1 : -1;
    if (const auto it = m_answers.find({&a, &b}); it != m_answers.end()) return it->second;
    if (const auto it = m_answers.find({&b, &a}); it != m_answers.end()) return -it->second;
    return 0;
  }

  int prepared = 0;

 private:
  std::map<std::pair<const CBox*, const CBox*>, int> m_answers;
};

class DisplayListTest : public ::testing::Test {
 protected:
  DisplayListTest() {
    // Boxes over each other on screen, so that the scripted answers are asked for.
    for (int i = 0; i < 6; ++i) {
      boxes[i].SetPlacement(C3DPoint(i, i, 0), 100, 100, 100);
      projection.ProjectBox(boxes[i]);
    }
  }

  // The list head to tail, each node with the targets of its edges in edge-list order,
  // a second node marked with a quote: "B[] A[B]".
  std::string Graph() const {
    std::string graph;
    auto name = [this](const CDisplayNode& n) {
      return std::string(1, static_cast<char>('A' + (n.box - boxes))) +
             ((n.flags & CDepthOrderRules::kSecondNode) ? "'" : "");
    };
    for (const CDisplayNode* n = list.Head(); n != nullptr; n = n->next) {
      graph += (graph.empty() ? "" : " ") + name(*n) + "[";
      for (const CDisplayNode* t : CDisplayList::EdgeTargets(*n)) graph += name(*t);
      graph += "]";
    }
    return graph;
  }

  C3DProjection projection;
  CBox boxes[6];
  CScriptedRules rules;
  CDisplayList list{rules};
};

TEST_F(DisplayListTest, ABoxGetsAtMostTwoNodesAndTheSecondPaintsLast) {
  CBox& a = boxes[0];
  list.Insert(a);
  list.Insert(a);
  list.Insert(a);
  EXPECT_EQ(list.NodeCount(a), 2);
  EXPECT_EQ(rules.prepared, 2);
  EXPECT_EQ(Graph(), "A[] A'[A]");
  EXPECT_TRUE(a.IsListed());
  EXPECT_EQ(list.Iterate(10), &a);
  EXPECT_EQ(a.GetPassWord() & CBox::kSecondPassBit, 0u);
  EXPECT_EQ(list.Iterate(-1), &a);
  EXPECT_EQ(a.GetPassWord() & CBox::kSecondPassBit, CBox::kSecondPassBit);
  EXPECT_EQ(list.Iterate(-1), nullptr);
}

TEST_F(DisplayListTest, IterationModes) {
  list.Insert(boxes[0]);
  list.Insert(boxes[1]);
  list.Insert(boxes[2]);
  const struct {
    int mode;
    const CBox* expected;
  } steps[] = {{10, &boxes[0]}, {-1, &boxes[1]}, {-1, &boxes[2]}, {-1, nullptr}, {-1, nullptr},
               {0, &boxes[2]},  {1, &boxes[1]},  {1, &boxes[0]},  {1, nullptr},  {10, &boxes[0]},
               {2, nullptr},    {-1, nullptr},   {0, &boxes[2]},  {11, nullptr}, {1, nullptr},
               {10, &boxes[0]}, {-2, nullptr},   {9, nullptr}};
  for (const auto& s : steps) EXPECT_EQ(list.Iterate(s.mode), s.expected) << s.mode;
}

TEST_F(DisplayListTest, RemovingTakesEveryNodeAndEdgeAndTheCursorStops) {
  CBox& a = boxes[0];
  CBox& b = boxes[1];
  rules.InFront(a, b);
  list.Insert(b);
  list.Insert(a);
  list.Insert(b);
  EXPECT_EQ(Graph(), "B[] B'[B] A[B'B]") << "a in front of both nodes of b";
  EXPECT_EQ(list.Iterate(10), &b);
  list.Remove(b);
  EXPECT_FALSE(b.IsListed());
  EXPECT_EQ(list.NodeCount(b), 0);
  EXPECT_EQ(Graph(), "A[]");
  EXPECT_EQ(list.Iterate(-1), nullptr) << "the cursor's node is gone";
  list.Remove(b);  // not listed: only the bit is cleared
  EXPECT_EQ(list.Size(), 1u);
  list.Insert(b);
  EXPECT_EQ(Graph(), "B[] A[B]") << "a removed box comes back as a first node";
}

TEST_F(DisplayListTest, ClearingUnlistsEveryBox) {
  for (CBox& box : boxes) list.Insert(box);
  list.Clear();
  EXPECT_EQ(list.Head(), nullptr);
  for (const CBox& box : boxes) EXPECT_FALSE(box.IsListed());
  EXPECT_EQ(list.Iterate(10), nullptr);
}

TEST(DisplayListBoundsTest, TouchingBoxesGetNoRelation) {
  C3DProjection projection;
  projection.SetViewAngles(0, 0, 0, false, false);
  CBox low, high, over;
  low.SetPlacement(C3DPoint(0, 0, 0), 10, 10, 10);    // x -5..5, depth -5..5
  high.SetPlacement(C3DPoint(10, 0, 0), 10, 10, 10);  // x 5..15: touches on screen
  over.SetPlacement(C3DPoint(4, 0, 50), 10, 10, 10);  // overlaps low on screen, nearer
  for (CBox* box : {&low, &high, &over}) projection.ProjectBox(*box);
  projection.InsertInDisplayList(high);
  projection.InsertInDisplayList(low);
  const CDisplayList& list = projection.GetDisplayList();
  EXPECT_EQ(list.Head()->box, &high);
  EXPECT_TRUE(list.Head()->edges.empty());
  EXPECT_TRUE(list.Tail()->edges.empty());
  projection.InsertInDisplayList(over);
  EXPECT_EQ(list.Tail()->box, &over);
  ASSERT_EQ(list.Tail()->edges.size(), 2u) << "over lies in front of both";
}

TEST(DisplayListResortTest, TurningTheViewAroundReversesTheOrder) {
  C3DProjection projection;
  projection.SetViewAngles(0, 0, 0, false, false);
  CBox back, front;
  back.SetPlacement(C3DPoint(0, 0, 0), 10, 10, 10);
  front.SetPlacement(C3DPoint(2, 2, 100), 10, 10, 10);
  projection.ProjectBox(back);
  projection.ProjectBox(front);
  projection.InsertInDisplayList(front);
  projection.InsertInDisplayList(back);
  EXPECT_EQ(projection.IterateDisplayList(10), &back);
  EXPECT_EQ(projection.IterateDisplayList(-1), &front);
  projection.SetViewAngles(0, 180, 0, true, false);  // looking from behind
  EXPECT_EQ(projection.IterateDisplayList(10), &front);
  EXPECT_EQ(projection.IterateDisplayList(-1), &back);
  EXPECT_TRUE(front.IsListed());
  EXPECT_TRUE(back.IsListed());
}

TEST(DisplayListResortTest, AListedBoxIsRefiledWhenItsProjectionChanges) {
  // A listed box moved by a setter must be met where it now is.
  C3DProjection projection;
  projection.SetViewAngles(0, 0, 0, false, false);
  CBox moved, other;
  moved.SetPlacement(C3DPoint(0, 0, 0), 10, 10, 10);
  other.SetPlacement(C3DPoint(5000, 0, 100), 10, 10, 10);
  projection.ProjectBox(moved);
  projection.ProjectBox(other);
  projection.InsertInDisplayList(moved);
  moved.SetOrigin(C3DPoint(5002, 0, 0));
  projection.ProjectBox(moved);
  projection.UpdateFaceVisibility(moved);  // projecting clears the faces until the next insertion
  projection.InsertInDisplayList(other);
  EXPECT_EQ(projection.GetDisplayList().Tail()->box, &other);
  EXPECT_EQ(projection.GetDisplayList().Tail()->edges.size(), 1u);
}

}  // namespace
