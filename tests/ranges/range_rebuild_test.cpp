// Rebuilds of range runs as the program makes them: the runs of the QD sample layout,
// read with the catalogue list of the program's start-up, once as QD and once relabelled
// to each range that has no part builder yet.

#include <gtest/gtest.h>

#include "app/profile.h"
#include "model/document/doc_command_rules.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/undo/undo_manager.h"
#include "model/document/work_notifier.h"
#include "platform/archive.h"
#include "model/builder/part_builder.h"
#include "model/run/run_factory.h"
#include "range_test_support.h"
#include "ranges/qm/run_qm.h"
#include "support/temp_folder.h"

#include <fstream>
#include <iterator>

namespace {

constexpr int kIdRebuildParts = 32790;
constexpr int kIdRebuildBom = 32791;

class CMessageRecorder : public CWorkNotifier {
 public:
  void SetWaitCursor(bool) override {}
  void ShowStatusMessage(int) override {}
  void ShowMessage(int message) override { messages.push_back(message); }
  void ReportProblem(const std::string&) override {}
  std::vector<int> messages;
};

std::vector<std::uint8_t> Bytes(CDorneDoc& document) {
  CArchiveWriter archive;
  document.Serialize(archive);
  return archive.Bytes();
}

class RangeRebuildTest : public RangeTest {
 protected:
  void SetUp() override {
    RangeTest::SetUp();
    ConnectRunsAsTheStartUpDoes();
    m_previous = SetWorkNotifier(&m_notifier);
  }
  void TearDown() override {
    SetWorkNotifier(m_previous);
    RangeTest::TearDown();
  }
  // The sample with every "QDA" turned into the code given (three letters).
  std::unique_ptr<CDorneDoc> OpenSampleAs(const std::string& code) {
    std::ifstream in(TVR_PROGRAM_DIR "/examples/qd_sample.run", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Texts are stored as 8-bit or as UTF-16 characters.
    std::string wide, wideCode;
    for (char c : std::string("QDA")) wide += {c, '\0'};
    for (char c : code) wideCode += {c, '\0'};
    for (const auto& [from, to] : {std::pair{std::string("QDA"), code}, std::pair{wide, wideCode}})
      for (std::size_t at = bytes.find(from); at != std::string::npos;
           at = bytes.find(from, at + to.size()))
        bytes.replace(at, from.size(), to);
    const std::string path = m_folder.WriteFile(code + ".run", bytes);
    m_folder.WriteFile("TVR.INI", "[Design]\nSplit=1\n");
    m_profile = std::make_unique<CProfile>(m_folder.File("TVR.INI"));
    CDocEnvironment environment;
    environment.profile = m_profile.get();
    environment.settingsFolder = m_folder.Folder();
    auto document = std::make_unique<CDorneDoc>(environment);
    EXPECT_TRUE(document->OnOpenDocument(path).ok) << code;
    return document;
  }

  CMessageRecorder m_notifier;
  CWorkNotifier* m_previous = nullptr;
  CTempFolder m_folder{"range-rebuild"};
  std::unique_ptr<CProfile> m_profile;
};

// A range run whose range gives no part builder. Every range has its builder now, so
// the QM runs of this test stand in for such a range.
class CRunQMWithoutBuilder : public CRunQM {
 public:
  using CRunQM::CRunQM;
  std::unique_ptr<CPartBuilder> CreatePartBuilder() override { return nullptr; }
};

TEST_F(RangeRebuildTest, ARangeWithoutItsBuilderKeepsTheRunAndItsBillOfMaterials) {
  CRunFactory::Instance().Register("QM", [](std::string_view variant, CRunDocument* document) {
    return std::make_unique<CRunQMWithoutBuilder>(variant, document);
  });
  for (const char* code : {"QMA"}) {
    SCOPED_TRACE(code);
    m_notifier.messages.clear();
    std::unique_ptr<CDorneDoc> document = OpenSampleAs(code);
    CRun* run = document->GetCurrentRun();
    ASSERT_NE(run, nullptr);
    ASSERT_EQ(run->GetPropText("Catalog"), code);
    EXPECT_FALSE(run->HasPartBuilder());
    EXPECT_FALSE(GetDocCommandState(*document, kIdRebuildParts, {}).enabled);
    EXPECT_FALSE(GetDocCommandState(*document, kIdRebuildBom, {}).enabled);
    const int partsState = run->GetPartsState();
    const int undoPosition = document->GetUndo().GetPosition();
    const std::vector<std::uint8_t> before = Bytes(*document);
    EXPECT_FALSE(document->RebuildCurrentRunParts());
    EXPECT_FALSE(document->RebuildCurrentRunBOM());
    EXPECT_EQ(run->RebuildParts(1), 0);
    EXPECT_EQ(Bytes(*document), before);
    EXPECT_EQ(run->GetPartsState(), partsState);
    EXPECT_EQ(document->GetUndo().GetPosition(), undoPosition);  // no undo step either
    EXPECT_EQ(m_notifier.messages,
              (std::vector<int>{kMsgNoPartBuilder, kMsgNoPartBuilder, kMsgNoPartBuilder}));
  }
}

TEST_F(RangeRebuildTest, ARangeWithItsBuilderRebuildsFromTheStartUpsCatalogueList) {
  std::unique_ptr<CDorneDoc> document = OpenSampleAs("QDA");
  CRun* run = document->GetCurrentRun();
  ASSERT_NE(run, nullptr);
  EXPECT_TRUE(run->HasPartBuilder());
  // Known from the catalogue list the start-up read, not from one a test made up.
  EXPECT_NE(run->GetCatalogueKnown(), 0);
  EXPECT_TRUE(GetDocCommandState(*document, kIdRebuildParts, {}).enabled);
  EXPECT_TRUE(GetDocCommandState(*document, kIdRebuildBom, {}).enabled);
  EXPECT_TRUE(document->RebuildCurrentRunParts());
  EXPECT_EQ(run->GetPartsState(), 2);
  EXPECT_TRUE(m_notifier.messages.empty());
}

// QP has its builder: its runs are rebuilt by the same command, once their rating is one
// the catalogue offers.
TEST_F(RangeRebuildTest, AQPRunIsRebuiltByTheCommand) {
  std::unique_ptr<CDorneDoc> document = OpenSampleAs("QPA");
  CRun* run = document->GetCurrentRun();
  ASSERT_NE(run, nullptr);
  ASSERT_EQ(run->GetPropText("Catalog"), "QPA");
  EXPECT_TRUE(run->HasPartBuilder());
  run->SetProp("Calibre", "40");
  run->SetCatalogueKnown(run->IsCatalogueKnown());
  ASSERT_NE(run->GetCatalogueKnown(), 0);
  EXPECT_TRUE(GetDocCommandState(*document, kIdRebuildParts, {}).enabled);
  EXPECT_TRUE(document->RebuildCurrentRunParts());
  EXPECT_NE(run->GetPartsState(), 0);
  EXPECT_TRUE(m_notifier.messages.empty());
}

// QM has its builder: its runs are rebuilt by the same command.
TEST_F(RangeRebuildTest, AQMRunIsRebuiltByTheCommand) {
  for (const char* code : {"QMA"}) {
    SCOPED_TRACE(code);
    m_notifier.messages.clear();
    std::unique_ptr<CDorneDoc> document = OpenSampleAs(code);
    CRun* run = document->GetCurrentRun();
    ASSERT_NE(run, nullptr);
    ASSERT_EQ(run->GetPropText("Catalog"), code);
    EXPECT_TRUE(run->HasPartBuilder());
    run->SetProp("Calibre", "25");
    run->SetCatalogueKnown(run->IsCatalogueKnown());
    ASSERT_NE(run->GetCatalogueKnown(), 0);
    EXPECT_TRUE(GetDocCommandState(*document, kIdRebuildParts, {}).enabled);
    EXPECT_TRUE(document->RebuildCurrentRunParts());
    EXPECT_NE(run->GetPartsState(), 0);
    EXPECT_TRUE(m_notifier.messages.empty());
  }
}

}  // namespace
