// Booking a builder's parts with the records brought to their lines' quantities once per
// reference leaves the run exactly as bringing them at every booking does.

#include "model/bom/ref_quantity_batch.h"

#include "model/builder/part_builder_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Ends, straights, an in-line unit and an elbow, with fixed pieces of 3,000 and 2,000 mm
// and range pieces of 500 to 2,900 mm.
CRangeTables& BatchRangeTables() {
  static CRangeTables tables = [] {
    CRangeTables t;
    t.codes = {{{"0", "0", "END-0", ""}},  {{"7", "0", "STR-0", ""}},
               {{"7", "1", "UNIT-1", ""}}, {{"2", "0", "ELB-0", ""}},
               {{"64", "0", "JNT-0", ""}}, {{"80", "0", "????????????ACC1??????", ""}}};
    t.patterns = {{{"END-0", "100", "100", "100", "100", "100", "100"}},
                  {{"UNIT-1", "150", "150", "150", "150", "150", "150"}}};
    return t;
  }();
  return tables;
}

class CPiecesBuilder : public CTestPartBuilder {
 public:
  CPiecesBuilder(CRun& run, bool oneByOne) : CTestPartBuilder(run), m_oneByOne(oneByOne) {
    AddPartDef("???????3000", "3000", "", "0");
    AddPartDef("???????2000", "2000", "", "0");
    AddPartDef("???????RNGE", "500-2900", "", "0");
  }
  // The bookings one by one, each bringing the records to its line at once.
  void FlushPartsToBOM() override {
    if (!m_oneByOne) return CPartBuilder::FlushPartsToBOM();
    std::vector<CPlannedPart>& parts = GetPlannedParts();
    for (std::size_t i = parts.size(); i-- > 0;) ApplyCut(parts[i]);
  }

 private:
  bool m_oneByOne;
};

class CPiecesRun : public CRun {
 public:
  explicit CPiecesRun(bool oneByOne) : m_oneByOne(oneByOne) {}
  std::unique_ptr<CPartBuilder> CreatePartBuilder() override {
    return std::make_unique<CPiecesBuilder>(*this, m_oneByOne);
  }
  int RebuildParts(int level) override {
    CRun::RebuildParts(-1);
    SetPartBuilder(CreatePartBuilder());
    return CRun::RebuildParts(level);
  }

 private:
  bool m_oneByOne;
};

struct BatchCase {
  const char* name;
  int elements;
  std::int64_t manualUnits;  // typed on the unit's line before the rebuild
  std::int64_t manualAccessories;
};

const BatchCase kCases[] = {
    {"ShortRun", 12, 0, 0},
    {"RunWithElbows", 130, 0, 0},
    {"UnitsTypedAbove", 60, 3, 0},
    {"AccessoryTyped", 60, 0, 2},
};

class RefQuantityBatchTest : public RunTestBase, public ::testing::WithParamInterface<BatchCase> {
 protected:
  // The case's run, rebuilt: its stored bytes and its bill's lines.
  static std::vector<std::uint8_t> Rebuilt(const BatchCase& c, bool oneByOne,
                                           std::vector<std::string>& lines) {
    CPiecesRun run(oneByOne);
    run.SetCatalog("QDA");
    run.AttachRangeTables(BatchRangeTables());
    CChainBuilder chain(run);
    CDev* at = chain.Start(4);
    int face = 4;
    for (int i = 1; i < c.elements - 1; ++i) {
      if (i % 50 == 0) {
        at = chain.Add(at, face, CDev::kElbow, 400);
        face = face == 4 ? 5 : 4;
      } else if (i % 10 == 0) {
        at = chain.Add(at, face, CDev::kInLine, 300, "UNIT-1");
        at->SetStyle(1);
        at->SetStyle2(1);
      } else {
        at = chain.Add(at, face, CDev::kInLine, 1700);
      }
    }
    chain.Add(at, face, CDev::kEnd, 0);
    run.RebuildParts(0);
    if (c.manualUnits > 0) run.GetBOM().AddRefQuantity("UNIT-1", c.manualUnits);
    if (c.manualAccessories > 0) run.GetBOM().AddRefQuantity("ACC-9", c.manualAccessories);
    run.RebuildParts(0);
    const CBOMGrid& bom = run.GetBOM();
    for (int row = 1; row < bom.GetRowCount() - 1; ++row)
      lines.push_back(bom.GetLine(row)->reference + " x" +
                      std::to_string(bom.GetLineQuantity(row)));
    return WrittenBytes(run);
  }
};

TEST_P(RefQuantityBatchTest, RebuildLeavesTheRunAsBookingOneByOne) {
  std::vector<std::string> batchedLines, oneByOneLines;
  const auto batched = Rebuilt(GetParam(), false, batchedLines);
  const auto oneByOne = Rebuilt(GetParam(), true, oneByOneLines);
  EXPECT_EQ(batchedLines, oneByOneLines);
  EXPECT_GT(batchedLines.size(), 1u);
  EXPECT_EQ(batched, oneByOne);
}

INSTANTIATE_TEST_SUITE_P(Runs, RefQuantityBatchTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Bookings told to the run inside a batch and without one: "+R n" types a quantity of n
// on R's line, "R>S" books an end of reference R as S instead (as a builder books a
// piece: its line and its record change together).
struct TellCase {
  const char* name;
  std::vector<std::string> steps;
};

const TellCase kTellCases[] = {
    {"TypedQuantityMakesARecord", {"+ACC-1 3"}},
    {"EndBookedTwice", {"END-0>E-1", "E-1>E-2"}},
    {"EndBookedOntoATypedLine", {"+E-1 2", "END-0>E-1"}},
    {"EndBookedAwayFromATypedLine", {"+END-0 2", "END-0>E-1", "+ACC-1 1"}},
    {"BothEndsBookedAndBack", {"END-0>E-1", "END-0>E-1", "E-1>END-0"}},
};

class RefQuantityTellTest : public RunTestBase, public ::testing::WithParamInterface<TellCase> {
 protected:
  static void Step(CRun& run, const std::string& step) {
    CBOMGrid& bom = run.GetBOM();
    if (step[0] == '+') {
      const auto space = step.find(' ');
      bom.AddRefQuantity(step.substr(1, space - 1), std::stoll(step.substr(space + 1)));
      return;
    }
    const auto arrow = step.find('>');
    const std::string from = step.substr(0, arrow), to = step.substr(arrow + 1);
    for (CDev* element : run.GetDevices()) {
      if (element->GetKind() != CDev::kEnd || element->GetReference() != from) continue;
      bom.RemoveRefQuantity(from, 1);
      element->SetReference(to);
      element->SetBooked(1);
      bom.AddRefQuantity(to, 1);
      return;
    }
  }
  static std::vector<std::uint8_t> Changed(const TellCase& c, bool batched) {
    CRun run;
    run.SetCatalog("QDA");
    run.AttachRangeTables(BatchRangeTables());
    CChainBuilder chain(run);
    chain.Add(chain.Start(4), 4, CDev::kEnd, 0);
    {
      std::unique_ptr<CRefQuantityBatch> batch;
      if (batched) batch = std::make_unique<CRefQuantityBatch>(run);
      for (const std::string& step : c.steps) Step(run, step);
    }
    return WrittenBytes(run);
  }
};

TEST_P(RefQuantityTellTest, RecordsEndAsToldAtEveryChange) {
  EXPECT_EQ(Changed(GetParam(), true), Changed(GetParam(), false));
}

INSTANTIATE_TEST_SUITE_P(Changes, RefQuantityTellTest, ::testing::ValuesIn(kTellCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
