// Starts the real program under a virtual X server on the QG sample document, rebuilds
// its run with the rebuild command, keeps a screenshot and saves the document; the saved
// bill is the one worked out from the range's rules.

#include "sample_end_to_end_support.h"
#include "support/golden_file.h"

#include "model/element/dev.h"
#include "model/run/run.h"

namespace {

TEST(QGSampleEndToEndTest, TheProgramOpensRebuildsAndSavesTheQGSample) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  std::string listing;
  int kits = 0;
  RebuildSampleInProgram("qg_sample", listing, [&kits](CDorneDoc& document) {
    // The riser's fixing, rebuilt into a kit, still draws the kit's two collars.
    for (const CDev* element : document.GetRuns().front()->GetDevices()) {
      if (element->GetKind() != CDev::kInLine || !element->GetFieldText("KITCF")) continue;
      ++kits;
      for (int slot = 10; slot <= 17; ++slot) EXPECT_NE(element->GetBox(slot), nullptr) << slot;
    }
  });
  EXPECT_EQ(kits, 1);
  ExpectGolden("examples/qg_sample_bom.txt", listing);
}

// A run of 92 m, rebuilt in the program, asks the user to check its expansion joints.
TEST(QGSampleEndToEndTest, ANinetyMetreRunAsksForItsExpansionJointsWhenRebuilt) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  ExpectMessageOnRebuild("run QGA 10\nstart 0\ngo 4 92000\nend 4\n",
                         "This run is 90 m long or more", "qg_long_run_message.png");
}

}  // namespace
