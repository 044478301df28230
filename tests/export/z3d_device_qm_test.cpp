// Device lines of QM runs, worked out by hand from the coding rules: feeds and ends by
// variant, an elbow and a feed made one device, lengths with outlets and their options.
#include "export/z3d_coding.h"
#include "ranges/qm/run_qm.h"
#include "z3d_run_support.h"

namespace {

constexpr std::uint32_t kFirstChoice = 1u << 20;
constexpr std::uint32_t kSecondChoice = 2u << 20;

// 172.5, 57.5, -57.5, -172.5: the default centre distance of 115 each way.
const std::string kDefaultDistances =
    "/00204@.00000000000172.5/00205@.00000000000057.5/00206@.-0000000000057.5"
    "/00207@.-0000000000172.5";

class Z3dQmTest : public Z3dRunTest {
 protected:
  void SetUp() override {
    Z3dRunTest::SetUp();
    m_run = std::make_unique<CRunQM>();
    m_run->SetProp("Catalog", "QMA");
    m_run->SetProp("Calibre", "25");
    m_run->SetProp("Neutral", "4");
  }
  // A closed start, a length whose joint carries the start's status, a length of 3 m,
  // then the element to code.
  std::vector<CDev*> LayBefore(const CZ3dStep& last) {
    return Lay({{4, CDev::kEnd, 0, 0, ""},
                {4, CDev::kJoint, 0, 2000, "QMA2500ED4302"},
                {4, CDev::kJoint, 0, 3000, "QMA2500ED4302"},
                last});
  }
};

struct CQmEndCase {
  std::uint32_t style;
  const char* entrax;
  std::vector<std::string> devices;  // after the closed start and the 3 m length
};

// Feeds and ends that close the run: the second qualifier 2 of a later end, the length
// back 100, the default centre distance only for the first connection, the marker 208
// when a distance is given, a second device after the line.
TEST_F(Z3dQmTest, FeedsAndEndsByVariant) {
  const CQmEndCase cases[] = {
      {2 | kFirstChoice, "", {"010102/00200@@000100" + kDefaultDistances + "/00214@$QMA2500ER4"}},
      {2 | kSecondChoice, "", {"##ERR##"}},
      {2 | kSecondChoice,
       "120",
       {"010202/00208@@000001/00200@@000100/00204@.00000000000180.0/00205@.00000000000060.0"
        "/00206@.-0000000000060.0/00207@.-0000000000180.0/00214@$QMA2500ER4"}},
      {3 | kSecondChoice, "", {"010202/00208@@-00001/00200@@000100/00214@$QMA2500ER4"}},
      {4, "", {"#Pk#"}},
      {5, "", {"010102/00200@@000100" + kDefaultDistances + "/00214@$QMA2500ER4", "420001"}},
      {8 | (1u << 13), "", {"040502/00200@@000100/00214@$QMA2500ER4"}},
      {8 | (1u << 14), "", {"040402/00200@@000100/00214@$QMA2500ER4"}},
      {7, "", {"010102/00200@@000100" + kDefaultDistances + "/00214@$QMA2500ER4", "460003"}},
      {9, "", {"080502/00200@@000100/00214@$QMA2500ER4"}},
      {11, "", {"##ERR##"}},
  };
  for (const CQmEndCase& test : cases) {
    SetUp();
    const std::vector<CDev*> line = LayBefore({4, CDev::kEnd, test.style, 100, "QMA2500ER4"});
    if (*test.entrax != '\0') line.back()->SetFieldText("ENTRAX", test.entrax);
    std::vector<std::string> devices = Devices();
    ASSERT_GE(devices.size(), 2u) << m_bytes;
    EXPECT_EQ(devices[0], "#00#");
    EXPECT_EQ(devices[1], "110000/00200@@003000/00214@$QMA2500ED4302");
    devices.erase(devices.begin(), devices.begin() + 2);
    EXPECT_EQ(devices, test.devices) << std::hex << test.style << "\n" << m_bytes;
  }
}

// An elbow straight before a feed box makes one device with it: 2, the elbow's turn + 2,
// the elbow's length back and the feed's own length, and the box's second device.
TEST_F(Z3dQmTest, AnElbowBeforeAFeedIsOneDeviceWithIt) {
  Lay({{4, CDev::kEnd, 0, 0, ""},
       {4, CDev::kJoint, 0, 2000, "QMA2500ED4302"},
       {4, CDev::kJoint, 0, 3000, "QMA2500ED4302"},
       {4, CDev::kElbow, 0, 300, "QMA2500LP4A1"},
       {1, CDev::kEnd, 5, 100, "QMA2500ER4"}});
  const std::vector<std::string> devices = Devices();
  ASSERT_EQ(devices.size(), 4u) << m_bytes;
  EXPECT_EQ(devices[2], "020302/00208@@000001/00200@@000300/00201@@000100" + kDefaultDistances +
                            "/00214@$QMA2500ER4");
  EXPECT_EQ(devices[3], "420001");
  EXPECT_NE(m_bytes.find("\r\npos:S0300L0090S0100\r\ndev:420001\r\npos:end\r\n"), std::string::npos)
      << m_bytes;
}

struct CQmOutletCase {
  std::uint32_t layout;  // the outlet layout of the length (style bits 8-11)
  const char* step;      // "QM_ED_STEP"
  const char* option;    // the end option the run's end holds ("ED31", "EH44"), or none
  std::int32_t length;
  const char* device;
};

// Lengths with outlets: the layout gives the device, the end options held further on
// (here on the run's end) give the qualifier while the outlets are stepped; EH44 is an
// option of QMA 2500 A with neutral 6 to 8 only.
TEST_F(Z3dQmTest, LengthsWithOutletsByLayoutAndOptions) {
  const CQmOutletCase cases[] = {
      {1, "", "", 3000, "120100"},     {1, "", "ED31", 2000, "130600"},
      {1, "", "ED31", 3000, "120100"}, {1, "0", "ED31", 2000, "120100"},
      {1, "", "EH44", 4000, "120500"}, {1, "0", "EH44", 4000, "120100"},
      {2, "", "", 3000, "120200"},     {3, "", "", 3000, "130300"},
      {3, "", "ED31", 3000, "130600"}, {3, "0", "ED31", 3000, "130300"},
      {4, "", "", 4000, "170000"},     {4, "0", "EH44", 4000, "170500"},
  };
  for (const CQmOutletCase& test : cases) {
    SetUp();
    m_run->SetProp("Neutral", "6");
    m_run->SetProp("QM_ED_STEP", test.step);
    const std::vector<CDev*> line =
        Lay({{4, CDev::kEnd, 0, 0, ""},
             {4, CDev::kJoint, 0, 2000, "QMA2500ED4302"},
             {4, CDev::kJoint, test.layout << 8, test.length, "QMA2500ED4X"},
             {4, CDev::kEnd, 0, 100, ""}});
    if (*test.option != '\0') line.back()->SetFieldText(test.option, "1");
    const std::vector<std::string> devices = Devices();
    ASSERT_EQ(devices.size(), 3u) << m_bytes;
    EXPECT_EQ(devices[1], std::string(test.device) + "/00200@@" + Z3dNumber("%06d", test.length) +
                              "/00214@$QMA2500ED4X")
        << test.layout << " " << test.step << " " << test.option;
  }
}

// An end box of the second connection with its distances given: the distances the range
// works out (the third kept within 235 of the second's ends), the first giving the side
// (215) and turned by the phase order at the box; the fourth as 216.
TEST_F(Z3dQmTest, AnEndBoxTakesTheRangesDistancesTurnedByThePhaseOrder) {
  const std::pair<int, std::string> cases[] = {
      {0,
       "/00204@.00000000000500.0/00205@.00000000000000.0/00206@.-0000000000500.0"
       "/00207@.00000000000265.0/00215@@000001"},
      {1,
       "/00204@.-0000000000500.0/00205@.00000000000000.0/00206@.00000000000500.0"
       "/00207@.00000000000265.0/00215@@000003"}};
  for (const auto& [phase, distances] : cases) {
    SetUp();
    // The phase code's first bit is bit 4 of the run's flags.
    m_run->SetFlagsWord((m_run->GetFlagsWord() & ~0x310u) | (phase == 1 ? 0x10u : 0u));
    LayBefore({4, CDev::kEnd, 6 | kSecondChoice, 100, "QMA2500ER4"})
        .back()
        ->SetFieldText("ENTRAX", "1/500/300/80");
    const std::vector<std::string> devices = Devices();
    ASSERT_EQ(devices.size(), 3u) << m_bytes;
    EXPECT_EQ(devices[2],
              "030602/00208@@000001/00200@@000100" + distances + "/00216@@000080/00214@$QMA2500ER4")
        << phase;
  }
}

// A feed box for an adapter that the unit cannot take as it lies (level, turned on its
// side): no adapter number exists, so the adapter's line is left uncoded rather than
// written with a code the file cannot hold.
TEST_F(Z3dQmTest, AnAdapterTheUnitCannotTakeIsLeftUncoded) {
  const std::pair<int, const char*> cases[] = {{16, "460003"}, {32, "##ERR##"}};
  for (const auto& [rotation, adapter] : cases) {
    SetUp();
    LayBefore({4, CDev::kEnd, 7, 100, "QMA2500ER4"}).back()->SetRotation(rotation);
    const std::vector<std::string> devices = Devices();
    ASSERT_EQ(devices.size(), 4u) << m_bytes;
    EXPECT_EQ(devices[3], adapter) << rotation;
  }
}

}  // namespace
