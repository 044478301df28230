#include "model/tapoff/tap_off_choice.h"
#include "model/tapoff/tap_off_outlets.h"
#include "model/tapoff/tap_off_place.h"
#include "model/tapoff/outlet_run_support.h"

namespace {

// The outlets offered to the tap-off tool: three points on each side of each joint's back
// box, of range code 128.
class TapOffOutletsTest : public OutletRunTest {
 protected:
  void SetUp() override {
    OutletRunTest::SetUp();
    m_run->SetPartsState(2);
    CTapOffChoice& choice = RememberedTapOffChoice();
    choice.reference = "QPB0400SE";
    choice.record.mask = 128;
    choice.record.ratings = {100, 50, 80, 0, 0, 0};
  }
  void TearDown() override {
    ResetRememberedTapOffChoice();
    OutletRunTest::TearDown();
  }
  std::vector<std::pair<const CDev*, int>> Taken(const std::vector<CTapOffOutlet>& outlets) {
    std::vector<std::pair<const CDev*, int>> taken;
    for (const CTapOffOutlet& outlet : outlets)
      if (outlet.taken)
        taken.emplace_back(dynamic_cast<const CDev*>(outlet.box->GetOwner()), outlet.point);
    return taken;
  }
};

TEST_F(TapOffOutletsTest, OutletsThatTakeTheMaskInJointAndSideOrder) {
  const struct {
    const char* name;
    std::uint32_t mask;
    std::size_t count;
  } rows[] = {
      {"the outlets' own kind", 128, 12},
      {"among other kinds", 128 | 64, 12},
      {"another kind", 64, 0},
      {"no unit chosen", 0, 0},
  };
  for (const auto& row : rows) {
    const std::vector<CTapOffOutlet> outlets = TapOffOutlets(*m_run, row.mask);
    EXPECT_EQ(outlets.size(), row.count) << row.name;
  }
  const std::vector<CTapOffOutlet> outlets = TapOffOutlets(*m_run, 128);
  ASSERT_EQ(outlets.size(), 12u);
  // Both sides of a box share the places of their points.
  const std::pair<int, double> expected[] = {{10, 1100}, {11, 1200}, {12, 1300},
                                             {20, 1100}, {21, 1200}, {22, 1300}};
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(outlets[i].box, m_j1->GetBox(0)) << i;
    EXPECT_EQ(outlets[i].point, expected[i].first) << i;
    EXPECT_EQ(outlets[i].position.x, expected[i].second) << i;
    EXPECT_EQ(outlets[i + 6].box, m_j2->GetBox(0)) << i;
    EXPECT_EQ(outlets[i + 6].position.x, expected[i].second + 4000) << i;
  }
  EXPECT_TRUE(Taken(outlets).empty());
}

TEST_F(TapOffOutletsTest, AnOutletWithAUnitIsTakenAndItsUnitFound) {
  ASSERT_EQ(PlaceTapOffUnit(*m_j2, 21, nullptr, true), 1);
  const std::vector<CTapOffOutlet> outlets = TapOffOutlets(*m_run, 128);
  const std::vector<std::pair<const CDev*, int>> taken{{m_j2, 21}};
  EXPECT_EQ(Taken(outlets), taken);
  ASSERT_NE(TapOffUnitAtOutlet(*m_j2->GetBox(0), 21), nullptr);
  EXPECT_EQ(TapOffUnitAtOutlet(*m_j2->GetBox(0), 21)->GetKind(), CDev::kTapOff);
  // The same point of the other joint, and the other side of the same place, stay free.
  EXPECT_EQ(TapOffUnitAtOutlet(*m_j1->GetBox(0), 21), nullptr);
  EXPECT_EQ(TapOffUnitAtOutlet(*m_j2->GetBox(0), 11), nullptr);
  // A box that is no outlet box holds no unit.
  EXPECT_EQ(TapOffUnitAtOutlet(*m_j2->MakeBox(CDev::kBodySlot), 21), nullptr);
}

}  // namespace
