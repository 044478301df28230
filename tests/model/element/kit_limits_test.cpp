#include "model/element/kit_limits.h"
#include "model/run/run_test_support.h"

namespace {

// A range whose kit reference is fixed; its kit rows are the device housing rows.
class CKitRun : public CRun {
 public:
  // Longer than the 22 characters that are matched, as a converted reference may be.
  std::string GetElementRef(int kind) override {
    return kind == 80 ? "KITB0130CF13              " : "";
  }
};

class KitLimitsTest : public RunTestBase {
 protected:
  void SetUp() override {
    RunTestBase::SetUp();
    m_tables.housings = {{"KIT*", {400, 200, 150}},
                         {"KITB0130CF13??????????", {1000, 100, 50}},
                         {"KITB0999*", {-300, 100, 50}}};
    m_run.AttachRangeTables(m_tables);
  }
  CDev& Unit(std::int32_t housing, const char* kit) {
    CDev* unit = m_run.NewElement();
    unit->SetKind(CDev::kInLine);
    unit->SetOffset(housing);
    if (kit != nullptr) unit->SetFieldText("KITCF", kit);
    return *unit;
  }
  CRangeTables m_tables;
  CKitRun m_run;
};

// The room within the kit: (1000 - the housing rounded up to even) / 2 - 100.
TEST_F(KitLimitsTest, TheOffsetIsHeldWithinTheRoomTheKitLeaves) {
  struct Row {
    std::int32_t housing;
    const char* stored;
    int result;
    std::int32_t limit;
    std::int32_t held;
    const char* after;
  };
  const Row rows[] = {
      {200, "0", 1, 300, 0, "0"},
      {200, "300", 1, 300, 300, "300"},
      {200, "301", 1, 300, 300, "300"},
      {200, "-1200", 1, 300, -300, "-300"},
      {201, "400", 1, 299, 299, "299"},
      {900, "50", 1, 0, 0, "0"},
      {1200, "-5", 1, 0, 0, "0"},
      {200, "junk", 1, 300, 0, "junk"},
      {200, "99999999999", 1, 300, 300, "300"},
  };
  for (const Row& row : rows) {
    CDev& unit = Unit(row.housing, row.stored);
    CKitLimits limits;
    EXPECT_EQ(ClampElementKit(unit, limits), row.result) << &row - rows;
    EXPECT_EQ(limits.values[0], 1000) << &row - rows;
    EXPECT_EQ(limits.values[1], 100) << &row - rows;
    EXPECT_EQ(limits.values[2], 50) << &row - rows;
    EXPECT_EQ(limits.values[3], row.held) << &row - rows;
    EXPECT_EQ(ReadKitLimits(m_run, unit).limit, row.limit) << &row - rows;
    EXPECT_EQ(unit.GetFieldText("KITCF").value_or(""), row.after) << &row - rows;
  }
}

// No kit: another kind, no "KITCF", no kit rows; a row counted from the housing leaves the
// unit no room, and rows are searched from the last.
TEST_F(KitLimitsTest, UnitsWithoutAKitGetNoLimits) {
  CKitLimits limits;
  limits.values = {1, 2, 3, 4};
  CDev& plain = Unit(200, nullptr);
  EXPECT_EQ(ClampElementKit(plain, limits), 0);
  EXPECT_EQ(limits.values, (std::array<std::int32_t, 4>{}));
  CDev& empty = Unit(200, "");
  EXPECT_EQ(ClampElementKit(empty, limits), 0);
  CDev& joint = Unit(200, "5");
  joint.SetKind(CDev::kJoint);
  EXPECT_EQ(ClampElementKit(joint, limits), 0);
  EXPECT_FALSE(ReadKitLimits(m_run, joint).found);

  m_tables.housings.push_back({"KITB01*", {-300, 100, 50}});
  CDev& counted = Unit(200, "40");
  EXPECT_EQ(ClampElementKit(counted, limits), 1);
  EXPECT_EQ(limits.values[0], 500);
  EXPECT_EQ(limits.values[3], 0);
  EXPECT_EQ(counted.GetFieldText("KITCF").value_or(""), "0");

  m_tables.housings.clear();
  CDev& unmatched = Unit(200, "40");
  EXPECT_EQ(ClampElementKit(unmatched, limits), 0);
  EXPECT_EQ(unmatched.GetFieldText("KITCF").value_or(""), "40");
}

}  // namespace
