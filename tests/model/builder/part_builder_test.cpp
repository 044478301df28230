#include "model/bom/bom_grid.h"
#include "model/document/check_message_presenter.h"
#include "model/builder/length_solver.h"
#include "model/builder/part_builder_test_support.h"

#include <algorithm>
#include <numeric>

namespace {

class PartBuilderTest : public PartBuilderTestBase {
 protected:
  std::int64_t Booked(const std::string& key) const {
    std::int64_t count = 0;
    for (const CDev* device : m_run->GetDevices()) {
      if (device->GetBooked() != 0 && device->GetReference().find(key) != std::string::npos)
        ++count;
    }
    return count;
  }
  std::int64_t LengthRecords() const {
    std::int64_t total = 0;
    for (const CDev* record : m_run->GetLengthRecords()) total += record->GetBookedLength();
    return total;
  }
};

TEST_F(PartBuilderTest, OneElementRunGivesOneSegmentAndANotice) {
  CChainBuilder(*m_run).Start(4)->SetReference("E-100");
  Build();
  ASSERT_EQ(m_builder->GetSegments().size(), 1u);
  EXPECT_EQ(m_builder->GetSegments()[0].size(), 1u);
  EXPECT_EQ(m_builder->GetMessages().At(0).state, 0);
}

TEST_F(PartBuilderTest, UnitsOfVariantZeroDoNotCutSegments) {
  BuildLine("E-100", {1000, 1000, 1000}, "E-100");
  elements[2]->SetVariantBoth(1);  // an in-line unit of another variant
  m_builder->CollectSegments();
  ASSERT_EQ(m_builder->GetSegments().size(), 2u);
  EXPECT_EQ(m_builder->GetSegments()[0].back().element, elements[2]);
  EXPECT_EQ(m_builder->GetSegments()[1].front().element, elements[2]);
  EXPECT_EQ(m_builder->GetSegments()[1].size(), 3u);
}

// A line of straights between two ends, cut into the fixed 3000 piece and (when offered)
// a range piece of 500 to 2000.
TEST_F(PartBuilderTest, LinesAreCutIntoPiecesAndWhatIsLeftIsReported) {
  constexpr int kNone = CCheckMessage::kEmpty;
  const struct {
    const char* guards;
    bool rangePiece;
    int planning;
    std::vector<std::int32_t> lengths;
    const char *start, *end;
    std::int64_t fixed, ranged, recorded;
    int state;  // of the first message
  } rows[] = {
      {"6200 less two ends of 100", true, 0, {2200, 4000}, "E-100", "E-100", 2, 0, 0, kNone},
      {"4200: fixed and range piece", true, 0, {4400}, "E-100", "E-100", 1, 1, 0, kNone},
      {"the ends need 1800 of 1000", true, 0, {1000}, "E-LONG", "E-LONG", 0, 0, 0, 13},
      {"an unknown end", true, 0, {3200}, "E-100", "NOPE", 0, 0, 0, 16},
      {"a leftover grows the end", false, 1, {3500}, "E-100", "E-GROW", 1, 0, 0, kNone},
      {"the rest in length records", false, 0, {3700}, "E-100", "E-100", 1, 0, 500, 14},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    m_builder.reset();  // a fresh run and builder for each row
    SetUp();
    m_builder->AddPartDef("???????3000", "3000", "", "0");
    if (row.rangePiece) m_builder->AddPartDef("???????RNGE", "500-2000", "", "0");
    m_builder->SetPlanningFlag(row.planning);
    BuildLine(row.start, row.lengths, row.end);
    Build();
    EXPECT_EQ(Booked("3000"), row.fixed);
    EXPECT_EQ(Booked("l=1200"), row.ranged);
    EXPECT_EQ(LengthRecords(), row.recorded);
    EXPECT_EQ(m_builder->HasErrors(), row.state != kNone);
    const CCheckMessage& message = m_builder->GetMessages().At(0);
    EXPECT_EQ(message.state, row.state);
    if (row.state == 13) {  // needs 900, 100 left
      EXPECT_EQ(message.element, elements.back());
      EXPECT_EQ(message.value1 - message.value2, 800);
    }
    EXPECT_EQ(m_builder->IsMarkedInError(*elements.back()), row.state == 16);
    std::int64_t straight = 0;  // each joint carries the stretch of line behind it
    for (const CDev* device : m_run->GetDevices()) {
      if (device->GetKind() == CDev::kInLine || device->GetKind() == CDev::kJoint)
        straight += device->GetBookedLength();
    }
    EXPECT_EQ(straight, std::accumulate(row.lengths.begin(), row.lengths.end(), 0));
  }
}

TEST_F(PartBuilderTest, ReferenceTakenOverEndLeavesTheBill) {
  BuildLine("REPRISE-1", {}, "E-100");
  m_run->GetBOM().AddRefQuantity("REPRISE-1", 1);
  Build();
  EXPECT_EQ(m_run->GetBOM().FindLine("REPRISE-1"), -1);
  EXPECT_EQ(elements.front()->GetBooked(), 0);
  EXPECT_EQ(m_run->GetPropText("SUPP"), "0");
}

TEST_F(PartBuilderTest, FixedDefinitionEqualToARunLengthIsNotOffered) {
  m_run->SetProp("L2", "3000");
  m_builder->AddPartDef("A", "3000", "", "0");
  m_builder->AddPartDef("B", "2000", "", "0");
  m_builder->AddPartDef("C", "2000", "", "7");
  m_builder->AddPartDef("D", "2000", "", "x");
  ASSERT_EQ(m_builder->GetPartDefs(0).size(), 1u);
  EXPECT_EQ(m_builder->GetPartDefs(0)[0].text, "B");
}

// Records the order in which segments are built and asks once (or always) at segment 3
// for the previous one to be built again.
class CBackStepBuilder : public CTestPartBuilder {
 public:
  using CTestPartBuilder::CTestPartBuilder;
  int GetElbowReference(const CSegment&) override {
    order.push_back(GetSegmentIndex());
    if (GetSegmentIndex() == 3 && (always || !asked)) {
      asked = true;
      SetBackStep(-2);
    }
    return 1;
  }
  std::vector<int> order;
  bool asked = false;
  bool always = false;
};

class PartBuilderBackStepTest : public PartBuilderTest,
                                public ::testing::WithParamInterface<bool> {};

TEST_P(PartBuilderBackStepTest, BuildsThePreviousSegmentAgainAndEnds) {
  auto builder = std::make_unique<CBackStepBuilder>(*m_run);
  builder->always = GetParam();
  BuildLine("E-100", {1000, 1000, 1000, 1000, 1000, 1000}, "E-100");
  for (int i : {2, 3, 4, 5}) elements[static_cast<std::size_t>(i)]->SetVariantBoth(1);
  builder->CollectSegments();
  builder->FinishParts(1);
  ASSERT_EQ(builder->GetSegments().size(), 5u);
  if (!GetParam()) {
    EXPECT_EQ(builder->order, (std::vector<int>{0, 1, 2, 3, 2, 3, 4}));
  } else {
    // A range that keeps asking is let go after a bounded number of back steps.
    EXPECT_EQ(builder->order.size(), 5u + 2u * CPartBuilder::kMaxBackSteps);
    EXPECT_EQ(builder->order.back(), 4);
  }
}

INSTANTIATE_TEST_SUITE_P(OnceOrAlways, PartBuilderBackStepTest, ::testing::Bool());

}  // namespace

