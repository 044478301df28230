#include "qp_test_support.h"
#include "support/golden_file.h"

namespace {

// The sample document that the build writes opens with a run of each of the four codes,
// each answering that it has a part builder, and rebuilds into the bill worked out for
// it: straight lines cut into the long pieces and at most one shorter one, a combined
// flat elbow pair, marked single elbows, the closed end without a part and the
// accessories that the counted ends call for.
TEST_F(RangeTest, SampleQPDocumentRebuildsToItsBill) {
  const CProgramTexts texts;
  CDorneDoc document;
  const CDocFileResult opened = document.OnOpenDocument(TVR_PROGRAM_DIR "/examples/qp_sample.run");
  ASSERT_TRUE(opened.ok) << opened.text;
  ASSERT_EQ(document.GetRuns().size(), 4u);
  std::string listing;
  const char* codes[] = {"QPA", "QPC", "Qpa", "Qpc"};
  int index = 0;
  for (CRun* run : document.GetRuns()) {
    ASSERT_NE(dynamic_cast<CRunQP*>(run), nullptr);
    EXPECT_EQ(run->GetPropText("Catalog"), codes[index++]);
    EXPECT_NE(run->CreatePartBuilder(), nullptr);
    if (run->GetPropText("Catalog") == "QPC") {
      // The feed box at the start is drawn with its front plate and its four outlets.
      const CDev* start = run->GetFirstElement();
      ASSERT_NE(start, nullptr);
      for (int slot : {7, 10, 11, 12, 13}) {
        const CBox* box = start->GetBox(slot);
        ASSERT_NE(box, nullptr) << slot;
        EXPECT_EQ(box->GetKindCode(), slot == 7 ? 0 : 1) << slot;
      }
      EXPECT_EQ(start->GetBox(16), nullptr);
    }
    const std::string saved = QPBillListing(*run);
    EXPECT_EQ(run->RebuildParts(0), 1);
    const std::string rebuilt = QPBillListing(*run);
    // The document was saved rebuilt: a rebuild gives the bill it holds.
    EXPECT_EQ(rebuilt, saved) << run->GetPropText("Catalog");
    listing += "run " + run->GetPropText("Catalog") + " " + run->GetPropText("Calibre") +
               " state " + std::to_string(run->GetPartsState()) + "\n" + rebuilt;
  }
  ExpectGolden("examples/qp_sample_bom.txt", listing);
}

}  // namespace
