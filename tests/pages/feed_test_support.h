#pragma once

#include "page_test_support.h"
#include "samplewriter/sample_layout.h"

#include <string>
#include <vector>

// The QD sample with runs of ranges QM and QG laid into it by the layout statements
// (tools/samplewriter/sample_layout.h), undo and all.
class LaidRunPageTest : public SamplePageTest {
 protected:
  void SetUp() override {
    SamplePageTest::SetUp();
    CRunEnvironment::Instance().SetCatalogues(
        {{"QDA", "QD A"}, {"QMA", "QM A"}, {"QMC", "QM C"}, {"QGA", "QG A"}});
  }
  // The elements of a run laid into the document, in the order the statements laid them.
  std::vector<CDev*> Lay(const std::string& layout) {
    std::vector<CDev*> laid;
    EXPECT_EQ(LayOutSample(*document, layout, &laid), "");
    return laid;
  }
};

// A QMA 25 run starting with a feed unit with breaker.
inline constexpr const char* kQMFeedLayout = "run QMA 25\nstart 4\ngo 4 3000\nend 1\n";
// A QMA 25 run ending with an adapter to range QJ.
inline constexpr const char* kQMAdapterLayout = "run QMA 25\nstart 1\ngo 4 3000\nend 7\n";
