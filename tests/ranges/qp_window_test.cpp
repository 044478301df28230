// Length windows of QP end pieces by the end of its segment that a piece is planned at:
// pass 0 for a piece leaving the segment's first end, a later pass for one reaching a
// later end.

#include "qp_test_support.h"

namespace {

// A QPA 400 A run with one flat turn: its elbow, with the element ahead of it.
struct ElbowRow {
  const char* guards;
  const char* step;  // the run's "QP_STEP"
  int state;         // the elbow's state in the rebuild
  int pass;
  std::int32_t own, ahead;  // booked lengths of the elbow and of the element ahead
  std::int32_t wantFirst, wantLast;
};

// The elbow behind a riser takes the riser ahead into its leg from the first end; the
// elbow in front of one is measured by its own length at a later end, also once it is
// combined with the riser (state 12). Each rule keeps to its own end.
TEST_F(QPRunTest, AnElbowBesideARiserIsFittedAtTheEndItMeetsTheRiser) {
  const ElbowRow rows[] = {
      {"behind, first end", "0", 10, 0, 500, 600, 1050, 1200},
      {"behind, first end, short riser", "0", 10, 0, 500, 300, 900, 1200},
      {"behind, first end, step mode", "1", 10, 0, 500, 200, 700, 1200},
      {"behind, step mode, longer riser", "1", 10, 0, 500, 450, 850, 1200},
      {"behind, later end", "0", 10, 1, 500, 600, 300, 1000},
      {"in front, first end", "0", 11, 0, 500, 600, 300, 1000},
      {"in front, later end", "0", 11, 1, 500, 600, 950, 1200},
      {"in front, end of a longer segment", "0", 11, 3, 300, 600, 900, 1200},
      {"in front, step mode", "1", 11, 2, 250, 600, 700, 1200},
      {"combined, later end", "0", 12, 2, 700, 100, 1150, 1200},
      {"combined, first end", "0", 12, 0, 700, 100, 300, 1000},
      {"no riser", "0", 0, 2, 500, 600, 300, 1000},
  };
  for (const ElbowRow& row : rows) {
    SCOPED_TRACE(row.guards);
    CRunQP& run = LayOut("run QPA 40\nstart 0\ngo 4 3000\ngo 1 3000\nend 6\n");
    run.SetProp("QP_STEP", row.step);
    CDev* elbow = nullptr;
    for (CDev* device : run.GetDevices())
      if (device->GetKind() == CDev::kElbow) elbow = device;
    ASSERT_NE(elbow, nullptr);
    const std::vector<int> faces = elbow->ForwardFaces();
    ASSERT_FALSE(faces.empty());
    elbow->SetBookedLength(row.own);
    elbow->GetNeighbour(faces.front())->SetBookedLength(row.ahead);
    CPartBuilderQP builder(run);
    builder.SetState(*elbow, row.state);
    CSegmentEntry entry;
    entry.element = elbow;
    std::int32_t first = 300, last = 1000;
    builder.AdjustPart(entry, first, last, "QPA40DLC40", row.pass);
    EXPECT_EQ(first, row.wantFirst);
    EXPECT_EQ(last, row.wantLast);
  }
}

// A feed piece made to measure reaches over its element's chain only from the segment's
// first end: its longest length grows by the row's longest piece less that chain.
TEST_F(QPRunTest, AFeedPieceReachesOverItsChainFromTheFirstEndOnly) {
  struct Row {
    const char* reference;
    const char* step;  // the run's "QP_STEP"
    int pass;
    std::int32_t wantLast;
  };
  const Row rows[] = {
      {"QPA40ET4AF", "0", 0, 2000 + 1995 - 700},
      {"QPA40EF4", "0", 0, 2000 + 1995 - 700},
      {"QPA40ET4AF", "1", 0, 2000 + 1500 - 700},  // the step row's longest piece
      {"QPA40ET4AF", "0", 1, 2000},
      {"QPA40EF4", "0", 4, 2000},
      {"QPA40ED420", "0", 0, 2000},  // a stock piece
  };
  for (const Row& row : rows) {
    // The run goes before the tables it is given.
    CRangeTables tables;
    auto own = std::make_unique<CRunQP>("A", nullptr);
    CRunQP& run = *own;
    run.SetProp("Calibre", "40");
    run.SetProp("QP_STEP", row.step);
    tables = *run.GetRangeTables();
    tables.patterns.insert(tables.patterns.begin(), {{"QPA40E?4*", "500-1995"}});
    run.AttachRangeTables(tables);
    CDev element(&run);
    element.SetKind(CDev::kEnd);
    element.SetBookedLength(700);
    ASSERT_EQ(element.GetChainLength(-1, false), 700);
    CPartBuilderQP builder(run);
    CSegmentEntry entry;
    entry.element = &element;
    std::int32_t first = 500, last = 2000;
    std::string reference = row.reference;
    reference.resize(22, ' ');
    builder.AdjustPart(entry, first, last, reference, row.pass);
    EXPECT_EQ(first, 500) << row.reference << " pass " << row.pass;
    EXPECT_EQ(last, row.wantLast) << row.reference << " pass " << row.pass;
  }
}

}  // namespace
