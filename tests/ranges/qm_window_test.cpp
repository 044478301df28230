// The QM builder fits an end piece by the end of its segment that the piece is planned
// at: pass 0 for a piece leaving the segment's first end (the kit's offset along its
// unit, a kit ahead of an elbow), a later pass for one reaching a later end (the offset
// against the unit, a kit behind the elbow). Kits of 200 with a clearance of 30 and an
// offset of 10; the kit row's lengths are 1000 to 3000.

#include "qm_test_support.h"

#include "ranges/qm/part_builder_qm.h"

namespace {

TEST_F(QMRunTest, TheBuilderFitsAPieceByTheEndItIsPlannedAt) {
  struct Row {
    const char* reference;
    int pass;
    std::int32_t kitAhead;  // booked length of a kit ahead of the elbow, 0 none
    std::int32_t kitBehind;
    std::int32_t min;
    std::int32_t max;
  };
  const Row rows[] = {
      {"QMA25DL4CF", 0, 0, 0, 500, 2500},    // the unit (500) and its piece make 1000..3000
      {"QMA25DL4CF", 1, 0, 0, 120, 2860},    // the kit's reach against the unit
      {"QMA25DL4CF", 4, 0, 0, 120, 2860},    // the last end of a longer segment
      {"QMA25LP4D1", 0, 300, 0, 440, 5000},  // past the kit ahead
      {"QMA25LP4D1", 0, 0, 300, 0, 5000},    // a kit behind is no matter from the first end
      {"QMA25LP4D1", 2, 0, 300, 720, 5000},  // the elbow (600) past the kit behind
      {"QMA25LP4D1", 2, 300, 0, 0, 5000},    // nor a kit ahead at a later end
  };
  for (const Row& row : rows) {
    QMKitRowRun kitRun;
    CRunQM* run = kitRun.run.get();
    CFixedKitLimits editor(true);
    CPartBuilderQM builder(*run);
    builder.SetChainEditor(&editor);
    const bool kitPart = std::string_view(row.reference).substr(8, 2) == "CF";
    auto element = QMElement(*run, kitPart ? CDev::kInLine : CDev::kElbow, 0);
    element->SetBookedLength(kitPart ? 500 : 600);
    auto kit = QMElement(*run, CDev::kInLine, 0);
    kit->SetBookedLength(row.kitAhead + row.kitBehind);
    if (row.kitAhead != 0) element->SetNeighbour(4, kit.get());
    if (row.kitBehind != 0) element->SetNeighbour(0, kit.get());
    CSegmentEntry entry;
    entry.element = element.get();
    std::int32_t min = 0, max = 5000;
    builder.AdjustPart(entry, min, max, QMPadded(row.reference), row.pass);
    EXPECT_EQ(min, row.min) << row.reference << " pass " << row.pass;
    EXPECT_EQ(max, row.max) << row.reference << " pass " << row.pass;
    element->SetNeighbour(4, nullptr);
    element->SetNeighbour(0, nullptr);
  }
}

}  // namespace
