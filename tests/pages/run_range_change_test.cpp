// Changing the range of a run of the QD sample: the new run takes over the old one's
// elements and place as one undo step, undo gives back the same file, and a range whose
// tables cannot be read leaves the document exactly as it was.

#include <gtest/gtest.h>

#include "model/document/doc_command_rules.h"
#include "model/run/run_factory.h"
#include "pages/run_range_change.h"
#include "pages/run_rating_page.h"
#include "page_test_support.h"
#include "ranges/range_context.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using EOutcome = CRangeChangeResult::EOutcome;

class RunRangeChangeTest : public SamplePageTest {
 protected:
  void SetUp() override {
    SamplePageTest::SetUp();
    CRunEnvironment::Instance().SetCatalogues(
        {{"QDA", "QD A"}, {"QDT", "QD T"}, {"QMA", "QM A"}, {"QWA", "QW A"}});
  }
  std::string SavedBytes(const char* name) {
    const std::string path = m_files.File(name);
    EXPECT_TRUE(document->OnSaveDocument(path).ok);
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  CTempFolder m_files{"range-change"};
};

TEST_F(RunRangeChangeTest, ANewRangeTakesOverTheRunAsOneUndoStep) {
  CRun* old = &Run(0);
  // The built parts (joints, accessories) go with the old range's bill.
  std::size_t elements = 0;
  for (const CDev* element : old->GetDevices())
    elements += element->GetKind() != CDev::kJoint && element->GetKind() != CDev::kAccessory;
  const std::string name = old->GetPropText("Name");
  const std::string before = SavedBytes("before.run");
  const int steps = UndoSteps();
  const CRangeChangeResult result = run_range::ChangeRunRange(*old, "QMA");
  ASSERT_EQ(result.outcome, EOutcome::kChanged);
  CRun& now = Run(0);
  EXPECT_EQ(result.run, &now);
  EXPECT_EQ(now.GetPropText("Catalog"), "QMA");
  EXPECT_EQ(now.GetPropText("Name"), name);
  EXPECT_EQ(now.GetDevices().size(), elements);
  EXPECT_FALSE(now.GetPropText("Calibre").empty());  // the first rating, chosen at once
  EXPECT_EQ(now.GetCatalogueKnown(), now.IsCatalogueKnown());
  EXPECT_EQ(document->GetCurrentRun(), &now);
  EXPECT_EQ(UndoSteps(), steps + 1);
  ASSERT_TRUE(document->GetUndo().Undo());
  EXPECT_EQ(Run(0).GetPropText("Catalog"), "QDA");
  EXPECT_EQ(SavedBytes("undone.run"), before);
}

TEST_F(RunRangeChangeTest, AVariantChangeKeepsTheRunsRatingAndUndoGivesTheSameBytes) {
  const std::string before = SavedBytes("before.run");
  const CRangeChangeResult result = run_range::ChangeRunRange(Run(0), "QDT");
  ASSERT_EQ(result.outcome, EOutcome::kChanged);
  EXPECT_EQ(Run(0).GetPropText("Catalog"), "QDT");
  ASSERT_TRUE(document->GetUndo().Undo());
  EXPECT_EQ(Run(0).GetPropText("Catalog"), "QDA");
  EXPECT_EQ(SavedBytes("undone.run"), before);
}

TEST_F(RunRangeChangeTest, ARangeWhoseTablesCannotBeReadChangesNothing) {
  // A catalogue folder in which a table of range QG is missing.
  namespace fs = std::filesystem;
  const std::string catalogue = m_files.File("DBF");
  fs::copy(TVR_PROGRAM_DIR "/DBF", catalogue);
  ASSERT_TRUE(fs::remove(catalogue + "/QG_SPLIT.dbf"));
  CRangeContext::Instance().SetCatalogueFolder(catalogue + "/");
  CRunEnvironment::Instance().SetCatalogues({{"QDA", "QD A"}, {"QGA", "QG A"}});
  CRun* old = &Run(0);
  const std::string before = SavedBytes("before.run");
  const int steps = UndoSteps();
  const CRangeChangeResult result = run_range::ChangeRunRange(*old, "QGA");
  EXPECT_EQ(result.outcome, EOutcome::kRefused);
  EXPECT_EQ(result.message, run_range::kMsgRangeTableMissing);
  EXPECT_NE(result.argument.find("QG_SPLIT"), std::string::npos) << result.argument;
  EXPECT_EQ(&Run(0), old);
  EXPECT_EQ(old->GetPropText("Catalog"), "QDA");
  EXPECT_EQ(UndoSteps(), steps);
  EXPECT_FALSE(document->IsModified());
  EXPECT_EQ(SavedBytes("after.run"), before);
  // A second try reads the tables again and is refused again.
  EXPECT_EQ(run_range::ChangeRunRange(*old, "QGA").outcome, EOutcome::kRefused);
}

TEST_F(RunRangeChangeTest, TheOwnCodeOrACodeOfNoRangeChangesNothing) {
  CRun* old = &Run(0);
  for (const char* code : {"QDA", "XYZ", ""}) {
    const CRangeChangeResult result = run_range::ChangeRunRange(*old, code);
    EXPECT_EQ(result.outcome, EOutcome::kUnchanged) << code;
    EXPECT_EQ(&Run(0), old) << code;
  }
  EXPECT_FALSE(document->IsModified());
}

TEST_F(RunRangeChangeTest, TheRatingPageChangesTheRangeAndItsRunGoes) {
  CRunRatingPage page;
  page.SetObject(&Run(0));
  ASSERT_TRUE(page.Load());
  const auto& texts = page.GetCatalogueTexts();
  ASSERT_EQ(texts.size(), 3u);  // QWA is left out
  EXPECT_EQ(texts[static_cast<std::size_t>(page.GetCatalogueChoice())], "QDA : QD A");
  const CApplyOutcome outcome = page.OnCatalogueChange(2);  // QMA
  EXPECT_EQ(outcome.result, EApplyResult::kApplied);
  EXPECT_EQ(page.GetObject(), nullptr);  // the old run is destroyed
  EXPECT_EQ(Run(0).GetPropText("Catalog"), "QMA");
  EXPECT_EQ(page.Apply().result, EApplyResult::kUnchanged);
}

}  // namespace

namespace {

TEST_F(RunRangeChangeTest, ANewGenericRunBecomesARunOfTheRangeWithAKnownCatalogue) {
  document->AddNewRun();
  CRun& generic = *document->GetCurrentRun();
  generic.SetFlagsWord(1);  // its start placed
  ASSERT_TRUE(generic.GetPropText("Catalog").empty());
  constexpr int kRunOption = 33037;  // a command that needs a run of a known range
  EXPECT_FALSE(GetDocCommandState(*document, kRunOption, CDocCommandContext()).enabled);
  const CRangeChangeResult result = run_range::ChangeRunRange(generic, "QDA");
  ASSERT_EQ(result.outcome, EOutcome::kChanged);
  CRun& run = *document->GetCurrentRun();
  EXPECT_EQ(&run, result.run);
  EXPECT_EQ(run.GetPropText("Calibre"), run.GetRatingList()->front().code);
  EXPECT_EQ(run.GetCatalogueKnown(), 1);
  EXPECT_TRUE(GetDocCommandState(*document, kRunOption, CDocCommandContext()).enabled);
}

}  // namespace
