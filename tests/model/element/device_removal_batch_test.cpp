// Elements leaving a run's device list within a batch leave it exactly as they do one
// at a time: the same elements, in the same order.

#include "model/element/device_removal_batch.h"

#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/run/run_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

enum class EStep { kRemove, kDelete, kListAgain, kAddNew };

struct CStep {
  EStep what;
  int element;  // index into the elements made so far
};

class DeviceRemovalBatchTest : public RunTestBase {
 protected:
  // The run's device list, by the comments naming each element, after the steps.
  static std::vector<std::string> ListAfter(const std::vector<CStep>& steps, bool batched) {
    CRun run;
    run.SetCatalog("QDA");
    std::vector<CDev*> made;
    auto add = [&] {
      CDev* element = run.NewElement();
      element->SetKind(CDev::kInLine);
      element->SetComment("e" + std::to_string(made.size()));
      run.AddDevice(element);
      made.push_back(element);
    };
    for (int i = 0; i < 8; ++i) add();
    {
      std::unique_ptr<CDeviceRemovalBatch> batch;
      if (batched) batch = std::make_unique<CDeviceRemovalBatch>(run);
      for (const CStep& step : steps) {
        CDev* element = made[static_cast<std::size_t>(step.element)];
        switch (step.what) {
          case EStep::kRemove: run.RemoveDevice(element); break;
          case EStep::kDelete: run.DeleteElement(element); break;
          case EStep::kListAgain: run.AddDevice(element); break;
          case EStep::kAddNew: add(); break;
        }
      }
    }
    std::vector<std::string> names;
    for (const CDev* device : run.GetDevices()) names.push_back(device->GetComment());
    return names;
  }
};

TEST_F(DeviceRemovalBatchTest, TheListEndsAsWithOneRemovalAtATime) {
  const struct {
    const char* guards;
    std::vector<CStep> steps;
  } rows[] = {
      {"removals in list order", {{EStep::kRemove, 1}, {EStep::kRemove, 3}, {EStep::kRemove, 6}}},
      {"removals out of order", {{EStep::kRemove, 6}, {EStep::kRemove, 0}, {EStep::kRemove, 3}}},
      {"deletions from the last to the first",
       {{EStep::kDelete, 7}, {EStep::kDelete, 5}, {EStep::kDelete, 2}, {EStep::kDelete, 0}}},
      {"listed again, then earlier ones removed",
       {{EStep::kRemove, 4}, {EStep::kListAgain, 4}, {EStep::kRemove, 3}, {EStep::kRemove, 4}}},
      {"deletions", {{EStep::kRemove, 2}, {EStep::kDelete, 2}, {EStep::kDelete, 5}}},
      {"a listed element deleted", {{EStep::kDelete, 4}, {EStep::kDelete, 7}}},
      {"listed again goes to the end", {{EStep::kRemove, 2}, {EStep::kListAgain, 2}}},
      {"listed again, then removed for good",
       {{EStep::kRemove, 2}, {EStep::kListAgain, 2}, {EStep::kRemove, 5}, {EStep::kRemove, 2}}},
      {"new elements among the removals",
       {{EStep::kRemove, 1},
        {EStep::kAddNew, 0},
        {EStep::kDelete, 8},
        {EStep::kAddNew, 0},
        {EStep::kRemove, 0}}},
      {"listed again, then removed at once",
       {{EStep::kRemove, 2}, {EStep::kListAgain, 2}, {EStep::kRemove, 2}}},
      {"removed twice", {{EStep::kRemove, 3}, {EStep::kRemove, 3}}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ListAfter(row.steps, true), ListAfter(row.steps, false)) << row.guards;
  }
}

}  // namespace
