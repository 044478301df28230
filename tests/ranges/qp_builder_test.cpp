#include "qp_test_support.h"

#include "model/document/check_message_presenter.h"

#include <map>

namespace {

// Straight lengths are made of the long standard pieces and at most one shorter one,
// fewest pieces first, then the smallest remainder; a remainder counts as one piece.
TEST_F(QPRunTest, SplitLengthTakesLongPiecesAndAtMostOneShortOne) {
  CRunQP& run = MakeRun("A", "40");
  CPartBuilderQP builder(run);
  const std::vector<std::int32_t> lengths{5000, 3000, 2000, 800, 0};
  struct Case {
    std::int32_t length;
    std::int32_t remainder;
    std::string pieces;
  };
  const Case cases[] = {
      {5800, 0, "14"}, {5802, 0, "14"}, {10000, 0, "11"}, {1600, 1600, ""}, {8000, 0, "12"},
  };
  for (const Case& c : cases) {
    std::string answer;
    EXPECT_EQ(builder.SplitLength(c.length, lengths, 0, answer), c.remainder) << c.length;
    EXPECT_EQ(answer, c.pieces) << c.length;
  }
  // Lengths are rounded to 5 mm: 2003 to 2005, 2002 to 2000.
  std::string answer;
  EXPECT_EQ(builder.SplitLength(2002, lengths, 0, answer), 0);
  EXPECT_EQ(answer, "3");
  answer.clear();
  EXPECT_EQ(builder.SplitLength(2003, lengths, 0, answer), 5);
  EXPECT_EQ(answer, "3");
  // A list whose longest piece is 2000 or less is split by the solver alone.
  answer.clear();
  EXPECT_EQ(builder.SplitLength(1600, {800, 0}, 0, answer), 0);
  EXPECT_EQ(answer, "11");
}

// A riser with another one 3000 mm ahead: the builder splits the line and keeps the far
// piece for its next call. A builder made afterwards has nothing pending of it.
TEST_F(QPRunTest, PendingSplitBelongsToItsBuilder) {
  CRunQP& run = LayOut("run QPA 40\nstart 0\ngo 4 9000\nend 6\n");
  CDev& start = *Laid().at(0);
  ASSERT_EQ(start.InsertRiserFixing(4, 1000, 0), 1);
  CDev* first = start.GetNeighbour(4);
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(first->GetKind(), CDev::kInLine);
  ASSERT_EQ(first->InsertRiserFixing(first->GetDirection(), 3000, 0), 1);
  first->SetVariantBoth(1);
  first->SetVariantIndexBoth(3);
  {
    CPartBuilderQP builder(run);
    CDev* split = builder.PrepareElement(*first);
    ASSERT_NE(split, nullptr);
    EXPECT_EQ(split->GetKind(), CDev::kJoint);
    EXPECT_EQ(split->GetBookedLength(), 450);
  }
  CPartBuilderQP next(run);
  EXPECT_EQ(next.PrepareElement(start), nullptr);
}

// Risers add one kind-21 accessory for every 3500 mm of line ahead of them beyond the
// first; a stored length of any size adds at most 10,000.
TEST_F(QPRunTest, RiserAccessoriesFollowTheLineAheadAndAreCapped) {
  struct Row {
    std::int32_t ahead;
    std::int64_t accessories;
  };
  const Row rows[] = {{3500, 0}, {3501, 1}, {7001, 2}, {2000000000, 10000}};
  for (const Row& row : rows) {
    CRunQP& run = LayOut("run QPA 40\nstart 0\ngo 4 9000\nend 6\n");
    run.SetProp("QP_STEP", "0");
    CDev& start = *Laid().at(0);
    ASSERT_EQ(start.InsertRiserFixing(4, 1000, 0), 1);
    CDev* riser = start.GetNeighbour(4);
    riser->SetVariantBoth(1);
    riser->SetVariantIndexBoth(3);
    CDev* ahead = riser->GetNeighbour(riser->GetDirection());
    ASSERT_NE(ahead, nullptr);
    ahead->SetBookedLength(row.ahead);
    CPartBuilderQP builder(run);
    builder.PrepareElement(*riser);
    std::int64_t count = 0;
    for (const CDev* device : run.GetDevices()) {
      if (device->GetKind() == CDev::kAccessory && device->GetReference().starts_with("QPB1000ZV2"))
        count += std::max(1, device->GetBooked());
    }
    EXPECT_EQ(count, row.accessories) << row.ahead;
  }
}

// Booked length per straight type, from the run's length records.
std::map<int, std::int64_t> LengthsByType(const CRun& run) {
  std::map<int, std::int64_t> totals;
  for (const CDev* record : run.GetLengthRecords())
    totals[record->GetVariantIndex()] += record->GetBookedLength();
  return totals;
}

// A riser line of 2400 to 2899 mm is cut once more ahead; below 500 A the piece beyond the
// cut leaves the bill length of its own straight type for that of plain line (type 1).
TEST_F(QPRunTest, LongRiserLineBelow500AMovesItsCutPieceToPlainLine) {
  for (const char* rating : {"40", "63"}) {
    CRunQP& run = LayOut(std::string("run QPA ") + rating + "\nstart 0\ngo 4 9000\nend 6\n");
    run.SetProp("QP_STEP", "0");
    CDev& start = *Laid().at(0);
    ASSERT_EQ(start.InsertRiserFixing(4, 1000, 0), 1);
    CDev* riser = start.GetNeighbour(4);
    ASSERT_EQ(riser->InsertRiserFixing(riser->GetDirection(), 2600, 0), 1);
    riser->SetVariantBoth(1);
    riser->SetVariantIndexBoth(3);
    const std::map<int, std::int64_t> before = LengthsByType(run);
    CPartBuilderQP builder(run);
    CDev* split = builder.PrepareElement(*riser);

    ASSERT_NE(split, nullptr) << rating;
    std::map<int, std::int64_t> after = LengthsByType(run);
    // The cut at 450 + 1500 leaves 1950 mm between the riser and the cut.
    const std::int64_t moved = std::string(rating) == "40" ? 1950 : 0;
    EXPECT_EQ(after[0], before.at(0) - moved) << rating;
    EXPECT_EQ(after[1], (before.contains(1) ? before.at(1) : 0) + moved) << rating;
  }
}

// The riser line ahead of a riser keeps its length on the riser line's bill line only at
// the standard riser lengths (2000 and 800 mm, 1500 mm from 500 A on) and when it is of
// the riser type; any other piece is booked as plain line, its cut-off part included.
TEST_F(QPRunTest, RiserLineAheadKeepsOnlyStandardLengthsOnItsBillLine) {
  // The name of the plain line is the English file's.
  const CProgramTexts texts;
  struct Row {
    const char* rating;
    std::int32_t ahead;
    int variant;
    std::int64_t moved;
  };
  const Row rows[] = {
      {"40", 2000, 1, 0},    {"40", 800, 1, 0},     {"40", 1500, 1, 1500}, {"63", 1500, 1, 0},
      {"40", 1200, 1, 1200}, {"63", 2300, 1, 2300}, {"40", 2000, 0, 2000},
  };
  for (const Row& row : rows) {
    const std::string label = std::string(row.rating) + " " + std::to_string(row.ahead);
    CRunQP& run = LayOut(std::string("run QPA ") + row.rating + "\nstart 0\ngo 4 9000\nend 6\n");
    run.SetProp("QP_STEP", "0");
    CDev& start = *Laid().at(0);
    ASSERT_EQ(start.InsertRiserFixing(4, 1000, 0), 1);
    CDev* riser = start.GetNeighbour(4);
    ASSERT_EQ(riser->InsertRiserFixing(riser->GetDirection(), row.ahead, 0), 1);
    riser->SetVariantBoth(1);
    riser->SetVariantIndexBoth(3);
    CDev* ahead = riser->GetNeighbour(riser->GetDirection());
    ASSERT_NE(ahead, nullptr);
    ASSERT_EQ(ahead->GetKind(), CDev::kInLine);
    ASSERT_EQ(ahead->GetBookedLength(), row.ahead);
    // The piece ahead is of the riser line's type and booked on its bill line.
    ahead->SetVariantBoth(row.variant);
    run.AddLengthToBOM(ahead->GetCalibre(), -row.ahead, ahead->GetVariantIndex());
    ahead->SetVariantIndexBoth(3);
    run.AddLengthToBOM(ahead->GetCalibre(), row.ahead, 3);
    const std::map<int, std::int64_t> before = LengthsByType(run);
    CPartBuilderQP builder(run);
    builder.PrepareElement(*riser);

    std::map<int, std::int64_t> after = LengthsByType(run);
    EXPECT_EQ(after[3], before.at(3) - row.moved) << label;
    EXPECT_EQ(after[1], (before.contains(1) ? before.at(1) : 0) + row.moved) << label;
    const std::string bill = QPBillListing(run);
    EXPECT_EQ(bill.find("  Plain line - ") != std::string::npos, row.moved != 0) << label << "\n"
                                                                                 << bill;
  }
}

// Elbow parts marked 'A' or 'B' list the lengths of their legs, the way on before the
// way in, the leg being planned with its planned length; combined pieces next to a riser
// add the code of where the riser stands and its distance, lettered by the pair's join.
TEST_F(QPRunTest, MarkedElbowPartsListTheirLegs) {
  CRunQP& run = LayOut("run QPA 40\nstart 0\ngo 4 3000\ngo 1 3000\nend 6\n");
  CDev* elbow = nullptr;
  for (CDev* device : run.GetDevices())
    if (device->GetKind() == CDev::kElbow && elbow == nullptr) elbow = device;
  ASSERT_NE(elbow, nullptr);
  const std::vector<int> on = elbow->ForwardFaces();
  ASSERT_EQ(on.size(), 1u);
  // A fixing on the line on from the elbow: the riser at the second measured position.
  ASSERT_EQ(elbow->InsertRiserFixing(on.front(), 1000, 0), 1);
  CDev* ahead = elbow->GetNeighbour(on.front());
  ASSERT_NE(ahead, nullptr);
  ASSERT_EQ(ahead->GetKind(), CDev::kInLine);
  const std::string legs =
      "x=700," + std::to_string(elbow->GetChainLength(elbow->GetBackFace(), false));
  const std::int32_t distance = elbow->GetPosition().DistanceTo(ahead->GetPosition());
  ASSERT_GT(distance, 0);
  std::string marked = "QPA40DLC40A", combined = "QPA40DZCG4A", plain = "QPA40DLC40";
  for (std::string* reference : {&marked, &combined, &plain}) reference->resize(22, ' ');
  struct Row {
    const char* name;
    std::string reference;
    bool riserOn;
    std::string raw;  // before the coordinate form
    int kind;
  };
  const Row rows[] = {
      {"marked elbow", marked, false, legs, 0},
      {"marked elbow beside a riser: no code", marked, true, legs, 0},
      {"unmarked elbow", plain, false, "", 0},
      {"combined piece, riser on", combined, true, legs + ",x=b" + std::to_string(distance), 22},
      {"combined piece, no riser", combined, false, legs, 0},
  };
  for (const Row& row : rows) {
    CPartBuilderQP builder(run);
    if (row.riserOn) builder.SetState(*ahead, CPartBuilderQP::kRiserAtElbow);
    CPlannedPart part;
    part.element = elbow;
    part.face = on.front();
    part.length = 700;
    part.reference = row.reference;
    std::string expected = row.raw;
    FormatPartCoords(expected, row.kind, ' ');
    EXPECT_EQ(builder.GetPartParameters(part), expected) << row.name;
  }
}

// The closing accessories are counted per builder and added once, after the last part:
// a run without tee needs no kind-10 piece, each tee one more; rebuilding again gives the
// same bill.
TEST_F(QPRunTest, ClosingAccessoriesAreCountedPerRebuild) {
  struct Row {
    const char* layout;
    int pieces;
  };
  const Row rows[] = {
      {"run QPA 40\nstart 0\ngo 4 3000\nend 6\n", 0},
      {"run QPA 40\nstart 0\ngo 4 3000\ngo 5 3000\nend 6\nfrom 1\ngo 4 2000\nend 6\n", 1},
      {"run QPA 40\nstart 6\ngo 4 3000\nend 6\n", 1},
  };
  for (const Row& row : rows) {
    CRunQP& run = LayOut(row.layout);
    for (int round = 0; round < 2; ++round) {
      ASSERT_EQ(run.RebuildParts(0), 1);
      EXPECT_EQ(QPBillQuantity(run, "QPA400ZJ4"), row.pieces) << row.layout << " round " << round;
    }
  }
}

// Two flat elbows are one combined piece when the last one's length lies within the
// row's window (200 to 695 mm for QPA 400 A), two single elbows otherwise.
TEST_F(QPRunTest, ElbowPairsCombineWithinTheWindow) {
  struct Row {
    int between;
    std::int64_t combined;
  };
  const Row rows[] = {{600, 1}, {695, 1}, {1500, 0}};
  for (const Row& row : rows) {
    CRunQP& run = LayOut("run QPA 40\nstart 0\ngo 4 3000\ngo 1 " + std::to_string(row.between) +
                         "\ngo 4 3000\nend 6\n");
    ASSERT_EQ(run.RebuildParts(0), 1);
    EXPECT_EQ(QPBillQuantity(run, "QPA400DZCG4A") + QPBillQuantity(run, "QPA400DZCH4A"),
              row.combined)
        << row.between;
    EXPECT_EQ(QPBillQuantity(run, "QPA400DLC40"), row.combined == 1 ? 0 : 2) << row.between;
  }
}

// Asked to check, a pair outside its window is told by the design check, with the piece
// and its window (200 to 695 mm for QPA 400 A, 250 to 750 mm in step mode); a pair within
// it is not.
TEST_F(QPRunTest, ElbowPairOutsideTheWindowIsReported) {
  struct Row {
    const char* step;
    int between;
    bool reported;
    std::int32_t low;
    std::int32_t high;
  };
  const Row rows[] = {{"0", 600, false, 0, 0},
                      {"0", 695, false, 0, 0},
                      {"0", 1500, true, 200, 695},
                      {"1", 1500, true, 250, 750}};
  for (const Row& row : rows) {
    CRunQP& run = LayOut("run QPA 40\nstart 0\ngo 4 3000\ngo 1 " + std::to_string(row.between) +
                         "\ngo 4 3000\nend 6\n");
    run.SetProp("QP_STEP", row.step);
    run.CRun::RebuildParts(-1);
    CPartBuilderQP builder(run);
    builder.CollectSegments();
    for (const CSegment& segment : builder.GetSegments()) builder.GetElbowReference(segment, true);
    const CCheckMessage* found = nullptr;
    for (int i = 0; i < CCheckMessageTable::kSize; ++i) {
      if (builder.GetMessages().At(i).state == 10) found = &builder.GetMessages().At(i);
    }
    ASSERT_EQ(found != nullptr, row.reported) << row.between;
    if (found == nullptr) continue;
    EXPECT_EQ(found->value1, row.low);
    EXPECT_EQ(found->value2, row.high);
    EXPECT_EQ(found->element->GetKind(), CDev::kElbow);
  }
}

// What the design check shows after a rebuild: each record's state, element kind and
// two values.
class CQPCheckRecords : public CCheckMessagePresenter {
 public:
  int ShowCheckMessages(CPartBuilder& builder) override {
    for (int i = 0; i < CCheckMessageTable::kSize; ++i) {
      const CCheckMessage& record = builder.GetMessages().At(i);
      if (record.state != CCheckMessage::kEmpty) records.push_back(record);
    }
    return 1;
  }
  std::vector<CCheckMessage> records;
};

// Through the build: elbows too close to stand as two pieces (300 mm legs each) must be
// one combined piece; outside its window (200 to 695 mm, 250 to 750 in step mode) the
// check tells the window in place of the too-short segment. Elbows that stand apart, or
// combine, tell nothing.
TEST_F(QPRunTest, TheBuildReportsAPairThatCanNeitherStandApartNorCombine) {
  struct Row {
    const char* step;
    int between;
    int state;  // 0: no message
    std::int32_t low;
    std::int32_t high;
    std::int64_t combined;
  };
  const Row rows[] = {{"0", 100, 10, 200, 695, 0}, {"1", 150, 10, 250, 750, 0},
                      {"0", 400, 0, 0, 0, 1},      {"0", 600, 0, 0, 0, 1},
                      {"0", 1500, 0, 0, 0, 0},     {"1", 2600, 0, 0, 0, 0}};
  for (const Row& row : rows) {
    CRunQP& run = LayOut("run QPA 40\nstart 0\ngo 4 3000\ngo 1 " + std::to_string(row.between) +
                         "\ngo 4 3000\nend 6\n");
    run.SetProp("QP_STEP", row.step);
    CQPCheckRecords shown;
    CCheckMessagePresenter* previous = SetCheckMessagePresenter(&shown);
    run.RebuildParts(1);
    SetCheckMessagePresenter(previous);
    const std::int64_t parts =
        QPBillQuantity(run, "QPA400DZCG4A") + QPBillQuantity(run, "QPA400DZCH4A");
    EXPECT_EQ(parts, row.combined) << row.between;
    EXPECT_EQ(run.GetPartsState(), row.state == 0 ? 2 : 1) << row.between;
    if (row.state == 0) {
      EXPECT_TRUE(shown.records.empty()) << row.between << " " << shown.records.front().state;
      continue;
    }
    ASSERT_FALSE(shown.records.empty()) << row.between;
    const CCheckMessage& first = shown.records.front();
    EXPECT_EQ(first.state, row.state) << row.between;
    EXPECT_EQ(first.value1, row.low) << row.between;
    EXPECT_EQ(first.value2, row.high) << row.between;
    ASSERT_NE(first.element, nullptr);
    EXPECT_EQ(first.element->GetKind(), CDev::kElbow);
  }
}

// A combined pair hands its join value on to the part that follows it: the first entry
// of the next segment. With a feed box at the far end the pair's join is 1, with none 0.
TEST_F(QPRunTest, CombinedPairPassesItsJoinOn) {
  struct Row {
    const char* end;
    std::int32_t join;
  };
  const Row rows[] = {{"end 3\n", 1}, {"end 6\n", 0}};
  for (const Row& row : rows) {
    CRunQP& run =
        LayOut(std::string("run QPA 40\nstart 0\ngo 4 3000\ngo 1 600\ngo 4 3000\n") + row.end);
    run.SetProp("QP_STEP", "0");
    run.CRun::RebuildParts(-1);
    CPartBuilderQP builder(run);
    builder.CollectSegments();
    const std::vector<CSegment>& segments = builder.GetSegments();
    bool combined = false;
    for (std::size_t i = 0; i + 1 < segments.size() && !combined; ++i) {
      if (segments[i].size() < 2 || segments[i].back().element->GetKind() != CDev::kElbow) continue;
      builder.SetSegmentIndex(static_cast<int>(i));
      builder.GetElbowReference(segments[i]);
      if (segments[i].back().element->GetReference().find("DZC") == std::string::npos) continue;
      combined = true;
      EXPECT_EQ(segments[i].back().value, row.join) << row.end;
      EXPECT_EQ(segments[i + 1].front().value, row.join) << row.end;
    }
    EXPECT_TRUE(combined) << row.end;
  }
}

TEST(QPStepLegsTest, DFamilyLegsTakeTheirDrawingNames) {
  struct Row {
    const char* reference;
    const char* expected;
  };
  const Row rows[] = {
      {"QPA400DLC40A  a=700,b=3000", "QPA400DLC40A  A=700,B=3000"},
      {"QPA400DZCG4A a=900,b=1200,c=450,x=a450", "QPA400DZCG4A A=900,B=1200,C=450,Xa=450"},
      {"QPA1000DLE40B a=300,b=250,w=45", "QPA1000DLE40B A=300,B=250,w=45"},
      {"QPA400DMBK4A a=500,x=c20", "QPA400DMBK4A A=500,Xc=20"},
      {"QPA400DLC40", "QPA400DLC40"},
      {"QPA400DLC40   ", "QPA400DLC40   "},
      {"QPA400DLC40 d=5,x=d7,a=", "QPA400DLC40 d=5,x=d7,a="},
  };
  for (const Row& row : rows) EXPECT_EQ(RenameStepLegs(row.reference), row.expected);
}

// In step mode the finished "D" family parts name their legs as drawn; other families,
// and every part outside step mode, keep the measured names.
TEST_F(QPRunTest, StepModeRenamesTheLegsOfDFamilyParts) {
  struct Row {
    const char* step;
    const char* reference;
    std::string expected;
  };
  // The rating in amperes takes one place of the padding.
  const std::string pad(11, ' ');
  const Row rows[] = {
      {"1", "QPA40DLC40A", "QPA400DLC40A" + pad + "A=700,B=3000"},
      {"0", "QPA40DLC40A", "QPA400DLC40A" + pad + "a=700,b=3000"},
      {"1", "QPA40ET4AF0", "QPA400ET4AF0" + pad + "a=700,b=3000"},
  };
  for (const Row& row : rows) {
    const CDev* elbow = FinishedElbow(row.step, row.reference, "a=700,b=3000");
    ASSERT_NE(elbow, nullptr);
    EXPECT_EQ(elbow->GetReference(), row.expected) << row.step << " " << row.reference;
  }
}

TEST(QPElbowCombinationTest, TablesGiveTheCombinedCodeAndJoin) {
  struct Row {
    bool upper;
    const char* last;
    int lastTurn;
    const char* previous;
    int previousTurn;
    const char* code;
    int join;
  };
  const Row rows[] = {
      {true, "QPA40DLF40", 1, "QPA40DLE40", 3, "ZE4A", 0},
      {true, "QPA40DLF40", 4, "QPA40DLC40", 1, "MBK4A", 1},
      {true, "QPA40DLF40", 4, "QPA40DLC40", 2, "MCK4A", 1},
      {true, "QPA40DLC40", 2, "QPA40DLC40", 1, "ZCG4A", -1},
      {true, "QPA40DLC40", 1, "QPA40DLC40", 1, "", 0},
      {true, "QPA40DTC40", 1, "QPA40DLC40", 2, "", 0},
      {false, "QPA25LP41", 3, "QPA25LP42", 4, "ZP40A", 1},
      {false, "QPA25LP42", 4, "QPA25LP41", 3, "ZP40A", 0},
      {false, "QPA25LC40", 1, "QPA25LC40", 2, "ZC42A", -1},
      {false, "QPA25LP41", 3, "QPA25LC40", 2, "CP414A", 1},
      {false, "QPA", 3, "", 2, "", 0},
  };
  for (const Row& row : rows) {
    const CElbowCombination found =
        CombineElbows(row.upper, row.last, row.lastTurn, row.previous, row.previousTurn);
    EXPECT_EQ(found.code, row.code) << row.last << " after " << row.previous;
    EXPECT_EQ(found.join, row.join) << row.last << " after " << row.previous;
  }
}

}  // namespace
