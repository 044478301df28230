#pragma once

#include "model/range_rules.h"
#include "model/run_factory.h"
#include "model/run_environment.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

// Range runs on the sample catalogue: the device list of its devices.dbf, message texts
// "T<number>", every problem recorded.
class RangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    RegisterRangeRuns();
    CRangeContext& context = CRangeContext::Instance();
    context.SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
    context.SetDevices({{"1", "Straight"},
                        {"0", "End"},
                        {"8", "Special"},
                        {"7", "Pass"},
                        {"64", "System joint"},
                        {"32", "User joint"},
                        {"99", "Unknown"}});
    context.SetTextLookup([](int number) { return "T" + std::to_string(number); });
    context.SetNotifier(
        [this](int message, const std::string& path) { messages.emplace_back(message, path); });
  }
  void TearDown() override { Reset(); }
  static void Reset() {
    CRangeTableCache::Instance().Reset();
    CRangeContext::Instance().Reset();
    CRunFactory::Instance().Reset();
    CRunEnvironment::Instance().Reset();
  }

  std::vector<std::pair<int, std::string>> messages;
};