namespace {

TEST_F(PartBuilderTest, AssignPartRefMovesTheReferenceToTheSecondEnd) {
  BuildLine("E-100", {1000}, "E-100");
  m_builder->SetLengthStep(500);
  elements[1]->SetBookedLength(1300);
  m_builder->GetPlannedParts().push_back(
      CPlannedPart{elements[0], 4, 100, 100, "E-100", "", 0, 0, 0});
  ASSERT_EQ(m_builder->AssignPartRef(elements[0], elements[1], "ELB-X", 0), 1);
  EXPECT_TRUE(m_builder->GetPlannedParts().empty());
  EXPECT_EQ(elements[1]->GetReference(), "ELB-X");
  EXPECT_EQ(LineQuantity(*m_run, "ELB-X"), 1);
  EXPECT_EQ(elements[0]->GetBooked(), 0);
  EXPECT_EQ(elements[1]->GetBookedLength(), 1500);  // rounded to the step
  EXPECT_EQ(m_builder->GetRemaining(), 0);
}

TEST_F(PartBuilderTest, AssignPartRefWithoutReferenceFlagsTheUnplannedEnds) {
  BuildLine("E-100", {1000}, "E-100");
  m_builder->GetPlannedParts().push_back(
      CPlannedPart{elements[0], 4, 100, 100, "E-100", "", 0, 0, 0});
  EXPECT_EQ(m_builder->AssignPartRef(elements[0], elements[1], "", 0), 1);
  EXPECT_EQ(m_builder->AssignPartRef(elements[0], elements[1], "", 1), 0);
  EXPECT_FALSE(m_builder->IsMarkedInError(*elements[0]));
  EXPECT_TRUE(m_builder->IsMarkedInError(*elements[1]));
  EXPECT_EQ(m_builder->GetMessages().At(0).state, 16);
}

}  // namespace

