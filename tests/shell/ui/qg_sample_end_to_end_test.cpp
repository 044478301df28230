// Starts the real program under a virtual X server on the QG sample document, rebuilds
// its run with the rebuild command, keeps a screenshot and saves the document; the saved
// bill is the one worked out from the range's rules.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "app/ui/command_ids.h"
#include "model/dorne_doc.h"
#include "model/range_rules.h"
#include "model/run_factory.h"
#include "ranges/qg_listing.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"
#include "samplewriter/sample_layout.h"
#include "shell_test_support.h"
#include "support/golden_file.h"
#include "support/program_run.h"
#include "support/test_output.h"

namespace {

TEST(QGSampleEndToEndTest, TheProgramOpensRebuildsAndSavesTheQGSample) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\nSplit=1\n[Language]\nID=044\n");
  std::filesystem::create_directories(folder.Path("documents"));
  const std::string sample = folder.Path("documents/qg_sample.run");
  std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qg_sample.run", sample);
  const std::string saved = folder.Path("documents/rebuilt.run");
  const std::string shot = TestOutputPath("qg_sample.png");
  std::filesystem::remove(shot);
  const std::string script = "open " + sample + "\ncommand " + std::to_string(kIdRebuildParts) +
                             "\ncommand " + std::to_string(kIdZoomAll) + "\nshot " + shot +
                             "\nsave " + saved + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, "1280x960x24");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  EXPECT_TRUE(run.values.value("layout").startsWith("1/")) << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  // The saved bill, read back with the sample catalogue.
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  RegisterRangeRuns();
  std::string listing;
  {
    CDorneDoc document;
    const CDocFileResult opened = document.OnOpenDocument(saved);
    ASSERT_TRUE(opened.ok) << opened.text;
    ASSERT_EQ(document.GetRuns().size(), 1u);
    listing = QGSampleListing(*document.GetRuns().front());
  }
  ExpectGolden("examples/qg_sample_bom.txt", listing);
  CRangeTableCache::Instance().Reset();
  CRangeContext::Instance().Reset();
  CRunFactory::Instance().Reset();
}

// A run of 92 m, rebuilt in the program, asks the user to check its expansion joints.
TEST(QGSampleEndToEndTest, ANinetyMetreRunAsksForItsExpansionJointsWhenRebuilt) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\nSplit=1\n[Language]\nID=044\n");
  std::filesystem::create_directories(folder.Path("documents"));
  const std::string path = folder.Path("documents/long.run");
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  RegisterRangeRuns();
  {
    CDorneDoc document;
    document.OnNewDocument("");
    while (!document.GetRuns().empty()) document.RemoveRun(document.GetRuns().front());
    ASSERT_EQ(LayOutSample(document, "run QGA 10\nstart 0\ngo 4 92000\nend 4\n"), "");
    ASSERT_TRUE(document.OnSaveDocument(path).ok);
  }
  CRangeTableCache::Instance().Reset();
  CRangeContext::Instance().Reset();
  CRunFactory::Instance().Reset();
  const std::string shot = TestOutputPath("qg_long_run_message.png");
  std::filesystem::remove(shot);
  const std::string script = "open " + path + "\nanswer " + shot + " accept\ncommand " +
                             std::to_string(kIdRebuildParts) + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, "1280x960x24");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  EXPECT_TRUE(run.values.value("dialogs").contains("This run is 90 m long or more"))
      << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

}  // namespace
