// The totals a save writes when the bills changed since the last save: each run's line
// sums may be kept from one save to the next, and must then be what a document never
// saved before writes after the same edit.

#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/undo/undo_document_test_base.h"
#include "model/undo/undo_manager.h"

#include <functional>
#include <string>
#include <vector>

namespace {

class DorneDocSaveTotalsTest : public UndoDocumentTestBase {
 protected:
  DorneDocSaveTotalsTest() : UndoDocumentTestBase("save_totals") {}

  struct CDesign {
    std::unique_ptr<CDorneDoc> document;
    std::vector<std::vector<CDev*>> chains;  // by run
  };

  // Two runs whose every line is priced, weighed and timed from its records, so that the
  // totalled fields follow the quantities.
  CDesign MakeDesign() const {
    CDocEnvironment environment;
    environment.settingsFolder = m_folder.Folder();  // for the undo steps
    CDesign design{NewDocument(environment), {}};
    for (int n = 0; n < 2; ++n) {
      CRun& run = AddRun(*design.document, "QD");
      design.chains.push_back(BuildChain(run));
      const CBOMGrid& bom = run.GetBOM();
      for (int row = 1; row < bom.GetLineCount(); ++row) {
        const std::string reference = bom.GetLine(row)->reference;
        const int value = 1000 * (n + 1) + 10 * row;
        run.SetDevicePropByRef(reference, "HBv2_Std_Cost", std::to_string(value));
        run.SetDevicePropByRef(reference, "HBv2_Weight", std::to_string(value + 1));
        run.SetDevicePropByRef(reference, "HBv2_Std_Labor", std::to_string(value + 2));
      }
    }
    return design;
  }

  static CRun& Run(const CDesign& design, int n) { return *design.document->GetRunAt(n); }
  // BuildChain makes the accessory and then the tap-off unit last.
  static CDev* Accessory(const CDesign& design, int n) {
    const std::vector<CDev*>& chain = design.chains[static_cast<std::size_t>(n)];
    return chain[chain.size() - 2];
  }
  static CDev* TapOffUnit(const CDesign& design, int n) {
    return design.chains[static_cast<std::size_t>(n)].back();
  }

  static std::string LineReference(const CDesign& design, int n, int row) {
    return Run(design, n).GetBOM().GetLine(row)->reference;
  }
};

TEST_F(DorneDocSaveTotalsTest, ASaveAfterAnEditWritesWhatAFirstSaveWrites) {
  using CEdit = std::function<void(CDesign&)>;
  const struct {
    const char* edit;
    CEdit apply;
    bool totalsMove;  // the edit changes the document's totals
  } rows[] = {
      {"a line's quantity raised",
       [](CDesign& d) { Run(d, 0).GetBOM().AddRefQuantity("ACC-1", 3); }, true},
      {"a record's price changed",
       [](CDesign& d) { Run(d, 1).SetDevicePropByRef("ACC-1", "HBv2_Std_Cost", "777700"); }, true},
      {"a record's price changed on the element itself",
       [](CDesign& d) { Accessory(d, 0)->SetPropValue("HBv2_Weight", "123456"); }, true},
      {"a record's reference renamed, leaving its line without a record",
       [](CDesign& d) { Accessory(d, 1)->SetReference("ACC-RENAMED"); }, true},
      {"a line added with a priced record",
       [](CDesign& d) {
         Run(d, 0).GetBOM().AddRefQuantity("ACC-NEW", 2);
         Run(d, 0).SetDevicePropByRef("ACC-NEW", "HBv2_Std_Cost", "55500");
       },
       true},
      {"a line removed",
       [](CDesign& d) {
         CBOMGrid& bom = Run(d, 1).GetBOM();
         bom.RemoveRefQuantity("ACC-1", bom.GetLineQuantity(bom.FindLine("ACC-1")));
       },
       true},
      {"a tap-off unit deleted", [](CDesign& d) { Run(d, 0).DeleteElement(TapOffUnit(d, 0)); },
       true},
      {"a line moved, the lines summed in their new order",
       [](CDesign& d) {
         CBOMGrid& bom = Run(d, 0).GetBOM();
         bom.MoveLine(1, bom.GetLineCount() - 1);
       },
       false},
      {"the first run removed, the second taking its place",
       [](CDesign& d) { d.document->RemoveRun(&Run(d, 0)); }, true},
      {"the sales coefficient changed", [](CDesign& d) { d.document->SetSalesCoefficient(1.5f); },
       true},
      {"a price change undone",
       [](CDesign& d) {
         ASSERT_EQ(d.document->GetUndo().SaveUndoState(17520), 1);
         Run(d, 0).SetDevicePropByRef(LineReference(d, 0, 2), "HBv2_Std_Cost", "999900");
         Save(*d.document);
         ASSERT_EQ(d.document->GetUndo().Undo(), 1);
         Run(d, 0).SetDevicePropByRef(LineReference(d, 0, 3), "HBv2_Std_Cost", "888800");
       },
       true},
  };
  for (const auto& row : rows) {
    CDesign saved = MakeDesign();
    Save(*saved.document);
    const CDorneDoc::CTotals before = *saved.document->GetTotals(0);
    row.apply(saved);
    const std::vector<std::uint8_t> again = Save(*saved.document);

    CDesign fresh = MakeDesign();
    row.apply(fresh);
    EXPECT_EQ(again, Save(*fresh.document)) << row.edit;
    if (row.totalsMove) {
      EXPECT_NE(*saved.document->GetTotals(0), before) << row.edit;
    }
  }
}

TEST_F(DorneDocSaveTotalsTest, AnUnchangedDesignSavesTheSameBytesAgain) {
  CDesign design = MakeDesign();
  const std::vector<std::uint8_t> first = Save(*design.document);
  EXPECT_EQ(Save(*design.document), first);
  // The totals a view worked out in between stand for the save as well.
  design.document->ComputeRunTotals(false);
  EXPECT_EQ(Save(*design.document), first);
}

}  // namespace
