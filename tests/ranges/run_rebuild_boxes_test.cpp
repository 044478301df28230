// A run whose parts are rebuilt draws its elements with the boxes a reading of it gives:
// the sample documents of every range, every run rebuilt, saved and read again.

#include "range_test_support.h"

#include "geometry/box.h"
#include "model/document/dorne_doc.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Every box of every element, whatever the order of the elements: its element's
// reference, its slot, place (in whole units, as a file keeps it), size and kind.
std::string BoxListing(const CDorneDoc& document) {
  std::vector<std::string> lines;
  for (const CRun* run : document.GetRuns()) {
    for (const CDev* element : run->GetDevices()) {
      for (int slot = 0; slot < CDev::kSlotCount; ++slot) {
        const CBox* box = element->GetBox(slot);
        if (box == nullptr) continue;
        const C3DPoint& origin = box->GetOrigin();
        std::ostringstream line;
        line << run->GetPropText("Catalog") << " " << element->GetReference() << " slot " << slot
             << ": " << C3DPoint::ToStoredInt(origin.x) << " " << C3DPoint::ToStoredInt(origin.y)
             << " " << C3DPoint::ToStoredInt(origin.z) << " / " << box->GetExtent(0) << " "
             << box->GetExtent(1) << " " << box->GetExtent(2) << " kind " << box->GetKindCode()
             << "\n";
        lines.push_back(line.str());
      }
    }
  }
  std::sort(lines.begin(), lines.end());
  std::string listing;
  for (const std::string& line : lines) listing += line;
  return listing;
}

class RunRebuildBoxesTest : public RangeTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(RunRebuildBoxesTest, ARebuiltRunKeepsTheBoxesItReadsBackWith) {
  CDorneDoc document;
  const CDocFileResult opened =
      document.OnOpenDocument(std::string(TVR_PROGRAM_DIR "/examples/") + GetParam());
  ASSERT_TRUE(opened.ok) << opened.text;
  for (CRun* run : document.GetRuns()) EXPECT_EQ(run->RebuildParts(0), 1);
  const CTempFolder folder("rebuild-boxes");
  const std::string path = folder.File("rebuilt.run");
  ASSERT_TRUE(document.OnSaveDocument(path).ok);
  CDorneDoc reread;
  ASSERT_TRUE(reread.OnOpenDocument(path).ok);
  EXPECT_EQ(BoxListing(document), BoxListing(reread));
}

INSTANTIATE_TEST_SUITE_P(Samples, RunRebuildBoxesTest,
                         ::testing::Values("qd_sample.run", "qg_sample.run", "qg_bars_sample.run",
                                           "qjf_sample.run", "qm_sample.run", "qm_bars_sample.run",
                                           "qp_sample.run", "qw_sample.run"));

}  // namespace
