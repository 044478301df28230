#pragma once

#include "app/current_language.h"
#include "app/dorne_app.h"
#include "app/message_text.h"
#include "app/start_lists.h"
#include "model/run/range_rules.h"
#include "model/run/run_factory.h"
#include "model/run/run_environment.h"
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
  // What the program's start-up gives the runs: an application with its default
  // settings and the catalogue list of the sample catalogue's catalog.dbf.
  void ConnectRunsAsTheStartUpDoes() {
    const TextLookup lookup = [](int number) { return "T" + std::to_string(number); };
    CRunEnvironment::Instance().Connect(
        m_app, LoadCatalogueList(TVR_PROGRAM_DIR "/DBF/", m_app.Settings().copper,
                                 m_app.Settings().apod, lookup)
                   .entries);
  }
  static void Reset() {
    CRangeTableCache::Instance().Reset();
    CRangeContext::Instance().Reset();
    CRunFactory::Instance().Reset();
    CRunEnvironment::Instance().Reset();
  }

  std::vector<std::pair<int, std::string>> messages;
  CDorneApp m_app;
};

// The texts of the program's English file for the range rules while it lives, as the
// sample documents' references carry them.
class CProgramTexts {
 public:
  CProgramTexts() {
    CLanguageSetup language;
    language.catalogueFolder = TVR_PROGRAM_DIR "/DBF/";
    CCurrentLanguage::Instance().SetSetup(language);
    CCurrentLanguage::Instance().LoadLanguage(CCurrentLanguage::kFallbackLanguage);
    CRangeContext::Instance().SetTextLookup([](int number) { return LookupText(number); });
  }
  ~CProgramTexts() { CCurrentLanguage::Instance().Reset(); }
  CProgramTexts(const CProgramTexts&) = delete;
  CProgramTexts& operator=(const CProgramTexts&) = delete;
};
