// Device lines of the QJF, QP and QW runs, worked out by hand from the coding rules.
#include "export/z3d_coding.h"
#include "ranges/qg/run_qg.h"
#include "ranges/qjf/run_qjf.h"
#include "ranges/qp/run_qp.h"
#include "ranges/qw/run_qw.h"
#include "z3d_run_support.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kTurnedOver = 1u << 12;

class Z3dFamilyTest : public Z3dRunTest {
 protected:
  void Use(std::unique_ptr<CRun> run, const char* catalog, const char* calibre) {
    m_run = std::move(run);
    m_run->SetProp("Catalog", catalog);
    m_run->SetProp("Calibre", calibre);
  }
  bool HasPosition(const std::string& tokens) const {
    return m_bytes.find("\r\npos:" + tokens + "\r\n") != std::string::npos;
  }
};

// A QJF tee turning left is a tap-off box when its reference names one ("PB"): the box,
// the way out to it and back, its adapter and its elbow; the line straight on is taken
// as a branch whose first device carries the tee's length.
TEST_F(Z3dFamilyTest, AQjfTeeTurningLeftIsATapOffBox) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"QJF26PB12",
       {"070000/00200@@002000/00214@$QJF26FE2", "410202/00214@$QJF26PB12",
        "070000/00214@$QJF26FA10", "210100/00200@@000348/00201@@000348",
        "110000/00200@@002848/00214@$QJF26EA25", "070000/00200@@000100/00214@$QJF26FE2"}},
      {"QJF26TE2X",
       {"070000/00200@@002000/00214@$QJF26FE2", "##ERR##", "#st#",
        "070000/00200@@000100/00214@$QJF26FE2"}},
  };
  for (const auto& [tee, expected] : cases) {
    Use(std::make_unique<CRunQJF>(), "QJF", "26");
    const std::vector<CDev*> line = Lay({{4, CDev::kEnd, 1, 100, "QJF26FE2"},
                                         {4, CDev::kJoint, 0, 2000, ""},
                                         {4, CDev::kJunction2, 0, 348, tee},
                                         {1, CDev::kJoint, 0, 1500, "QJF26EA15"},
                                         {1, CDev::kJoint, 0, 0, "QJF26FA10"}});
    CDev* branch = Append(line[2], {4, CDev::kJoint, 0, 2500, "QJF26EA25"});
    Append(branch, {4, CDev::kEnd, 1, 100, "QJF26FE2"});
    EXPECT_EQ(Devices(), expected) << tee << "\n" << m_bytes;
  }
  EXPECT_TRUE(HasPosition("gt001S0348L0090S1500")) << m_bytes;
}

// The way out to a QJF tap-off box and back: the stretch across (the joint beyond less
// the tee) split like any long stretch, none when the joint is shorter than the tee; then
// the stretch carried on past the box's elbow.
TEST_F(Z3dFamilyTest, TheWayToAQjfTapOffBoxIsAStretchOfItsOwn) {
  const std::pair<std::int32_t, const char*> cases[] = {{1500, "gt001L0090S1152L0090"},
                                                        {200, "gt001L0090S0000L0090"},
                                                        {20348, "gt001L0090S9999S9999S0002L0090"}};
  for (const auto& [across, outward] : cases) {
    Use(std::make_unique<CRunQJF>(), "QJF", "26");
    const std::vector<CDev*> line = Lay({{4, CDev::kEnd, 1, 100, "QJF26FE2"},
                                         {4, CDev::kJoint, 0, 2000, ""},
                                         {4, CDev::kJunction2, 0, 348, "QJF26PB12"},
                                         {1, CDev::kJoint, 0, across, "QJF26EA15"},
                                         {1, CDev::kJoint, 0, 0, "QJF26FA10"}});
    Append(line[2], {4, CDev::kJoint, 0, 2500, "QJF26EA25"});
    Devices();
    for (const char* tokens : {outward, "L0090L0090", "S0348L0090S0348"})
      EXPECT_TRUE(HasPosition(tokens)) << tokens << "\n" << m_bytes;
  }
}

