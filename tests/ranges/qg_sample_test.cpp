#include "qg_builder_support.h"
#include "support/golden_file.h"

namespace {

// The sample document that the build writes opens with its QGA run, which has a part
// builder and rebuilds into the bill worked out for it: the end feed unit, 3 m and
// made-to-measure straights on the joints, the tee, a double elbow booked on its second
// elbow, the single flat and edgewise elbows, the end covers and the run's joint
// accessories, every reference in its ordering form with the neutral's label.
TEST_F(RangeTest, SampleQGDocumentRebuildsToItsBill) {
  const CProgramTexts texts;
  CDorneDoc document;
  const CDocFileResult opened = document.OnOpenDocument(TVR_PROGRAM_DIR "/examples/qg_sample.run");
  ASSERT_TRUE(opened.ok) << opened.text;
  ASSERT_EQ(document.GetRuns().size(), 1u);
  CRun* run = document.GetRuns().front();
  ASSERT_NE(dynamic_cast<CRunQG*>(run), nullptr);
  EXPECT_NE(run->CreatePartBuilder(), nullptr);
  EXPECT_EQ(run->RebuildParts(0), 1);
  const std::string listing = QGSampleListing(*run);
  ExpectGolden("examples/qg_sample_bom.txt", listing);
  // Rebuilt again, the run gives the same bill.
  const std::string bill = QGBillListing(*run);
  EXPECT_EQ(run->RebuildParts(0), 1);
  EXPECT_EQ(QGBillListing(*run), bill);
}

}  // namespace