namespace {

class CAnsweringPresenter : public CCheckMessagePresenter {
 public:
  int ShowCheckMessages(CPartBuilder&) override {
    ++shown;
    return answer;
  }
  int answer = 1;
  int shown = 0;
};

struct PresenterCase {
  bool checksOn;
  int answer, expected;
  bool emptied;
};
void PrintTo(const PresenterCase& c, std::ostream* os) {
  *os << "checks " << (c.checksOn ? "on" : "off") << ", answer " << c.answer << ", expected "
      << c.expected << (c.emptied ? ", emptied" : "");
}

class PartBuilderPresenterTest : public PartBuilderTest,
                                 public ::testing::WithParamInterface<PresenterCase> {
 protected:
  void TearDown() override {
    SetCheckMessagePresenter(nullptr);
    SetDesignChecksEnabled(true);
    PartBuilderTest::TearDown();
  }
};

TEST_P(PartBuilderPresenterTest, ShowsMessagesAndEmptiesAfterACorrection) {
  CAnsweringPresenter presenter;
  presenter.answer = GetParam().answer;
  SetCheckMessagePresenter(&presenter);
  SetDesignChecksEnabled(GetParam().checksOn);
  BuildLine("E-100", {3200}, "NOPE");
  m_builder->Build(1);
  EXPECT_EQ(m_run->GetPartsState(), 1);
  EXPECT_EQ(m_builder->ShowCheckMessages(), GetParam().expected);
  EXPECT_EQ(m_builder->GetSegments().empty(), GetParam().emptied);
  EXPECT_EQ(m_builder->HasErrors(), !GetParam().emptied);
}

INSTANTIATE_TEST_SUITE_P(Rows, PartBuilderPresenterTest,
                         ::testing::Values(PresenterCase{true, 1, 1, false},
                                           PresenterCase{true, 2, 2, true},
                                           // the design-check switch off shows nothing
                                           PresenterCase{false, 2, 0, false}));

}  // namespace

