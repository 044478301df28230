#include "qg_listing.h"
#include "qm_test_support.h"

#include "ranges/qm/part_builder_qm.h"
#include "ranges/range_ref_text.h"

namespace {

// A combined piece on a housing 200 wide: halfway along a long middle leg, at both
// corners of a short one (one support for a 'Z' piece), at the corner when it turns up
// or down.
TEST(QMSupportTextTest, CombinedElbowsByTheirMiddleLeg) {
  struct Row {
    const char* family;
    int d, e, f;
    std::int64_t middle;
    const char* expected;
    int supports;
  };
  const Row rows[] = {
      {"ZP", 4, 5, 4, 350, "45:175", 1},     {"ZP", 4, 5, 4, 251, "45:125", 1},
      {"ZP", 4, 5, 4, 250, "45:0/454:0", 1}, {"ZP", 4, 5, 4, 150, "45:0/454:0", 1},
      {"CP", 4, 1, 4, 200, "41:0/414:0", 2}, {"ZC", 4, 2, 4, 800, "424:0", 1},
      {"CP", 2, 4, 5, 800, "245:0", 1},      {"CP", 4, 5, 3, 800, "453:0", 1},
      {"LP", 4, 5, 4, 800, "", 0},           {"ZL", 4, 5, 4, 800, "", 0},
  };
  for (const Row& row : rows) {
    const std::string text =
        CombinedElbowSupportText(row.family, {row.d, row.e, row.f, row.middle, 200});
    EXPECT_EQ(text, row.expected) << row.family << " " << row.middle;
    EXPECT_EQ(CountQMSupports(text, row.family), row.supports) << text;
  }
}

// Feed boxes by their connection (a plain box, one that takes an elbow, a cable or
// transformer connection), from the start of a line or back from its end.
TEST(QMSupportTextTest, FeedBoxesNearTheEndTheyStandAt) {
  struct Row {
    char connection;
    int d;
    std::int64_t length;
    bool predecessor;
    const char* expected;
  };
  const Row rows[] = {
      {'1', 4, 100, false, "4:300"}, {'2', 4, 1000, true, "4:700"}, {'4', 5, 1000, true, "5:900"},
      {'6', 4, 100, false, "4:100"}, {'7', 2, 1000, true, "2:970"}, {'7', 4, 10, true, "4:0"},
      {' ', 4, 100, false, "4:30"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(FeedBoxSupportText(row.connection, row.d, row.length, row.predecessor), row.expected)
        << row.connection << " " << row.length;
}

TEST(QMSupportTextTest, SpecialUnitsOnTheirSideAndTeesAtTheirCorner) {
  struct Row {
    char connection;
    int d, side;
    bool predecessor;
    const char* expected;
  };
  const Row rows[] = {
      {'1', 4, 5, true, "475:427/475:207"},
      {'2', 4, 1, false, "71:427/71:207"},
      {'3', 4, 2, true, "472:430/472:430"},
      {'4', 0, 3, false, "73:430/73:430"},
      {'5', 4, 2, true, ""},
  };
  for (const Row& row : rows) {
    const std::string text =
        SpecialUnitSupportText(row.connection, row.d, row.side, row.predecessor);
    EXPECT_EQ(text, row.expected) << row.connection;
    EXPECT_EQ(CountQMSupports(text, "EL"), text.empty() ? 0 : 2) << text;
  }
  EXPECT_EQ(TeeSupportText(4, 2), "42:0");
  EXPECT_EQ(TeeSupportText(1, 3), "13:0");
}

// A special connection unit at the start of a line, fed from a flat side or held on its
// edgewise side: the side is the face its connection's turn code points to.
TEST_F(QMRunTest, SpecialUnitsAreHeldOnTheSideTheirConnectionNames) {
  struct Row {
    const char* code;
    const char* expected;
    int supports;
  };
  const Row rows[] = {
      {"QMA2500EL41", "71:427/71:207", 2},
      {"QMA2500EL42", "75:427/75:207", 2},
      {"QMA2500EL43", "72:430/72:430", 2},
      {"QMA5000EL41", "71:427/71:207", 4},  // the twin rating holds both housings
      {"QMA2500EL45", "", 0},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun("A", std::string(row.code).substr(3, 2) == "50" ? "50" : "25");
    auto unit = QMElement(run, CDev::kEnd, QMStyle(6, 1));
    unit->SetReference(QMPadded(row.code));
    CPartBuilderQM builder(run);
    builder.SetSupportCodes(*unit);
    EXPECT_EQ(unit->GetPropValue("SUPP"), row.expected) << row.code;
    EXPECT_EQ(builder.GetSupportCount(), row.supports) << row.code;
  }
}

// Laid out and rebuilt: a combined flat piece is held along its middle leg, an edgewise
// tee at its corner by the face its branch goes up.
TEST_F(QMRunTest, CombinedPiecesAndTeesOfARunGetTheirSupports) {
  const CProgramTexts texts;
  struct Row {
    const char* layout;
    const char* family;
    const char* expected;
  };
  const Row rows[] = {
      {"run QMA 25\nstart 1\ngo 4 3000\ngo 5 600\ngo 4 3000\nend 1\n", "ZP", "45:175"},
      {"run QMA 25\nstart 1\ngo 4 3000\ngo 5 500\ngo 4 3000\nend 1\n", "ZP", "45:0/454:0"},
      {"run QMA 25\nstart 1\ngo 4 3000\ngo 2 600\ngo 4 3000\nend 1\n", "ZC", "424:0"},
      {"run QMA 25\nstart 1\ngo 4 3000\ngo 2 2000\nend 1\nfrom 1\ngo 4 2000\nend 1\n", "TC",
       "42:0"},
  };
  for (const Row& row : rows) {
    CRunQM& run = LayOut(row.layout);
    run.RebuildParts(0);
    const CDev* piece = nullptr;
    for (const CDev* element : run.GetChainOrder()) {
      if (RefPairAt(element->GetReference(), 7) == row.family) piece = element;
    }
    ASSERT_NE(piece, nullptr) << row.layout << QGBillListing(run);
    EXPECT_EQ(piece->GetPropValue("SUPP"), row.expected) << row.layout;
  }
}

}  // namespace
