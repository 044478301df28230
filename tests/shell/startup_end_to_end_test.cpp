// Starts the real program under a virtual X server on the sample catalogue with a
// temporary settings folder, and reads back what its main window showed (through the
// TVR_DUMP_WINDOW_FILE hook of main.cpp).

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <filesystem>

#include "app/shell_file_types.h"
#include "shell/mode_menus.h"
#include "app/ui/window_translation.h"
#include "shell_test_support.h"
#include "support/test_output.h"

namespace {

struct CDump {
  bool finished = false;
  int exitCode = -1;
  QMap<QString, QString> values;
};

CDump RunProgram(CShellTestFolder& folder, const QStringList& arguments) {
  CDump dump;
  QString dumpPath = QString::fromStdString(folder.Path("dump.txt"));
  std::filesystem::create_directories(folder.Path("runtime"));
  std::filesystem::permissions(folder.Path("runtime"), std::filesystem::perms::owner_all);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("QT_QPA_PLATFORM");
  environment.insert("XDG_CONFIG_HOME", QString::fromStdString(folder.Path("settings")));
  environment.insert("XDG_DOCUMENTS_DIR", QString::fromStdString(folder.Path("documents")));
  environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(folder.Path("runtime")));
  environment.insert("TVR_DUMP_WINDOW_FILE", dumpPath);
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start("xvfb-run", QStringList{"-a", QStringLiteral(TVR_PROGRAM_DIR "/tvr")} + arguments);
  dump.finished = process.waitForFinished(90000);
  if (!dump.finished) process.kill();
  dump.exitCode = process.exitCode();
  QFile file(dumpPath);
  if (!file.open(QIODevice::ReadOnly)) return dump;
  for (const QString& line : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts))
    dump.values.insert(line.section('=', 0, 0), line.section('=', 1));
  return dump;
}

class StartupEndToEndTest : public ::testing::TestWithParam<const char*> {};

TEST_P(StartupEndToEndTest, TheMainWindowAppearsWithItsMenusInTheChosenLanguage) {
  if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
    GTEST_SKIP() << "xvfb-run is not installed";
  std::string language = GetParam();
  CShellTestFolder folder;
  // Only graphical work is offered and the information dialog is off, so no dialog
  // waits; the splash closes by itself.
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=" + language + "\n");
  std::filesystem::create_directories(folder.Path("data"));
  CDump dump = RunProgram(folder, {});
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
  if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
    GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Design]\nInfos=0\n[Linear]\nHlp=1\nHlp2=1\n[Language]\nID=044\n");
  std::filesystem::create_directories(folder.Path("data"));
  CDump dump = RunProgram(folder, {QStringLiteral(TVR_SOURCE_DIR "/data/examples/sample.lin")});
  ASSERT_TRUE(dump.finished);
  EXPECT_EQ(dump.exitCode, 0);
  EXPECT_EQ(dump.values.value("mode"), "3");  // linear costing
  EXPECT_EQ(dump.values.value("child"), "linear_window");
  EXPECT_TRUE(dump.values.value("childtitle").contains("sample.lin"));
}

INSTANTIATE_TEST_SUITE_P(Languages, StartupEndToEndTest, ::testing::Values("044", "033"));

TEST(LayoutWindowEndToEndTest, TheProgramOpensALayoutInItsWindowAndAScreenshotIsKept) {
  if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
    GTEST_SKIP() << "xvfb-run is not installed";
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
  CDump dump = RunProgram(folder, {QString::fromStdString(layout)});
  qunsetenv("TVR_SCREENSHOT_FILE");
  ASSERT_TRUE(dump.finished);
  EXPECT_EQ(dump.exitCode, 0);
  EXPECT_EQ(dump.values.value("active"), "layout_document");
  const QImage picture(screenshot);
  ASSERT_FALSE(picture.isNull());
  EXPECT_GT(picture.width(), 300);
}

}  // namespace
