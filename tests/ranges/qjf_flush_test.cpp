#include "model/document/check_message_presenter.h"
#include "qjf_test_support.h"
#include "support/case_table.h"

#include <climits>
#include <cstdint>
#include <vector>

namespace {

// The design-check records a rebuild would show, kept in place of the dialog.
class CShownChecks : public CCheckMessagePresenter {
 public:
  CShownChecks() : m_previous(SetCheckMessagePresenter(this)) {}
  ~CShownChecks() override { SetCheckMessagePresenter(m_previous); }
  CShownChecks(const CShownChecks&) = delete;
  CShownChecks& operator=(const CShownChecks&) = delete;
  int ShowCheckMessages(CPartBuilder& builder) override {
    for (int i = 0; i < CCheckMessageTable::kSize; ++i) {
      const CCheckMessage& record = builder.GetMessages().At(i);
      if (record.state != CCheckMessage::kEmpty) records.push_back(record);
    }
    return 1;
  }
  std::vector<CCheckMessage> records;

 private:
  CCheckMessagePresenter* m_previous;
};

std::string StemOf(const CDev& element) {
  if (element.GetBooked() == 0) return "-";
  const std::string& reference = element.GetReference();
  return reference.substr(0, reference.find(' '));
}

// Two elbows too close to stand as two pieces must be one double elbow; a pair that
// makes none is told, with the double elbow's leg range, in place of the short length.
// Elbows far enough apart stand on their own and tell nothing.
TEST_F(QJFRunTest, ElbowPairsThatCannotStandApartAreToldWhenTheyMakeNoDoubleElbow) {
  for (const CCaseRow& row : ReadCaseTable("ranges/qjf_elbow_pairs.tsv", 9)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    std::string layout = "run QJF " + row[1] + "\n";
    for (const std::string& statement : row.Split(2, ';')) layout += statement + "\n";
    CRunQJF& run = LayOut(layout);
    CShownChecks shown;
    run.RebuildParts(1);
    EXPECT_EQ(StemOf(*Laid()[1]), row[7]) << BillListing(run);
    EXPECT_EQ(StemOf(*Laid()[2]), row[8]) << BillListing(run);
    EXPECT_EQ(run.GetPartsState(), row.Int(3) == 0 ? 2 : 1);
    if (row.Int(3) == 0) {
      EXPECT_TRUE(shown.records.empty()) << shown.records.front().state;
      continue;
    }
    ASSERT_FALSE(shown.records.empty());
    const CCheckMessage& first = shown.records.front();
    EXPECT_EQ(first.state, row.Int(3));
    EXPECT_EQ(first.value1, row.Int(4));
    EXPECT_EQ(first.value2, row.Int(5));
    EXPECT_EQ(first.element, Laid()[static_cast<std::size_t>(row.Int(6))]);
  }
}

// The straight pieces of a segment that ends at a tee taking no length (the second part,
// at 0) move by the first end's length less the tee's chain length; the two ends, and
// every other segment, keep their lengths.
TEST_F(QJFRunTest, PiecesBeforeATeeThatTakesNoLengthMoveByTheFirstEndLessTheTeeChain) {
  struct Row {
    const char* name;
    int secondKind;
    std::int32_t secondStart;
    std::int32_t firstStart;
    std::int32_t teeChain;
    std::vector<std::int32_t> pieces;  // start and end of each piece after the two ends
    std::vector<std::int32_t> expected;
  };
  constexpr int kTee = CDev::kJunction2;
  constexpr std::int32_t kMax = INT32_MAX;
  const Row rows[] = {
      {"one piece", kTee, 0, 100, 3000, {2900, 2900}, {5800, 5800}},
      {"two pieces", kTee, 0, 418, 6000, {2550, 2550, 5550, 3000}, {8132, 8132, 11132, 8582}},
      {"the first end takes the chain", kTee, 0, 3000, 3000, {1200, 700}, {1200, 700}},
      {"the first end beyond the chain", kTee, 0, 500, 200, {900, 400}, {600, 100}},
      {"the two ends alone", kTee, 0, 100, 3000, {}, {}},
      {"a tee taking 1 mm", kTee, 1, 100, 3000, {2900, 2900}, {2900, 2900}},
      {"a tee taking 350", kTee, 350, 100, 3000, {2900, 2550}, {2900, 2550}},
      {"an elbow at 0", CDev::kElbow, 0, 100, 3000, {2900, 2900}, {2900, 2900}},
      {"a cross at 0", CDev::kJunction3, 0, 100, 3000, {2900, 2900}, {2900, 2900}},
      {"beyond 32 bits: the limits", kTee, 0, kMax, 0, {INT32_MIN, kMax}, {INT32_MIN, 0}},
      {"and the other way", kTee, 0, 0, kMax, {kMax, 1}, {kMax, kMax}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CRunQJF& run = MakeRun("26");
    CDev first(&run), second(&run);
    first.SetKind(CDev::kEnd);
    second.SetKind(row.secondKind);
    second.SetBookedLength(row.teeChain);
    ASSERT_EQ(second.GetChainLength(-1, false), row.teeChain);
    std::vector<CPlannedPart> parts(2);
    parts[0].element = &first;
    parts[0].length = parts[0].firstLength = row.firstStart;
    parts[1].element = &second;
    parts[1].length = parts[1].firstLength = row.secondStart;
    for (std::size_t i = 0; i + 1 < row.pieces.size(); i += 2) {
      CPlannedPart piece;
      piece.element = &second;
      piece.length = row.pieces[i];
      piece.firstLength = row.pieces[i + 1];
      parts.push_back(piece);
    }
    ShiftPiecesBeforeFlushTee(parts);
    ASSERT_EQ(parts.size(), 2 + row.expected.size() / 2);
    EXPECT_EQ(parts[0].length, row.firstStart);
    EXPECT_EQ(parts[1].length, row.secondStart);
    for (std::size_t i = 0; i + 1 < row.expected.size(); i += 2) {
      EXPECT_EQ(parts[2 + i / 2].length, row.expected[i]) << i / 2;
      EXPECT_EQ(parts[2 + i / 2].firstLength, row.expected[i + 1]) << i / 2;
    }
  }
  // Parts without an element are no tee.
  std::vector<CPlannedPart> parts(3);
  parts[2].length = 700;
  ShiftPiecesBeforeFlushTee(parts);
  EXPECT_EQ(parts[2].length, 700);
}

// The flush moves the pieces before it cuts: a piece planned 50 mm from a tee that takes
// no length of its 3000 mm stretch, behind a 100 mm end, is cut 2950 mm from the tee, and
// the tee keeps its place with its own reference booked.
TEST_F(QJFRunTest, TheFlushCutsThePiecesWhereTheTeeMovesThem) {
  CRunQJF& run =
      LayOut("run QJF 26\nstart 1\ngo 4 3000\ngo 2 2000\nend 1\nfrom 1\ngo 4 3000\nend 1\n");
  CDev& start = *Laid()[0];
  CDev& tee = *Laid()[1];
  ASSERT_EQ(tee.GetKind(), CDev::kJunction2);
  ASSERT_EQ(tee.GetChainLength(-1, false), 3000);
  CPartBuilderQJF builder(run);
  std::vector<CPlannedPart>& parts = builder.GetPlannedParts();
  parts.resize(3);
  parts[0].element = &start;
  parts[0].face = start.GetDirection();
  parts[0].length = parts[0].firstLength = 100;
  parts[1].element = &tee;
  parts[1].face = tee.GetBackFace();
  parts[1].reference = PaddedRef("QJF26TE2X");
  parts[2].element = &tee;
  parts[2].face = tee.GetBackFace();
  parts[2].length = 50;
  parts[2].firstLength = 50;
  parts[2].mode = -1;
  builder.FlushPartsToBOM();
  EXPECT_EQ(parts[2].length, 2950);
  EXPECT_EQ(TrimmedRef(tee.GetReference()), "QJF26TE2X");
  // The stretch behind the tee now ends at a joint 2950 mm from it.
  EXPECT_EQ(tee.GetBookedLength(), 2950);
  const CDev* joint = tee.GetBackNeighbour();
  ASSERT_NE(joint, nullptr);
  EXPECT_EQ(joint->GetKind(), CDev::kJoint);
  EXPECT_EQ(joint->GetBookedLength(), 50);
}

// A segment whose end gets no catalogue part (a feed unit without its entrax type) is
// told, and still books the straight length between its ends.
TEST_F(QJFRunTest, ASegmentWithAnEndWithoutPartKeepsItsStraightLength) {
  CRunQJF& run = LayOut("run QJF 26\nstart 3\ngo 4 3000\nend 1\n");
  CShownChecks shown;
  run.RebuildParts(1);
  EXPECT_EQ(run.GetPartsState(), 1);
  ASSERT_FALSE(shown.records.empty());
  const std::string bill = BillListing(run);
  EXPECT_NE(bill.find("QJF26EA2"), std::string::npos) << bill;
}

}  // namespace
