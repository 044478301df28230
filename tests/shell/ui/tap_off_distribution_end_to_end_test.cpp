// Starts the real program under a virtual X server on the QD sample and asks the tap-off
// dialog to distribute the units along the run (the TVR_SCRIPT_FILE hook of main.cpp):
// when the distribution cannot run (a unit of another function than the distributing
// one), the user is told so instead of the tick being passed over in silence; a unit of
// the distributing function is distributed without a word, as before. The spacing is the
// user's own ([Design] TapOff2Load): with the default, a unit goes before the user's fuse
// unit; with a spacing of 100 mm none fits, and the fuse unit is marked and the user told.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <string>

#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

constexpr int kCmdTapOff = 33030;

struct CDistributionCase {
  const char* functionButton;  // 1628: fuses (function 1), 1631: the distributing function
  bool told;
};

TEST(TapOffDistributionEndToEndTest, ADistributionThatCannotRunIsTold) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  // The cause named: the unit chosen is not of the distributing function.
  const std::string notDistributed = "Unit QDB0016SE is not distributed along the run";
  for (const CDistributionCase& row :
       {CDistributionCase{"1628", true}, CDistributionCase{"1631", false}}) {
    CShellTestFolder folder;
    folder.Write("settings/TVR73/TVR.INI",
                 "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
    std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
    const std::string shot =
        std::string(TVR_TEST_OUTPUT_DIR) + "/tapoff_distribute_" + row.functionButton + ".png";
    // Run E, whose joints have outlets; the dialog with the distribution ticked.
    const std::string script =
        "open " TVR_PROGRAM_DIR "/examples/qd_sample.run\nrunclick 2 1 6\nzoomrun\nanswer " + shot +
        " 1 " + row.functionButton + "=1 1110=1 1677=1\nanswer - accept\ncommand " +
        std::to_string(kCmdTapOff) + "\n";
    const CProgramRun run = RunProgram(folder.Path(), {}, script);
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    EXPECT_EQ(run.dump.contains(QString::fromStdString(notDistributed)), row.told)
        << run.dump.toStdString();
    EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  }
}

struct CSpacingCase {
  const char* setting;  // the [Design] line, empty for the default spacing
  int elements;         // run E's elements afterwards, the user's fuse unit among them
  bool marked;          // the user was told that units were marked
};

TEST(TapOffDistributionEndToEndTest, TheUsersSpacingDecidesWhereUnitsGo) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  const QString marked = QStringLiteral("too far apart for the distance set");
  for (const CSpacingCase& row :
       {CSpacingCase{"", 8, false}, CSpacingCase{"TapOff2Load=0/100\n", 7, true}}) {
    SCOPED_TRACE(row.setting);
    CShellTestFolder folder;
    folder.Write("settings/TVR73/TVR.INI", std::string("[Database]\nNoML=1\nNoRF=1\n[Design]\n") +
                                               row.setting + "Infos=0\n[Language]\nID=044\n");
    const std::string sample = folder.Path("sample.run");
    std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qd_sample.run", sample);
    const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/tapoff_spacing_" +
                             (row.marked ? "short" : "default") + ".png";
    // A fuse unit placed by hand on run E, then the distribution of boxes up to 63 A.
    const std::string script =
        "open " + sample + "\nrunclick 2 1 6\nzoomrun\nanswer - 1 1628=1 1110=1\ncommand " +
        std::to_string(kCmdTapOff) +
        "\noutlet\ncommand 32780\nanswer - 1 1631=1 1110=1 1677=1\nanswer - accept\ncommand " +
        std::to_string(kCmdTapOff) + "\nshot " + shot + "\nsave " + sample + "\n";
    const CProgramRun run = RunProgram(folder.Path(), {}, script);
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
    EXPECT_EQ(run.values.value("layout"), QStringLiteral("4/%1").arg(row.elements));
    EXPECT_EQ(run.dump.contains(marked), row.marked) << run.dump.toStdString();
    EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  }
}

}  // namespace
