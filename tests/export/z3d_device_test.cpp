#include "ranges/qd/run_qd.h"
#include "z3d_run_support.h"

namespace {

class Z3dDeviceTest : public Z3dRunTest {
 protected:
  void SetUp() override {
    Z3dRunTest::SetUp();
    m_run = std::make_unique<CRunQD>("A", nullptr);
  }
  static CZ3dStep Step(int face, int kind, std::uint32_t variant, std::int32_t length) {
    return {face, kind, variant, length, "QDA06X" + std::to_string(kind)};
  }
};

// A feed ended by a joint, a left and a right elbow with a straight between them, a joint, an end.
TEST_F(Z3dDeviceTest, TwoElbowsTurningBackGiveOneDeviceAtTheJoint) {
  m_run->SetProp("Calibre", "06");
  Lay({Step(4, CDev::kEnd, 1, 0), Step(4, CDev::kInLine, 0, 1500), Step(4, CDev::kJoint, 0, 0),
       Step(4, CDev::kElbow, 0, 300), Step(1, CDev::kInLine, 0, 1000),
       Step(1, CDev::kElbow, 0, 300), Step(4, CDev::kInLine, 0, 2000), Step(4, CDev::kJoint, 0, 0),
       Step(4, CDev::kInLine, 0, 500), Step(4, CDev::kEnd, 0, 0)});
  const std::vector<std::string> devices = Devices();
  ASSERT_EQ(devices.size(), 3u) << m_bytes;
  // The feed (device 7) is carried from the start to the first cut, at the first joint;
  // the pair takes the first elbow's own length back to that joint, the stretch on to the
  // second elbow and the one beyond it.
  EXPECT_EQ(devices[0], "070000/00200@@001500/00214@$QDA06X9");
  EXPECT_EQ(devices[1], "230100/00200@@000300/00201@@001000/00202@@002000/00214@$QDA06X9");
  EXPECT_EQ(devices[2], "#00#");
}

// Lengths with outlets: each layout the range offers is a device of its own kind (the
// reference tells six outlets from three); a layout no rule names is left uncoded.
TEST_F(Z3dDeviceTest, LengthsWithOutletsByTheirLayout) {
  const std::pair<std::uint32_t, const char*> cases[] = {
      {0, "110000"}, {1, "120000"}, {2, "120000"}, {3, "130000"}};
  for (const auto& [layout, device] : cases) {
    SetUp();
    m_run->SetProp("Calibre", "06");
    Lay({Step(4, CDev::kEnd, 0, 0),
         Step(4, CDev::kJoint, 0, 200),
         {4, CDev::kJoint, layout << 8, 3000, "QDA63ED4306"},
         Step(4, CDev::kEnd, 0, 100)});
    const std::vector<std::string> devices = Devices();
    ASSERT_EQ(devices.size(), 3u) << m_bytes;
    EXPECT_EQ(devices[1], std::string(device) + "/00200@@003000/00214@$QDA63ED4306") << layout;
  }
}

}  // namespace
