#include "model/tapoff/tap_off_choice.h"
#include "model/tapoff/tap_off_place.h"
#include "model/tapoff/tap_off_position.h"
#include "model/document/work_notifier.h"
#include "model/tapoff/outlet_run_support.h"

namespace {

class CMessages : public CWorkNotifier {
 public:
  void SetWaitCursor(bool) override {}
  void ShowStatusMessage(int) override {}
  void ShowMessage(int message) override { shown.push_back(message); }
  void ReportProblem(const std::string&) override {}
  std::vector<int> shown;
};

// The outlets of J1 lie at x 1200, 1300 and 1400 (points 0..2), those of J2 at 5200..5400.
class TapOffPlaceTest : public OutletRunTest {
 protected:
  void SetUp() override {
    OutletRunTest::SetUp();
    m_run->SetPartsState(2);
    Choose("QDB0016SE", 128, {100, 50, 80, 0, 0, 0});
    SetWorkNotifier(&m_messages);
  }
  void TearDown() override {
    SetWorkNotifier(nullptr);
    ResetRememberedTapOffChoice();
    OutletRunTest::TearDown();
  }
  static void Choose(std::string reference, std::uint32_t mask,
                     std::array<std::int32_t, 6> ratings) {
    CTapOffChoice& choice = RememberedTapOffChoice();
    choice.reference = std::move(reference);
    choice.record.mask = mask;
    choice.record.ratings = ratings;
  }
  std::vector<CDev*> Units() const {
    std::vector<CDev*> units;
    for (CDev* device : m_run->GetDevices())
      if (device->GetKind() == CDev::kTapOff) units.push_back(device);
    return units;
  }
  int Quantity(const std::string& reference) const {
    const int line = m_run->GetBOM().FindLine(reference);
    return line < 0 ? 0 : m_run->GetBOM().GetLineQuantity(line);
  }
  CMessages m_messages;
};

TEST_F(TapOffPlaceTest, UnitTakesItsJointCountAndIsBooked) {
  ASSERT_EQ(PlaceTapOffUnit(*m_j2, 21, nullptr, false), 1);
  ASSERT_EQ(Units().size(), 1u);
  CDev* unit = Units().front();
  // Counted from the start element: J1 and J2 are the first two joints of variant 0.
  EXPECT_EQ(unit->GetAttached(), m_start);
  EXPECT_EQ(unit->GetStyle(), (2u << 16) | (4u << 12) | 21u);
  EXPECT_EQ(unit->GetBookedLength(), 128);
  EXPECT_EQ(Quantity("QDB0016SE"), 1);
  EXPECT_EQ(CountPathDevices(*m_run), 1);
  EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(TapOffPlaceTest, PointsThatDoNotTakeTheChoiceChangeNothing) {
  const struct {
    const char* name;
    int point, codeBit;
  } rows[] = {
      {"below the outlet points", 9, 128},
      {"above the outlet points", 30, 128},
      {"beyond the joint's three outlets", 13, 128},
      {"outlet of another range", 11, 64},
  };
  for (const auto& row : rows) {
    m_outlets.codeBit = row.codeBit;
    const std::size_t before = m_run->GetDevices().size();
    EXPECT_EQ(PlaceTapOffUnit(*m_j1, row.point, nullptr, false), 0) << row.name;
    EXPECT_EQ(m_run->GetDevices().size(), before) << row.name;
    EXPECT_EQ(Quantity("QDB0016SE"), 0) << row.name;
    EXPECT_TRUE(m_messages.shown.empty()) << row.name;
  }
}

TEST_F(TapOffPlaceTest, OccupiedSpotGivesTheUnitStandingThere) {
  ASSERT_EQ(PlaceTapOffUnit(*m_j1, 11, nullptr, false), 1);
  CDev* first = Units().front();
  EXPECT_EQ(PlaceTapOffUnit(*m_j1, 11, nullptr, false), 0);
  EXPECT_EQ(TapOffUnitFoundAtSpot(), first);
  EXPECT_EQ(Units().size(), 1u);
  EXPECT_EQ(Quantity("QDB0016SE"), 1);
}

TEST_F(TapOffPlaceTest, UnitsThatWouldMeetAreRefused) {
  // 150 wide along x: outlets 100 apart make neighbouring units overlap.
  Choose("QDB0016SE", 128, {150, 50, 80, 0, 0, 0});
  ASSERT_EQ(PlaceTapOffUnit(*m_j1, 11, nullptr, false), 1);
  EXPECT_EQ(PlaceTapOffUnit(*m_j1, 12, nullptr, false), 0);
  EXPECT_EQ(Units().size(), 1u);
  EXPECT_EQ(Quantity("QDB0016SE"), 1);
  EXPECT_EQ(m_messages.shown, std::vector<int>{30158});
  // Quiet: refused without a message.
  EXPECT_EQ(PlaceTapOffUnit(*m_j1, 10, nullptr, true), 0);
  EXPECT_EQ(m_messages.shown.size(), 1u);
  // Far enough apart they stand together.
  EXPECT_EQ(PlaceTapOffUnit(*m_j2, 12, nullptr, false), 1);
  EXPECT_EQ(Quantity("QDB0016SE"), 2);
}

TEST_F(TapOffPlaceTest, UnitsMeetingAJointAreRefusedBeyondTheirAllowance) {
  const struct {
    const char* name;
    const char* reference;
    double distance;  // from the unit to the joint's position
    int result;
  } rows[] = {
      {"any unit", "QDB0016SE", 0, 0},
      {"wide unit near its joint", "QMB0630SE", 419, 0},
      {"wide unit its allowance away", "QMB0630SE", 420, 1},
      {"plug-in unit at 390", "QPB250SM428", 390, 1},
      {"plug-in unit at 393", "QPB250SM428", 393, 0},
      {"double unit at 376", "QPB250DC4SP", 376, 1},
      {"double unit at 370", "QPB250DC4SP", 370, 0},
      {"any unit beyond the joint reach", "QDB0016SE", 2000, 1},
  };
  for (const auto& row : rows) {
    SetUp();
    Choose(row.reference, 128, {100, 50, 80, 0, 0, 0});
    ASSERT_EQ(PlaceTapOffUnit(*m_j1, 11, nullptr, true), 1);
    const C3DPoint unitAt = Units().front()->GetPosition();
    m_run->DeleteTapOffUnits("");
    // A joint body reaching over the outlet, whatever its own position.
    m_j2->SetPosition(unitAt + C3DPoint(row.distance, 0, 0));
    m_j2->MakeBox(CDev::kBodySlot)->SetPlacement(C3DPoint(1200, 0, 0), 1000, 1000, 1000);
    m_messages.shown.clear();
    EXPECT_EQ(PlaceTapOffUnit(*m_j1, 11, nullptr, false), row.result) << row.name;
    EXPECT_EQ(Units().size(), row.result == 1 ? 1u : 0u) << row.name;
    EXPECT_EQ(m_messages.shown, row.result == 1 ? std::vector<int>{} : std::vector<int>{30159})
        << row.name;
    TearDown();
  }
}

TEST_F(TapOffPlaceTest, GreyReferenceFollowsTheRunsColour) {
  const struct {
    const char* name;
    const char* catalog;
    const char* ral;
    const char* reference;
  } rows[] = {
      {"grey QM run", "QMA", "7035", "QMB0250SEG"},
      {"QM run of another colour", "QMA", "9005", "QMB0250SE"},
      {"grey run of another range", "QDA", "7035", "QMB0250SE"},
  };
  for (const auto& row : rows) {
    SetUp();
    Choose("QMB0250SE(G)", 128, {100, 50, 80, 0, 0, 0});
    m_run->SetCatalog(row.catalog);
    m_run->SetProp("RAL", row.ral);
    ASSERT_EQ(PlaceTapOffUnit(*m_j1, 11, nullptr, true), 1) << row.name;
    EXPECT_EQ(Units().front()->GetReference(), row.reference) << row.name;
    EXPECT_EQ(Quantity(row.reference), 1) << row.name;
    TearDown();
  }
}

TEST_F(TapOffPlaceTest, MovedUnitGoesBackWhenItWouldMeetAnother) {
  Choose("QDB0016SE", 128, {150, 50, 80, 0, 0, 0});
  ASSERT_EQ(PlaceTapOffUnit(*m_j1, 10, nullptr, true), 1);
  ASSERT_EQ(PlaceTapOffUnit(*m_j2, 10, nullptr, true), 1);
  CDev* moved = Units().back();
  const std::uint32_t style = moved->GetStyle();
  const C3DPoint position = moved->GetPosition();
  EXPECT_EQ(PlaceTapOffUnit(*m_j1, 11, moved, true), 0);
  EXPECT_EQ(moved->GetStyle(), style);
  EXPECT_EQ(moved->GetPosition(), position);
  EXPECT_EQ(PlaceTapOffUnit(*m_j1, 12, moved, true), 1);
  EXPECT_EQ(moved->GetStyle(), (1u << 16) | (4u << 12) | 12u);
  EXPECT_EQ(Units().size(), 2u);
  EXPECT_EQ(Quantity("QDB0016SE"), 2);
}

TEST_F(TapOffPlaceTest, CopyTakesTheUnitsChoice) {
  ASSERT_EQ(PlaceTapOffUnit(*m_j1, 11, nullptr, true), 1);
  CDev* original = Units().front();
  original->SetReference("QDB0020SD");
  original->SetFrontOffsets({0, 10, 0});
  ASSERT_EQ(PlaceTapOffUnit(*m_j2, -11, original, true), 1);
  ASSERT_EQ(Units().size(), 2u);
  const CDev* copy = Units().back();
  EXPECT_EQ(copy->GetReference(), "QDB0020SD");
  EXPECT_EQ(copy->GetFrontOffsets(), (std::array<std::int32_t, 3>{0, 10, 0}));
  EXPECT_EQ(RememberedTapOffChoice().reference, "QDB0020SD");
  EXPECT_EQ(original->GetAttached(), m_start);
}

}  // namespace

namespace {

TEST_F(TapOffPlaceTest, SideOutletUnitsNameTheirSide) {
  m_outlets.codeBit = 32;
  Choose("QJB0630SE", 32, {100, 50, 80, 0, 0, 0});
  ASSERT_EQ(PlaceTapOffUnit(*m_j1, 11, nullptr, true), 1);
  ASSERT_EQ(PlaceTapOffUnit(*m_j2, 20, nullptr, true), 1);
  EXPECT_EQ(Units()[0]->GetReference(), "QJB0630S1");
  EXPECT_EQ(Units()[1]->GetReference(), "QJB0630S2");
  EXPECT_EQ(Quantity("QJB0630S1"), 1);
  EXPECT_EQ(Quantity("QJB0630SE"), 0);
}

}  // namespace

// A unit goes on the outlet box that was picked: the back box counts it from the straight
// behind the joint, the front box from the straight ahead; it is found there again.
TEST_F(TapOffPlaceTest, UnitStandsOnThePickedOutletBox) {
  CBox* front = m_j2->MakeBox(4);
  front->SetOrigin(C3DPoint(6000, 0, 0));
  const struct {
    const char* name;
    CBox* box;
    const CDev* host;
    std::uint32_t style;
    double x;
  } rows[] = {
      {"back box", m_j2->GetBox(0), m_start, (2u << 16) | (4u << 12) | 11u, 5200},
      {"front box", front, m_end, (1u << 16) | (0u << 12) | 11u, 6200},
  };
  for (const auto& row : rows) {
    ASSERT_EQ(PlaceTapOffUnitAt(*row.box, 11, nullptr, false), 1) << row.name;
    CDev* unit = Units().back();
    EXPECT_EQ(unit->GetAttached(), row.host) << row.name;
    EXPECT_EQ(unit->GetStyle(), row.style) << row.name;
    const auto outlet = FindTapOffOutlet(*unit);
    ASSERT_TRUE(outlet.has_value()) << row.name;
    EXPECT_EQ(outlet->box, row.box) << row.name;
    EXPECT_EQ(outlet->point.x, row.x) << row.name;
  }
  EXPECT_EQ(CountPathDevices(*m_run), 2);
  EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(TapOffPlaceTest, ABoxOnAJointSideTakesNoUnitAndSaysSo) {
  CBox* side = m_j1->MakeBox(2);
  side->SetOrigin(C3DPoint(1000, 500, 0));
  EXPECT_EQ(PlaceTapOffUnitAt(*side, 11, nullptr, false), 0);
  EXPECT_TRUE(Units().empty());
  EXPECT_EQ(m_messages.shown, std::vector<int>{30236});
  EXPECT_EQ(PlaceTapOffUnitAt(*side, 11, nullptr, true), 0);
  EXPECT_EQ(m_messages.shown.size(), 1u);
}
