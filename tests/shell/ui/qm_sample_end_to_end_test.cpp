// Starts the real program under a virtual X server on the QM sample document, rebuilds
// its run with the rebuild command, keeps a screenshot and saves the document; the saved
// bill is the one worked out from the range's rules.

#include "sample_end_to_end_support.h"
#include "support/golden_file.h"

namespace {

TEST(QMSampleEndToEndTest, TheProgramOpensRebuildsAndSavesTheQMSample) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  std::string listing;
  RebuildSampleInProgram("qm_sample", listing);
  ExpectGolden("examples/qm_sample_bom.txt", listing);
}

// A transformer connection chosen for another rating is told to the user by the rebuild.
TEST(QMSampleEndToEndTest, ATransformerOfAnotherSizeIsToldWhenRebuilt) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  ExpectMessageOnRebuild("run QMA 25\nstart 20\nstyle 2000000\nfield QWA 1\ngo 4 3000\nend 1\n",
                         "The transformer chosen does not suit a run of 2500 A",
                         "qm_transformer_message.png");
}

}  // namespace
