#include "model/element/dev.h"
#include "model/builder/part_builder_test_support.h"

namespace {

struct PlacedRow {
  std::vector<std::int32_t> lengths;
  const char* endRef;
  int fixed, ranged, joints, state;
};

// Runs laid by the placement edits: straights added at the free face, the last one
// made an end by hand; the builder cuts them with the placement joints.
class PartBuilderPlacementTest : public PartBuilderTestBase,
                                 public ::testing::WithParamInterface<PlacedRow> {
 protected:
  void LayLine(const std::vector<std::int32_t>& lengths, const std::string& endRef) {
    m_builder->AddPartDef("???????3000", "3000", "", "0");
    m_builder->AddPartDef("???????RNGE", "500-2000", "", "0");
    CDev* at = CChainBuilder(*m_run).Start(4);
    at->SetReference("E-100");
    at->SetCalibre("63");
    at->SetFrontOffsets({0, 200, 300});
    at->MakeBox(CDev::kBodySlot);
    at->BuildBoxes(0);
    for (const std::int32_t length : lengths) {
      at = at->AddStraightToward(4, length);
      ASSERT_NE(at, nullptr) << length;
    }
    at->SetKind(CDev::kEnd);
    at->SetReference(endRef);
  }
  std::int64_t Count(int kind, const std::string& key = {}) const {
    std::int64_t count = 0;
    for (const CDev* device : m_run->GetDevices()) {
      if ((kind < 0 ? device->GetBooked() != 0 : device->GetKind() == kind) &&
          device->GetReference().find(key) != std::string::npos)
        ++count;
    }
    return count;
  }
  std::int64_t LineTotal() const {
    std::int64_t total = 0;
    for (const CDev* device : m_run->GetDevices()) total += device->GetBookedLength();
    return total;
  }
};

// state: the first message's state; pieces are booked on the joint or end closing them.
const PlacedRow kPlacedRows[] = {
    {{6200}, "E-100", 2, 0, 3, CCheckMessage::kEmpty},   // 100 + 3000 + 3000 + 100
    {{4400}, "E-100", 1, 1, 3, CCheckMessage::kEmpty},   // 100 + 3000 + 1200 + 100
    {{3200}, "E-100", 1, 0, 2, CCheckMessage::kEmpty},   // 100 + 3000 + 100
    {{1000}, "E-LONG", 0, 0, 1, CCheckMessage::kEmpty},  // 100 + 900 exactly
    {{900}, "E-LONG", 0, 0, 1, 13},                      // 100 + 800, 100 short
    // The placed joint between the straights is no end piece of the test range: 100 +
    // 1050 + 1050 up to it, 3000 + 900 + 100 beyond.
    {{2200, 4000}, "E-100", 1, 2, 5, 16},
    {{3200}, "NOPE", 0, 1, 2, 16},  // 100 + 1550 + 1550 unknown
};

TEST_P(PartBuilderPlacementTest, PlacedRunsAreCutIntoParts) {
  const PlacedRow& row = GetParam();
  LayLine(row.lengths, row.endRef);
  const std::int64_t before = LineTotal();
  Build();
  const std::string label = std::to_string(row.lengths.front()) + " " + row.endRef;
  EXPECT_EQ(Count(-1, "3000"), row.fixed) << label;
  EXPECT_EQ(Count(-1, "l="), row.ranged) << label;
  EXPECT_EQ(Count(CDev::kJoint), row.joints) << label;
  EXPECT_EQ(LineTotal(), before) << label << ": the joints keep the line's length";
  EXPECT_EQ(m_builder->GetMessages().At(0).state, row.state) << label;
  EXPECT_EQ(m_builder->HasErrors(), row.state != CCheckMessage::kEmpty) << label;
}

INSTANTIATE_TEST_SUITE_P(Rows, PartBuilderPlacementTest, ::testing::ValuesIn(kPlacedRows));

}  // namespace
