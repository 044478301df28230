#pragma once

#include "model/builder/part_builder.h"
#include "model/run/run_test_support.h"

// A small range builder for the tests: each end asks for its own reference (the same
// on the second try), elbows always let the straight length be planned and the
// segment's last end takes leftovers.
class CTestPartBuilder : public CPartBuilder {
 public:
  using CPartBuilder::CPartBuilder;

  std::string GetPartReference(const CSegment& segment, int entryIndex, int alternative) override {
    (void)alternative;
    return segment[static_cast<std::size_t>(entryIndex)].element->GetReference();
  }
  std::string GetPartParameters(const CPlannedPart&) override { return {}; }
  int GetElbowReference(const CSegment&) override { return 1; }
  int SelectCandidate(const CSegment& segment, int) override {
    return static_cast<int>(segment.size()) - 1;
  }
};

// A run of the test range with end pieces "E-100" (100 mm at every join) and "E-GROW"
// (100 to 400 mm), and an "E-LONG" end of 900 mm.
class PartBuilderTestBase : public RunTestBase {
 protected:
  void SetUp() override {
    RunTestBase::SetUp();
    m_tables = MakeTestTables();
    m_tables.patterns = {{{"E-100", "100", "100", "100", "100", "100", "100"}},
                         {{"E-GROW", "100-400", "100-400", "100", "100", "100", "100"}},
                         {{"E-LONG", "900", "900", "900", "900", "900", "900"}}};
    m_run = std::make_unique<CRun>();
    m_run->SetCatalog("QDA");
    m_run->SetProp("Calibre", "63");
    m_run->AttachRangeTables(m_tables);
    m_builder = std::make_unique<CTestPartBuilder>(*m_run);
  }

  // start end, straights of the lengths along +X, then the last end.
  void BuildLine(const std::string& startRef, const std::vector<std::int32_t>& lengths,
                 const std::string& endRef) {
    CChainBuilder chain(*m_run);
    CDev* at = chain.Start(4);
    at->SetReference(startRef);
    elements = {at};
    for (const std::int32_t length : lengths)
      elements.push_back(at = chain.Add(at, 4, CDev::kInLine, length));
    elements.push_back(chain.Add(at, 4, CDev::kEnd, 0, endRef));
  }

  // Books the straights as the generic rebuild leaves them, then runs the walk and the
  // second pass.
  void Build() {
    for (CDev* device : m_run->GetDevices()) {
      if (device->GetKind() == CDev::kInLine && device->GetVariant() == 0) {
        m_run->AddLengthToBOM(device->GetCalibre(), device->GetBookedLength(),
                              device->GetVariantIndex());
      }
    }
    m_builder->CollectSegments();
    m_builder->FinishParts(1);
  }

  CRangeTables m_tables;
  std::unique_ptr<CRun> m_run;
  std::unique_ptr<CTestPartBuilder> m_builder;
  std::vector<CDev*> elements;
};
