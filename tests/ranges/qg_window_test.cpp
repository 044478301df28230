// Length windows of QG end pieces next to riser kits, on the sample catalogue: the QGA
// 1000 A kit row gives a kit 1000 long with a clearance of 50 to a cut; the kit's offset
// ("KITCF") may go 300 either way. A piece planned from a segment's first end (pass 0)
// runs along the kit's direction, one planned to its last end (a later pass) against it.

#include "qg_builder_support.h"
#include "qg_test_support.h"

namespace {

struct WindowRow {
  const char* guards;
  int pass;
  const char* offset;  // the unit's "KITCF"
  std::int32_t first, last;
  std::int32_t wantFirst, wantLast;
};

class QGWindowTest : public QGLayoutTest {
 protected:
  // Lays the run, gives the in-line unit laid at `unitIndex` the offset and asks the
  // builder for the window of `element`'s piece.
  void Check(const WindowRow& row, CRunQG& run, CDev& element, CDev& unit,
             const std::string& reference) {
    SCOPED_TRACE(row.guards);
    unit.SetPropValue("KITCF", row.offset);
    CPartBuilderQG builder(run);
    CSegmentEntry entry;
    entry.element = &element;
    std::int32_t first = row.first, last = row.last;
    builder.AdjustPart(entry, first, last, Padded(reference), row.pass);
    EXPECT_EQ(first, row.wantFirst);
    EXPECT_EQ(last, row.wantLast);
  }
};

// A riser kit 1500 above its elbow, a segment end (variant 1): from the first end its
// piece clears half the kit, the clearance and the offset, and makes with the unit a
// stretch of at most 3000; to the last end the offset counts against it and the stretch
// is what the kit leaves of 3000.
TEST_F(QGWindowTest, AKitPieceTurnsItsOffsetWithThePass) {
  const WindowRow rows[] = {
      {"first end", 0, "0", 0, 0, 550, 1500},
      {"first end, kit ahead", 0, "200", 0, 0, 750, 1500},
      {"first end, kit back", 0, "-200", 0, 0, 350, 1500},
      {"first end, wider window kept", 0, "0", 600, 1000, 600, 1000},
      {"last end", 1, "0", 0, 2000, 550, 2000},
      {"last end, kit ahead", 1, "200", 0, 2400, 350, 2250},
      {"last end, kit back", 1, "-200", 0, 2400, 750, 2400},
      {"last end of a longer segment", 3, "200", 400, 2400, 400, 2250},
  };
  for (const WindowRow& row : rows) {
    CRunQG& run =
        LayOut("run QGA 10\nstart 0\ngo 4 3000\ngo 2 3000\nend 4\nfrom 1\nkit 2 1500\nvariant 1\n");
    CDev* unit = Laid()[1]->GetNeighbour(2);
    ASSERT_NE(unit, nullptr);
    ASSERT_EQ(unit->GetBookedLength(), 1500);
    Check(row, run, *unit, *unit, "QGA10RU4CF");
  }
}

// An edgewise elbow with a kit unit made to measure (variant 0) in the straight behind
// it, 400 before the elbow: to its last end the elbow's leg reaches past the kit (the
// elbow's length, half the kit, the clearance, less the offset) when its window allows;
// from its first end it looks ahead, where no kit is.
TEST_F(QGWindowTest, AnElbowLegClearsTheKitBehindItToItsLastEnd) {
  const WindowRow rows[] = {
      {"first end: nothing ahead", 0, "0", 300, 1000, 300, 1000},
      {"last end", 1, "0", 300, 1000, 950, 1000},
      {"last end, kit ahead", 1, "200", 300, 1000, 750, 1000},
      {"last end, past the window", 1, "-200", 300, 1000, 300, 1000},
      {"last end, a wider minimum kept", 1, "0", 960, 1000, 960, 1000},
  };
  for (const WindowRow& row : rows) {
    CRunQG& run =
        LayOut("run QGA 10\nstart 0\ngo 4 3000\ngo 2 3000\nend 4\nfrom 0\nkit 4 2600\nvariant 0\n");
    CDev* elbow = Laid()[1];
    CDev* unit = elbow->GetBackNeighbour();
    ASSERT_NE(unit, nullptr);
    ASSERT_EQ(unit->GetKind(), CDev::kInLine);
    ASSERT_EQ(elbow->GetBookedLength(), 400);
    Check(row, run, *elbow, *unit, "QGA10LC4A");
  }
}

// A "B" elbow (legs of at most 900 together) 1000 after a kit unit made to measure: to
// its last end the leg leaves the room of the kit's clearance to the elbow (1000 less the
// offset, half the kit and half the 130 housing), down to the row's 300; from its first
// end the whole chain behind it counts.
TEST_F(QGWindowTest, ABElbowLegLeavesTheKitsClearance) {
  const WindowRow rows[] = {
      {"last end: 435 of clearance", 1, "0", 300, 600, 300, 465},
      {"last end: 235 leaves the leg", 1, "200", 300, 600, 300, 600},
      {"last end: 635, down to the row", 1, "-200", 300, 600, 300, 300},
      {"last end: minimum lowered", 1, "0", 500, 600, 465, 465},
      {"first end: the chain of 3000", 0, "0", 300, 600, 300, 300},
  };
  for (const WindowRow& row : rows) {
    CRunQG& run =
        LayOut("run QGA 10\nstart 0\ngo 4 3000\ngo 2 3000\nend 4\nfrom 0\nkit 4 2000\nvariant 0\n");
    CDev* elbow = Laid()[1];
    CDev* unit = elbow->GetBackNeighbour();
    ASSERT_NE(unit, nullptr);
    ASSERT_EQ(elbow->GetBookedLength(), 1000);
    Check(row, run, *elbow, *unit, "QGA10LC4B");
  }
}

}  // namespace

