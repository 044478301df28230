// Starts the real program in costing by reference, runs the lighting study of a 10 x 6 m
// room from the lighting command to its range page, and commits the QYA line it starts:
// the line keeps the study's run length, luminaires per run and number of runs. On the
// results step the study is exported: the spreadsheet helper writes the workbook and
// hands it to the desktop's opener, here a script that keeps a copy for openpyxl.

#include <gtest/gtest.h>

#include <QImage>
#include <QSettings>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "shell_test_support.h"
#include "support/program_run.h"
#include "support/command_output.h"
#include "support/environment_guard.h"
#include "support/test_output.h"

namespace {

std::string Answer(const std::string& shot, const std::string& rest) {
  return "answer " + TestOutputPath(shot) + " " + rest + "\n";
}

// The value right of each text cell of the workbook: key -> "n:number" or "s:text".
std::map<std::string, std::string> WorkbookFields(const std::string& path) {
  std::istringstream lines(CommandOutput(
      "/usr/bin/python3 " TVR_SOURCE_DIR "/tests/data/linear/dump_workbook.py '" + path + "'"));
  std::map<std::string, std::string> cells;
  for (std::string line; std::getline(lines, line);) {
    const std::size_t bang = line.find('!'), equals = line.find('=');
    if (bang != std::string::npos && equals != std::string::npos && equals > bang)
      cells[line.substr(bang + 1, equals - bang - 1)] = line.substr(equals + 1);
  }
  std::map<std::string, std::string> fields;
  for (const auto& [cell, value] : cells) {
    if (value.rfind("s:", 0) != 0 || cell.empty() || cell[0] < 'A' || cell[0] >= 'Z') continue;
    const std::string right = std::string(1, static_cast<char>(cell[0] + 1)) + cell.substr(1);
    if (const auto found = cells.find(right); found != cells.end())
      fields[value.substr(2)] = found->second;
  }
  return fields;
}

// A stand-in for the desktop's opener that keeps what it is asked to open.
std::string InstallOpener(CShellTestFolder& folder, const std::string& kept) {
  const std::string bin = folder.Path("bin");
  std::filesystem::create_directories(bin);
  std::ofstream(bin + "/xdg-open") << "#!/bin/sh\ncp \"$1\" '" << kept << "'\n";
  std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
  return bin;
}

TEST(LightingEndToEndTest, TheStudyAddsItsLightingLine) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNo3D=1\n[Design]\nInfos=0\nCopper=1\n[Ref]\nHlp=1\nHlp2=1\n"
               "[Language]\nID=044\n");
  const std::string report = folder.Path("report.txt");
  const std::string workbook = folder.Path("opened.xlsx");
  // The lighting model the build puts beside the program, where the script can name it
  // (an "_" in an answer stands for a blank).
  const std::string model = folder.Path("lighting.xlsx");
  std::filesystem::copy_file(TVR_PROGRAM_DIR "/MODELS/GDE_001.xlsx", model);
  const std::string script =
      Answer("e2e_lighting_step1.png", "+1149 light_length=10 light_width=6 light_height=3") +
      Answer("e2e_lighting_step2.png", "+1149 light_luminaire=Réglette_2x36_W") +
      Answer("e2e_lighting_step3.png", "+1149 light_illuminance=300") +
      Answer("e2e_lighting_step4.png", "+1453") + "answer - accept fileNameEdit=" + model +
      "\nanswer - +1149\n" + Answer("e2e_lighting_step5.png", "1531") + "command 33031\nwaitfile " +
      workbook +
      " 30\n"
      // The QYA 25 A line offers the comparison of its solutions first: No.
      "answer - 7\nrefbutton ref_validate\nanswer - 1\nrefbutton ref_take_counts\n"
      "answer - accept text_entry_edit=Lights\nrefbutton ref_commit\nrefreport " +
      report + "\n";
  const CEnvironmentGuard guard{"PATH"};
  guard.Set("PATH", InstallOpener(folder, workbook) + ":" + qgetenv("PATH").toStdString());
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
  // The exported study, read back by openpyxl.
  std::map<std::string, std::string> fields = WorkbookFields(workbook);
  ASSERT_FALSE(fields.empty()) << "no workbook was opened";
  EXPECT_EQ(fields["Length"], "n:10.0");
  EXPECT_EQ(fields["Width"], "n:6.0");
  EXPECT_EQ(fields["Height"], "n:3.0");
  EXPECT_EQ(fields["Illumination"], "n:300.0");
  EXPECT_EQ(fields["NbRuns"], "n:3.0");
  EXPECT_EQ(fields["LightsPerRun"], "n:3.0");
  EXPECT_EQ(fields["NbLights"], "n:9.0");
  EXPECT_EQ(fields["InTheWidth"], "b:False");  // a truth value, not "#FALSE#"
  EXPECT_EQ(fields["Light"].rfind("s:Réglette 2x36", 0), 0u) << fields["Light"];
  EXPECT_EQ(fields["Grandeur / Quantity"], "s:Valeur / Value") << "the model's headings stay";
  for (int step = 1; step <= 5; ++step)
    EXPECT_FALSE(QImage(QString::fromStdString(
                            TestOutputPath("e2e_lighting_step" + std::to_string(step) + ".png")))
                     .isNull())
        << step;
}

}  // namespace
