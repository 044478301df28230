#include "qjf_test_support.h"
#include "support/golden_file.h"

namespace {

// The sample document that the build writes opens, answers that it has a part builder,
// and rebuilds without a design problem into the bill worked out for it: feed units at
// both ends, straight pieces, a double elbow, single elbows, a tee with its riser and the
// cable box's accessory.
TEST_F(RangeTest, SampleQJFDocumentRebuildsToItsBill) {
  const CProgramTexts texts;
  CDorneDoc document;
  const CDocFileResult opened = document.OnOpenDocument(TVR_PROGRAM_DIR "/examples/qjf_sample.run");
  ASSERT_TRUE(opened.ok) << opened.text;
  ASSERT_EQ(document.GetRuns().size(), 1u);
  CRun& run = *document.GetRuns().front();
  ASSERT_NE(dynamic_cast<CRunQJF*>(&run), nullptr);
  EXPECT_NE(run.CreatePartBuilder(), nullptr);
  // The start's feed unit is drawn with its box and its four outlets.
  const CDev* start = run.GetFirstElement();
  ASSERT_NE(start, nullptr);
  for (int slot : {7, 10, 11, 12, 13}) {
    const CBox* box = start->GetBox(slot);
    ASSERT_NE(box, nullptr) << slot;
    EXPECT_EQ(box->GetKindCode(), slot == 7 ? 0 : 1) << slot;
  }
  EXPECT_EQ(start->GetBox(14), nullptr);
  const std::string saved = BillListing(run);
  EXPECT_EQ(run.RebuildParts(0), 1);
  EXPECT_EQ(run.GetPartsState(), 2);
  const std::string listing = BillListing(run);
  // The document was saved rebuilt: a rebuild gives the bill it holds.
  EXPECT_EQ(listing, saved);
  ExpectGolden("examples/qjf_sample_bom.txt", "run QJF 26\n" + listing);
}

}  // namespace
