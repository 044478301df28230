#include "model/tapoff/tap_off_choice.h"
#include "model/tapoff/tap_off_loads.h"
#include "model/tapoff/tap_off_place.h"
#include "model/document/work_notifier.h"
#include "model/tapoff/outlet_run_support.h"

namespace {

TEST(TapOffSpacingTest, SecondNumberLessTheFirst) {
  const struct {
    const char* setting;
    std::int64_t spacing;
  } rows[] = {
      {"5000/30000", 25000}, {"8000", 22000}, {"9000/4000", 0}, {"-500/2000", 2000},
      {"abc/1500", 1500},    {"1000/xyz", 0}, {"", 30000},      {" 100/ 600", 500},
  };
  for (const auto& row : rows) EXPECT_EQ(TapOffSpacing(row.setting), row.spacing) << row.setting;
}

class CMessages : public CWorkNotifier {
 public:
  void SetWaitCursor(bool) override {}
  void ShowStatusMessage(int) override {}
  void ShowMessage(int message) override { shown.push_back(message); }
  void ReportProblem(const std::string&) override {}
  std::vector<int> shown;
};

// Both joints of length variant 1; J1's outlets lie 1100..1300 from the start, J2's
// 5100..5300 from the in-line unit before it.
class TapOffLoadsTest : public OutletRunTest {
 protected:
  void SetUp() override {
    OutletRunTest::SetUp();
    m_run->SetPartsState(2);
    m_j1->SetVariantIndexBoth(1);
    m_j2->SetVariantIndexBoth(1);
    SetWorkNotifier(&m_messages);
  }
  void TearDown() override {
    SetWorkNotifier(nullptr);
    ResetRememberedTapOffChoice();
    OutletRunTest::TearDown();
  }
  static void Choose(std::uint32_t mask, int function) {
    CTapOffChoice& choice = RememberedTapOffChoice();
    choice.reference = "QPB0400SE";
    choice.record.function = function;
    choice.record.mask = mask;
    choice.record.ratings = {100, 50, 80, 0, 0, 0};
  }
  // The reference unit on J1's first outlet and a unit on J2's last.
  void PlaceTwoUnits() {
    Choose(128 | 0x1000, 6);
    ASSERT_EQ(PlaceTapOffUnit(*m_j1, 10, nullptr, true), 1);
    Choose(128, 6);
    ASSERT_EQ(PlaceTapOffUnit(*m_j2, 12, nullptr, true), 1);
  }
  std::vector<const CDev*> Units() const {
    std::vector<const CDev*> units;
    for (const CDev* device : m_run->GetDevices())
      if (device->GetKind() == CDev::kTapOff) units.push_back(device);
    return units;
  }
  CMessages m_messages;
};

TEST_F(TapOffLoadsTest, NothingWithoutADistributedChoiceOrABuiltRunAndTheCauseIsKnown) {
  using E = ETapOffLoadsRefusal;
  const struct {
    const char* name;
    int partsState, function;
    const char* reference;
    ETapOffLoadsRefusal refusal;
  } rows[] = {
      {"parts not built", 0, 6, "QPB0400SE", E::kPartsNotBuilt},
      {"parts built with errors", 1, 6, "QPB0400SE", E::kPartsWithErrors},
      {"errors come before the choice", 1, 1, "QPB0400SE", E::kPartsWithErrors},
      {"choice of another function", 2, 1, "QPB0400SE", E::kNotDistributed},
      {"no choice", 2, 6, "", E::kNoUnit},
  };
  for (const auto& row : rows) {
    m_run->SetPartsState(row.partsState);
    Choose(128, row.function);
    RememberedTapOffChoice().reference = row.reference;
    EXPECT_EQ(TapOffLoadsRefusal(*m_run), row.refusal) << row.name;
    EXPECT_FALSE(CanDistributeTapOffLoads(*m_run)) << row.name;
    EXPECT_EQ(ComputeRunTapOffLoads(*m_run, "0/3000"), 0) << row.name;
    EXPECT_TRUE(Units().empty()) << row.name;
  }
  EXPECT_TRUE(m_messages.shown.empty());
  m_run->SetPartsState(2);
  Choose(128, 6);
  EXPECT_EQ(TapOffLoadsRefusal(*m_run), E::kNone);
}

TEST_F(TapOffLoadsTest, RunWithoutAFeedSaysSo) {
  Choose(128, 6);
  m_start->SetVariantBoth(1);
  EXPECT_EQ(ComputeRunTapOffLoads(*m_run, "0/3000"), 0);
  EXPECT_EQ(m_messages.shown, std::vector<int>{30164});
}

TEST_F(TapOffLoadsTest, UnitBeyondTheSpacingGetsOneBeforeIt) {
  PlaceTwoUnits();
  // From the reference unit (offset -1100, then +1000 for J1 and +300 for the in-line
  // unit) the unit at 5300 lies 5500 away; the free outlet at 5200 lies 100 before it.
  EXPECT_EQ(ComputeRunTapOffLoads(*m_run, "0/3000"), 1);
  ASSERT_EQ(Units().size(), 3u);
  EXPECT_EQ(Units().back()->GetAttached(), m_start);
  EXPECT_EQ(Units().back()->GetStyle() & 0xFFu, 11u);
  for (const CDev* unit : Units()) EXPECT_EQ(unit->GetBookedLength() & 0x2000, 0);
}

TEST_F(TapOffLoadsTest, UnitWithinTheSpacingOfTheReferenceIsLeft) {
  PlaceTwoUnits();
  EXPECT_EQ(ComputeRunTapOffLoads(*m_run, "0/5500"), 0);
  EXPECT_EQ(Units().size(), 2u);
}

TEST_F(TapOffLoadsTest, UnitBeyondTheSpacingWithoutAFreeOutletIsMarked) {
  PlaceTwoUnits();
  // 50 is closer than any free outlet lies to the unit.
  EXPECT_EQ(ComputeRunTapOffLoads(*m_run, "0/50"), 2);
  ASSERT_EQ(Units().size(), 2u);
  EXPECT_EQ(Units().back()->GetBookedLength() & 0x2000, 0x2000);
  EXPECT_EQ(Units().front()->GetBookedLength() & 0x2000, 0);
}

}  // namespace