// A QJF run turns over where the next element past its joints stands the other way up: a
// tee turning down (device 22, 4, 8) then reads 22, 4, 7, and the turn is in the path.
TEST_F(Z3dFamilyTest, AQjfRunTurnsOverPastItsJoints) {
  Use(std::make_unique<CRunQJF>(), "QJF", "26");
  const std::vector<CDev*> line = Lay({{4, CDev::kEnd, 1, 100, "QJF26FE2"},
                                       {4, CDev::kJoint, 0, 2000, ""},
                                       {4, CDev::kJunction2, 0, 348, "QJF26TE2X"},
                                       {3, CDev::kJoint, kTurnedOver, 1000, ""},
                                       {3, CDev::kEnd, 1 | kTurnedOver, 100, "QJF26FE2"}});
  Append(line[2], {4, CDev::kJoint, 0, 1200, ""});
  const std::vector<std::string> devices = Devices();
  ASSERT_GE(devices.size(), 2u) << m_bytes;
  EXPECT_EQ(devices[1], "220407/00200@@000348/00201@@001000/00202@@001200/00214@$QJF26TE2X");
  EXPECT_TRUE(HasPosition("gt001S0348D0090T0180n0180S1000")) << m_bytes;
}

// QP: a feed of variant 5 mounted on the reversed side (the run does not start upward);
// a fixing standing before an elbow gives the elbow's line its kit length (parameter 128)
// when the elbow's name is a kit's ("CF"); an elbow turning up whose leg ("a=") differs
// from the length behind it is turned over ("n0180" on the line before it).
TEST_F(Z3dFamilyTest, QpFeedSidesKitLengthsAndElbowLegs) {
  Use(std::make_unique<CRunQP>(), "QPA", "40");
  const std::vector<CDev*> line = Lay({{4, CDev::kEnd, 5, 0, "QPA400AX4"},
                                       {4, CDev::kJoint, 0, 2000, ""},
                                       {4, CDev::kInLine, 0, 250, "QPA400ZF4"},
                                       {4, CDev::kElbow, 0, 300, "QPA400DLCF4"},
                                       {1, CDev::kJoint, 0, 300, ""},
                                       {1, CDev::kElbow, 0, 300, "QPA400DLE40 a=400"},
                                       {2, CDev::kJoint, 0, 300, ""},
                                       {2, CDev::kEnd, 1, 100, ""}});
  line[2]->SetActive(2);
  const std::vector<std::string> devices = Devices();
  const std::vector<std::string> expected = {
      "041307/00200@@002000/00214@$QPA400AX4",
      "210100/00200@@000550/00201@@000300/00128@@000250/00214@$QPA400DLCF4",
      "210300/00208@@000001/00200@@000300/00201@@000300/00214@$QPA400DLE40",
      "070000/00200@@000100"};
  EXPECT_EQ(devices, expected) << m_bytes;
  // The turn goes on the position line written last and on the one that follows.
  EXPECT_TRUE(HasPosition("S0250S0300L0090S0300n0180")) << m_bytes;
  EXPECT_TRUE(HasPosition("S0300U0090S0300n0180")) << m_bytes;
}

// QW: the extra feed device (41, 00, 01) comes when neither end of the run is closed
// without a feed; an end of variant 7 counts as closed.
TEST_F(Z3dFamilyTest, QwExtraFeedDevicesByTheRunsEnds) {
  const std::pair<std::uint32_t, std::size_t> cases[] = {{2, 1}, {7, 0}, {0, 0}};
  for (const auto& [lastVariant, extra] : cases) {
    Use(std::make_unique<CRunQW>(), "QWA", "40");
    Lay({{4, CDev::kEnd, 2, 0, "QW040ER42"},
         {4, CDev::kJoint, 0, 3000, ""},
         {4, CDev::kEnd, lastVariant, 300, "QW040ER4X"}});
    const std::vector<std::string> devices = Devices();
    EXPECT_EQ(std::count(devices.begin(), devices.end(), "410001"), extra) << m_bytes;
    EXPECT_EQ(CountExtraDevices(*m_run, 4), static_cast<int>(extra)) << lastVariant;
    EXPECT_EQ(CountExtraDevices(*m_run, 1), 0);
  }
}

