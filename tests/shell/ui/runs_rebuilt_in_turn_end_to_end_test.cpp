// Starts the real program under a virtual X server on a sample of four runs that meet on
// screen, rebuilds every run in turn with the rebuild command (each made current by a click
// on it, in an order other than the runs'), and checks that the layout view then shows
// exactly the order and the picture of its scene built anew from an empty list, whether the
// view looked at the scene between the rebuilds or not. The screenshots are kept in the
// test output folder.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <string>

#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

const char kSettings[] = "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n";
constexpr int kIdRebuildParts = 32790;

// Rebuilds runs 3, 0, 2 and 1 in turn; with lookBetween, the view is checked against a scene
// built anew after each rebuild, so that each run's boxes go back into a scene just seen
// (with those of the runs they meet), else only once at the end (the scene made once).
void RebuildInTurn(bool lookBetween, const std::string& shotName) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI", kSettings);
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/" + shotName;
  std::string script = "closemodals\nopen " TVR_PROGRAM_DIR "/examples/qp_sample.run\nasbuilt\n";
  for (const int run : {3, 0, 2, 1}) {
    script += "runclick " + std::to_string(run) + " 1 6\ncommand " +
              std::to_string(kIdRebuildParts) + "\n";
    if (lookBetween) script += "asbuilt\n";
  }
  script += "asbuilt\nshot " + shot + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_TRUE(run.finished);
  EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull()) << shot;
}

TEST(RunsRebuiltInTurnEndToEndTest, TheViewShowsTheSceneBuiltAnew) {
  RebuildInTurn(false, "runs_rebuilt_in_turn.png");
}

TEST(RunsRebuiltInTurnEndToEndTest, EachRebuildSeenShowsTheSceneBuiltAnew) {
  RebuildInTurn(true, "runs_rebuilt_in_turn_each_seen.png");
}

}  // namespace
