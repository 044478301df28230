// A scene built again and again in one document, with runs and elements coming and going
// between the builds, is the scene a new document of the same design builds once: the
// list's reused nodes and table of boxes leave nothing behind.

#include "model/document/dorne_doc_test_support.h"

#include "geometry/box.h"
#include "geometry/display_list.h"
#include "model/element/dev.h"
#include "model/run/run.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Runs of straights with a branch, each run shifted across and up from the last.
void BuildRun(CRun& run, int index, int elements) {
  CChainBuilder builder(run);
  CDev* last = builder.Start(4);
  const C3DPoint origin(500.0 * (index % 3), 1500.0 * index, 200.0 * (index % 2));
  last->SetPosition(origin);
  for (int i = 1; i < elements; ++i) {
    const int direction = i == elements / 2 ? 2 : 4;
    last = builder.Add(last, direction, CDev::kStraight, 1000);
    last->SetPosition(origin + C3DPoint(1000.0 * i, direction == 2 ? 600.0 : 0.0, 0));
    last->MakeBox(CDev::kBodySlot)->SetPlacement(last->GetPosition(), 100, 1000, 100);
  }
  run.SetCurrentElement(last);
}

// The scene in painting order, each box named by its run, element and slot, with its
// projected bounds and attribute word.
std::string Describe(CDorneDoc& document) {
  std::map<const CBox*, std::string> names;
  for (int r = 0; r < document.GetRunCount(); ++r) {
    const CRun& run = *document.GetRunAt(r);
    for (std::size_t e = 0; e < run.GetDevices().size(); ++e) {
      const CDev& element = *run.GetDevices()[e];
      for (int slot = 0; slot <= CDev::kBodySlot + 1; ++slot) {
        if (const CBox* box = element.GetBox(slot))
          names[box] = std::to_string(r) + "." + std::to_string(e) + "." + std::to_string(slot);
      }
    }
  }
  std::ostringstream out;
  out.precision(17);
  for (const CBox* box : document.Projection().GetDisplayList().CollectBoxes()) {
    const auto name = names.find(box);
    out << (name != names.end() ? name->second : "?") << " " << box->GetProjectedMin().x << ","
        << box->GetProjectedMin().y << "," << box->GetProjectedMax().x << ","
        << box->GetProjectedMax().y << " " << std::hex << box->GetAttributes() << std::dec << "\n";
  }
  return out.str();
}

struct ViewCase {
  const char* name;
  std::array<int, 3> angles;
};

const ViewCase kViews[] = {
    {"default", {330, 315, 0}}, {"turned", {30, 45, 10}}, {"from the side", {90, 0, 0}}};

struct RunSpec {
  int index;
  int elements;
};

class DorneDocRebuiltSceneTest : public DorneDocTestBase {
 protected:
  std::unique_ptr<CDorneDoc> Design(const std::vector<RunSpec>& runs, const ViewCase& view) const {
    auto document = NewDocument();
    for (const RunSpec& run : runs) BuildRun(AddRun(*document, "QDA"), run.index, run.elements);
    document->SetViewAngles(view.angles[0], view.angles[1], view.angles[2]);
    return document;
  }
};

TEST_F(DorneDocRebuiltSceneTest, ASecondBuildIsTheFirst) {
  for (const ViewCase& view : kViews) {
    auto document = Design({{0, 14}, {1, 14}, {2, 9}, {3, 14}, {4, 5}, {5, 14}}, view);
    document->RebuildScene();
    const std::string first = Describe(*document);
    ASSERT_NE(first.find('\n'), std::string::npos) << view.name;
    document->RebuildScene();
    EXPECT_EQ(Describe(*document), first) << view.name;
  }
}

// Runs leave and come between builds, so that the list's nodes and table of boxes are
// reused by other boxes, more or fewer: every build equals a new document's.
TEST_F(DorneDocRebuiltSceneTest, BuildsAfterRunsCameAndWentAreThoseOfANewDocument) {
  struct Step {
    int removeAt;  // -1: none
    std::vector<RunSpec> added;
  };
  const Step steps[] = {
      {0, {}}, {2, {{20, 18}}}, {-1, {{21, 4}, {22, 30}, {23, 12}}}, {1, {}}, {0, {{24, 2}}}};
  for (const ViewCase& view : kViews) {
    SCOPED_TRACE(view.name);
    std::vector<RunSpec> specs = {{0, 14}, {1, 10}, {2, 14}, {3, 20}, {4, 8}};
    auto document = Design(specs, view);
    document->RebuildScene();
    std::vector<std::unique_ptr<CRun>> removed;  // their boxes stay alive until the end
    for (const Step& step : steps) {
      if (step.removeAt >= 0) {
        removed.push_back(document->RemoveRun(document->GetRunAt(step.removeAt)));
        specs.erase(specs.begin() + step.removeAt);
      }
      for (const RunSpec& run : step.added) {
        BuildRun(AddRun(*document, "QDA"), run.index, run.elements);
        specs.push_back(run);
      }
      document->RebuildScene();
      auto fresh = Design(specs, view);
      fresh->RebuildScene();
      EXPECT_EQ(Describe(*document), Describe(*fresh)) << specs.size() << " runs";
    }
    document->Projection().ClearDisplayList();
  }
}

}  // namespace
