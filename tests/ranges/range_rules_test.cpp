#include "model/bom/bom_test_support.h"
#include "model/run/run_test_support.h"
#include "model/document/dorne_doc.h"
#include "model/run/run_factory.h"
#include "model/run/run_range_rules.h"
#include "ranges/range_registry.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Each range answers for its own runs once registered.
class RangeRulesTest : public RunTestBase {
 protected:
  void SetUp() override {
    RunTestBase::SetUp();
    RegisterRangeRuns();
  }

  // The element as a run of the code reads it back from its record.
  static CDev* ReadBack(CRun& run, const CDev& element) {
    CArchiveWriter writer;
    element.Serialize(writer);
    CDev* loaded = run.NewElement();
    CArchiveReader reader(writer.TakeBytes());
    loaded->Serialize(reader);
    EXPECT_TRUE(reader.AtEnd());
    return loaded;
  }
};

TEST_F(RangeRulesTest, LegacyRecordsAreUpgradedByTheReadingRunsRange) {
  const struct {
    const char* catalog;
    int kind, variant, expected;
  } cases[] = {
      {"QMA", CDev::kInLineVariant, 1, 5}, {"QDA", CDev::kInLineVariant, 1, 1},
      {"QPA", CDev::kEnd, 4, 7},           {"QWC", CDev::kEnd, 5, 7},
      {"QPC", CDev::kEnd, 4, 4},           {"QMA", CDev::kInLineVariant, 6, 0},
      {"QXA", CDev::kInLineVariant, 1, 1},  // a code of no range: nothing changes
  };
  for (const auto& c : cases) {
    CDev element;
    element.SetKind(c.kind);
    element.SetStyle(static_cast<std::uint32_t>(c.variant));
    element.SetStyle2(0x300);
    element.SetPropValue("ELBOW_LENG", "300");
    CRun run;
    run.SetCatalog(c.catalog);
    EXPECT_EQ(ReadBack(run, element)->GetVariant(), c.expected) << c.catalog << " kind " << c.kind;
  }
  CDev elbow;
  elbow.SetKind(CDev::kElbow);
  elbow.SetPropValue("ELBOW_LENG", "300");
  CRun qmc;
  qmc.SetCatalog("QMC");
  EXPECT_FALSE(ReadBack(qmc, elbow)->HasProp("ELBOW_LENG"));
  CRun qgc;
  qgc.SetCatalog("QGC");
  EXPECT_TRUE(ReadBack(qgc, elbow)->HasProp("ELBOW_LENG"));
}

// A file of runs of several ranges: each run's elements are upgraded by that run's own
// range and catalogue, as that range's rules upgrade each element alone.
TEST_F(RangeRulesTest, EachRunOfAFileUpgradesItsOwnLegacyRecords) {
  const std::vector<std::string> codes = {"QPA", "QPC", "QWC", "QMA", "QPA", "QDA", "QMC", "QWC"};
  CDorneDoc document;
  for (const std::string& code : codes) {
    auto made = CRunFactory::Instance().CreateForCatalog(code, &document);
    CRun& run = *made;
    document.AddRun(std::move(made));
    run.SetCatalog(code);
    CChainBuilder chain(run);
    CDev* last = chain.Start(4);
    last->SetStyle(code == "QWC" ? 5u : 4u);
    last = chain.Add(last, 4, CDev::kInLineVariant, 500);
    last->SetStyle(1);
    last = chain.Add(last, 4, CDev::kElbow, 0);
    last->SetPropValue("ELBOW_LENG", "300");
    chain.Add(last, 4, CDev::kStraight, 800);
  }
  // "kind variant ELBOW_LENG" of every device of a run, sorted: a run read back lists its
  // devices in another order.
  auto describe = [](const CDev& element) {
    return std::to_string(element.GetKind()) + " " + std::to_string(element.GetVariant()) + " " +
           element.GetPropValue("ELBOW_LENG");
  };
  std::vector<std::vector<std::string>> expected;
  int upgraded = 0;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const CRun* run = document.GetRuns()[i];
    const CRunRangeRules& rules = CRunFactory::Instance().RulesForCode(codes[i]);
    std::vector<std::string>& listed = expected.emplace_back();
    for (const CDev* device : run->GetDevices()) {
      CDev copy;
      copy.SetKind(device->GetKind());
      copy.SetStyle(device->GetStyle());
      copy.SetPropValue("ELBOW_LENG", device->GetPropValue("ELBOW_LENG"));
      rules.UpgradeLegacyElement(copy, codes[i]);
      listed.push_back(describe(copy));
      upgraded += listed.back() != describe(*device) ? 1 : 0;
    }
    std::sort(listed.begin(), listed.end());
  }
  ASSERT_GT(upgraded, 4);
  CArchiveWriter writer;
  document.Serialize(writer);
  CDorneDoc opened;
  CArchiveReader reader(writer.TakeBytes());
  opened.Serialize(reader);
  ASSERT_EQ(opened.GetRunCount(), static_cast<int>(codes.size()));
  for (std::size_t i = 0; i < codes.size(); ++i) {
    std::vector<std::string> read;
    for (const CDev* device : opened.GetRuns()[i]->GetDevices()) read.push_back(describe(*device));
    std::sort(read.begin(), read.end());
    EXPECT_EQ(read, expected[i]) << "run " << i << " of " << codes[i];
  }
}

