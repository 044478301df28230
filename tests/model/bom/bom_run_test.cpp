// The bill of materials on a real run: values from the run's records, edits into them,
// and the grid's record inside the run's.

#include <functional>

#include "app/current_language.h"
#include "model/bom/bom_test_support.h"
#include "model/bom/bom_run_source.h"
#include "model/run/run_test_support.h"

namespace {

class BOMRunTest : public RunRecordTestBase {
 protected:
  void SetUp() override {
    RunRecordTestBase::SetUp();
    CCurrentLanguage::Instance().Reset();
    m_run = NewRun();
  }

  CDev* Device(CRun& run, const std::string& reference) {
    return CChainBuilder(run).Loose(CDev::kInLine, reference);
  }

  std::unique_ptr<CRun> m_run;
};

TEST_F(BOMRunTest, ValuesComeFromTheRunsRecordsByColumnKey) {
  CDev* first = Device(*m_run, "UNIT-X");
  Device(*m_run, "UNIT-X");
  first->SetPropValue("HBv2_Std_Cost", "1250");
  first->SetPropValue("HBv2_Designation", "Feed unit");
  CBOMGrid& grid = m_run->GetBOM();
  EXPECT_EQ(grid.GetSource(), m_run.get());
  m_document.version = 505;
  EXPECT_EQ(grid.GetRecordSource()->GetFileVersion(), 505);
  grid.InsertColumn(2, kBOMKindUnitPrice, "Unit");
  grid.InsertColumn(3, kBOMKindTotalPrice, "Total");
  grid.InsertColumn(4, kBOMKindDesignation, "Designation");
  const int row = grid.FindLine("UNIT-X");
  ASSERT_GE(row, 1);
  EXPECT_EQ(grid.GetLineQuantity(row), 2);
  EXPECT_EQ(grid.GetCellText(row, 3), "0.125");
  EXPECT_EQ(grid.GetCellText(row, 4), "0.25");
  EXPECT_EQ(grid.GetCellText(row, 5), "Feed unit");
  EXPECT_EQ(grid.GetLineFieldText(row, kBOMKindDesignation), "Feed unit");
}

// Asked together, the fields of a line are those asked one by one, in the order asked,
// whatever the row (title, lines with and without values, edit line) and the kinds.
TEST_F(BOMRunTest, FieldsReadTogetherAreTheFieldsReadOneByOne) {
  CDev* unit = Device(*m_run, "UNIT-X");
  unit->SetPropValue("HBv2_Std_Cost", "1250");
  unit->SetPropValue("HBv2_Designation", "Feed unit");
  unit->SetPropValue("HBv2_Weight", "3.5");
  Device(*m_run, "UNIT-Y");
  CBOMGrid& grid = m_run->GetBOM();
  grid.AddRefQuantity("LOOSE-1", 3);
  grid.InsertColumn(2, kBOMKindDesignation, "Designation");
  const std::vector<std::vector<int>> kindLists = {
      {kBOMKindTotalPrice, kBOMKindSalesPrice, kBOMKindTotalWeight, kBOMKindTotalTime},
      {kBOMKindDesignation, kBOMKindRef, kBOMKindUnitPrice, kBOMKindQuantity},
      {kBOMKindPicture, kBOMFieldGroup, kBOMKindNone, kBOMFieldItem, kBOMKindDesignation},
      {}};
  for (int row = 0; row < grid.GetRowCount(); ++row) {
    for (const std::vector<int>& kinds : kindLists) {
      std::vector<std::optional<std::string>> together(kinds.size(), "stale");
      grid.GetLineFieldTexts(row, kinds, together);
      for (std::size_t i = 0; i < kinds.size(); ++i)
        EXPECT_EQ(together[i], grid.GetLineFieldText(row, kinds[i]))
            << "row " << row << " kind " << kinds[i];
    }
  }
  EXPECT_EQ(grid.GetLineFieldText(grid.FindLine("UNIT-X"), kBOMKindDesignation), "Feed unit");
}

// A line read once keeps the record it was read from; read again after each change, it
// gives what a fresh look-up of the line's reference gives.
TEST_F(BOMRunTest, ALineReadAgainFollowsTheChangesOfItsRecords) {
  const struct {
    const char* guards;
    std::function<void(CRun&, CDev& first, CDev& earlier)> change;
  } rows[] = {
      {"a value of the record changed",
       [](CRun&, CDev& first, CDev&) { first.SetPropValue("HBv2_Designation", "Changed"); }},
      {"the record deleted: the next one shows",
       [](CRun& run, CDev& first, CDev&) { run.DeleteElement(&first); }},
      {"the record renamed away", [](CRun&, CDev& first, CDev&) { first.SetReference("OTHER"); }},
      {"an earlier element renamed to the line's reference",
       [](CRun&, CDev&, CDev& earlier) { earlier.SetReference("UNIT-X"); }},
      {"the line renamed, no element changed",
       [](CRun& run, CDev&, CDev&) { run.GetBOM().RenameLine("UNIT-X", "UNIT-Z"); }},
  };
  const std::vector<int> kinds = {kBOMKindDesignation, kBOMKindTotalPrice};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    std::unique_ptr<CRun> run = NewRun();
    CDev* earlier = Device(*run, "UNIT-Y");
    earlier->SetPropValue("HBv2_Designation", "Earlier");
    CDev* first = Device(*run, "UNIT-X");
    first->SetPropValue("HBv2_Designation", "First");
    first->SetPropValue("HBv2_Std_Cost", "1000");
    Device(*run, "UNIT-X")->SetPropValue("HBv2_Designation", "Second");
    CBOMGrid& grid = run->GetBOM();
    std::vector<std::optional<std::string>> texts(kinds.size());
    grid.GetLineFieldTexts(grid.FindLine("UNIT-X"), kinds, texts);
    ASSERT_EQ(texts[0], "First");
    row.change(*run, *first, *earlier);
    for (int line = 1; line < grid.GetLineCount(); ++line) {
      grid.GetLineFieldTexts(line, kinds, texts);
      for (std::size_t i = 0; i < kinds.size(); ++i)
        EXPECT_EQ(texts[i], grid.GetLineFieldText(line, kinds[i])) << "row " << line;
    }
  }
}

