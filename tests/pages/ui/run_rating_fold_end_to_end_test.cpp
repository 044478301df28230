// Starts the real program under a virtual X server on a copy of the QD sample and works
// the fold button of the run rating page as a user does (Run > Properties, the rating
// page, the button pressed and pressed again): pressed, the page's lower part shows whole
// with its texts, in the navigation bar's room and what the window grows by beyond it;
// pressed again, the lower part hides and the window is back to its height. On a short
// page (a QD run) and a tall one (a QM run with its temperature), in English and French.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/test_output.h"

namespace {

constexpr int kRunProperties = 32792;
constexpr int kRatingPage = 1;

// The heights the script appended, a line each.
std::vector<int> Heights(const std::string& path) {
  std::ifstream in(path);
  std::vector<int> heights;
  for (int height = 0; in >> height;) heights.push_back(height);
  return heights;
}

struct CFoldCase {
  const char* sample;
  const char* language;
};

TEST(RunRatingFoldEndToEndTest, TheFoldButtonShowsAndHidesTheLowerPart) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  for (const CFoldCase& row : {CFoldCase{"qd_sample", "044"}, CFoldCase{"qd_sample", "033"},
                               CFoldCase{"qm_sample", "033"}}) {
    const char* language = row.language;
    SCOPED_TRACE(std::string(row.sample) + " " + language);
    CTempFolder folder("rating-fold-e2e");
    std::filesystem::create_directories(folder.File("documents"));
    const std::string sample = folder.File("documents/sample.run");
    std::filesystem::copy_file(std::string(TVR_PROGRAM_DIR "/examples/") + row.sample + ".run",
                               sample);
    folder.WriteFile("settings/TVR73/TVR.INI",
                     std::string("[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=") +
                         language + "\n[Dialog Property]\nLeft=20\nTop=20\nStayVisible=1\n");
    const std::string heights = folder.File("heights.txt");
    const std::string shot =
        TestOutputPath(std::string("rating_fold_") + row.sample + "_" + language + "_");
    const std::string script =
        "open " + sample + "\nmenu " + std::to_string(kRunProperties) + "\npropcurrent " +
        std::to_string(kRatingPage) + "\npropshown 1333 1\npropshown 1603 0\npropshown 1099 0\n" +
        "propheight " + heights + "\npropshot " + shot + "1_lower_hidden.png\npropcheck 1333 1\n" +
        "propshown 1603 1\npropshown 1099 1\npropshown 1333 1\nproptabsfit\npropheight " + heights +
        "\npropshot " + shot + "2_lower_shown.png\npropcheck 1333 0\npropshown 1603 0\n" +
        "propshown 1099 0\npropheight " + heights + "\npropshot " + shot +
        "3_lower_hidden_again.png\n";
    const CProgramRun run = RunProgram(folder.Folder(), {}, script, "1600x1000x24");
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
    EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
    const std::vector<int> seen = Heights(heights);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_GE(seen[1], seen[0]);
    EXPECT_EQ(seen[2], seen[0]);
    for (const char* step : {"1_lower_hidden", "2_lower_shown", "3_lower_hidden_again"})
      EXPECT_FALSE(QImage(QString::fromStdString(shot + step + ".png")).isNull()) << step;
  }
}

}  // namespace
