// Starts the real program in costing by reference, runs the lighting study of a 10 x 6 m
// room from the lighting command to its range page, and commits the QYA line it starts:
// the line keeps the study's run length, luminaires per run and number of runs.

#include <gtest/gtest.h>

#include <QImage>
#include <QSettings>

#include <string>

#include "shell_test_support.h"
#include "support/program_run.h"
#include "support/test_output.h"

namespace {

std::string Answer(const std::string& shot, const std::string& rest) {
  return "answer " + TestOutputPath(shot) + " " + rest + "\n";
}

TEST(LightingEndToEndTest, TheStudyAddsItsLightingLine) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNo3D=1\n[Design]\nInfos=0\nCopper=1\n[Ref]\nHlp=1\nHlp2=1\n"
               "[Language]\nID=044\n");
  const std::string report = folder.Path("report.txt");
  const std::string script =
      Answer("e2e_lighting_step1.png", "+1149 light_length=10 light_width=6 light_height=3") +
      Answer("e2e_lighting_step2.png", "+1149 light_luminaire=Batten_2x36_W") +
      Answer("e2e_lighting_step3.png", "+1149 light_illuminance=300") +
      Answer("e2e_lighting_step4.png", "+1149") + Answer("e2e_lighting_step5.png", "1531") +
      // The QYA 25 A line offers the comparison of its solutions first: No.
      "command 33031\nanswer - 7\nrefbutton ref_validate\nanswer - 1\nrefbutton ref_take_counts\n"
      "answer - accept text_entry_edit=Lights\nrefbutton ref_commit\nrefreport " +
      report + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, QStringLiteral("1400x900x24"));
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  const QString dialogs = run.values.value("dialogs");
  EXPECT_FALSE(dialogs.contains("!lighting_dialog")) << dialogs.toStdString();
  QSettings values(QString::fromStdString(report), QSettings::IniFormat);
  ASSERT_EQ(values.value("lines").toInt(), 1) << run.dump.toStdString();
  EXPECT_EQ(values.value("name1").toString(), "Lights");
  EXPECT_EQ(values.value("kind1").toInt(), 1);      // QYA
  EXPECT_EQ(values.value("length1").toInt(), 8);    // 7.867 m rounded up
  EXPECT_EQ(values.value("count1").toInt(), 3);     // luminaires per run
  EXPECT_EQ(values.value("quantity1").toInt(), 3);  // runs
  for (int step = 1; step <= 5; ++step)
    EXPECT_FALSE(QImage(QString::fromStdString(
                            TestOutputPath("e2e_lighting_step" + std::to_string(step) + ".png")))
                     .isNull())
        << step;
}

}  // namespace
