#include "model/tapoff/tap_off_path_section.h"
#include "model/tapoff/tap_off_position.h"
#include "model/tapoff/outlet_run_support.h"

namespace {

// Side outlets of the QJF range on the first joint, which stands at x 1500 with its
// outlets at x 1100, 1200 and 1300 (points 0..2).
class TapOffPathSectionTest : public OutletRunTest {
 protected:
  void SetUp() override {
    OutletRunTest::SetUp();
    m_run->SetPartsState(2);
    m_run->SetCatalog("QJF");
    m_outlets.codeBit = 32;
    m_j1->SetPosition(C3DPoint(1500, 0, 0));
    m_j1->MakeBox(CDev::kBodySlot)->SetPlacement(C3DPoint(1400, -50, -50), 200, 100, 100);
  }
  CDev* StandingUnit(int point, const char* reference, const char* comment) {
    CDev* unit = AddUnit(1, point, 32, reference);
    unit->SetComment(comment);
    EXPECT_EQ(PositionTapOffUnit(*unit, false), 1) << reference;
    return unit;
  }
};

TEST_F(TapOffPathSectionTest, UnitsWithAStationNumberAreListedLastFirst) {
  StandingUnit(11, "QJF86TAPX", "12");
  StandingUnit(22, "QJFTAPX", " +7");
  for (const char* comment : {"", "abc", "0"}) StandingUnit(20, "QJFTAPX", comment);
  std::string file = "pos:end\n";
  EXPECT_EQ(WriteRunPathSection(file, *m_run), 4);
  // The unit on the far side (point 22, 200 behind the joint) first: the point along the
  // joint's direction and its two sides, the turn toward the far side, the unit; then
  // its fixing piece, moved back to the joint. Then the near-side unit, whose reference
  // holds "86" at its fourth and fifth characters.
  EXPECT_EQ(file,
            "pos:end\n"
            "\nnbtpf:00004\n\n"
            "pos:st007X-00000000000200.00000Y+00000000000000.00000Z+00000000000000.00000L0090\n"
            "dev:300000/00214@$QJFTAP2\n"
            "pos:st007L-180S0200R-180\n"
            "dev:430001\n"
            "pos:st012X-00000000000300.00000Y+00000000000000.00000Z+00000000000000.00000R0090\n"
            "dev:300000/00214@$QJF86TAP1\n"
            "pos:st012L-180S0300R-180\n"
            "dev:430002\n"
            "pos:end\n");
}

// A joint far ahead of its outlet (a damaged or hand-edited file): the shift back to the
// joint is split like any long stretch instead of overflowing its four digits.
TEST_F(TapOffPathSectionTest, ALongShiftBackIsSplitIntoStretches) {
  StandingUnit(22, "QJFTAPX", "7");
  const std::pair<double, const char*> cases[] = {{1500 + 12145, "L-180S9999S2346R-180"},
                                                  {1500 + 1e30, "L-180S9999"}};
  for (const auto& [position, shift] : cases) {
    m_j1->SetPosition(C3DPoint(position, 0, 0));
    std::string file;
    EXPECT_EQ(WriteRunPathSection(file, *m_run), 2);
    EXPECT_NE(file.find("pos:st007" + std::string(shift)), std::string::npos) << file;
  }
}

// A line break in a unit's reference would start a line of its own in the file.
TEST_F(TapOffPathSectionTest, AReferenceCannotBreakItsLine) {
  StandingUnit(22, "QJF\r\nTAPX", "7");
  std::string file;
  WriteRunPathSection(file, *m_run);
  EXPECT_NE(file.find("\ndev:300000/00214@$QJF  TAP2\n"), std::string::npos) << file;
}

// The units standing at a joint take its station number; units elsewhere, other joints
// and elements of other kinds are left as they are.
TEST_F(TapOffPathSectionTest, TheUnitsOfAJointTakeItsStationNumber) {
  CDev* first = StandingUnit(11, "QJFTAPX", "");
  CDev* second = StandingUnit(22, "QJFTAPX", "9");
  EXPECT_EQ(NumberTapOffStations(*m_unit, 5), 0);
  EXPECT_EQ(NumberTapOffStations(*m_j2, 4), 0);
  EXPECT_EQ(first->GetComment(), "");
  EXPECT_EQ(NumberTapOffStations(*m_j1, 3), 2);
  EXPECT_EQ(first->GetComment(), "3");
  EXPECT_EQ(second->GetComment(), "3");
  std::string file;
  EXPECT_EQ(WriteRunPathSection(file, *m_run), 4);
  EXPECT_NE(file.find("pos:st003X"), std::string::npos) << file;
}

TEST_F(TapOffPathSectionTest, NoStationNoSection) {
  for (const char* comment : {"", "x12", "0", " -0"}) StandingUnit(11, "QJFTAPX", comment);
  std::string file = "pos:end\n";
  EXPECT_EQ(WriteRunPathSection(file, *m_run), 0);
  EXPECT_EQ(file, "pos:end\n");
}

TEST_F(TapOffPathSectionTest, UnitWhoseJointIsNotFoundIsLeftOut) {
  StandingUnit(11, "QJFTAPX", "3");
  m_run->SetPartsState(0);
  std::string file;
  EXPECT_EQ(WriteRunPathSection(file, *m_run), 0);
  EXPECT_EQ(file, "");
}

}  // namespace
