// Starts the real program under a virtual X server on the QM sample document, rebuilds
// its run with the rebuild command, keeps a screenshot and saves the document; the saved
// bill is the one worked out from the range's rules.

#include "model/bom/bom_group.h"
#include "sample_end_to_end_support.h"
#include "support/golden_file.h"
#include "support/test_output.h"

#include <sstream>

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

// A twin run (QMA 5000 A) rebuilt in the program lists each part as the twin part and
// the parts of its two single runs, in one group of the bill.
TEST(QMSampleEndToEndTest, ATwinRunIsListedByItsSingleRuns) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  const std::string laid = TestOutputPath("qm_twin_run.run");
  ASSERT_EQ(WriteLaidDocument(laid, "run QMA 50\nstart 1\ngo 4 6000\ngo 5 2000\nend 1\n"), "");
  std::string listing;
  RebuildDocumentInProgram(laid, "qm_twin_run", listing);
  int twins = 0, firsts = 0, seconds = 0;
  std::istringstream lines(listing);
  for (std::string line; std::getline(lines, line);) {
    if (line.find(" x") == std::string::npos || line.starts_with("run")) continue;
    const std::string reference = line.substr(0, line.rfind(" x"));
    const char flag = reference.empty() ? ' ' : reference.back();
    EXPECT_EQ(reference.find("QMA5000") == std::string::npos, flag != '!') << line;
    twins += flag == '!';
    firsts += flag == 'a';
    seconds += flag == 'b';
  }
  EXPECT_GE(twins, 3) << listing;
  EXPECT_EQ(firsts, twins) << listing;
  EXPECT_EQ(seconds, twins) << listing;
}

}  // namespace
