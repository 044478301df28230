// The design check of range QJF through the real program: a rebuild whose two elbows
// are too close to stand apart and outside the double elbow's legs shows the check window,
// and the bill keeps the two single elbows.
#include <gtest/gtest.h>

#include "sample_end_to_end_support.h"

namespace {

// Two flat elbows 200 mm apart on a QJF 2200 A run: each needs a 300 mm leg, and the
// double elbow they would make takes a leg of 300 to 800 mm.
TEST(QJFCheckEndToEndTest, ElbowsTooCloseForTheDoubleElbowAreToldAndStaySingle) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  const std::string path = folder.Path("documents/laid.run");
  ASSERT_EQ(WriteLaidDocument(path, "run QJF 26\nstart 1\ngo 4 3000\ngo 1 200\ngo 4 3000\nend 1\n"),
            "");
  const std::string message = TestOutputPath("qjf_elbow_pair_message.png");
  const std::string layout = TestOutputPath("qjf_elbow_pair_rebuilt.png");
  std::filesystem::remove(message);
  std::filesystem::remove(layout);
  const std::string bill = folder.Path("bill.csv");
  const std::string script = "open " + path + "\nanswer " + message + " accept\ncommand " +
                             std::to_string(kIdRebuildParts) + "\ncommand " +
                             std::to_string(kIdZoomAll) + "\ncsv all " + bill + "\nshot " + layout +
                             "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, "1280x960x24");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  EXPECT_TRUE(run.values.value("dialogs").contains(QLatin1String("239:")))
      << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(message)).isNull());
  EXPECT_FALSE(QImage(QString::fromStdString(layout)).isNull());
  const QString rebuilt = CsvExportText(bill);
  for (const char* single : {"QJF26LC21", "QJF26LB21"})
    EXPECT_TRUE(rebuilt.contains(QLatin1String(single))) << single << "\n" << rebuilt.toStdString();
  EXPECT_FALSE(rebuilt.contains(QLatin1String("QJF26MC2X"))) << rebuilt.toStdString();
}

}  // namespace
