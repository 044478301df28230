#include "model/document/dorne_doc.h"
#include "qw_listing.h"
#include "qw_test_support.h"
#include "support/golden_file.h"

namespace {

// The sample document that the build writes opens and rebuilds without a design
// problem into the bills worked out from the range's rules.
TEST_F(RangeTest, SampleQWDocumentRebuildsToItsBills) {
  CDorneDoc document;
  const CDocFileResult opened = document.OnOpenDocument(TVR_PROGRAM_DIR "/examples/qw_sample.run");
  ASSERT_TRUE(opened.ok) << opened.text;
  std::string listing;
  for (CRun* run : document.GetRuns()) {
    EXPECT_EQ(run->RebuildParts(0), 1);
    EXPECT_EQ(run->GetPartsState(), 2) << run->GetPropText("Catalog");
    listing += QWBillListing(*run);
  }
  ExpectGolden("examples/qw_sample_bom.txt", listing);
}

}  // namespace
