#pragma once

#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "model/element/box_point_source.h"
#include "model/run/run_test_support.h"

#include <map>

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
class OutletRunTest : public RunTestBase {
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
