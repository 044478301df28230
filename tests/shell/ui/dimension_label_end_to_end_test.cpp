// Starts the real program under a virtual X server (the TVR_SCRIPT_FILE hook of main.cpp),
// adds a user dimension with the dimension tool and leaves its label where the program put
// it, saves, closes, opens the file again and saves it once more: every dimension's label
// is where it was, each time.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include <filesystem>

#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

std::string Text(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

TEST(DimensionLabelEndToEndTest, AnUndraggedDimensionStaysWhereItWasThroughSaves) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string shots = std::string(TVR_TEST_OUTPUT_DIR) + "/";
  const std::string script =
      "open " TVR_PROGRAM_DIR
      "/examples/annotations_sample.run\n"
      "annotations 9 1\n"
      // A new dimension between two elements picked with the dimension tool, never dragged.
      "menu 33028\ndimclick 1 6\ndimclick 3 6\n"
      "annotations 9 2\n"
      "annotationplaces 9 " +
      folder.Path("made.txt") + "\nsave " + folder.Path("first.run") + "\ncommand 57602\nopen " +
      folder.Path("first.run") + "\nannotationplaces 9 " + folder.Path("reopened.txt") + "\nshot " +
      shots + "dimension_label_reopened.png\nsave " + folder.Path("second.run") +
      "\ncommand 57602\nopen " + folder.Path("second.run") + "\nannotationplaces 9 " +
      folder.Path("again.txt") + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, "1400x1000x24");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
  const std::string made = Text(folder.Path("made.txt"));
  // Both dimensions are drawn on the layout: the sample's and the new one.
  ASSERT_EQ(made.find("hidden"), std::string::npos) << made;
  ASSERT_EQ(std::count(made.begin(), made.end(), '\n'), 2) << made;
  EXPECT_EQ(Text(folder.Path("reopened.txt")), made);
  EXPECT_EQ(Text(folder.Path("again.txt")), made);
  EXPECT_FALSE(QImage(QString::fromStdString(shots + "dimension_label_reopened.png")).isNull());
}

}  // namespace
