// Starts the real program under a virtual X server, builds a run in a new design with
// clicks and keys (the TVR_SCRIPT_FILE hook of main.cpp), undoes a step, saves, opens the
// file again, and keeps a screenshot of every step in the test output folder.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

TEST(LayoutToolsEndToEndTest, ARunPlacedByClicksSurvivesUndoSaveAndOpen) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/layout_tools_";
  const std::string saved = folder.Path("design.run");
  const std::string script = "shot " + shot + "1_new.png\ntoward 1 1500\nshot " + shot +
                             "2_direction.png\nkey return\ntoward 1 1500\ntoward 1 1500\n"
                             "toward 1 1500\nshot " +
                             shot +
                             "3_elements.png\ncommand 57643\n"
                             "shot " +
                             shot + "4_undone.png\nsave " + saved + "\ncommand 57602\nopen " +
                             saved + "\nshot " + shot + "5_reopened.png\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  const QString& text = run.dump;
  EXPECT_TRUE(text.contains("\nfailed=\n")) << text.toStdString();
  // The start and two straights: the third was undone before the save.
  EXPECT_TRUE(text.contains("\nlayout=1/3\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("design.run")) << text.toStdString();
  for (const char* step : {"1_new", "3_elements", "5_reopened"})
    EXPECT_FALSE(QImage(QString::fromStdString(shot + step + ".png")).isNull()) << step;
}

}  // namespace
