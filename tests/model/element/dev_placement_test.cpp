#include "geometry/box.h"
#include "model/bom/bom_page_host.h"
#include "model/builder/length_correction.h"
#include "model/run/run_test_support.h"

namespace {

// A range whose element geometry gives one further box (slot 7) and, for kind 8, an
// empty answer that must remove a box.
class CShapeRun : public CRun {
 public:
  int GetElementGeometry(const CDev& element, int index,
                         CElementGeometry& geometry) const override {
    geometry.extents = {0, 0, 0};
    if (index == 7 && element.GetKind() != CDev::kInLineVariant) {
      geometry.extents = {10, 20, 30};
      geometry.offset = C3DPoint(100, 200, 300);
    }
    return 3;
  }
};

double Size(const CBox& box, int axis) {
  return axis == 0 ? box.GetExtent(1) : axis == 1 ? box.GetExtent(2) : box.GetExtent(0);
}

class PlacementTest : public RunTestBase {
 protected:
  void SetUp() override {
    RunTestBase::SetUp();
    m_tables = MakeTestTables();
    m_run.AttachRangeTables(m_tables);
    m_run.SetProp("Calibre", "63");
    m_start = CChainBuilder(m_run).Start(4);
    m_start->SetCalibre("63");
    m_start->SetFrontOffsets({0, 200, 300});
    m_start->MakeBox(CDev::kBodySlot);
    m_start->BuildBoxes(0);
  }
  // Every link has its way back, and every chain element is reached once.
  void ExpectLinksSymmetric() const {
    for (CDev* element : m_run.GetDevices()) {
      for (int face = 0; face < CDev::kFaceCount; ++face) {
        if (CDev* other = element->GetNeighbour(face)) {
          EXPECT_EQ(other->GetNeighbour(CDev::OppositeDirection(face)), element) << "face " << face;
        }
      }
    }
  }
  // Takes the element out of the run (the whole element, or the branch ending at it).
  void Remove(CDev* element, int face = CElementSelection::kNoFace) {
    EXPECT_EQ(element->RemoveFromRun(face, nullptr), 1);
    m_run.DeleteElement(element);
  }
  std::int64_t BookedTotal() const {
    std::int64_t total = 0;
    for (CDev* element : m_run.GetDevices()) total += element->GetBookedLength();
    return total;
  }

  CRangeTables m_tables;
  CShapeRun m_run;
  CDev* m_start = nullptr;
};

// A signed remainder once sent -1 to 4 and -5 to 0.
TEST(PlacementRounding, RoundsToMultiplesOfFour) {
  const struct {
    std::int64_t value, roundedUp, joint;
  } rows[] = {{1001, 1004, 1004}, {1000, 1000, 1004}, {10, 12, 12}, {12, 12, 16},
              {0, 0, 4},          {-1, 0, 0},         {-5, -4, -4}, {-8, -8, -8}};
  for (const auto& row : rows) {
    EXPECT_EQ(RoundUpToFour(row.value), row.roundedUp) << row.value;
    EXPECT_EQ(JointThickness(row.value), row.joint) << row.value;
  }
}

TEST_F(PlacementTest, StraightsGrowTheNodeTheyAreAddedTo) {
  // A side branch makes an elbow (kind 2), then each further face one more branch (kinds 3
  // to 6); a node of kind 6 has no face left.
  CDev* node = m_start->AddStraightToward(4, 1001);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->GetDrawnLength(), 1004);
  EXPECT_EQ(node->GetPosition(), C3DPoint(1004, 0, 0));
  int kindAfter = CDev::kElbow;
  for (int face : {5, 1, 2, 3, 4}) {
    CDev* branch = node->AddStraightToward(face, 500);
    ASSERT_NE(branch, nullptr) << face;
    EXPECT_EQ(node->GetKind(), kindAfter++) << face;
    EXPECT_EQ(branch->GetBackNeighbour(), node);
  }
  EXPECT_EQ(node->AddStraightToward(3, 500), nullptr);
  EXPECT_EQ(node->GetKind(), CDev::kJunction5);
  ExpectLinksSymmetric();
  EXPECT_EQ(BookedTotal(), 1004 + 5 * 500);
}

