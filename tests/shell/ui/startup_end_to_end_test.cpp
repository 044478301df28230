// Starts the real program under a virtual X server on the sample catalogue with a
// temporary settings folder, and reads back what its main window showed (through the
// TVR_DUMP_WINDOW_FILE hook of main.cpp).

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/shell_file_types.h"
#include "app/ui/command_ids.h"
#include "shell/ui/mode_menus.h"
#include "app/ui/window_translation.h"
#include "shell_test_support.h"
#include "support/program_run.h"
#include "support/test_output.h"

namespace {

class StartupEndToEndTest : public ::testing::TestWithParam<const char*> {};

TEST_P(StartupEndToEndTest, TheMainWindowAppearsWithItsMenusInTheChosenLanguage) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  std::string language = GetParam();
  CShellTestFolder folder;
  // Only graphical work is offered and the information dialog is off, so no dialog
  // waits; the splash closes by itself.
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=" + language + "\n");
  std::filesystem::create_directories(folder.Path("data"));
  CProgramRun dump = RunProgram(folder.Path(), {});
  ASSERT_TRUE(dump.finished);
  EXPECT_EQ(dump.exitCode, 0);
  EXPECT_EQ(dump.values.value("visible"), "1");
  EXPECT_EQ(dump.values.value("mode"), "2");  // the only way offered: graphical
  UseProgramLanguage(language);
  QStringList expected;
  for (int message : {kMsgMenuFile, kMsgMenuEdit, kMsgMenuView, kMsgMenuDesign, kMsgMenuCatalogue,
                      kMsgMenuRun, kMsgMenuWindow, kMsgMenuHelp})
    expected << ResourceQText(message);
  EXPECT_EQ(dump.values.value("menus"), expected.join('|'));
  EXPECT_TRUE(dump.values.value("title").startsWith("Tavrilon"));
  EXPECT_FALSE(dump.values.value("menus").contains("MSG_"));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(folder.Path("settings/TVR73/TVR.INI"))));
  // The start registered the file types for its user, naming this very program.
  QFile entry(QString::fromStdString(folder.Path("data/applications/tvr.desktop")));
  ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
  EXPECT_TRUE(entry.readAll().contains(
      QByteArray::fromStdString("\nExec=" + ShellExecProgram(TVR_PROGRAM_DIR "/tvr"))));
}

TEST(StartupEndToEndTest, TheSampleLinearProjectOpensInTheLinearWindow) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Design]\nInfos=0\n[Linear]\nHlp=1\nHlp2=1\n[Language]\nID=044\n");
  std::filesystem::create_directories(folder.Path("data"));
  CProgramRun dump =
      RunProgram(folder.Path(), {QStringLiteral(TVR_SOURCE_DIR "/data/examples/sample.lin")});
  ASSERT_TRUE(dump.finished);
  EXPECT_EQ(dump.exitCode, 0);
  EXPECT_EQ(dump.values.value("mode"), "3");  // linear costing
  EXPECT_EQ(dump.values.value("child"), "linear_window");
  EXPECT_TRUE(dump.values.value("childtitle").contains("sample.lin"));
  // The frame names the project's file in parentheses, not the MDI area's "[...]".
  EXPECT_EQ(dump.values.value("title"), "Tavrilon - (sample.lin)");
}

// A new user in French, without an option list of their own, opens the sample project:
// the frame names its file and the window offers the sample's groups (see the picture).
TEST(StartupEndToEndTest, TheSampleLinearProjectInFrenchForANewUser) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Design]\nInfos=0\n[Linear]\nHlp=1\nHlp2=1\n[Language]\nID=033\n");
  std::filesystem::create_directories(folder.Path("data"));
  const QString screenshot = QString::fromStdString(TestOutputPath("fr_linear_sample.png"));
  QFile::remove(screenshot);
  qputenv("TVR_SCREENSHOT_FILE", screenshot.toUtf8());
  CProgramRun dump =
      RunProgram(folder.Path(), {QStringLiteral(TVR_SOURCE_DIR "/data/examples/sample.lin")});
  qunsetenv("TVR_SCREENSHOT_FILE");
  ASSERT_TRUE(dump.finished);
  EXPECT_EQ(dump.values.value("mode"), "3");
  EXPECT_EQ(dump.values.value("title"), "Tavrilon - (sample.lin)");
  EXPECT_FALSE(QImage(screenshot).isNull());
  EXPECT_FALSE(std::filesystem::exists(folder.Path("settings/TVR73/lin_conf.cfg")));
}

