// Starts the real program under a virtual X server on a copy of the QD sample and works
// the property window as a user does: Edit > Properties is offered only where it opens
// the window; a place saved near the screen's edge still shows the whole window, and a
// drag of its caption leaves it open; with the pin set another element selected shows
// its pages on the tab the strip highlights, unpinned the window closes.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/test_output.h"

namespace {

constexpr int kElementProperties = 32861;
constexpr int kSelectTool = 32780;
// The view tools keep the selection: Edit > Properties would do nothing there.
constexpr int kPanTool = 32786;
constexpr int kZoomRectTool = 32858;

class PropWindowPlaceEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
    std::filesystem::create_directories(m_folder.File("documents"));
    std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qd_sample.run", Sample());
  }
  std::string Sample() { return m_folder.File("documents/sample.run"); }
  // The program on a 1600 x 1000 screen with the window's place and language saved.
  CProgramRun Run(const std::string& script, const std::string& place = "Left=20\nTop=20\n",
                  const char* language = "044") {
    m_folder.WriteFile(
        "settings/TVR73/TVR.INI",
        std::string("[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=") + language +
            "\n[Dialog Property]\n" + place);
    return RunProgram(m_folder.Folder(), {}, "open " + Sample() + "\n" + script, "1600x1000x24");
  }

  CTempFolder m_folder{"propwin-place-e2e"};
};

TEST_F(PropWindowPlaceEndToEndTest, EditPropertiesIsOfferedOnlyWhereItOpensTheWindow) {
  const std::string on = std::to_string(kElementProperties);
  const CProgramRun run =
      Run("enabled " + on + " 0\nrunclick 3 5 6\nenabled " + on + " 1\ncommand " +
          std::to_string(kPanTool) + "\nenabled " + on + " 0\ncommand " +
          std::to_string(kZoomRectTool) + "\nenabled " + on + " 0\ncommand " +
          std::to_string(kSelectTool) + "\nrunclick 3 5 6\nenabled " + on + " 1\nmenu " + on +
          "\npropshows 5\n");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
}

TEST_F(PropWindowPlaceEndToEndTest, APlaceNearTheEdgeStillShowsTheWholeWindow) {
  for (const char* place : {"Left=1556\nTop=20\n", "Left=20\nTop=990\n", "Left=3550\nTop=-5\n"}) {
    SCOPED_TRACE(place);
    const std::string shot = TestOutputPath("prop_window_place_e2e.png");
    const CProgramRun run = Run("pick 5 6\npropinside\nshot " + shot + "\n", place);
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
    ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
    EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  }
}

TEST_F(PropWindowPlaceEndToEndTest, ADragOfTheCaptionLeavesTheWindowOpen) {
  const CProgramRun run = Run("pick 5 6\nproppin 0\npropdrag -300 120\npropshows 5\n");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
}

TEST_F(PropWindowPlaceEndToEndTest, PinnedAnotherElementShowsItsPagesUnpinnedTheWindowCloses) {
  const std::string pinned = TestOutputPath("prop_window_pinned_second_e2e.png");
  const CProgramRun run = Run("pick 5 6\nproppin 1\nrunclick 3 4 6\npropshows 4\npropshot " +
                              pinned + "\nproppin 0\nrunclick 3 5 6\npropclosed\n");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
}

// Each element opens on the tab of the page shown last; the strip highlights that tab, a
// click on another tab shows that page, and every tab, the run's too, shows its whole
// text in English and in French.
TEST_F(PropWindowPlaceEndToEndTest, TheHighlightedTabIsAlwaysThePageShown) {
  for (const char* language : {"044", "033"}) {
    SCOPED_TRACE(language);
    const std::string shot =
        TestOutputPath(std::string("prop_window_tabs_") + language + "_e2e.png");
    const CProgramRun run = Run(
        "pick 5 6\nproppin 1\nproptab 2\npropcurrent 2\nproptabsfit\nrunclick 3 4 6\n"
        "propcurrent 1\nrunclick 3 5 6\npropcurrent 2\npropshot " +
            shot +
            "\npropclicktab 0\npropcurrent 0\nproptab 0\nmenu 32792\npropcurrent 1\nproptabsfit\n",
        "Left=20\nTop=20\n", language);
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
    ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
    EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  }
}

// Pinned, a straight of run E on its third tab, then a tap-off unit placed there by hand
// (one tab), then an elbow of run D (its run's pages first, then its own): each time the
// highlighted tab is the page shown, and a click on a tab shows that page.
TEST_F(PropWindowPlaceEndToEndTest, PinnedEachKindOfElementShowsTheHighlightedPage) {
  for (const char* language : {"044", "033"}) {
    SCOPED_TRACE(language);
    const std::string shot =
        TestOutputPath(std::string("prop_window_kinds_") + language + "_e2e.png");
    const CProgramRun run =
        Run("runclick 2 1 6\nzoomrun\nanswer - 1 1628=1 1110=1\ncommand 33030\noutlet\ncommand " +
                std::to_string(kSelectTool) +
                "\npick 1 6\nproppin 1\nproptab 2\npropcurrent 2\npick 6 6\npropshows 6\n"
                "propcurrent 0\npropclicktab 0\npropcurrent 0\nrunclick 3 5 6\npropcurrent 1\n"
                "runclick 3 5 6\npropshows 5\npropcurrent 0\npropclicktab 2\npropcurrent 2\n"
                "propshot " +
                shot + "\npropclicktab 0\npropcurrent 0\n",
            "Left=20\nTop=20\n", language);
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
    EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
    EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  }
}

}  // namespace
