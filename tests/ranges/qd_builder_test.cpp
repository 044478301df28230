#include "qd_test_support.h"
#include "support/case_table.h"

namespace {

// A run with one flat elbow: the references of its first end, its elbow and its last
// end, by code, rating and the last end's variant ("-": the end leaves the bill).
struct ReferenceCase {
  const char* variant;
  const char* rating;
  int endVariant;
  const char* start;
  const char* elbow;
  const char* end;
};

class QDReferenceTest : public QDRunTest, public ::testing::WithParamInterface<ReferenceCase> {};

TEST_P(QDReferenceTest, EndsAndElbowsTakeTheirCatalogueReference) {
  const ReferenceCase& c = GetParam();
  MakeRun(c.variant, c.rating);
  const std::vector<CDev*> elements = Lay({"S3000", "L1", "S3000", "E"}, c.endVariant);
  EXPECT_FALSE(Build().HasErrors());
  EXPECT_EQ(Trimmed(elements[0]->GetReference()), c.start);
  EXPECT_EQ(Trimmed(elements[2]->GetReference()), c.elbow);
  const bool dropped = std::string(c.end) == "-";
  EXPECT_EQ(Trimmed(elements.back()->GetReference()), dropped ? "T30025" : c.end);
  EXPECT_EQ(elements.back()->GetBooked(), dropped ? 0 : 1);
  EXPECT_EQ(LineQuantity(*m_run, c.elbow), 1);
  const int ends = std::string(c.end) == c.start ? 2 : 1;
  EXPECT_EQ(LineQuantity(*m_run, elements.back()->GetReference()), dropped ? -1 : ends);
}

INSTANTIATE_TEST_SUITE_P(
    KindsRatingsVariants, QDReferenceTest,
    ::testing::Values(ReferenceCase{"A", "06", 0, "QDA63ER41", "QDA63DL4", "QDA63ER41"},
                      ReferenceCase{"A", "16", 3, "QDA160ER41", "QDA160DL4", "QDA160EX4"},
                      // 40 A elbows and end covers are those of 63 A.
                      ReferenceCase{"A", "04", 3, "QDA40ER41", "QDA63DL4", "QDA63EX4"},
                      ReferenceCase{"T", "10", 0, "QDT100ER41", "QDT100DL4", "QDT100ER41"},
                      ReferenceCase{"T", "06", 3, "QDT63ER41", "QDT63DL4", "QDT63EX4"},
                      ReferenceCase{"A", "06", 1, "QDA63ER41", "QDA63DL4", "-"}));

// Elbows with short legs between them become one piece, booked on the group's last
// elbow; "EF20nbc" of the first tells the count and summed length.
TEST_F(QDRunTest, ElbowGroupsFollowTheLegLengths) {
  for (const CCaseRow& row : ReadCaseTable("ranges/qd_elbow_groups.tsv", 8)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    m_builder.reset();
    MakeRun(row[1].c_str(), row[2].c_str());
    std::vector<CDev*> elbows = Lay(row.Split(3, ' '));
    std::erase_if(elbows, [](const CDev* e) { return e->GetKind() != CDev::kElbow; });
    // What an earlier build or a damaged file left in the elbows is worked out again.
    for (CDev* elbow : elbows) elbow->SetFieldText("EF20nbc", "9999999/junk!");
    EXPECT_EQ(Build().GetMessages().At(0).state, row.Int(7));
    const auto singles = std::count_if(elbows.begin(), elbows.end(), [](const CDev* e) {
      return e->GetReference().find("DL4") != std::string::npos;
    });
    EXPECT_EQ(singles, row.Int(6));
    if (row[4].empty()) continue;
    EXPECT_EQ(LineQuantity(*m_run, row[4]), 1);
    EXPECT_EQ(elbows.front()->GetFieldText("EF20nbc").value_or(""), row[5]);
    EXPECT_EQ(elbows.back()->GetFieldText("EF20nbc").value_or(""), row[5] + "!");
    for (std::size_t i = 0; i + 1 < elbows.size(); ++i) EXPECT_EQ(elbows[i]->GetBooked(), 0);
  }
}

TEST(QDElbowGroupText, StoredTextsAreReadWithinBounds) {
  struct Row {
    const char* text;
    std::int32_t count, sum;
    bool last;
  };
  for (const Row& row : {Row{"2/1428", 2, 1428, false}, Row{"3/5!", 3, 5, true},
                         Row{"/7", 0, 0, false}, Row{"4", 4, -1, false}, Row{"x/y", 0, 0, false},
                         Row{"", 0, -1, false}, Row{"99999999999999999999/1", 0, 1, false},
                         Row{"-5000000000/7", -1'000'000'000, 7, false}}) {
    const CElbowGroupText group = ParseElbowGroup(row.text);
    EXPECT_EQ(group.count, row.count) << row.text;
    EXPECT_EQ(group.sum, row.sum) << row.text;
    EXPECT_EQ(group.last, row.last) << row.text;
  }
}

// Straights laid one after the other along a face leave the user's joint between them,
// which the pieces on either side meet: the whole length is booked in pieces, and a
// second rebuild gives the same bill.
TEST_F(QDRunTest, PlacedJointsMeetThePiecesOnEitherSide) {
  MakeRun("A", "06");
  CDev* at = Lay({}).front();
  at->MakeBox(CDev::kBodySlot);
  for (const auto& [face, length] : {std::pair{4, 3000}, {4, 2500}, {1, 1000}, {1, 4000}})
    at = at->AddStraightToward(face, length);
  ASSERT_EQ(at->MakeEnd(nullptr), 1);
  at->SetVariantBoth(0);
  std::string bills[2];
  for (std::string& bill : bills) {
    EXPECT_EQ(m_run->RebuildParts(0), 1);
    EXPECT_EQ(m_run->GetPartsState(), 2);
    EXPECT_TRUE(m_run->GetLengthRecords().empty());
    const CBOMGrid& bom = m_run->GetBOM();
    for (int row = 1; row < bom.GetLineCount(); ++row)
      bill += bom.GetLine(row)->reference + " x" + std::to_string(bom.GetLineQuantity(row)) + "\n";
  }
  EXPECT_EQ(bills[1], bills[0]);
  EXPECT_NE(bills[0].find("QDA63EF4SM             l=2200 x1"), std::string::npos) << bills[0];
}

// Straight pieces come from the parts rows that a straight device row offers, listed
// under its sub-code; a 3 m piece takes its bend letter.
TEST_F(QDRunTest, StraightPiecesOfTheDeviceRows) {
  MakeRun("A", "06");
  const CPartBuilderQD builder(*m_run);
  std::vector<std::string> lists[2];
  for (int list : {0, 1}) {
    for (const CPartDef& def : builder.GetPartDefs(list)) lists[list].push_back(Trimmed(def.text));
  }
  EXPECT_EQ(lists[0], (std::vector<std::string>{"?????ED4303", "?????ED420", "?????EF4SM"}));
  EXPECT_EQ(lists[1], (std::vector<std::string>{"?????ED4303", "?????ED420"}));
}

// A damaged run whose elbows link round in a circle, and a group text that counts more
// elbows than the run has: the walks end.
TEST_F(QDRunTest, WalksEndOnDamagedRunsAndOverlongGroups) {
  MakeRun("A", "06");
  const std::vector<CDev*> elements = Lay({"S2000", "L1", "S1000", "L4", "S2000", "E"});
  CDev& elbow = *elements[4];
  elbow.SetFieldText("EF20nbc", "50/100!");
  CPartBuilderQD builder(*m_run);
  CSegmentEntry entry;
  entry.element = &elbow;
  std::int32_t first = 300, second = 1000;
  builder.AdjustGroupPart(entry, "QDA06DF410", first, second, 0);
  EXPECT_EQ(first, 300);
  EXPECT_EQ(second, 1000);
  elements[2]->SetNeighbour(elements[2]->GetBackFace(), &elbow);
  elbow.SetNeighbour(elbow.GetBackFace(), elements[2]);
  EXPECT_EQ(elbow.GetChainLength(-1, false), 0);
  builder.AdjustGroupPart(entry, "QDA06DF410", first, second, 0);
  EXPECT_EQ(first, 300);
}

// Two flat elbows grouped with a leg sum of 1800 (the group row's longest group 3000),
// the first with a chain of 500:
// the first elbow ends the segment before the group, where its piece may reach as far
// as the group leaves room; the last elbow starts the segment after it (pass 0), where
// its piece is fitted back to the first elbow. Each rule keeps to its own end.
TEST_F(QDRunTest, AGroupedElbowIsFittedByTheEndItIsPlannedAt) {
  struct Row {
    const char* guards;
    bool last;  // the group's last elbow, else its first
    int pass;
    std::int32_t wantFirst, wantSecond;
  };
  const Row rows[] = {
      {"first elbow, last end", false, 1, 300, 300 - 1800 + 3000},
      {"first elbow, last end of a longer segment", false, 3, 300, 300 - 1800 + 3000},
      {"first elbow, first end", false, 0, 300, 1000},  // nothing grouped behind it
      {"last elbow, first end", true, 0, 2 * 300 - 500 - 1800 + 3000, 2 * 300 - 500 - 1800 + 3000},
      {"last elbow, later end", true, 2, 300, 300 - 1800 + 3000},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.guards);
    MakeRun("A", "06");
    const std::vector<CDev*> elements = Lay({"S400", "L1", "L4", "S2000", "E"});
    CDev& first = *elements[2];
    CDev& last = *elements[3];
    ASSERT_EQ(first.GetKind(), CDev::kElbow);
    ASSERT_EQ(last.GetKind(), CDev::kElbow);
    first.SetBookedLength(100);
    ASSERT_EQ(first.GetChainLength(-1, false), 500);  // with the straight behind it
    first.SetFieldText("EF20nbc", "2/1800");
    last.SetFieldText("EF20nbc", "2/1800!");
    CPartBuilderQD builder(*m_run);
    CSegmentEntry entry;
    entry.element = row.last ? &last : &first;
    std::int32_t lower = 300, upper = 1000;
    builder.AdjustPart(entry, lower, upper, "QDA06DF410", row.pass);
    EXPECT_EQ(lower, row.wantFirst);
    EXPECT_EQ(upper, row.wantSecond);
  }
}

}  // namespace

// Two straights of their own straight types (outlet layouts) with the user's joint
// between them: once the lengths are cut into pieces, every piece along each keeps its
// straight's layout, the user's joint included, and a second build changes none.
TEST_F(QDRunTest, PiecesKeepTheOutletLayoutOfTheirStraight) {
  const std::pair<int, int> types[] = {{1, 2}, {2, 1}, {1, 1}, {2, 2}};
  for (const auto& [firstType, secondType] : types) {
    SCOPED_TRACE(std::to_string(firstType) + "/" + std::to_string(secondType));
    MakeRun("A", "06");
    CDev* start = Lay({}).front();
    start->MakeBox(CDev::kBodySlot);
    CDev* userJoint = start->AddStraightToward(4, 6200);
    userJoint->SetVariantIndexBoth(firstType);
    CDev* at = userJoint->AddStraightToward(4, 3100);
    at->SetVariantIndexBoth(secondType);
    ASSERT_EQ(at->MakeEnd(nullptr), 1);
    at->SetVariantBoth(3);
    for (int build = 0; build < 2; ++build) {
      ASSERT_EQ(m_run->RebuildParts(0), 1);
      int pieces[2] = {0, 0};
      bool beyond = false;
      for (CDev* e = start->GetNeighbour(4); e != nullptr && e->GetKind() != CDev::kEnd;
           e = e->GetNeighbour(4)) {
        if (e->GetKind() == CDev::kJoint && e->GetBookedLength() >= 3000) {
          EXPECT_EQ(e->GetVariantIndex(), beyond ? secondType : firstType)
              << "build " << build << " at " << e->GetPosition().x;
          ++pieces[beyond ? 1 : 0];
        }
        if (e == userJoint) beyond = true;
      }
      EXPECT_EQ(pieces[0], 2);
      EXPECT_EQ(pieces[1], 1);
    }
  }
}
