#include "geometry/box.h"
#include "model/tapoff/tap_off_position.h"
#include "model/tapoff/outlet_run_support.h"

namespace {

class RunGeometryTest : public OutletRunTest {};

// Unbooking before the bits change (and booking after) keeps each metre in one record.
TEST_F(RunGeometryTest, VariantIndexSpreadsAlongTheLineUpToAJoint) {
  const struct {
    const char* name;
    int element;                 // start 0, J1 1, U 2, J2 3, S 4
    std::array<int, 5> indexes;  // start, J1, U, J2, S
    std::map<int, std::int32_t> records;
  } rows[] = {
      {"in-line unit", 2, {0, 1, 1, 1, 0}, {{0, 500}, {1, 3300}}},
      {"straight end", 4, {0, 0, 0, 1, 1}, {{0, 1300}, {1, 2500}}},
      {"first joint", 1, {0, 1, 1, 1, 0}, {{0, 500}, {1, 3300}}},
      {"second joint", 3, {0, 1, 1, 1, 1}, {{1, 3800}}},
  };
  for (const auto& row : rows) {
    SetUp();
    CDev* elements[] = {m_start, m_j1, m_unit, m_j2, m_end};
    elements[row.element]->SetVariantIndex(1);
    for (std::size_t i = 0; i < 5; ++i) {
      EXPECT_EQ(elements[i]->GetVariantIndex(), row.indexes[i]) << row.name << " element " << i;
      EXPECT_EQ((elements[i]->GetStyle2() >> 8) & 0xF, static_cast<std::uint32_t>(row.indexes[i]))
          << row.name << " second style, element " << i;
    }
    EXPECT_EQ(Records(), row.records) << row.name;
    // One bill-of-materials line per record, each held once.
    int lengthLines = 0;
    for (CDev* record : m_run->GetLengthRecords()) {
      const int line = m_run->GetBOM().FindLine(record->GetReference());
      EXPECT_EQ(m_run->GetBOM().GetLineQuantity(line), 1) << row.name;
    }
    for (int row = 1; const CBOMLine* line = m_run->GetBOM().GetLine(row); ++row)
      lengthLines += line->reference.rfind("STR-", 0) == 0 ? 1 : 0;
    EXPECT_EQ(lengthLines, static_cast<int>(row.records.size())) << row.name;
    TearDown();
  }
}

TEST_F(RunGeometryTest, VariantIndexWalkEndsOnALoopedChain) {
  // A damaged file may link the straight end back to the first joint.
  m_end->SetNeighbour(4, m_j1);
  m_unit->SetVariantIndex(2);
  EXPECT_EQ(m_end->GetVariantIndex(), 0);
  EXPECT_EQ(m_j2->GetVariantIndex(), 2);
}

TEST_F(RunGeometryTest, TapOffUnitsFollowTheirOutlets) {
  const struct {
    const char* name;
    int partsState, jointCount, point, codeBit;
    std::uint32_t mask;
    int result;
    bool kept, booked;
  } rows[] = {
      {"placed on the first joint", 2, 1, 11, 128, 128, 1, true, true},
      {"placed on the second joint", 2, 2, 21, 128, 128, 1, true, true},
      {"no third joint: deleted", 2, 3, 11, 128, 128, -1, false, false},
      {"outlet of another range: deleted", 2, 1, 11, 64, 128, -1, false, false},
      {"point beyond the outlets: deleted", 2, 1, 13, 128, 128, -1, false, false},
      {"built with errors: kept unbooked", 1, 1, 13, 128, 128, 0, true, false},
      {"not built: no joint is looked for", 0, 1, 11, 128, 128, 0, true, false},
  };
  for (const auto& row : rows) {
    SetUp();
    m_run->SetPartsState(row.partsState);
    m_outlets.codeBit = row.codeBit;
    CDev* unit = AddUnit(row.jointCount, row.point, row.mask, "QDTAP1");
    unit->SetBooked(1);
    m_run->GetBOM().AddHeldQuantity("QDTAP1", 1);
    EXPECT_EQ(PositionTapOffUnit(*unit, false), row.result) << row.name;
    const bool kept = m_run->OwnsElement(unit);
    EXPECT_EQ(kept, row.kept) << row.name;
    EXPECT_EQ(m_run->GetBOM().FindLine("QDTAP1") >= 0, row.booked) << row.name;
    if (kept) {
      EXPECT_EQ(unit->GetBooked(), row.booked ? 1 : 0) << row.name;
    }
    EXPECT_EQ(CountPathDevices(*m_run), row.result == 1 ? 1 : 0) << row.name;
    EXPECT_EQ(m_run->GetQuotationStats(false).pathDevices, row.result == 1 ? 1 : 0) << row.name;
    TearDown();
  }
}

TEST_F(RunGeometryTest, PlacedUnitSitsOutOfItsOutletFace) {
  m_run->SetPartsState(2);
  CDev* unit = AddUnit(2, 12, 128, "QDTAP1");
  unit->SetFrontOffsets({0, 10, 0});
  ASSERT_EQ(PositionTapOffUnit(*unit, false), 1);
  const CBox* box = unit->GetBox(CDev::kBodySlot);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->IsListed());
  // Outlet 2 of the box lies 300 along x; depth 50 (plus 10) out of +Z, width 100 on x and
  // height 80 on y about it.
  EXPECT_EQ(box->GetWorldMin(), C3DPoint(5250, -40, 10));
  EXPECT_EQ(box->GetWorldMax(), C3DPoint(5350, 40, 60));
  EXPECT_EQ(unit->GetDirection(), m_j2->GetDirection());
  // Placed and booked once: a second adaptation books nothing more.
  m_run->AdaptDeviceReferences();
  EXPECT_EQ(m_run->GetBOM().GetLineQuantity(m_run->GetBOM().FindLine("QDTAP1")), 1);
}

TEST_F(RunGeometryTest, SideOutletsNameTheUnitsSide) {
  m_run->SetPartsState(2);
  m_outlets.codeBit = 32;
  CDev* near = AddUnit(1, 11, 32, "QJFTAPX");
  CDev* far = AddUnit(1, 21, 32, "QJFTAPX");
  m_run->AdaptDeviceReferences();
  EXPECT_EQ(near->GetReference(), "QJFTAP1");
  EXPECT_EQ(far->GetReference(), "QJFTAP2");
  // Taking the joint away deletes both and leaves no line behind.
  m_j1->SetActive(0);
  m_j2->SetActive(0);
  m_run->RebuildGeometry();
  EXPECT_FALSE(m_run->OwnsElement(near));
  EXPECT_FALSE(m_run->OwnsElement(far));
  EXPECT_LT(m_run->GetBOM().FindLine("QJFTAP1"), 0);
  EXPECT_LT(m_run->GetBOM().FindLine("QJFTAP2"), 0);
}

}  // namespace
