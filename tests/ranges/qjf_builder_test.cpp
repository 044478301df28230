#include "qjf_test_support.h"
#include "support/case_table.h"

#include <algorithm>
#include <cstring>

namespace {

std::string LayoutOf(const std::string& rating, const std::vector<std::string>& statements) {
  std::string layout = "run QJF " + rating + "\n";
  for (const std::string& statement : statements) layout += statement + "\n";
  return layout;
}

// The reference up to its first blank: the part without its parameter text.
std::string Stem(const std::string& reference) { return reference.substr(0, reference.find(' ')); }

TEST_F(QJFRunTest, ReferencesByKindRatingAndVariant) {
  for (const CCaseRow& row : ReadCaseTable("ranges/qjf_references.tsv", 7)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    CRunQJF& run = LayOut(LayoutOf(row[1], row.Split(2, ';')));
    EXPECT_EQ(run.RebuildParts(0), 1);
    EXPECT_EQ(run.GetPartsState(), row.Int(6));
    const long long index = row.Int(3);
    if (index < 0) {
      EXPECT_EQ(LineQuantity(run, row[4]), row.Int(5)) << BillListing(run);
      continue;
    }
    ASSERT_LT(index, static_cast<long long>(Laid().size()));
    const CDev& element = *Laid()[static_cast<std::size_t>(index)];
    if (row[4] == "-") {
      EXPECT_EQ(element.GetBooked(), 0) << element.GetReference();
      continue;
    }
    EXPECT_EQ(Stem(element.GetReference()), row[4]) << BillListing(run);
    EXPECT_EQ(LineQuantity(run, element.GetReference()), row.Int(5)) << BillListing(run);
  }
}

TEST(QJFDoubleElbows, FamiliesOfEveryPairAndTheirMirrors) {
  const char* singles[] = {"LB", "LC", "LE", "LF"};
  const char* expected[4][4] = {{"ZZ", "MC", "NG", "NK"},
                                {"MB", "ZZ", "NH", "NL"},
                                {"NB", "NE", "ZZ", "MF"},
                                {"NC", "NF", "ME", "ZZ"}};
  for (int last = 0; last < 4; ++last) {
    for (int previous = 0; previous < 4; ++previous) {
      const std::string family = DoubleElbowFamily(singles[last], singles[previous]);
      EXPECT_EQ(family, expected[last][previous]) << singles[last] << singles[previous];
      if (family == "ZZ") continue;
      EXPECT_TRUE(IsDoubleElbowFamily(family));
      EXPECT_EQ(MirrorDoubleElbow(MirrorDoubleElbow(family)), family);
      EXPECT_NE(MirrorDoubleElbow(family), family);
    }
  }
  EXPECT_EQ(DoubleElbowFamily("LD", "LB"), "ZZ");
  EXPECT_EQ(DoubleElbowFamily("", "L"), "ZZ");
  EXPECT_FALSE(IsDoubleElbowFamily("LB"));
  EXPECT_EQ(MirrorDoubleElbow("TE"), "TE");
}

// Two elbows of rating 14 make the double elbow of rating 16; one outside the piece's
// range is told when asked for, and is no double elbow.
TEST_F(QJFRunTest, DoubleElbowsOfRating14AndOutsideTheirRange) {
  for (const auto& [length, expected, state] :
       {std::tuple{500, "QJF16MC1X", -1}, std::tuple{900, "", 10}, std::tuple{200, "", 10}}) {
    CRunQJF& run = LayOut(LayoutOf(
        "14", {"start 1", "go 4 3000", "go 1 " + std::to_string(length), "go 4 3000", "end 1"}));
    CPartBuilderQJF builder(run);
    CSegmentEntry previous, last;
    previous.element = Laid()[1];
    previous.outFace = 1;
    last.element = Laid()[2];
    last.outFace = 4;
    EXPECT_EQ(TrimmedRef(builder.MakeDoubleElbow(previous, last, true)), expected);
    const CCheckMessage& message = builder.GetMessages().At(0);
    if (state < 0) {
      EXPECT_FALSE(builder.HasErrors());
    } else {
      EXPECT_EQ(message.state, state);
      EXPECT_EQ(message.value1, 300);
      EXPECT_EQ(message.value2, 800);
    }
  }
}

// A special elbow angle takes no double elbow, and its reference gets the angle options.
TEST_F(QJFRunTest, ElbowsOfASpecialAngle) {
  CRunQJF& run = LayOut(LayoutOf("26", {"start 1", "go 4 3000", "go 1 500", "go 4 3000", "end 1"}));
  Laid()[2]->SetFieldText("ELBOW_ANGL", "45");
  EXPECT_EQ(run.RebuildParts(0), 1);
  EXPECT_EQ(Stem(Laid()[1]->GetReference()), "QJF26LC21");
  EXPECT_EQ(Stem(Laid()[2]->GetReference()), "QJF26LB21AW");
  EXPECT_EQ(LineQuantity(run, Laid()[2]->GetReference()), 1);
  Laid()[2]->SetFieldText("ELBOW_ANGL", "90");
  EXPECT_EQ(run.RebuildParts(0), 1);
  EXPECT_EQ(Stem(Laid()[2]->GetReference()), "QJF26MC2X");
}

// Feed units without an entrax type, of a family above its rating, and tees whose
// branch cannot be told: 'Z' references and design-check messages.
TEST_F(QJFRunTest, FeedUnitsAndTeesThatTheRangeDoesNotMake) {
  struct Row {
    const char* rating;
    std::vector<std::string> statements;
    int element;
    const char* expected;
    int state, value;
  };
  for (const Row& row :
       {Row{"46", {"start 3", "entrax 4", "go 4 3000", "end 1"}, 0, "ZZZZZZZZZ", 3, 2500},
        Row{"46", {"start 3", "entrax 6", "go 4 3000", "end 1"}, 0, "ZZZZZZZZZ", 3, 2500},
        Row{"26", {"start 3", "go 4 3000", "end 1"}, 0, "ZZZZZZZZZZZ", 2, 0},
        Row{"26", {"start 3", "entrax 9", "go 4 3000", "end 1"}, 0, "QJF26AA2120", -1, 0},
        Row{"46", {"start 3", "entrax 2", "go 4 3000", "end 1"}, 0, "QJF46AB4125", -1, 0}}) {
    CRunQJF& run = LayOut(LayoutOf(row.rating, row.statements));
    CPartBuilderQJF builder(run);
    CSegmentEntry entry;
    entry.element = Laid()[static_cast<std::size_t>(row.element)];
    EXPECT_EQ(Stem(builder.GetEntryReference(entry, false)).substr(0, std::strlen(row.expected)),
              row.expected);
    if (row.state < 0) continue;
    EXPECT_EQ(builder.GetMessages().At(0).state, row.state);
    EXPECT_EQ(builder.GetMessages().At(0).value1, row.value);
  }
  CRunQJF& run = LayOut(LayoutOf(
      "26", {"start 1", "go 4 3000", "go 2 2000", "end 1", "from 1", "go 4 2000", "end 1"}));
  CPartBuilderQJF builder(run);
  CSegmentEntry tee;
  tee.element = Laid()[1];
  tee.inFace = 15;  // no through line
  tee.branchFace = 2;
  EXPECT_EQ(Stem(builder.GetEntryReference(tee, false)), "QJF26");
  EXPECT_EQ(builder.GetMessages().At(0).state, 1);
}

TEST_F(QJFRunTest, CandidatesAlternateUnlessAFittedPieceComesFirst) {
  CRunQJF& run = MakeRun("26");
  CPartBuilderQJF builder(run);
  const CSegment segment(3);
  EXPECT_EQ(builder.SelectCandidate(segment, 0), 2);
  EXPECT_EQ(builder.SelectCandidate(segment, 0), 0);
  EXPECT_EQ(builder.SelectCandidate(segment, 0), 2);
  EXPECT_EQ(builder.SelectCandidate(segment, 1), 2);
  CPlannedPart fitted;
  fitted.reference = "QJF26TE2X             ";
  builder.GetPlannedParts().push_back(fitted);
  EXPECT_EQ(builder.SelectCandidate(segment, 1), 0);
  builder.GetPlannedParts().front().reference = "QJF26TE2X";
  EXPECT_EQ(builder.SelectCandidate(segment, 1), 2);
}

// The finishing of references: options moved together, earth added where the unit takes
// it, and a stored reference longer than 22 characters keeps its tail.
TEST_F(QJFRunTest, FinishingMovesOptionsTogetherAndAddsTheEarth) {
  struct Row {
    const char* ground;
    int kind, variant;
    std::string reference;
    std::string expected;
  };
  for (const Row& row :
       {Row{" ", CDev::kEnd, 3, "QJF26EA23A B  C", "QJF26EA23ABC"},
        Row{"PE", CDev::kEnd, 3, "QJF26AA2120", "QJF26AA2120APE"},
        Row{"PE", CDev::kEnd, 103, "QJF26AA2120           ", "QJF26AA2120APE"},
        Row{"PE", CDev::kEnd, 1, "QJF26FE2", "QJF26FE2"},
        Row{"PE", CDev::kEnd, 3, "QJF26AA21201234567890X", "QJF26AA21201234567890XAPE"},
        Row{" ", CDev::kEnd, 3, "QJF26AA2120           tail", "QJF26AA2120           tail"},
        Row{" ", CDev::kEnd, 3, "QJ", "QJ"}, Row{" ", CDev::kEnd, 3, "QMA63", "QMA63"}}) {
    CRunQJF& run = LayOut(LayoutOf("26", {"start 1", "go 4 3000", "end 1"}));
    run.SetProp("Ground", row.ground);
    CDev& element = *Laid()[0];
    element.SetVariantBoth(row.variant);
    element.SetReference(row.reference);
    run.GetBOM().AddRefQuantity(row.reference, 1);
    element.SetBooked(1);
    CPartBuilderQJF builder(run);
    builder.FinishPart(element, 0);
    std::string finished = element.GetReference();
    // A padded reference keeps its width; the earth takes the place of its blanks.
    if (row.reference.size() == kRefWidth && row.reference.back() == ' ') {
      EXPECT_EQ(finished.size(), static_cast<std::size_t>(kRefWidth)) << row.reference;
    }
    finished.erase(finished.find_last_not_of(' ') + 1);
    EXPECT_EQ(finished, row.expected) << row.reference;
    EXPECT_EQ(LineQuantity(run, element.GetReference()), 1) << row.reference;
  }
}

// A feed unit with a cable box mounted on a side comes with its fixing accessory.
TEST_F(QJFRunTest, CableBoxesComeWithTheirAccessory) {
  for (const auto& [bits, count] : {std::pair{"11000000", 1}, std::pair{"12000000", 1},
                                    std::pair{"10000000", -1}, std::pair{"01000000", -1}}) {
    CRunQJF& run = LayOut(LayoutOf(
        "26", {"start 1", "go 4 3000", "end 5", "entrax 5", std::string("style ") + bits}));
    EXPECT_EQ(run.RebuildParts(0), 1);
    EXPECT_EQ(LineQuantity(run, run.GetElementRef(13) + " a/b/c=T30034"), count) << bits;
  }
}

// Walks over tees end where the chain comes round to an element already seen.
TEST_F(QJFRunTest, SideWalksEndOnDamagedChains) {
  CRunQJF& run = MakeRun("26");
  CDev first(&run), second(&run);
  for (CDev* tee : {&first, &second}) {
    tee->SetKind(CDev::kJunction2);
    tee->SetDirection(4);
  }
  first.SetNeighbour(0, &second);
  first.SetNeighbour(4, &second);
  second.SetNeighbour(0, &first);
  second.SetNeighbour(4, &first);
  second.SetStyle(1u << 12);
  const CPartBuilderQJF builder(run);
  EXPECT_EQ(builder.GetSideFlag(first, 0), 1);
  EXPECT_EQ(builder.GetSideFlag(first, 1), 0);
}

// A feed piece made to a length (a '7' at place 10) reaches over its element's chain from
// the segment's first end only: its longest length grows by the row's longest piece
// (2999) less that chain; the shortest is left as it is.
TEST_F(QJFRunTest, AMadeToLengthPieceReachesOverItsChainFromTheFirstEndOnly) {
  struct Row {
    const char* reference;
    int pass;
    std::int32_t wantLast;
  };
  const Row rows[] = {
      {"QJF26EA2M 7", 0, 2999 + 2999 - 700},
      {"QJF26EA2M 7", 1, 2999},
      {"QJF26EA2M 7", 3, 2999},
      {"QJF26EA2S", 0, 2999},  // a piece of the stock lengths
  };
  for (const Row& row : rows) {
    CRunQJF& run = MakeRun("26");
    CDev element(&run);
    element.SetKind(CDev::kEnd);
    element.SetBookedLength(700);
    ASSERT_EQ(element.GetChainLength(-1, false), 700);
    const CPatternRow found = run.FindPartRow(PaddedRef(row.reference));
    ASSERT_FALSE(found.texts[0].empty()) << row.reference;
    CPartBuilderQJF builder(run);
    CSegmentEntry entry;
    entry.element = &element;
    std::int32_t first = 1000, last = 2999;
    builder.AdjustPart(entry, first, last, PaddedRef(row.reference), row.pass);
    EXPECT_EQ(first, 1000) << row.reference << " pass " << row.pass;
    EXPECT_EQ(last, row.wantLast) << row.reference << " pass " << row.pass;
  }
}

}  // namespace