TEST_F(PlacementTest, ContinuingAStraightMakesAnInactiveJoint) {
  CDev* first = m_start->AddStraightToward(4, 1000);
  CDev* second = first->AddStraightToward(4, 2000);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->GetKind(), CDev::kJoint);
  EXPECT_FALSE(first->IsActive());
  EXPECT_EQ(second->GetPosition(), C3DPoint(3000, 0, 0));
  EXPECT_EQ(m_run.GetCurrentElement(), second);
  EXPECT_EQ(second->GetBackOffsets(), first->GetFrontOffsets());
}

TEST_F(PlacementTest, RemovalLeavesTheBackNodeConsistent) {
  const struct {
    std::vector<int> faces;
    std::size_t removed;
    int kindAfter;
    const char* what;
  } rows[] = {
      {{5, 1}, 1, CDev::kElbow, "a tee loses a branch"},
      {{5, 4}, 0, CDev::kJoint, "an elbow whose line continues"},
      {{5}, 0, CDev::kStraight, "the only branch of an elbow"},
  };
  for (const auto& row : rows) {
    CDev* node = m_start->AddStraightToward(4, 1000);
    std::vector<CDev*> branches;
    for (int face : row.faces) branches.push_back(node->AddStraightToward(face, 400));
    CDev* removed = branches[row.removed];
    removed->AddStraightToward(removed->GetDirection(), 600);  // goes with its branch
    const std::size_t before = m_run.GetDevices().size();
    Remove(removed);
    EXPECT_EQ(m_run.GetDevices().size(), before - 2) << row.what;
    EXPECT_EQ(node->GetKind(), row.kindAfter) << row.what;
    ExpectLinksSymmetric();
    if (row.kindAfter == CDev::kStraight) {
      EXPECT_EQ(node->GetFreeFaceMask(), 63 & ~FaceIndexToBit(0));
    }
    Remove(node);
    EXPECT_EQ(m_run.GetDevices().size(), 1u) << row.what;
    EXPECT_EQ(m_start->GetNeighbour(4), nullptr);
  }
  EXPECT_EQ(m_start->RemoveFromRun(CElementSelection::kWholeElement, nullptr), 0);
}

TEST_F(PlacementTest, InsertingKeepsTheTotalAndRefusesOverlaps) {
  CDev* line = m_start->AddStraightToward(4, 4000);
  const std::int64_t total = BookedTotal();
  const struct {
    std::int64_t distance;
    int kind, result;
  } rows[] = {{40, CDev::kInLine, 0},
              {3990, CDev::kInLineVariant, 0},
              {0, CDev::kJoint, 0},
              {2001, CDev::kInLineVariant, 1}};
  for (const auto& row : rows) {
    EXPECT_EQ(line->InsertOnLineAt(row.distance, line->GetBox(0), row.kind), row.result)
        << row.distance;
  }
  CDev* unit = line->GetBackNeighbour();
  ASSERT_EQ(unit->GetKind(), CDev::kInLineVariant);
  EXPECT_EQ(unit->GetDrawnLength(), 2004);
  EXPECT_EQ(line->GetDrawnLength(), 4000 - 2004);
  EXPECT_EQ(BookedTotal(), total);
  ExpectLinksSymmetric();
  Remove(unit, CElementSelection::kWholeElement);
  EXPECT_EQ(line->GetDrawnLength(), 4000);
  EXPECT_EQ(BookedTotal(), total);
}

