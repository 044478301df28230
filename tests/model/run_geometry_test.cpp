#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "model/box_point_source.h"
#include "model/tap_off_position.h"
#include "run_test_support.h"

#include <map>

namespace {

// The outlets of every joint box: `count` points along x from the box's origin, the word
// of their range code, and a placement code (faces a, b, c).
class COutletSource : public CBoxPointSource {
 public:
  C3DPoint ConnectionCode(const CBox& box, int point, int) override {
    if (point >= 10) return C3DPoint(count, codeBit * 256 + (point >= 20 ? 1 : 0), placement);
    return box.GetOrigin() + C3DPoint(100.0 * (point + 1), 0, 0);
  }
  C3DPoint SupportPoint(const CBox&, int, int) override { return {}; }
  int count = 3;
  int codeBit = 128;
  int placement = (2 * 16 + 4) * 16 + 5;  // a = 5 (+Z), b = 4, c = 2
};

class CProjectedDocument : public CFakeRunDocument {
 public:
  C3DProjection* GetProjection() const override { return &projection; }
  mutable C3DProjection projection;
};

// start -> J1 (1000) -> U (in-line, 300) -> J2 (2000) -> S (straight end, 500), each
// length booked under variant index 0.
class RunGeometryTest : public RunTestBase {
 protected:
  void SetUp() override {
    RunTestBase::SetUp();
    CRunEnvironment::Instance().SetBoxPoints(&m_outlets);
    m_tables = MakeTestTables();
    m_run = std::make_unique<CRun>(&m_document);
    m_run->AttachRangeTables(m_tables);
    CChainBuilder chain(*m_run);
    m_start = chain.Start(4);
    m_j1 = chain.Add(m_start, 4, CDev::kJoint, 1000);
    m_unit = chain.Add(m_j1, 4, CDev::kInLine, 300);
    m_j2 = chain.Add(m_unit, 4, CDev::kJoint, 2000);
    m_end = chain.Add(m_j2, 4, CDev::kStraight, 500);
    for (CDev* element : {m_j1, m_unit, m_j2, m_end})
      m_run->AddLengthToBOM("", element->GetBookedLength(), 0);
    // The outlet boxes of the joints face back toward the start.
    m_j1->MakeBox(0)->SetOrigin(C3DPoint(1000, 0, 0));
    m_j2->MakeBox(0)->SetOrigin(C3DPoint(5000, 0, 0));
  }
  void TearDown() override {
    m_run.reset();
    CRunEnvironment::Instance().SetBoxPoints(nullptr);
    RunTestBase::TearDown();
  }
  // Booked length per variant index, from the length records.
  std::map<int, std::int32_t> Records() const {
    std::map<int, std::int32_t> totals;
    for (CDev* record : m_run->GetLengthRecords())
      totals[record->GetVariantIndex()] = record->GetBookedLength();
    return totals;
  }
  // A unit on the n-th joint of index 0 from the start, at outlet point `point`.
  CDev* AddUnit(int jointCount, int point, std::uint32_t mask, std::string reference) {
    // Not booked until it stands at its outlet.
    CDev* unit = m_run->NewElement();
    unit->SetKind(CDev::kTapOff);
    unit->SetActive(1);
    unit->SetBooked(0);
    unit->SetReference(std::move(reference));
    unit->SetAttached(m_start);
    m_run->AddDevice(unit);
    unit->SetStyle(static_cast<std::uint32_t>(point) | (4u << 12) |
                   (static_cast<std::uint32_t>(jointCount) << 16));
    unit->SetBookedLength(static_cast<std::int32_t>(mask));
    unit->SetBackOffsets({100, 50, 80});
    return unit;
  }

  COutletSource m_outlets;
  CProjectedDocument m_document;
  CRangeTables m_tables;
  std::unique_ptr<CRun> m_run;
  CDev *m_start = nullptr, *m_j1 = nullptr, *m_unit = nullptr, *m_j2 = nullptr, *m_end = nullptr;
};

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
