// A run rebuilt alone leaves the layout's scene as a whole rebuild of it would: the sample
// documents of every range, each run rebuilt in turn.

#include "range_test_support.h"

#include "geometry/box.h"
#include "geometry/display_list.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RunSceneRebuildTest : public RangeTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(RunSceneRebuildTest, EachRunRebuiltAloneLeavesTheSceneOfAWholeRebuild) {
  CDorneDoc document;
  const CDocFileResult opened =
      document.OnOpenDocument(std::string(TVR_PROGRAM_DIR "/examples/") + GetParam());
  ASSERT_TRUE(opened.ok) << opened.text;
  document.SetViewAngles(30, 45, 10);
  document.RebuildScene();
  const CDisplayList& list = document.Projection().GetDisplayList();
  for (CRun* run : document.GetRuns()) {
    EXPECT_EQ(run->RebuildParts(0), 1);
    const std::vector<CBox*> rebuilt = list.CollectBoxes();
    EXPECT_FALSE(rebuilt.empty());
    document.RebuildScene();
    EXPECT_EQ(rebuilt, list.CollectBoxes()) << run->GetPropText("Catalog");
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, RunSceneRebuildTest,
                         ::testing::Values("qd_sample.run", "qg_sample.run", "qjf_sample.run",
                                           "qm_sample.run", "qp_sample.run", "qw_sample.run"));

}  // namespace
