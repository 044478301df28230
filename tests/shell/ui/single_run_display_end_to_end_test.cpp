// Starts the real program under a virtual X server on a copy of the QD sample (the
// TVR_SCRIPT_FILE hook of main.cpp) and shows its runs as a user does with the tabs of
// the bill of materials: the totals page shows every run with its label, a run's page
// shows that run alone, and a text made there "shown only with the current run" is drawn
// with that run alone, neither with another run nor with every run; a new run is laid
// among the others and, once its start is placed on its page, shown alone. The scene's
// runs and the drawn labels are checked at each step, with a screenshot.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <fstream>
#include <string>

#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

constexpr int kCmdNewText = 32999;
constexpr int kCmdNewRun = 32789;
constexpr int kRunInfoLabel = 4;
constexpr int kFreeText = 6;

// How many annotations the "annotationplaces" file lists as drawn.
int DrawnIn(const std::string& path) {
  std::ifstream in(path);
  int drawn = 0;
  for (std::string word, rect; in >> word >> rect;) drawn += word == "drawn";
  return drawn;
}

struct CShownStep {
  const char* page;       // the tab clicked
  const char* sceneRuns;  // the runs with boxes in the scene
  int runLabels;          // run information labels drawn
  int texts;              // free texts drawn (the one made on run C's page)
};

TEST(SingleRunDisplayEndToEndTest, ARunsPageShowsItAloneWithItsOwnTexts) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/single_run_";
  const std::string sample = folder.Path("sample.run");
  std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qd_sample.run", sample);
  // The sample opens on its totals page; the text is made on run C's page.
  const CShownStep steps[] = {
      {"0", "B,C,E,D", 4, 0}, {"2", "C", 1, 1}, {"3", "E", 1, 0},
      {"0", "B,C,E,D", 4, 0}, {"2", "C", 1, 1},
  };
  std::string script = "open " + sample + "\nbomtab 2\nanswer - 1 1486=Seen_with_run_C 1647=1\n" +
                       "menu " + std::to_string(kCmdNewText) + "\n";
  int step = 0;
  for (const CShownStep& shown : steps) {
    const std::string name = std::to_string(++step);
    script += std::string("bomtab ") + shown.page + "\nsceneruns " + shown.sceneRuns +
              "\nannotationplaces " + std::to_string(kRunInfoLabel) + " " +
              folder.Path("labels" + name) + "\nannotationplaces " + std::to_string(kFreeText) +
              " " + folder.Path("texts" + name) + "\nshot " + shot + name + "_page" + shown.page +
              ".png\n";
  }
  // A new run from run C's page: every run shown while its start is placed, then it alone.
  script += "command " + std::to_string(kCmdNewRun) + "\nsceneruns B,C,E,D\nkey return\n" +
            "sceneruns F\nshot " + shot + "6_new_run.png\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_TRUE(run.dump.contains("\nfailed=\n"))
      << run.dump.toStdString() << run.output.toStdString();
  step = 0;
  for (const CShownStep& shown : steps) {
    const std::string name = std::to_string(++step);
    SCOPED_TRACE("step " + name + ", page " + shown.page);
    EXPECT_EQ(DrawnIn(folder.Path("labels" + name)), shown.runLabels);
    EXPECT_EQ(DrawnIn(folder.Path("texts" + name)), shown.texts);
    EXPECT_FALSE(
        QImage(QString::fromStdString(shot + name + "_page" + shown.page + ".png")).isNull());
  }
  EXPECT_FALSE(QImage(QString::fromStdString(shot + "6_new_run.png")).isNull());
}

}  // namespace