// QG, four conductors: a feed of the first connection without "ENTRAX" takes the range's
// centre distances (115 each way: 172.5, 57.5, -57.5, -172.5) and its bar; a joint with
// no wall piece behind it is not mounted, whatever its active word, and gives the extra
// device 41, 00, 01; an end of the second connection is device 3, 5 with its side and the
// marker 208.
TEST_F(Z3dFamilyTest, QgFeedsEndsAndJointExtras) {
  auto qg = std::make_unique<CRunQG>();
  CRunQG& run = *qg;
  Use(std::move(qg), "QGA", "12");
  m_run->SetProp("Neutral", "4");
  const std::vector<CDev*> line = Lay({{4, CDev::kEnd, 0x00100002, 0, "QGA12AX"},
                                       {4, CDev::kJoint, 0, 3000, ""},
                                       {4, CDev::kJoint, 0, 2000, "QGA12ET20"},
                                       {4, CDev::kEnd, 0x00200006, 100, "QGA12FE"}});
  line[1]->SetActive(2);
  int length = 0, width = 0, thickness = 0;
  run.GetBarGeometry(length, width, thickness, line[0]);
  const std::string bar = "/00220@@" + Z3dNumber("%06d", length) + "/00221@@" +
                          Z3dNumber("%06d", width) + "/00222@@" + Z3dNumber("%06d", thickness);
  const std::vector<std::string> expected = {
      "010301/00200@@003000/00204@.00000000000172.5/00205@.00000000000057.5"
      "/00206@.-0000000000057.5/00207@.-0000000000172.5" +
          bar + "/00214@$QGA12AX",
      "410001", "110007/00200@@002000/00214@$QGA12ET20", "410001",
      "030506/00208@@000001/00200@@000100/00214@$QGA12FE"};
  EXPECT_EQ(Devices(), expected) << m_bytes;
}

// A wall piece (kind 8, variant 15) mounts the joints behind it: the joint beside it
// gives no extra device, the next one 41, 00, 02.
TEST_F(Z3dFamilyTest, QgJointsMountedByAWallPieceTakeTheMountedExtra) {
  Use(std::make_unique<CRunQG>(), "QGA", "12");
  m_run->SetProp("Neutral", "4");
  Lay({{4, CDev::kEnd, 0x00100002, 0, "QGA12AX"},
       {4, CDev::kInLineVariant, 15, 3000, ""},
       {4, CDev::kJoint, 0, 1000, ""},
       {4, CDev::kJoint, 0, 2000, "QGA12ET20"},
       {4, CDev::kEnd, 0x00200006, 100, "QGA12FE"}});
  const std::vector<std::string> devices = Devices();
  EXPECT_EQ(std::count(devices.begin(), devices.end(), "410002"), 1) << m_bytes;
  EXPECT_EQ(std::count(devices.begin(), devices.end(), "410001"), 0) << m_bytes;
}

// A QG fixing with a kit ("KITCF"): the kit is a device 44 of its own, in a new group
// at the kit's distance plus the fixing's length from where the stretch began.
TEST_F(Z3dFamilyTest, AQgKitIsADeviceInAGroupOfItsOwn) {
  Use(std::make_unique<CRunQG>(), "QGA", "12");
  m_run->SetProp("Neutral", "4");
  const std::vector<CDev*> line = Lay({{4, CDev::kEnd, 0x00100002, 0, "QGA12AX"},
                                       {4, CDev::kInLine, 0, 50, ""},
                                       {4, CDev::kJoint, 0, 1000, "QGA12ET10"},
                                       {4, CDev::kEnd, 0x00200006, 100, "QGA12FE"}});
  line[1]->SetFieldText("KITCF", "150");
  const std::vector<std::string> devices = Devices();
  ASSERT_GE(devices.size(), 2u) << m_bytes;
  EXPECT_EQ(devices[1], "440001") << m_bytes;
  EXPECT_TRUE(HasPosition("gt001S0000S0200")) << m_bytes;
  EXPECT_TRUE(HasPosition("st001S0000S0050S1000")) << m_bytes;
}

// Damaged elements: a reference with a line break, an element of no known kind, lengths
// below 0 and beyond what the fields hold. The file keeps its grammar and its counts.
TEST_F(Z3dFamilyTest, DamagedElementsKeepTheFileWhole) {
  constexpr std::int32_t kLongest = 2'147'483'647;
  Use(std::make_unique<CRunQP>(), "QPA", "40");
  Lay({{4, CDev::kEnd, 3, 0, "QPA400AB4"},
       {4, CDev::kJoint, 0, 2000, "QPA400ED420\r\ndev:999999"},
       {4, 99, 0, -500, "X"},
       {4, CDev::kJoint, 0, kLongest, ""},
       {4, CDev::kInLine, 0, kLongest, ""},
       {4, CDev::kJoint, 0, -7, ""},
       {4, CDev::kEnd, 255, kLongest, "QPA400Z"}});
  const std::vector<std::string> devices = Devices();
  ASSERT_GE(devices.size(), 2u);
  // The feed's line carries the joint's name, cut where its line break was; the element
  // of no known kind leaves the devices after it uncoded.
  EXPECT_TRUE(devices[0].ends_with("/00214@$QPA400ED420")) << devices[0];
  EXPECT_EQ(devices[1], "##ERR##");
  EXPECT_EQ(m_bytes.find("dev:999999"), std::string::npos);
  EXPECT_EQ(devices.back(), "##ERR##");
}

}  // namespace