TEST_F(PlacementTest, RiserFixingComputesLengthsInSixtyFourBits) {
  const struct {
    std::int32_t frontLength, distance, housing;
    int result;
    std::int32_t drawn, offset;
  } rows[] = {
      {100000, 90000, 150, 1, 90000, 150},  // 100000 x 90000 overflows 32 bits
      {4000, 2000, 0, 1, 2000, 200},        // housing length from the run's box sizes
      {4000, 40, 150, 0, 0, 0},             // reaches into the start's main box
  };
  for (const auto& row : rows) {
    CDev* front = m_start->AddStraightToward(4, row.frontLength);
    EXPECT_EQ(m_start->InsertRiserFixing(4, row.distance, row.housing), row.result) << row.distance;
    CDev* unit = front->GetBackNeighbour();
    if (row.result == 1) {
      EXPECT_EQ(unit->GetDrawnLength(), row.drawn);
      EXPECT_EQ(unit->GetOffset(), row.offset);
      EXPECT_EQ(front->GetDrawnLength(), row.frontLength - row.drawn);
    } else {
      EXPECT_EQ(unit, m_start);
    }
    CDev* first = m_start->GetNeighbour(4);
    Remove(first);
  }
}

TEST_F(PlacementTest, SplitAtLengthFindsOrInsertsTheJoint) {
  CDev* line = m_start->AddStraightToward(4, 3000);
  line->SetBookedLength(1500);  // a booked length half the drawn one
  const struct {
    std::int32_t length;
    const char* expected;
    std::int32_t drawn;
  } rows[] = {
      {-1, "none", 0}, {1501, "none", 0}, {1500, "front", 0}, {0, "none", 0}, {501, "new", 1004}};
  for (const auto& row : rows) {
    CDev* joint = m_start->SplitAtLength(4, row.length);
    const std::string expected = row.expected;
    if (expected == "none") {
      EXPECT_EQ(joint, nullptr) << row.length;
    }
    if (expected == "front") {
      EXPECT_EQ(joint, line) << row.length;
    }
    if (expected == "new") {
      ASSERT_NE(joint, nullptr);
      EXPECT_EQ(joint->GetKind(), CDev::kJoint);
      EXPECT_EQ(joint->GetDrawnLength(), row.drawn);
      EXPECT_EQ(line->GetBookedLength(), 1500 - row.length);
      EXPECT_EQ(joint->SplitAtLength(4, 0), joint);  // a joint splits at itself
      EXPECT_EQ(joint->SplitAtLength(joint->GetBackFace(), 0), nullptr);
    }
  }
  ExpectLinksSymmetric();
}

TEST_F(PlacementTest, SetLengthBooksTheNewLengthWhenNothingWasDrawn) {
  const struct {
    std::int32_t drawn, booked, length, bookedAfter;
    const char* fault;
  } rows[] = {{1000, 500, 2000, 1000, ""},
              {0, 0, 800, 800, "divided by the drawn length 0"},
              {100000, 100000, 90000, 90000, "32-bit product"}};
  for (const auto& row : rows) {
    CDev* element = m_start->AddStraightToward(4, row.drawn);
    element->SetDrawnLength(row.drawn);
    element->SetBookedLength(row.booked);
    const double x = element->GetPosition().x;
    element->SetLength(row.length, false);
    EXPECT_EQ(element->GetBookedLength(), row.bookedAfter) << row.fault;
    EXPECT_EQ(element->GetPosition().x, x + row.length - row.drawn);
    Remove(element);
  }
}

// The correction set the drawn length alone: the element stayed where it was and the run
// no longer joined up behind it.
TEST_F(PlacementTest, ALengthCorrectionMovesTheElementAndWhatFollowsIt) {
  const struct {
    std::int32_t booked, drawn, amount, drawnAfter;
    const char* why;
  } rows[] = {{1000, 1021, 200, 1225, "drawn 2.1 % long: the drawing keeps its scale"},
              {1000, 1000, 200, 1200, "drawn as booked"},
              {1000, 1000, -300, 700, "a shortening"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.why);
    CDev* element = m_start->AddStraightToward(4, row.drawn);
    CDev* next = element->AddStraightToward(4, 500);
    element->SetBookedLength(row.booked);
    element->SetDrawnLength(row.drawn);  // placing rounds lengths to multiples of four
    const double x = element->GetPosition().x;
    const double gap = next->GetPosition().x - x;
    ApplyLengthCorrection(*element, row.amount);
    EXPECT_EQ(element->GetDrawnLength(), row.drawnAfter);
    EXPECT_EQ(element->GetBookedLength(), row.booked + row.amount);
    EXPECT_EQ(element->GetPosition().x, x + row.drawnAfter - row.drawn);
    EXPECT_EQ(next->GetPosition().x - element->GetPosition().x, gap) << "what follows moves along";
    Remove(next);
    Remove(element);
  }
}

