// Starts the real program under a virtual X server on a large design (the QM sample's runs
// repeated to 48, each booking a reference of its own) saved on one run's page, then on the
// totals page: the bill's pane opens on the page the design was saved on, as the bill
// exported from the page shown tells.

#include <gtest/gtest.h>

#include <QImage>
#include <QStandardPaths>

#include <cstdio>
#include <filesystem>
#include <string>

#include "sample_end_to_end_support.h"
#include "model/bom/bom_grid.h"
#include "model/run/run.h"
#include "support/temp_folder.h"

namespace {

constexpr int kRuns = 48;

// The reference run r books alone; no one is part of another.
std::string OwnReference(int run) {
  char text[16];
  std::snprintf(text, sizeof text, "OWN%03dX", run);
  return text;
}

struct SavedOn {
  std::string name;
  int currentRun;
  bool totalsShown;
};

TEST(BillPaneOpenEndToEndTest, ALargeDesignOpensOnThePageItWasSavedOn) {
  if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
    GTEST_SKIP() << "xvfb-run is not installed";
  const SavedOn cases[] = {{"run page", 29, false}, {"totals page", 29, true}};
  for (const SavedOn& saved : cases) {
    SCOPED_TRACE(saved.name);
    CShellTestFolder folder;
    WriteSampleSettings(folder);
    const std::string large = folder.Path("large.run");
    {
      CDorneDoc document;
      ASSERT_TRUE(OpenRepeatedQMSample(document, kRuns));
      for (int r = 0; r < kRuns; ++r)
        document.GetRunAt(r)->GetBOM().AddRefQuantity(OwnReference(r), 1);
      document.SetCurrentRun(document.GetRunAt(saved.currentRun));
      document.SetTotalsPageShown(saved.totalsShown);
      ASSERT_TRUE(document.OnSaveDocument(large).ok);
    }
    ForgetSampleRanges();
    const std::string bill = folder.Path("shown.csv");
    const std::string shot =
        TestOutputPath(saved.totalsShown ? "bill_pane_open_totals.png" : "bill_pane_open_run.png");
    std::filesystem::remove(shot);
    const CProgramRun program = RunProgram(
        folder.Path(), {}, "open " + large + "\ncsv shown " + bill + "\nshot " + shot + "\n");
    ASSERT_TRUE(program.finished) << program.output.toStdString();
    EXPECT_TRUE(program.dump.contains("\nfailed=\n")) << program.dump.toStdString();
    EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
    const QString text = CsvExportText(bill);
    ASSERT_FALSE(text.isEmpty());
    for (int r = 0; r < kRuns; ++r) {
      const bool expected = saved.totalsShown || r == saved.currentRun;
      EXPECT_EQ(text.contains(QString::fromStdString(OwnReference(r))), expected) << "run " << r;
    }
  }
}

}  // namespace
