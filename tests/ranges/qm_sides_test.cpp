#include "qm_test_support.h"

namespace {

// A 2 or 4 m line piece of side 0 seen from the other sides: the side letter at place 8,
// the neutral at 9, then the EH44 mark, the ED31 or step mark and the colour.
TEST_F(QMRunTest, LinePiecesSeenFromTheOtherSides) {
  struct Row {
    const char* variant;
    const char* rating;
    const char* neutral;
    const char* ral;
    const char* step;
    const char* option;  // "EH44" or "ED31" set on the piece
    int length;
    const char* reference;
    int side;
    const char* expected;
  };
  const Row rows[] = {
      {"A", "25", "4", "", "", "", 4000, "QMA2500ED4", 0, "QMA2500ED4"},
      {"A", "25", "4", "", "", "", 4000, "QMA2500ED4", 1, "QMA2500ED4 03"},
      {"A", "25", "4", "", "", "", 4000, "QMA2500ED4", 2, "QMA2500EB4 0"},
      {"A", "25", "4", "", "", "", 4000, "QMA2500ED4", 4, "QMA2500EH4 0"},
      {"A", "25", "4", "", "", "", 4000, "QMA2500ED4", 3, ""},
      {"A", "25", "4", "7035", "", "", 4000, "QMA2500ED4", 4, "QMA2500EH4 0G"},
      {"A", "25", "4", "7035", "", "", 4000, "QMA2500ED4", 1, "QMA2500ED4 03G"},
      {"A", "25", "4", "", "0", "", 4000, "QMA2500ED4", 1, "QMA2500ED4 0"},
      {"A", "25", "4", "", "", "", 3000, "QMA2500ED4", 1, ""},
      {"A", "25", "4", "", "", "", 4000, "QMA2500XX4", 1, ""},
      {"A", "25", "8", "", "", "", 4000, "QMA2500ED4", 1, "QMA2500ED6 03"},
      {"A", "25", "8", "", "0", "", 4000, "QMA2500ED4", 1, "QMA2500ED8 0"},
      {"A", "25", "6", "", "", "EH44", 4000, "QMA2500ED6", 4, "QMA2500EH6 4"},
      {"A", "25", "6", "", "", "EH44", 4000, "QMA2500ED6", 1, "QMA2500ED6 04"},
      {"A", "25", "4", "", "", "EH44", 4000, "QMA2500ED4", 4, "QMA2500EH4 0"},  // not QMA 25/6
      {"A", "25", "4", "", "", "ED31", 2000, "QMA2500ED4", 1, "QMA2500ED4 01"},
      {"A", "25", "8", "", "", "ED31", 2000, "QMA2500ED4", 1, "QMA2500ED8 01"},
      {"A", "32", "8", "", "", "", 4000, "QMA3200ED4", 1, ""},  // no QMA 32 with 6
      {"C", "63", "4", "", "", "", 4000, "QMC6300ED4", 4, ""},
      {"A", "50", "4", "", "", "ED31", 2000, "QMA5000ED4", 1, "QMA5000ED4 03"},
      // Short references are read and written inside their own length.
      {"A", "25", "4", "", "", "", 4000, "QMA2500ED", 1, "QMA2500ED"},
      {"A", "25", "4", "", "", "", 4000, "QMA", 1, ""},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun(row.variant, row.rating, row.neutral);
    run.SetProp("RAL", row.ral);
    run.SetProp("QM_ED_STEP", row.step);
    auto piece = QMElement(run, CDev::kStraight, 0);
    piece->SetBookedLength(row.length);
    piece->SetDrawnLength(row.length);
    piece->SetReference(std::string(row.reference).size() >= 10 ? QMPadded(row.reference)
                                                                : std::string(row.reference));
    if (*row.option != '\0') piece->SetPropValue(row.option, "1");
    const std::string expected =
        std::string(row.expected).size() >= 10 ? QMPadded(row.expected) : row.expected;
    EXPECT_EQ(run.GetDeviceTextForSide(*piece, row.side), expected)
        << row.variant << row.rating << "/" << row.neutral << " " << row.reference << " side "
        << row.side;
  }
}

TEST_F(QMRunTest, TwinRunsOfTheSecondGroupShowNoOtherSide) {
  CRunQM& run = MakeRun("C", "63");
  auto piece = QMElement(run, CDev::kStraight, 0);
  piece->SetBookedLength(4000);
  piece->SetReference(QMPadded("QMC6300ED4"));
  run.SetProp("INDEXGRP", "2a");
  EXPECT_EQ(run.GetDeviceTextForSide(*piece, 1), "");
  run.SetProp("INDEXGRP", "2b");
  EXPECT_EQ(run.GetDeviceTextForSide(*piece, 1), QMPadded("QMC6300ED4 03"));
}

// The options are held by the element past the joints and pass units along the way; a
// chain that loops ends the walk.
TEST_F(QMRunTest, OptionsAreHeldPastJointsAndPassUnits) {
  CRunQM& run = MakeRun("A", "25", "6");
  auto start = QMElement(run, CDev::kJoint, 0);
  auto pass = QMElement(run, CDev::kInLine, 0);
  auto holder = QMElement(run, CDev::kStraight, 0);
  start->SetActive(1);
  start->SetNeighbour(4, pass.get());
  pass->SetNeighbour(4, holder.get());
  EXPECT_TRUE(run.AccessEH44Option(*start, 1));
  EXPECT_EQ(holder->GetFieldText("EH44").value_or(""), "1");
  EXPECT_TRUE(run.AccessEH44Option(*holder, -1));
  EXPECT_TRUE(run.AccessEH44Option(*start, 0));
  EXPECT_FALSE(run.AccessEH44Option(*holder, -1));
  EXPECT_TRUE(run.AccessED31Option(*start, 1));
  EXPECT_EQ(holder->GetFieldText("ED31").value_or(""), "1");
  EXPECT_TRUE(run.AccessED31Option(*pass, -1));
  // An inactive joint holds its own option.
  start->SetActive(0);
  EXPECT_FALSE(run.AccessED31Option(*start, -1));
  // A loop of joints: the walk stops.
  auto other = QMElement(run, CDev::kJoint, 0);
  other->SetActive(1);
  start->SetActive(1);
  start->SetNeighbour(4, other.get());
  other->SetNeighbour(4, start.get());
  EXPECT_FALSE(run.AccessED31Option(*start, -1));
  start->SetNeighbour(4, nullptr);
  other->SetNeighbour(4, nullptr);
  pass->SetNeighbour(4, nullptr);
  // EH44 belongs to QMA 25 runs with the neutral 6 to 8.
  CRunQM& other25 = MakeRun("A", "25", "4");
  EXPECT_FALSE(other25.AccessEH44Option(*holder, 1));
}

// References and patterns are written inside their own length, whatever it is.
TEST_F(QMRunTest, ShortReferencesAreNeverWrittenPastTheirEnd) {
  CRunQM& run = MakeRun("A", "25", "8");
  auto unit = QMElement(run, CDev::kEnd, QMStyle(6, 1));
  for (const std::string start : {"", "Q", "QMA25", "QMA25ER", "QMA25  6 "}) {
    std::string reference = start;
    run.ApplyRefPattern(*unit, reference);
    EXPECT_EQ(reference.size(), start.size()) << start;
    std::string filled = start;
    run.FillRefPattern(filled);
    EXPECT_EQ(filled.size(), start.size()) << start;
    std::string expanded = start;
    run.ExpandRatingRef(expanded);
    EXPECT_LE(expanded.size(), start.size() + 2) << start;
  }
  run.SetProp("Calibre", "2500000000000000000000000000");  // a stored rating of any length
  std::string reference(kRefWidth, ' ');
  run.ApplyRefPattern(*unit, reference);
  EXPECT_EQ(reference.size(), static_cast<std::size_t>(kRefWidth));
  for (int code : {4, 10, 20, 85, 91, 141, 164, 183, 205})
    EXPECT_LE(run.GetElementRef(code).size(), static_cast<std::size_t>(kRefWidth)) << code;
}

}  // namespace
