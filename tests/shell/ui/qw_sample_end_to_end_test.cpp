// Starts the real program under a virtual X server on the QW sample document, rebuilds
// its current run with the rebuild command, keeps a screenshot and saves the document;
// the saved bills are those worked out from the range's rules.

#include <gtest/gtest.h>

#include <QImage>
#include <QStandardPaths>

#include <filesystem>

#include "app/ui/command_ids.h"
#include "model/document/dorne_doc.h"
#include "ranges/qw_listing.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"
#include "model/run/run_factory.h"
#include "model/run/range_rules.h"
#include "shell_test_support.h"
#include "support/program_run.h"
#include "support/golden_file.h"
#include "support/test_output.h"

namespace {

TEST(QWSampleEndToEndTest, TheProgramOpensRebuildsAndSavesTheQWSample) {
  if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
    GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\nSplit=1\n[Language]\nID=044\n");
  const std::string sample = folder.Path("qw_sample.run");
  std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qw_sample.run", sample);
  const std::string saved = folder.Path("rebuilt.run");
  const std::string shot = TestOutputPath("qw_sample.png");
  std::filesystem::remove(shot);
  const CProgramRun program =
      RunProgram(folder.Path(), {},
                 "open " + sample + "\ncommand " + std::to_string(kIdRebuildParts) + "\nshot " +
                     shot + "\nsave " + saved + "\n");
  ASSERT_TRUE(program.finished) << program.output.toStdString();
  ASSERT_FALSE(program.dump.isEmpty()) << program.output.toStdString();
  const QString text = program.dump;
  EXPECT_TRUE(text.contains("\nfailed=\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("\nlayout=4/")) << text.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  // The saved bills, read back with the sample catalogue.
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  RegisterRangeRuns();
  std::string listing;
  {
    CDorneDoc document;
    const CDocFileResult opened = document.OnOpenDocument(saved);
    ASSERT_TRUE(opened.ok) << opened.text;
    for (CRun* run : document.GetRuns()) {
      EXPECT_EQ(run->GetPartsState(), 2) << run->GetPropText("Catalog");
      listing += QWBillListing(*run);
    }
  }
  ExpectGolden("examples/qw_sample_bom.txt", listing);
  CRangeTableCache::Instance().Reset();
  CRangeContext::Instance().Reset();
  CRunFactory::Instance().Reset();
}

}  // namespace