namespace {

// A build asks for the same split many times over; every answer, first or repeated, is
// the solver's own for exactly those lengths, total and remainder.
TEST_F(PartBuilderTest, RepeatedLengthSplitsGiveTheSolversAnswers) {
  const struct {
    std::int32_t total;
    std::vector<std::int32_t> lengths;
    std::int32_t minRemainder;
  } asks[] = {
      {4000, {1700, 1000, 300}, 0},
      {4000, {1700, 1000, 300}, 0},
      {4000, {1700, 1000, 300}, 500},
      {4000, {1700, 1000}, 0},
      {4000, {1000, 1700, 300}, 0},
      {4004, {1700, 1000, 300}, 0},
      {1500, {1700, 1000, 300}, 0},
      {4000, {1700, 1000, 300}, 0},
      {4000, {1700, 0, 300}, 0},
      {-100, {1700, 1000, 300}, 0},
      {4000, {1700, 1000}, 0},
      // No exact split: the remainder asked for decides between 4 x 1,000 and 2 x 1,700.
      {4100, {1700, 1000}, 0},
      {4100, {1700, 1000}, 500},
  };
  for (int round = 0; round < 2; ++round) {
    for (const auto& ask : asks) {
      const std::int32_t total = m_builder->RoundToStep(ask.total);
      std::string expected = "kept";
      CLengthSolver solver;
      const std::int32_t remainder =
          solver.SolveLengthCombination(total, ask.lengths, ask.minRemainder, expected);
      std::string answer = "kept";
      EXPECT_EQ(m_builder->SplitLength(ask.total, ask.lengths, ask.minRemainder, answer), remainder)
          << ask.total << " " << ask.minRemainder << " " << ask.lengths.size();
      EXPECT_EQ(answer, expected) << ask.total << " " << ask.minRemainder;
    }
  }
}

}  // namespace

namespace {

// Records, for every window asked of the range, the element and the pass it was asked
// with.
class CWindowBuilder : public CTestPartBuilder {
 public:
  using CTestPartBuilder::CTestPartBuilder;
  void AdjustPart(const CSegmentEntry& entry, std::int32_t& first, std::int32_t& last,
                  std::string_view reference, int pass) override {
    (void)first;
    (void)last;
    (void)reference;
    asked.emplace_back(entry.element, pass);
  }
  std::vector<std::pair<const CDev*, int>> asked;
};

// The window of a segment's first end is asked with pass 0, that of its last end (also
// when a leftover grows it) with the last entry's index; an element that ends one segment
// and starts the next is asked with both.
TEST_F(PartBuilderTest, WindowsAreAskedWithTheEntrysPass) {
  const struct {
    const char* guards;
    std::vector<std::int32_t> lengths;
    int cutAt;  // an element of another variant that cuts the line; 0 none
    std::vector<int> startPasses, cutPasses, endPasses;
  } rows[] = {
      {"one segment", {1000, 1000, 1200}, 0, {0}, {}, {4}},
      {"a leftover grows the last end", {1000, 1000, 1400}, 0, {0}, {}, {4, 4}},
      {"two segments, leftovers tried", {1000, 1000, 1000, 1200}, 2, {0}, {2, 2, 2, 0}, {3, 3, 3}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    m_builder.reset();
    SetUp();
    auto builder = std::make_unique<CWindowBuilder>(*m_run);
    builder->AddPartDef("???????3000", "3000", "", "0");
    if (row.cutAt != 0) builder->AddPartDef("???????1000", "1000", "", "1");
    builder->SetPlanningFlag(1);
    BuildLine("E-100", row.lengths, "E-GROW");
    if (row.cutAt != 0) {
      elements[static_cast<std::size_t>(row.cutAt)]->SetVariantBoth(1);
      elements[static_cast<std::size_t>(row.cutAt)]->SetReference("E-100");
    }
    builder->CollectSegments();
    builder->FinishParts(1);
    const auto passes = [&](const CDev* element) {
      std::vector<int> found;
      for (const auto& [asked, pass] : builder->asked)
        if (asked == element) found.push_back(pass);
      return found;
    };
    EXPECT_EQ(passes(elements.front()), row.startPasses);
    if (row.cutAt != 0) {
      EXPECT_EQ(passes(elements[static_cast<std::size_t>(row.cutAt)]), row.cutPasses);
    }
    EXPECT_EQ(passes(elements.back()), row.endPasses);
  }
}

}  // namespace
