#include "dorne_doc_test_support.h"

#include "geometry/box.h"
#include "geometry/display_list.h"
#include "model/dev.h"
#include "model/run.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using DorneDocSceneTest = DorneDocTestBase;

// The boxes in the order a rebuild inserts them: runs from the last, each with its
// elements' boxes by slot and then its start marker's two boxes; the extra boxes last.
std::vector<CBox*> InsertionOrder(CDorneDoc& document) {
  std::vector<CBox*> boxes;
  const std::vector<CRun*>& runs = document.GetRuns();
  for (std::size_t i = runs.size(); i-- > 0;) {
    for (CDev* element : runs[i]->GetDevices()) {
      for (const auto& box : element->GetBoxSlots())
        if (box) boxes.push_back(box.get());
    }
    if (CDev* marker = runs[i]->GetStartMarker(); marker && runs[i]->GetFlagsWord() == 0) {
      boxes.push_back(marker->GetBox(CDev::kBodySlot));
      boxes.push_back(marker->GetBox(CDev::kBodySlot + 1));
    }
  }
  for (const CBox* box : document.GetExtraBoxes()) boxes.push_back(const_cast<CBox*>(box));
  return boxes;
}

// A scene rebuilt at once (the screen cells laid out for all its boxes first) paints in
// the order of the same boxes inserted one by one into an empty list, at several angles.
TEST_F(DorneDocSceneTest, RebuildPaintsInTheOrderOfInsertingOneByOne) {
  const auto document = RichDocument();
  for (const std::array<int, 3> angles :
       {std::array{0, 0, 0}, std::array{30, 45, 10}, std::array{300, 20, 200}}) {
    document->SetViewAngles(angles[0], angles[1], angles[2]);
    document->RebuildScene();
    const std::vector<CBox*> rebuilt = document->Projection().GetDisplayList().CollectBoxes();
    ASSERT_GT(rebuilt.size(), 20u);
    document->Projection().ClearDisplayList();
    for (CBox* box : InsertionOrder(*document)) {
      if (!box->IsListed()) document->Projection().InsertInDisplayList(*box);
    }
    EXPECT_EQ(document->Projection().GetDisplayList().CollectBoxes(), rebuilt);
  }
}

}  // namespace
