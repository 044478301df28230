// A run rebuilt alone leaves the document's totals as a whole computation would: the
// sample documents of every range, each run rebuilt in turn, its record worked out anew
// and the others kept.

#include "range_test_support.h"

#include "model/document/dorne_doc.h"
#include "model/run/run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RunTotalsRebuildTest : public RangeTest, public ::testing::WithParamInterface<const char*> {
 protected:
  static std::vector<CDorneDoc::CTotals> Totals(const CDorneDoc& document) {
    std::vector<CDorneDoc::CTotals> totals;
    for (int n = 0; n < document.GetTotalsCount(); ++n) totals.push_back(*document.GetTotals(n));
    return totals;
  }
};

TEST_P(RunTotalsRebuildTest, EachRunRebuiltAloneLeavesTheTotalsOfAWholeComputation) {
  CDorneDoc document;
  const CDocFileResult opened =
      document.OnOpenDocument(std::string(TVR_PROGRAM_DIR "/examples/") + GetParam());
  ASSERT_TRUE(opened.ok) << opened.text;
  // The runs are rebuilt in turn twice: the first rebuild after reading works out
  // every record, the next ones their own run's.
  for (int pass = 0; pass < 2; ++pass) {
    for (CRun* run : document.GetRuns()) {
      EXPECT_EQ(run->RebuildParts(0), 1);
      const std::vector<CDorneDoc::CTotals> rebuilt = Totals(document);
      ASSERT_EQ(rebuilt.size(), document.GetRuns().size() + 1);
      document.ComputeRunTotals(false);
      EXPECT_EQ(rebuilt, Totals(document)) << run->GetPropText("Catalog") << ", pass " << pass;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, RunTotalsRebuildTest,
                         ::testing::Values("qd_sample.run", "qg_sample.run", "qjf_sample.run",
                                           "qm_sample.run", "qp_sample.run", "qw_sample.run"));

}  // namespace
