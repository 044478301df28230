// Starts the real program under a virtual X server on the QD sample (the TVR_SCRIPT_FILE
// hook of main.cpp), measures distances between elements with the dimension tool, within
// the current run and within another one, saves with the File menu's command, closes and
// opens the file again: the dimension dialog reads as it read before the save (its four
// lengths, pictured), its ends still on the elements measured.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <string>

#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

constexpr int kCmdSave = 57603;
constexpr int kCmdClose = 57602;
constexpr int kCmdDimension = 33028;

struct CDimensionCase {
  const char* pickRun;  // a click that makes the run current first; empty: run D
  int first, second;    // elements of the current run's device list
};

TEST(UserDimensionEndToEndTest, DimensionsReadTheSameAfterSavingAndOpening) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  for (const CDimensionCase& row :
       {CDimensionCase{"", 1, 3}, CDimensionCase{"runclick 0 1 6\n", 2, 6}}) {
    CShellTestFolder folder;
    folder.Write("settings/TVR73/TVR.INI",
                 "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
    std::filesystem::create_directories(folder.Path("documents"));
    const std::string design = folder.Path("documents/measured.run");
    std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qd_sample.run", design);
    const std::string before = folder.Path("before.png");
    const std::string after = folder.Path("after.png");
    const std::string script =
        "open " + design + "\n" + row.pickRun + "menu " + std::to_string(kCmdDimension) +
        "\ndimclick " + std::to_string(row.first) + " 6\ndimclick " + std::to_string(row.second) +
        " 6\nannotations 9 1\nanswer " + before + " 2\nannotation double 9\ncommand " +
        std::to_string(kCmdSave) + "\ncommand " + std::to_string(kCmdClose) + "\nopen " + design +
        "\nannotations 9 1\nanswer " + after + " 2\nannotation double 9\n";
    const CProgramRun run = RunProgram(folder.Path(), {}, script);
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
    const QImage read(QString::fromStdString(before));
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(QImage(QString::fromStdString(after)), read) << row.first << "-" << row.second;
  }
}

}  // namespace
