#include "qg_listing.h"
#include "qm_test_support.h"
#include "support/golden_file.h"

namespace {

// The sample document that the build writes opens with its QMA run, which rebuilds into
// the bill worked out for it: the transformer connection with its accessory and its two
// packs of bars, straights cut into the split table's pieces, the elbows, the riser's
// kit, the feed box with its tap-off fittings in two packs, the thermal accessories of
// the joints and the support texts of the pieces and feed boxes.
TEST_F(RangeTest, SampleQMDocumentRebuildsToItsBill) {
  const CProgramTexts texts;
  CDorneDoc document;
  const CDocFileResult opened = document.OnOpenDocument(TVR_PROGRAM_DIR "/examples/qm_sample.run");
  ASSERT_TRUE(opened.ok) << opened.text;
  ASSERT_EQ(document.GetRuns().size(), 1u);
  CRun* run = document.GetRuns().front();
  ASSERT_NE(dynamic_cast<CRunQM*>(run), nullptr);
  EXPECT_EQ(run->RebuildParts(0), 1);
  ExpectGolden("examples/qm_sample_bom.txt", QGSampleListing(*run));
  // Rebuilt again, the run gives the same bill.
  const std::string bill = QGBillListing(*run);
  EXPECT_EQ(run->RebuildParts(0), 1);
  EXPECT_EQ(QGBillListing(*run), bill);
}

}  // namespace
