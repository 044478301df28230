#include "qd_test_support.h"
#include "support/golden_file.h"

namespace {

// The references a straight run with one flat elbow books, by code, rating and the
// variant of its last end.
struct ReferenceCase {
  const char* variant;
  const char* rating;
  int endVariant;
  const char* end;    // the last end's reference; "-" when it leaves the bill
  const char* elbow;  // the elbow's
  const char* start;  // the first end's
};

class QDReferenceTest : public QDRunTest, public ::testing::WithParamInterface<ReferenceCase> {};

TEST_P(QDReferenceTest, EndsAndElbowsTakeTheirCatalogueReference) {
  const ReferenceCase& c = GetParam();
  MakeRun(c.variant, c.rating);
  const std::vector<CDev*> elements = Lay({"S3000", "L1", "S3000", "E"}, c.endVariant);
  const CPartBuilderQD& builder = Build();
  EXPECT_EQ(Trimmed(elements.front()->GetReference()), c.start);
  EXPECT_EQ(Trimmed(elements[2]->GetReference()), c.elbow);
  EXPECT_EQ(LineQuantity(*m_run, c.elbow), 1);
  if (std::string(c.end) == "-") {
    EXPECT_EQ(elements.back()->GetReference(), "T30025");
    EXPECT_EQ(elements.back()->GetBooked(), 0);
    EXPECT_EQ(LineQuantity(*m_run, "T30025"), -1);
  } else {
    EXPECT_EQ(Trimmed(elements.back()->GetReference()), c.end);
    EXPECT_EQ(LineQuantity(*m_run, c.start) + (c.end == std::string(c.start) ? 0 : 1), 2);
  }
  EXPECT_FALSE(builder.HasErrors());
}

INSTANTIATE_TEST_SUITE_P(
    KindsRatingsVariants, QDReferenceTest,
    ::testing::Values(ReferenceCase{"A", "06", 0, "QDA63ER41", "QDA63DL4", "QDA63ER41"},
                      ReferenceCase{"A", "16", 0, "QDA160ER41", "QDA160DL4", "QDA160ER41"},
                      // 40 A: elbows and end covers are those of 63 A.
                      ReferenceCase{"A", "04", 3, "QDA63EX4", "QDA63DL4", "QDA40ER41"},
                      ReferenceCase{"T", "10", 0, "QDT100ER41", "QDT100DL4", "QDT100ER41"},
                      ReferenceCase{"T", "06", 3, "QDT63EX4", "QDT63DL4", "QDT63ER41"},
                      ReferenceCase{"A", "06", 1, "-", "QDA63DL4", "QDA63ER41"}));

// Consecutive elbows with short legs between them become one group piece, booked on the
// last elbow of the group.
struct GroupCase {
  const char* name;
  const char* variant;
  const char* rating;
  std::vector<std::string> steps;
  const char* groupRef;   // booked once; empty for no group
  const char* groupText;  // "EF20nbc" of the group's first elbow
  int singles;            // elbows booked on their own
  int message;            // state of the first elbow's message (18: none)
};

class QDElbowGroupTest : public QDRunTest, public ::testing::WithParamInterface<GroupCase> {};

TEST_P(QDElbowGroupTest, GroupsFollowTheLegLengths) {
  const GroupCase& c = GetParam();
  MakeRun(c.variant, c.rating);
  const std::vector<CDev*> elements = Lay(c.steps);
  CPartBuilderQD& builder = Build();
  std::vector<CDev*> elbows;
  for (CDev* element : elements) {
    if (element->GetKind() == CDev::kElbow) elbows.push_back(element);
  }
  int singles = 0, grouped = 0;
  for (const CDev* elbow : elbows) {
    if (elbow->GetBooked() == 0) ++grouped;
    else if (elbow->GetReference().find("DL4") != std::string::npos) ++singles;
  }
  EXPECT_EQ(singles, c.singles);
  if (*c.groupRef != 0) {
    EXPECT_EQ(LineQuantity(*m_run, c.groupRef), 1);
    EXPECT_EQ(elbows.front()->GetFieldText("EF20nbc").value_or(""), c.groupText);
    EXPECT_EQ(elbows.back()->GetFieldText("EF20nbc").value_or(""), std::string(c.groupText) + "!");
    EXPECT_EQ(grouped + 1 + singles, static_cast<int>(elbows.size()));
  } else {
    EXPECT_EQ(grouped, 0);
  }
  EXPECT_EQ(builder.GetMessages().At(0).state, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QDElbowGroupTest,
    ::testing::Values(
        GroupCase{"pair",
                  "A",
                  "06",
                  {"S2000", "L1", "S1000", "L4", "S2000", "E"},
                  "QDA63DF410",
                  "2/1428",
                  0,
                  18},
        // The last elbow's leg makes the group up to its longest length (1758 mm here).
        GroupCase{"three",
                  "A",
                  "06",
                  {"S2000", "L1", "S500", "L4", "S500", "L5", "S3000", "E"},
                  "QDA63DF410",
                  "3/1342",
                  0,
                  18},
        // 2500 mm between them is more than one group takes.
        GroupCase{"apart", "A", "06", {"S2000", "L1", "S2500", "L4", "S2000", "E"}, "", "", 2, 18},
        // A leg shorter than twice the least share ends the group.
        GroupCase{"short", "A", "06", {"S2000", "L1", "S300", "L4", "S2000", "E"}, "", "", 2, 13},
        GroupCase{"edgewise",
                  "A",
                  "06",
                  {"S2000", "L2", "S800", "L4", "S2000", "E"},
                  "QDA100EDF430",
                  "2/1184",
                  0,
                  18},
        GroupCase{
            "edgewise QDT", "T", "10", {"S2000", "L2", "S800", "L4", "S2000", "E"}, "", "", 1, 1},
        GroupCase{"edgewise 160 A",
                  "A",
                  "16",
                  {"S2000", "L2", "S800", "L4", "S2000", "E"},
                  "",
                  "",
                  1,
                  3}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& c : name) {
        if (c == ' ') c = '_';
      }
      return name;
    });

TEST(QDElbowGroupText, StoredTextsAreReadWithinBounds) {
  struct Row {
    const char* text;
    std::int32_t count;
    std::int32_t sum;
    bool last;
  };
  for (const Row& row : {Row{"2/1428", 2, 1428, false}, Row{"3/5!", 3, 5, true},
                         Row{"/7", 0, 0, false}, Row{"4", 4, -1, false}, Row{"x/y", 0, 0, false},
                         Row{"", 0, -1, false}, Row{"99999999999999999999/1", 0, 1, false},
                         Row{"-5000000000/-5000000000", -1'000'000'000, -1'000'000'000, false}}) {
    const CElbowGroupText group = ParseElbowGroup(row.text);
    EXPECT_EQ(group.count, row.count) << row.text;
    EXPECT_EQ(group.sum, row.sum) << row.text;
    EXPECT_EQ(group.last, row.last) << row.text;
  }
}

TEST_F(QDRunTest, WhatAnEarlierBuildLeftInTheElbowsIsWorkedOutAgain) {
  MakeRun("A", "06");
  const std::vector<CDev*> elements = Lay({"S2000", "L1", "S1000", "L4", "S2000", "E"});
  elements[2]->SetFieldText("EF20nbc", "9999999/junk!");
  elements[4]->SetFieldText("EF20nbc", "-3/");
  Build();
  EXPECT_EQ(elements[2]->GetFieldText("EF20nbc").value_or(""), "2/1428");
  EXPECT_EQ(LineQuantity(*m_run, "QDA63DF410"), 1);
}

TEST_F(QDRunTest, WholeRunRebuildsToItsListing) {
  MakeRun("A", "06");
  Lay({"S4500", "L1", "S1000", "L4", "S7000", "L5", "S3000", "L2", "S900", "L4", "S2600", "E"}, 3);
  Build();
  std::string listing = Bill();
  for (const CDev* device : m_run->GetDevices()) {
    listing += std::to_string(device->GetKind()) + " [" + device->GetReference() + "] " +
               std::to_string(device->GetBookedLength()) + " " +
               device->GetFieldText("EF20nbc").value_or("") + "\n";
  }
  ExpectGolden("ranges/qd_rebuild.txt", listing);
}

}  // namespace