namespace {

// A tee (an elbow given a branch) 3000 after a laid joint that is itself 3000 from the
// start, its row's legs (300 to 1000) sharing a longest total of 6500: from the tee's first end the
// tee's own chain and that of a mounted joint beside it take 6000 of it and leave the leg 500; an
// unmounted joint takes nothing, nor does the last end, where no kit stands behind.
TEST_F(QGWindowTest, ATeesLegLeavesTheRoomOfAMountedJointBesideIt) {
  const struct {
    const char* guards;
    int pass;
    int jointActive;
    std::int32_t wantLast;
  } rows[] = {
      {"mounted joint", 0, 1, 500},
      {"unmounted joint", 0, 0, 1000},
      {"last end", 1, 1, 1000},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    CRunQG& run = LayOut(
        "run QGA 10\nstart 0\ngo 4 3000\ngo 4 3000\ngo 5 3000\nend 4\nfrom 2\ngo 1 1500\nend 4\n");
    CDev* joint = Laid()[1];
    CDev* tee = Laid()[2];
    ASSERT_EQ(joint->GetKind(), CDev::kJoint);
    ASSERT_EQ(tee->GetKind(), CDev::kJunction2);
    ASSERT_EQ(tee->GetBackNeighbour(), joint);
    joint->SetActive(row.jointActive);
    CRangeTables tables = *run.GetRangeTables();
    tables.patterns.insert(tables.patterns.begin(),
                           CPatternRow{{Padded("QGA10TD4A"), "300-1000", "300-1000", "300-1000",
                                        "300-1000", "300", "6500"}});
    run.AttachRangeTables(tables);
    CPartBuilderQG builder(run);
    CSegmentEntry entry;
    entry.element = tee;
    std::int32_t first = 300, last = 1000;
    builder.AdjustPart(entry, first, last, Padded("QGA10TD4A"), row.pass);
    EXPECT_EQ(first, 300);
    EXPECT_EQ(last, row.wantLast);
    m_document.reset();  // the run goes before the tables it was given
  }
}

}  // namespace
