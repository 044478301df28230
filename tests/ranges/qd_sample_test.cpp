#include "model/bom_column_kind.h"
#include "model/bom_grid.h"
#include "model/dorne_doc.h"
#include "model/run.h"
#include "range_test_support.h"
#include "support/golden_file.h"

namespace {

// The sample document that the build writes opens and rebuilds; its bills of materials
// hold the references, quantities and weights of the sample catalogue.
TEST_F(RangeTest, SampleQDDocumentRebuildsToItsBills) {
  CDorneDoc document;
  const CDocFileResult opened = document.OnOpenDocument(TVR_PROGRAM_DIR "/examples/qd_sample.run");
  ASSERT_TRUE(opened.ok) << opened.text;
  std::string listing;
  for (CRun* run : document.GetRuns()) {
    run->RebuildParts(0);
    listing += "run " + run->GetPropText("Catalog") + " " + run->GetPropText("Calibre") + "\n";
    const CBOMGrid& bom = run->GetBOM();
    for (int row = 1; row < bom.GetLineCount(); ++row) {
      listing += "  " + bom.GetLine(row)->reference + " x" +
                 std::to_string(bom.GetLineQuantity(row)) + " " +
                 bom.GetLineFieldText(row, kBOMKindTotalWeight).value_or("-") + "\n";
    }
  }
  ExpectGolden("examples/qd_sample_bom.txt", listing);
}

}  // namespace