TEST_F(PlacementTest, WalksEndOnLinksThatRunInACircle) {
  CDev* a = m_start->AddStraightToward(4, 1000);
  CDev* b = a->AddStraightToward(5, 1000);
  b->SetNeighbour(1, a);  // damaged: b's back face links forward to a...
  b->SetNeighbour(5, a);  // ...and its front face back to a
  a->Translate(C3DPoint(0, 10, 0), true);
  EXPECT_EQ(a->GetPosition().y, 10);
  EXPECT_EQ(b->GetPosition().y, 10);
  a->RebuildChain();
  a->MarkSelected(CElementSelection::kNoFace, true);
  EXPECT_TRUE(b->GetBox(CDev::kBodySlot)->IsSelected());
}

TEST_F(PlacementTest, TurningAnElbowMovesItsBranch) {
  CDev* elbow = m_start->AddStraightToward(4, 1000);
  CDev* branch = elbow->AddStraightToward(5, 600);
  CDev* tail = branch->AddStraightToward(5, 400);
  ASSERT_EQ(elbow->GetKind(), CDev::kElbow);
  EXPECT_EQ(elbow->TurnAtFace(5), 0);  // occupied
  ASSERT_EQ(elbow->TurnAtFace(1), 1);
  EXPECT_EQ(elbow->GetNeighbour(1), branch);
  EXPECT_EQ(elbow->GetNeighbour(5), nullptr);
  EXPECT_EQ(branch->GetDirection(), 1);
  EXPECT_EQ(tail->GetPosition(), C3DPoint(1000, 0, -1000));
  ASSERT_EQ(elbow->TurnAtFace(4), 1);  // toward its own direction: a bend point
  EXPECT_EQ(elbow->GetKind(), CDev::kBend);
  EXPECT_EQ(tail->GetPosition(), C3DPoint(2000, 0, 0));
  ExpectLinksSymmetric();
}

TEST_F(PlacementTest, ShapesFollowOffsetsAndTheRangeGeometry) {
  CDev* straight = m_start->AddStraightToward(5, 1000);  // along +Z
  straight->SetBackOffsets({60, 120, 0});
  straight->BuildBoxes(0);
  const CBox* main = straight->GetBox(CDev::kBodySlot);
  EXPECT_EQ(Size(*main, 0), 60);
  EXPECT_EQ(Size(*main, 1), 120);
  EXPECT_EQ(Size(*main, 2), 60);
  struct Row {
    int direction, rotation;
    C3DPoint centre, sizes;
  };
  // Offsets (100, 200, 300) and extents (10, 20, 30) along, across, across.
  const Row rows[] = {{4, 16, {100, 300, -200}, {10, 30, 20}},
                      {0, 32, {-100, -200, 300}, {10, 20, 30}},
                      {2, 64, {-200, 100, 300}, {20, 10, 30}},
                      {5, 128, {-300, 200, 100}, {30, 20, 10}}};
  for (const Row& row : rows) {
    straight->SetDirection(row.direction);
    straight->SetRotation(row.rotation);
    straight->BuildBoxes(0);
    const CBox* further = straight->GetBox(7);
    ASSERT_NE(further, nullptr);
    EXPECT_EQ(further->GetOrigin(), straight->GetPosition() + row.centre) << row.direction;
    EXPECT_EQ(C3DPoint(Size(*further, 0), Size(*further, 1), Size(*further, 2)), row.sizes)
        << row.direction;
    EXPECT_EQ(further->GetKindCode(), 3);
  }
  straight->SetKind(CDev::kInLineVariant);
  straight->BuildBoxes(0);
  EXPECT_EQ(straight->GetBox(7), nullptr);  // all extents 0: the box goes
}

