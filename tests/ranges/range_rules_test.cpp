#include "model/bom_test_support.h"
#include "model/run_test_support.h"
#include "ranges/range_registry.h"

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
