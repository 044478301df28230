// Starts the real program under a virtual X server on the QD sample and makes a new run
// of the current run's range from the Run menu's command (the TVR_SCRIPT_FILE hook of
// main.cpp), keeping a screenshot of each step in the test output folder; the design is
// saved so that the program ends without asking.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <filesystem>

#include "shell_test_support.h"

namespace {

TEST(RunCommandsEndToEndTest, NewRunFromTheRunMenu) {
  if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
    GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
  std::filesystem::create_directories(folder.Path("runtime"));
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/run_commands_";
  const std::string script = "open " TVR_PROGRAM_DIR "/examples/qd_sample.run\nshot " + shot +
                             "1_sample.png\ncommand 32789\nshot " + shot + "2_new_run.png\nsave " +
                             folder.Path("with_new_run.run") + "\n";
  folder.Write("script.txt", script);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("QT_QPA_PLATFORM");
  environment.insert("XDG_CONFIG_HOME", QString::fromStdString(folder.Path("settings")));
  environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(folder.Path("runtime")));
  environment.insert("TVR_DUMP_WINDOW_FILE", QString::fromStdString(folder.Path("dump.txt")));
  environment.insert("TVR_SCRIPT_FILE", QString::fromStdString(folder.Path("script.txt")));
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setProcessEnvironment(environment);
  process.start("xvfb-run", {"-a", QStringLiteral(TVR_PROGRAM_DIR "/tvr")});
  ASSERT_TRUE(process.waitForFinished(90000));
  QFile dump(QString::fromStdString(folder.Path("dump.txt")));
  ASSERT_TRUE(dump.open(QIODevice::ReadOnly)) << process.readAll().toStdString();
  const QString text = QString::fromUtf8(dump.readAll());
  EXPECT_TRUE(text.contains("\nfailed=\n")) << text.toStdString();
  // The sample's three runs and the new one, current, with no element placed yet.
  EXPECT_TRUE(text.contains("\nlayout=4/0\n")) << text.toStdString();
  for (const char* step : {"1_sample", "2_new_run"})
    EXPECT_FALSE(QImage(QString::fromStdString(shot + step + ".png")).isNull()) << step;
}

}  // namespace
