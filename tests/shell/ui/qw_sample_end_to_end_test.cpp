// Starts the real program under a virtual X server on the QW sample document, rebuilds
// its current run with the rebuild command, keeps a screenshot and saves the document;
// the saved bills are those worked out from the range's rules.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <filesystem>

#include "app/ui/command_ids.h"
#include "model/dorne_doc.h"
#include "ranges/qw_listing.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"
#include "model/run_factory.h"
#include "model/range_rules.h"
#include "shell_test_support.h"
#include "support/golden_file.h"
#include "support/test_output.h"

namespace {

TEST(QWSampleEndToEndTest, TheProgramOpensRebuildsAndSavesTheQWSample) {
  if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
    GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\nSplit=1\n[Language]\nID=044\n");
  std::filesystem::create_directories(folder.Path("runtime"));
  const std::string sample = folder.Path("qw_sample.run");
  std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qw_sample.run", sample);
  const std::string saved = folder.Path("rebuilt.run");
  const std::string shot = TestOutputPath("qw_sample.png");
  std::filesystem::remove(shot);
  folder.Write("script.txt", "open " + sample + "\ncommand " + std::to_string(kIdRebuildParts) +
                                 "\nshot " + shot + "\nsave " + saved + "\n");
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("QT_QPA_PLATFORM");
  environment.insert("XDG_CONFIG_HOME", QString::fromStdString(folder.Path("settings")));
  environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(folder.Path("runtime")));
  environment.insert("TVR_DUMP_WINDOW_FILE", QString::fromStdString(folder.Path("dump.txt")));
  environment.insert("TVR_SCRIPT_FILE", QString::fromStdString(folder.Path("script.txt")));
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setProcessEnvironment(environment);
  process.start("xvfb-run", {"-a", QStringLiteral(TVR_PROGRAM_DIR "/tvr")});
  ASSERT_TRUE(process.waitForFinished(90000));
  QFile dump(QString::fromStdString(folder.Path("dump.txt")));
  ASSERT_TRUE(dump.open(QIODevice::ReadOnly)) << process.readAll().toStdString();
  const QString text = QString::fromUtf8(dump.readAll());
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