TEST_F(PlacementTest, JointBoxesFillTheGapInStepsOfFour) {
  CDev* straight = m_start->AddStraightToward(4, 1000);
  const struct { double gap, thickness; } rows[] = {{10, 6}, {12, 8}};
  for (const auto& row : rows) {
    // Move the start's main box so that the gap between the main boxes is the row's.
    CBox* startBox = m_start->GetBox(CDev::kBodySlot);
    const double lower = straight->GetBox(CDev::kBodySlot)->GetWorldMin().x;
    startBox->SetPlacement(C3DPoint(lower - row.gap - 50, 0, 0), 300, 100, 200);
    straight->PlaceNextTo(m_start);
    EXPECT_EQ(Size(*straight->GetBox(0), 0), row.thickness) << row.gap;
    EXPECT_EQ(Size(*m_start->GetBox(4), 0), row.thickness) << row.gap;
  }
}

TEST_F(PlacementTest, SelectionFollowsTheJointFromItsBackSide) {
  CDev* first = m_start->AddStraightToward(4, 1000);
  CDev* second = first->AddStraightToward(5, 1000);
  CElementSelection& selection = m_run.Selection();
  EXPECT_EQ(first->SelectElement(false, nullptr), 0);  // nothing to clear
  ASSERT_EQ(first->SelectElement(true, first->GetBox(5)), 1);
  EXPECT_EQ(selection.Element(), second);
  EXPECT_EQ(selection.Face(), second->GetBackFace());
  EXPECT_TRUE(first->GetBox(5)->IsSelected());
  EXPECT_TRUE(second->GetBox(1)->IsSelected());
  CBox* stray = second->MakeBox(3);  // a face without a neighbour
  EXPECT_EQ(second->SelectElement(true, stray), 0);
  EXPECT_EQ(selection.Element(), second);
  CDev* record = m_run.NewElement();
  record->SetKind(CDev::kLengthRecord);
  EXPECT_EQ(record->SelectElement(true, record->MakeBox(CDev::kBodySlot)), 0);
  ASSERT_EQ(first->SelectElement(true, first->GetBox(CDev::kBodySlot)), 1);
  EXPECT_FALSE(second->GetBox(1)->IsSelected());
  EXPECT_EQ(selection.Face(), CElementSelection::kWholeElement);
  EXPECT_EQ(first->SelectElement(false, nullptr), 1);
  EXPECT_FALSE(first->GetBox(CDev::kBodySlot)->IsSelected());
  EXPECT_EQ(selection.Element(), nullptr);
}

TEST_F(PlacementTest, MainBoxColoursFollowTheKind) {
  CDev* element = m_start->AddStraightToward(4, 1000);
  const struct {
    int kind, active, colourIndex;
  } rows[] = {{CDev::kEnd, 1, 5},           {CDev::kStraight, 1, 0}, {CDev::kInLine, 1, 7},
              {CDev::kInLineVariant, 1, 6}, {CDev::kJoint, 0, 9},    {CDev::kJoint, 1, 12},
              {CDev::kJoint2, 0, 9},        {CDev::kTapOff, 1, 11}};
  for (const auto& row : rows) {
    element->SetKind(row.kind);
    element->SetActive(row.active);
    element->UpdateBoxColors(true);
    EXPECT_EQ(element->GetBox(CDev::kBodySlot)->GetColor(), CDev::ColorOfIndex(row.colourIndex))
        << row.kind;
  }
  element->SetKind(CDev::kElbow);
  element->SetPropValue("ELBOW_ANGL", "45");
  element->UpdateBoxColors(true);
  EXPECT_EQ(element->GetBox(CDev::kBodySlot)->GetColor(), 0x006400u);
}