TEST_F(RangeRulesTest, OnlyQmaEndCabinetsHaveAFarConnectionPoint) {
  const struct {
    const char* catalog;
    int kind, variant;
    bool far;
  } cases[] = {{"QMA", CDev::kEnd, 9, true},
               {"QMC", CDev::kEnd, 9, false},
               {"QMA", CDev::kEnd, 8, false},
               {"QMA", CDev::kStraight, 9, false},
               {"QGA", CDev::kEnd, 9, false}};
  for (const auto& c : cases) {
    CRun run;
    run.SetCatalog(c.catalog);
    CDev* element = run.NewElement();
    element->SetKind(c.kind);
    element->SetStyle(static_cast<std::uint32_t>(c.variant));
    EXPECT_EQ(element->HasFarConnectionPoint(), c.far)
        << c.catalog << " " << c.kind << " " << c.variant;
  }
}

// The variants a range refuses at a rating and neutral: its characteristics page leaves
// them out and a new element never takes them.
TEST_F(RangeRulesTest, QmVariantsFollowTheirRatings) {
  const struct {
    const char* catalog;
    int rating, neutral, kind, variant;
    bool refused;
  } cases[] = {
      {"QMA", 40, 0, CDev::kInLineVariant, 11, true},
      {"QMA", 25, 6, CDev::kInLineVariant, 11, false},
      {"QMA", 25, 9, CDev::kInLineVariant, 12, true},
      {"QMA", 40, 0, CDev::kEnd, 9, true},
      {"QMA", 40, 0, CDev::kEnd, 7, false},
      {"QMA", 40, 0, CDev::kInLineVariant, 16, true},
      {"QMA", 50, 0, CDev::kInLineVariant, 16, false},
      {"QMC", 50, 0, CDev::kInLineVariant, 16, true},
      {"QMC", 63, 0, CDev::kInLineVariant, 16, false},
      {"QMC", 40, 0, CDev::kInLineVariant, 11, false},
      {"QMA", 40, 0, CDev::kInLine, 16, false},
      {"QDA", 40, 0, CDev::kInLineVariant, 16, false},
  };
  for (const auto& c : cases) {
    const CRunRangeRules& rules = CRunFactory::Instance().RulesForCode(c.catalog);
    EXPECT_EQ(rules.RefusesVariant(c.catalog, c.rating, c.neutral, c.kind, c.variant), c.refused)
        << c.catalog << " " << c.rating << " " << c.kind << "/" << c.variant;
  }
}

class RangeBOMTest : public BOMTestBase {
 protected:
  void SetUp() override {
    BOMTestBase::SetUp();
    RegisterRangeRuns();
    grid.SetSource(&source);
  }
  void TearDown() override {
    CRunFactory::Instance().Reset();
    BOMTestBase::TearDown();
  }
  CFakeBOMSource source;
  CBOMGrid grid;
};

TEST_F(RangeBOMTest, AccessoryLinesOfQpStandUnderTheirUnit) {
  const std::string kIndent(10, ' ');
  grid.InsertColumn(2, kBOMKindDesignation, "Designation");
  const struct {
    std::string reference, designation, shownReference, shownDesignation;
  } cases[] = {
      {"QP12AM", "Kit", kIndent + "QP12AM", kIndent + "Kit\n" + kIndent + "MSG_30217"},
      {"QP12FM \nGroup=2", "", kIndent + "QP12FM", kIndent + "MSG_30217"},
      {"QP12AM \nGroup=2b", "Kit", kIndent + kIndent + "QP12AM",
       kIndent + kIndent + "Kit\n" + kIndent + "MSG_30217"},
      {"QP12AMX", "Kit", "QP12AMX", "Kit"},
      {"QM12AM", "Kit", "QM12AM", "Kit"},
      {"XP12AM", "Kit", "XP12AM", "Kit"},
  };
  for (const auto& c : cases) {
    if (!c.designation.empty()) source.Put(c.reference, "Designation", c.designation);
    grid.AddRefQuantity(c.reference, 1);
    const int row = grid.FindLine(c.reference);
    EXPECT_EQ(grid.GetCellText(row, 2), c.shownReference) << c.reference;
    EXPECT_EQ(grid.GetCellText(row, 3), c.shownDesignation) << c.reference;
  }
}

TEST_F(RangeBOMTest, WeightColumnFollowsRangeAndSetting) {
  const struct {
    const char* catalog;
    int support;
    bool wanted;
  } cases[] = {
      {"QMA", 2, true}, {"QGC", 3, true}, {"QMA", 1, false}, {"QJF", 2, false}, {"", 2, false}};
  for (const auto& c : cases) {
    CFakeBOMSource run;
    run.catalog = c.catalog;
    run.support = c.support;
    CBOMGrid page;
    page.SetSource(&run);
    page.UpdateWeightColumn();
    page.UpdateWeightColumn();  // never twice
    const bool shown = page.GetColumnCount() == 4 && page.GetColumn(3)->kind == kBOMKindUnitWeight;
    EXPECT_EQ(shown, c.wanted) << c.catalog << " " << c.support;
    EXPECT_EQ(page.GetColumnCount(), c.wanted ? 4 : 3);
    if (!shown) continue;
    run.support = 1;
    page.UpdateWeightColumn();
    EXPECT_EQ(page.GetColumnCount(), 3);
    EXPECT_EQ(run.modified, 0);
  }
}

}  // namespace