// The reference window reads the option lists as it opens: a new user gets the list of
// every key beside TVR.INI, the sample's choices are read, and nothing of theirs is made.
TEST(StartupEndToEndTest, TheReferenceWindowReadsTheOptionListsAsItOpens) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI", "[Design]\nInfos=0\n[Language]\nID=044\n");
  std::filesystem::create_directories(folder.Path("documents"));
  std::filesystem::copy_file(TVR_SOURCE_DIR "/data/examples/sample.ref",
                             folder.Path("documents/project.ref"));
  CProgramRun dump =
      RunProgram(folder.Path(), {QString::fromStdString(folder.Path("documents/project.ref"))});
  ASSERT_TRUE(dump.finished);
  EXPECT_EQ(dump.values.value("mode"), "4");  // costing by reference
  EXPECT_EQ(dump.values.value("child"), "reference_window");
  EXPECT_TRUE(dump.values.value("childtitle").contains("project.ref"));
  std::ifstream all(folder.Path("settings/TVR73/ref_conf.all"));
  const std::string text((std::istreambuf_iterator<char>(all)), std::istreambuf_iterator<char>());
  for (const char* key : {"[QYA]\nOPT0=0\n", "[Qpa-APOD]\n", "CHOIXLUM=1\n", "SUPPL=1\n"})
    EXPECT_NE(text.find(key), std::string::npos) << key;
  EXPECT_FALSE(std::filesystem::exists(folder.Path("settings/TVR73/ref_conf.cfg")));
}

INSTANTIATE_TEST_SUITE_P(Languages, StartupEndToEndTest, ::testing::Values("044", "033"));

TEST(LayoutWindowEndToEndTest, TheProgramOpensALayoutInItsWindowAndAScreenshotIsKept) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
  // The QD sample the program ships, written at build time by the document code.
  const std::string layout = folder.Path("documents/qd_sample.run");
  std::filesystem::create_directories(folder.Path("documents"));
  std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qd_sample.run", layout);
  const QString screenshot = QString::fromStdString(TestOutputPath("layout_window.png"));
  QFile::remove(screenshot);
  qputenv("TVR_SCREENSHOT_FILE", screenshot.toUtf8());
  CProgramRun dump = RunProgram(folder.Path(), {QString::fromStdString(layout)});
  qunsetenv("TVR_SCREENSHOT_FILE");
  ASSERT_TRUE(dump.finished);
  EXPECT_EQ(dump.exitCode, 0);
  EXPECT_EQ(dump.values.value("active"), "layout_document");
  const QImage picture(screenshot);
  ASSERT_FALSE(picture.isNull());
  EXPECT_GT(picture.width(), 300);
}

// Opens a sample the program ships in its window, rebuilds its current run through the
// Run menu's command, fits the view and saves; the screenshot is kept as <sample>.png.
CProgramRun RebuildShippedSample(CShellTestFolder& folder, const std::string& sample,
                                 QImage& picture) {
  folder.Write(
      "settings/TVR73/TVR.INI",
      "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\nSplit=1\n[Language]\nID=044\n"
      "[Application Layout]\nShowCmd=1\nNormalPos=Left 0, Top 0, Right 1240, Bottom 920\n");
  const std::string layout = folder.Path("documents/" + sample + ".run");
  std::filesystem::create_directories(folder.Path("documents"));
  std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/" + sample + ".run", layout);
  const std::string saved = folder.Path("documents/rebuilt.run");
  const QString screenshot = QString::fromStdString(TestOutputPath(sample + ".png"));
  QFile::remove(screenshot);
  qputenv("TVR_SCREENSHOT_FILE", screenshot.toUtf8());
  const std::string script = "command " + std::to_string(kIdRebuildParts) + "\ncommand " +
                             std::to_string(kIdZoomAll) + "\nsave " + saved + "\n";
  CProgramRun run =
      RunProgram(folder.Path(), {QString::fromStdString(layout)}, script, "1280x960x24");
  qunsetenv("TVR_SCREENSHOT_FILE");
  picture = QImage(screenshot);
  return run;
}

// The QJF sample rebuilds through the Run menu's command (a range with a part builder)
// and is saved; the screenshot shows the run with the boxes and outlets of its feed units.
TEST(LayoutWindowEndToEndTest, TheQJFSampleRebuildsInTheProgramAndIsDrawnWithItsOutlets) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  QImage picture;
  const CProgramRun dump = RebuildShippedSample(folder, "qjf_sample", picture);
  ASSERT_TRUE(dump.finished);
  EXPECT_EQ(dump.exitCode, 0);
  EXPECT_EQ(dump.values.value("failed"), "");
  EXPECT_EQ(dump.values.value("active"), "layout_document");
  EXPECT_TRUE(dump.values.value("layout").startsWith("1/"));
  EXPECT_TRUE(std::filesystem::exists(folder.Path("documents/rebuilt.run")));
  ASSERT_FALSE(picture.isNull());
  EXPECT_GT(picture.width(), 1000);
}

// The QP sample (a run of each of the four codes) rebuilds and is saved, now that the
// range has a part builder; the screenshot shows the four runs with the QPC feed box.
TEST(LayoutWindowEndToEndTest, TheQPSampleRebuildsInTheProgramAndIsSaved) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  QImage picture;
  const CProgramRun dump = RebuildShippedSample(folder, "qp_sample", picture);
  ASSERT_TRUE(dump.finished);
  EXPECT_EQ(dump.exitCode, 0);
  EXPECT_EQ(dump.values.value("failed"), "");
  EXPECT_EQ(dump.values.value("active"), "layout_document");
  const std::string saved = folder.Path("documents/rebuilt.run");
  EXPECT_TRUE(std::filesystem::exists(saved));
  EXPECT_GT(std::filesystem::file_size(saved), 1000u);
  ASSERT_FALSE(picture.isNull());
  EXPECT_GT(picture.width(), 1000);
}

}  // namespace
