#include "qg_builder_support.h"

#include <algorithm>

namespace {

// Two flat elbows, one at the end of the 600 mm leg, the other 600 mm further on.
constexpr const char* kCloseElbows = "run QGA 10\nstart 0\ngo 4 600\ngo 5 600\ngo 4 2600\nend 4\n";

bool HasLine(const CRun& run, std::string_view start) {
  const std::vector<std::string> references = QGBillReferences(run);
  return std::any_of(references.begin(), references.end(),
                     [start](const std::string& r) { return r.starts_with(start); });
}

// The design-check states a fresh build of the run records.
std::vector<int> CheckStates(CRunQG& run) {
  run.CRun::RebuildParts(-1);
  CPartBuilderQG builder(run);
  builder.Build(0);
  std::vector<int> states;
  for (int i = 0; i < CCheckMessageTable::kSize; ++i) {
    const int state = builder.GetMessages().At(i).state;
    if (state != CCheckMessage::kEmpty) states.push_back(state);
  }
  return states;
}

TEST_F(QGLayoutTest, TwoCloseFlatElbowsAreOneDoubleElbowOnTheSecond) {
  CRunQG& run = LayOut(kCloseElbows);
  ASSERT_EQ(run.RebuildParts(0), 1);
  EXPECT_EQ(run.GetPartsState(), 2);
  EXPECT_TRUE(HasLine(run, "QGA1000ZP4")) << QGBillListing(run);
  EXPECT_FALSE(HasLine(run, "QGA1000LP4")) << QGBillListing(run);
  int booked = 0;
  for (const CDev* element : run.GetChainOrder()) {
    if (element->GetKind() != CDev::kElbow) continue;
    if (element->GetBooked() != 0) {
      ++booked;
      EXPECT_TRUE(element->GetReference().starts_with("QGA1000ZP4")) << element->GetReference();
    }
  }
  EXPECT_EQ(booked, 1);
}

TEST_F(QGLayoutTest, ADoubleElbowWithALegOutsideItsRangeFallsBackToSingleElbows) {
  // The first elbow's leg of 1200 mm is beyond the 800 mm of the double elbow's row.
  CRunQG& run = LayOut("run QGA 10\nstart 0\ngo 4 1200\ngo 5 600\ngo 4 2600\nend 4\n");
  const std::vector<int> states = CheckStates(run);
  EXPECT_NE(std::find(states.begin(), states.end(), 11), states.end());
  EXPECT_FALSE(HasLine(run, "QGA1000ZP4")) << QGBillListing(run);
  EXPECT_TRUE(HasLine(run, "QGA1000LP4")) << QGBillListing(run);
}

TEST_F(QGLayoutTest, RebuildingARunTwiceGivesTheSameBill) {
  CRunQG& run = LayOut(
      "run QGA 10\nstart 0\ngo 4 7800\ngo 5 700\ngo 4 600\ngo 5 2600\ngo 2 4200\nend 4\n"
      "from 1\ngo 1 1500\ngo 4 2500\nend 4\n");
  ASSERT_EQ(run.RebuildParts(0), 1);
  const std::string first = QGBillListing(run);
  const std::string supports = run.GetPropText("SUPP");
  ASSERT_EQ(run.RebuildParts(0), 1);
  EXPECT_EQ(QGBillListing(run), first);
  EXPECT_EQ(run.GetPropText("SUPP"), supports);
  EXPECT_GT(TextToInt(supports), 0);
}

// A support code left on an element by an earlier build does not outlive the rebuild:
// the joints the rebuild cuts off an elbow do not carry the elbow's old code.
TEST_F(QGLayoutTest, ARebuildLeavesNoStaleSupportCode) {
  CRunQG& run = LayOut(
      "run QGA 10\nstart 0\ngo 4 7800\ngo 5 700\ngo 4 600\ngo 5 2600\ngo 2 4200\nend 4\n"
      "from 1\ngo 1 1500\ngo 4 2500\nend 4\n");
  ASSERT_EQ(run.RebuildParts(0), 1);
  const std::string first = QGSampleListing(run);
  Laid().back()->SetFieldText("SUPP", "4:999/4:1999");
  ASSERT_EQ(run.RebuildParts(0), 1);
  EXPECT_EQ(QGSampleListing(run), first);
}

// The choice between the first and the last candidate alternates within one build and
// starts afresh with the next builder, whatever the last one chose.
TEST_F(QGLayoutTest, EachBuilderStartsItsCandidateAlternationAfresh) {
  CRunQG& run = LayOut(kCloseElbows);
  const CSegment segment(3);
  for (int round = 0; round < 2; ++round) {
    CPartBuilderQG builder(run);
    EXPECT_EQ(builder.SelectCandidate(segment, 0), 2) << round;
    EXPECT_EQ(builder.SelectCandidate(segment, 0), 0) << round;
    EXPECT_EQ(builder.SelectCandidate(segment, 0), 2) << round;
  }
}

TEST_F(QGLayoutTest, ARunOfNinetyMetresAsksForItsExpansionJoints) {
  struct Row {
    int length;
    bool told;
  };
  for (const Row row : {Row{89000, false}, Row{90000, true}, Row{120000, true}}) {
    messages.clear();
    CRunQG& run = LayOut("run QGA 10\nstart 0\ngo 4 " + std::to_string(row.length) + "\nend 4\n");
    ASSERT_EQ(run.RebuildParts(0), 1);
    const std::vector<int> told = Told();
    EXPECT_EQ(std::count(told.begin(), told.end(), CPartBuilderQG::kLongRunMessage),
              row.told ? 1 : 0)
        << row.length;
  }
}

// Special-shape ends with a cover: each cover is booked with the group of its element,
// numbered in the order of the second pass; without group numbering no group text.
TEST_F(QGLayoutTest, CoversOfSpecialShapesAreBookedWithTheirGroups) {
  for (const char* index : {"", "0"}) {
    CRunQG& run = LayOut("run QGA 10\nstart 2\nstyle 200000\ngo 4 3000\nend 2\nstyle 200000\n");
    run.SetProp("INDEXGRP", index);
    int shapes = 0;
    for (CDev* element : run.GetChainOrder()) {
      if (element->GetKind() != CDev::kEnd) continue;
      ++shapes;
      element->SetFieldText("ENTRAX", "200/200/200");
      element->SetFieldText("CAPOT", "23/100/0/0/0/0/0");
    }
    ASSERT_EQ(shapes, 2);
    ASSERT_EQ(run.RebuildParts(0), 1);
    const std::string listing = QGBillListing(run);
    const std::string cover = run.GetElementRef(23) + "a=115,b=115,c=450,d=450,x=800,y=130,m=100";
    if (*index == '\0') {
      EXPECT_NE(listing.find(cover + " |Group=1 x1"), std::string::npos) << listing;
      EXPECT_NE(listing.find(cover + " |Group=2 x1"), std::string::npos) << listing;
      EXPECT_NE(listing.find("QGA1000TP431"), std::string::npos) << listing;
    } else {
      EXPECT_NE(listing.find(cover + " x2"), std::string::npos) << listing;
      EXPECT_EQ(listing.find("Group="), std::string::npos) << listing;
    }
    for (CDev* element : run.GetChainOrder()) {
      if (element->GetKind() != CDev::kEnd) continue;
      EXPECT_TRUE(element->GetPropValue("POS1").starts_with("03QGB0010CR3")) << listing;
    }
  }
}

// A cover whose sizes fall outside what the part allows is booked all the same and
// marks its element.
TEST_F(QGLayoutTest, ACoverOutsideItsSizesIsBookedAndMarksItsElement) {
  CRunQG& run = LayOut("run QGA 10\nstart 2\nstyle 200000\ngo 4 3000\nend 4\n");
  CDev* shape = run.GetFirstElement();
  ASSERT_NE(shape, nullptr);
  shape->SetFieldText("ENTRAX", "200/200/200");
  shape->SetFieldText("CAPOT", "23/90/0/0/0/0/0");
  const std::vector<int> states = CheckStates(run);
  EXPECT_NE(std::find(states.begin(), states.end(), 6), states.end());
  EXPECT_NE(QGBillListing(run).find("m=90 !!!"), std::string::npos) << QGBillListing(run);
}

// With the end flag, the first and last planned parts decide: after an elbow of the
// first kind the first candidate, after a straight the last, and the last whenever the
// segment ends in a kit or a fitted end.
TEST_F(QGLayoutTest, CandidatesFollowTheSegmentsEnds) {
  struct Row {
    const char* first;
    const char* last;
    int candidate;
  };
  const Row rows[] = {
      {"QGA10LP4A", "QGA10ED430", 0},
      {"QGA10LC4C", "QGA10ED430", 0},
      {"QGA10ED430", "QGA10ED430", 2},
      {"QGA10ER41", "QGA10ED430", 2},
      {"QGA10ER42", "QGA10ED430", 0},
      {"QGA10ER42", "QGA10ER42", 2},
      {"QGA10CF45", "QGA10ED430", 0},
      {"QGA10CF45", "QGA10RU4CF", 2},
      {"QGA", "QGA", 2},
  };
  CRunQG& run = LayOut(kCloseElbows);
  const CSegment segment(3);
  for (const Row& row : rows) {
    CPartBuilderQG builder(run);
    CPlannedPart first, last;
    first.reference = row.first;
    last.reference = row.last;
    builder.GetPlannedParts() = {first, last};
    EXPECT_EQ(builder.SelectCandidate(segment, 1), row.candidate) << row.first << " " << row.last;
  }
}

// Every rating of the sample catalogue has its parts: the same layout rebuilds without a
// design problem into references of the run's code and rating in amperes.
TEST_F(QGLayoutTest, EveryRatingOfTheSampleHasItsParts) {
  struct Row {
    const char* run;
    const char* prefix;
  };
  const Row rows[] = {
      {"QGA 08", "QGA0800"}, {"QGA 10", "QGA1000"}, {"QGC 10", "QGC1000"}, {"QGC 13", "QGC1350"}};
  for (const Row& row : rows) {
    CRunQG& run = LayOut(std::string("run ") + row.run +
                         "\nstart 0\ngo 4 600\ngo 5 600\ngo 4 2600\ngo 2 3000\nend 4\n");
    ASSERT_EQ(run.RebuildParts(0), 1);
    EXPECT_EQ(run.GetPartsState(), 2) << row.run << "\n" << QGBillListing(run);
    const std::string prefix = row.prefix;
    for (const char* family : {"ER41", "ZP4", "LC4A", "EX4"})
      EXPECT_TRUE(HasLine(run, prefix + family)) << row.run << "\n" << QGBillListing(run);
  }
}

}  // namespace