TEST_F(PlacementTest, OnlyAFreeStraightEndBecomesAnEnd) {
  CDev* first = m_start->AddStraightToward(4, 1000);
  CDev* second = first->AddStraightToward(4, 1000);
  EXPECT_EQ(first->MakeEnd(nullptr), 0);  // a joint now
  ASSERT_EQ(second->MakeEnd(nullptr), 1);
  EXPECT_EQ(second->GetKind(), CDev::kEnd);
  EXPECT_EQ(second->GetFreeFaceMask(), 0);
  EXPECT_EQ(second->GetBox(CDev::kBodySlot)->GetColor(), CDev::ColorOfIndex(5));
  ASSERT_EQ(second->RemoveFromRun(CElementSelection::kWholeElement, nullptr),
            1);  // back to a straight
  EXPECT_EQ(second->GetKind(), CDev::kStraight);
  EXPECT_NE(second->GetFreeFaceMask(), 0);
}

TEST_F(PlacementTest, EveryInLineKindGoesInAndOutAgain) {
  const struct {
    int kind, active;
  } rows[] = {{CDev::kInLine, 1}, {CDev::kInLineVariant, 1}, {CDev::kJoint, 0}, {CDev::kBend, 1}};
  for (const auto& row : rows) {
    CDev* line = m_start->AddStraightToward(4, 4000);
    const std::int64_t total = BookedTotal();
    C3DPoint position;
    ASSERT_EQ(line->InsertOnLineAt(1500, line->GetBox(0), row.kind, &position), 1) << row.kind;
    CDev* inserted = line->GetBackNeighbour();
    EXPECT_EQ(inserted->GetKind(), row.kind);
    EXPECT_EQ(inserted->GetActive(), row.active);
    EXPECT_EQ(inserted->GetPosition(), C3DPoint(1500, 0, 0));
    EXPECT_EQ(inserted->GetBackNeighbour(), m_start);
    EXPECT_EQ(BookedTotal(), total);
    ExpectLinksSymmetric();
    Remove(inserted, CElementSelection::kWholeElement);
    EXPECT_EQ(line->GetDrawnLength(), 4000);
    EXPECT_EQ(m_start->GetNeighbour(4), line);
    Remove(line);
  }
}

class CShownPages : public CBOMPageHost {
 public:
  void RecomputeTotals(int, int) override {}
  CBOMGrid* GetFirstPage() const override { return nullptr; }
};

TEST_F(PlacementTest, SelectionKeepsTheBillOfMaterialsOnItsLine) {
  CShownPages pages;
  m_run.GetBOM().SetView(&pages);
  CDev* elbow = m_start->AddStraightToward(4, 1000);
  elbow->AddStraightToward(5, 1000);
  CDev* joint = elbow->GetNeighbour(5)->AddStraightToward(5, 500)->GetBackNeighbour();
  ASSERT_EQ(elbow->GetKind(), CDev::kElbow);
  ASSERT_EQ(joint->GetKind(), CDev::kJoint);
  const int line = m_run.GetBOM().FindLine(elbow->GetReference());
  ASSERT_GT(line, 0);
  ASSERT_EQ(elbow->SelectElement(true, elbow->GetBox(CDev::kBodySlot)), 1);
  EXPECT_EQ(m_run.GetBOM().GetSelection().top, line);
  ASSERT_EQ(joint->SelectElement(true, joint->GetBox(CDev::kBodySlot)), 1);  // a joint has no line
  EXPECT_FALSE(m_run.GetBOM().GetSelection().IsValid());
  // Deleting the selected joint takes the line on with it; the start stays.
  EXPECT_EQ(joint->DeleteCurrentSelection(), 1);
  EXPECT_EQ(m_run.Selection().Element(), nullptr);
  EXPECT_EQ(elbow->GetNeighbour(5)->GetNeighbour(5), nullptr);
  ASSERT_EQ(m_start->SelectElement(true, m_start->GetBox(CDev::kBodySlot)), 1);
  EXPECT_EQ(m_start->DeleteCurrentSelection(), 0);  // the start of the run is refused
  EXPECT_EQ(m_run.Selection().Element(), m_start);
  m_run.GetBOM().SetView(nullptr);
}

}  // namespace
