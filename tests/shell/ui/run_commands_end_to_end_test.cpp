// Starts the real program under a virtual X server on the QD sample and makes a new run
// of the current run's range from the Run menu's command (the TVR_SCRIPT_FILE hook of
// main.cpp), keeping a screenshot of each step in the test output folder; the design is
// saved so that the program ends without asking.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

TEST(RunCommandsEndToEndTest, NewRunFromTheRunMenu) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/run_commands_";
  const std::string script = "open " TVR_PROGRAM_DIR "/examples/qd_sample.run\nshot " + shot +
                             "1_sample.png\ncommand 32789\nshot " + shot + "2_new_run.png\nsave " +
                             folder.Path("with_new_run.run") + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  const QString& text = run.dump;
  EXPECT_TRUE(text.contains("\nfailed=\n")) << text.toStdString();
  // The sample's four runs and the new one, current, with no element placed yet.
  EXPECT_TRUE(text.contains("\nlayout=5/0\n")) << text.toStdString();
  for (const char* step : {"1_sample", "2_new_run"})
    EXPECT_FALSE(QImage(QString::fromStdString(shot + step + ".png")).isNull()) << step;
}

// New runs from Run > New run, each given a range on its rating page (a range change of a
// new run among them, then undone; a new run made and undone): the range changes take
// the runs over under their names and only new runs take the next name.
TEST(RunCommandsEndToEndTest, NewRunsAreNamedInTurnWhateverTheirRanges) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n"
               "[Dialog Property]\nStayVisible=1\n");
  const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/run_names.png";
  const std::string newRun = "command 32789\n";
  const std::string place = "key return\ncommand 32792\n";
  const std::string undo = "command 57643\n";
  const std::string script =
      "closemodals\ntoward 1 1500\n" + place + "propchoose 1020 QDA\npropchoose 1021 63 A\n" +
      newRun + "runnames A,B\n" + place + "propchoose 1020 QDT\nrunnames A,B\n" + newRun + place +
      "propchoose 1020 QMA\npropchoose 1020 QJF\nrunnames A,B,C\n" + undo + "runnames A,B,C\n" +
      newRun + undo + newRun + "key return\nrunnames A,B,C,D\nshot " + shot + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

}  // namespace
