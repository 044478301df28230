// The design check of range QP through the real program: a rebuild whose elbows can
// neither stand apart nor make a combined piece shows the check window.
#include <gtest/gtest.h>

#include "sample_end_to_end_support.h"

namespace {

// Two flat elbows 100 mm apart on a QPA 400 A run: too close for two elbows, too close
// for the combined piece (200 to 695 mm). The window shows the piece's allowed lengths.
TEST(QPCheckEndToEndTest, ElbowsTooCloseForTheCombinedPieceAreToldWhenRebuilt) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  ExpectMessageOnRebuild(
      "run QPA 40\nprop QP_STEP 0\nstart 0\ngo 4 3000\ngo 1 100\ngo 4 3000\nend 6\n",
      "239:", "qp_elbow_window_message.png");
}

}  // namespace