TEST_F(BOMRunTest, ALineTypedByHandBecomesAManualRecord) {
  CFakeBOMPrompter prompter;
  CBOMGrid& grid = m_run->GetBOM();
  grid.SetPrompter(&prompter);
  grid.InsertColumn(2, kBOMKindQuantity, "Qty");
  const auto type = [&grid](int row, int column, const char* text) {
    ASSERT_TRUE(grid.CanEditCell(row, column));
    grid.SetCellText(row, column, text, 0, false);
    grid.OnCellEdited(row, column, true);
  };
  const int edit = grid.GetRowCount() - 1;
  type(edit, 3, "5");
  type(edit, 2, "MAN-7");
  ASSERT_EQ(m_run->GetDevices().size(), 1u);
  const CDev* manual = m_run->GetDevices().back();
  EXPECT_EQ(manual->GetKind(), CDev::kAccessory);
  EXPECT_EQ(manual->GetStyle2(), 5u);
  EXPECT_EQ(LineQuantity(*m_run, "MAN-7"), 5);
  EXPECT_GT(m_document.modified, 0);
  // Elements count: a quantity below their number is raised back on OK.
  Device(*m_run, "UNIT-Y");
  Device(*m_run, "UNIT-Y");
  const int row = grid.FindLine("UNIT-Y");
  type(row, 3, "1");
  ASSERT_EQ(prompter.questions.size(), 1u);
  EXPECT_EQ(grid.GetLineQuantity(row), 2);
}

TEST_F(BOMRunTest, RemovingAnElementRemovesItsLine) {
  CDev* device = Device(*m_run, "UNIT-Z");
  EXPECT_EQ(LineQuantity(*m_run, "UNIT-Z"), 1);
  m_run->RemoveDevice(device);
  EXPECT_EQ(LineQuantity(*m_run, "UNIT-Z"), -1);
  EXPECT_EQ(m_run->GetBOM().GetRowCount(), 2);
}

TEST_F(BOMRunTest, TheRunRecordKeepsTheGridsLayoutAndLineOrder) {
  CBOMGrid& grid = m_run->GetBOM();
  // Lines added by hand: the run keeps them as manual records in its record.
  for (const char* reference : {"UNIT-C", "UNIT-A", "UNIT-B"}) grid.AddRefQuantity(reference, 2);
  grid.InsertColumn(2, kBOMKindComment, BOMDefaultTitle(kBOMKindComment));
  ASSERT_TRUE(grid.MoveLine(3, 1));  // UNIT-B first
  grid.PutRowHeight(1, 44);
  auto copy = Read(Write(*m_run));
  const CBOMGrid& loaded = copy->GetBOM();
  EXPECT_EQ(loaded.GetColumnCount(), 4);
  EXPECT_EQ(loaded.GetColumn(3)->kind, kBOMKindComment);
  ASSERT_EQ(loaded.GetRowCount(), 5);
  EXPECT_EQ(loaded.GetLine(1)->reference, "UNIT-B");
  EXPECT_EQ(loaded.GetRowHeight(1), 44);
  EXPECT_EQ(loaded.GetLine(2)->reference, "UNIT-C");
  EXPECT_EQ(loaded.GetLine(3)->reference, "UNIT-A");
  EXPECT_EQ(loaded.GetLineQuantity(1), 2);
  EXPECT_EQ(loaded.GetCellText(1, 1), "A.1");
}

}  // namespace
