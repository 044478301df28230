// Starts the real program on the shipped sample project of costing by reference: its
// lines and prices show as the file holds them, and the window's CSV and XML exports and
// its save as write files that independent readers take back.

#include <gtest/gtest.h>

#include <QImage>
#include <QSettings>

#include <chrono>
#include <filesystem>
#include <thread>
#include <string>

#include "reference/ui/ref_core.h"
#include "shell_test_support.h"
#include "support/command_output.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/test_output.h"

namespace {

std::int64_t ItemsAmount(const CRefLine& line) {
  std::int64_t amount = 0;
  for (const CRefItemNode& item : line.Items()) amount += RefItemAmount(item);
  return amount;
}

TEST(ReferenceFileEndToEndTest, TheSampleProjectOpensExportsAndSavesAs) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNo3D=1\n[Design]\nInfos=0\nCopper=1\n[Ref]\nHlp=1\nHlp2=1\n"
               "[Language]\nID=044\n");
  const std::string sample = folder.Path("documents/sample.ref");
  std::filesystem::create_directories(folder.Path("documents"));
  std::filesystem::copy_file(TVR_SOURCE_DIR "/data/examples/sample.ref", sample);
  const std::string report = folder.Path("report.txt");
  const std::string csv = folder.Path("documents/lines.csv");
  const std::string xml = folder.Path("documents/lines.xml");
  const std::string saved = folder.Path("documents/copy.ref");
  const std::string workbook = folder.Path("documents/lines.xlsx");
  // The model of costing by reference that the build puts beside the program, where the
  // script can name it (an "_" in an answer stands for a blank).
  const std::string model = folder.Path("documents/model.xlsx");
  std::filesystem::copy_file(TVR_PROGRAM_DIR "/MODELS/Tavrilon_References.xlsx", model);
  const std::string shot = TestOutputPath("reference_sample_project.png");
  const std::string script = "refselect -999\nreftab 2\nrefreport " + report + "\nshot " + shot +
                             "\nanswer - accept fileNameEdit=" + csv + "\ncommand 32882\n" +
                             "answer - accept fileNameEdit=" + xml + "\ncommand 32986\n" +
                             "answer - accept fileNameEdit=" + model +
                             "\nanswer - accept fileNameEdit=" + workbook + "\ncommand 32976\n" +
                             "answer - accept fileNameEdit=" + saved + "\ncommand 57604\n";
  const CProgramRun run =
      RunProgram(folder.Path(), {QString::fromStdString(sample)}, script, "1400x900x24");
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.values.value("mode"), "4");
  EXPECT_EQ(run.values.value("child"), "reference_window");
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());

  // The window shows the lines and amounts that the file holds.
  CRefProject expected;
  ASSERT_EQ(LoadRefFile(sample, expected, {}), 0);
  QSettings values(QString::fromStdString(report), QSettings::IniFormat);
  ASSERT_EQ(values.value("lines").toInt(), 2) << run.dump.toStdString();
  for (int i : {1, 2}) {
    const std::string key = std::to_string(i);
    EXPECT_EQ(values.value(QString::fromStdString("name" + key)).toString().toStdString(),
              expected.lines[i].name);
    EXPECT_EQ(values.value(QString::fromStdString("amount" + key)).toLongLong(),
              ItemsAmount(expected.lines[i]));
  }

  // The exports read back through Python's csv (and LibreOffice) and xml.etree.
  const std::string verdict = CommandOutput(
      "/usr/bin/python3 " TVR_SOURCE_DIR "/tests/export/read_csv.py '" + csv + "' 2>&1");
  EXPECT_TRUE(verdict.starts_with("rows=")) << verdict;
  const std::string order =
      CommandOutput("/usr/bin/python3 " TVR_SOURCE_DIR "/tests/data/reference/read_order_xml.py '" +
                    xml + "' 2>&1");
  EXPECT_NE(order.find("Workshop feeder"), std::string::npos) << order;
  EXPECT_NE(order.find("'QPA250ER41'"), std::string::npos) << order;

  // The spreadsheet helper, started and not awaited, writes the workbook of the lines on
  // the model chosen, below its title block; the project's total is a number there.
  for (int i = 0; i < 200 && !std::filesystem::exists(workbook); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const std::string cells = CommandOutput(
      "/usr/bin/python3 " TVR_SOURCE_DIR "/tests/data/linear/dump_workbook.py '" + workbook + "'");
  const std::int64_t total = ItemsAmount(expected.lines[1]) + ItemsAmount(expected.lines[2]);
  EXPECT_EQ(cells.rfind("Nomenclature!A1=s:Tavrilon\n", 0), 0u) << cells;
  const std::size_t key = cells.find("=s:TotalPrice\n");
  ASSERT_NE(key, std::string::npos) << cells;
  const std::size_t row = cells.rfind("!A", key) + 2;
  EXPECT_NE(cells.find("Nomenclature!B" + cells.substr(row, key - row) +
                       "=n:" + std::to_string(total / 100) + "." + std::to_string(total % 100)),
            std::string::npos)
      << cells;
  EXPECT_NE(cells.find("Power distribution - Workshop feeder - QDA 63 A"), std::string::npos)
      << cells;

  // The copy saved as holds the same lines and items.
  CRefProject copy;
  ASSERT_EQ(LoadRefFile(saved, copy, {}), 0) << run.dump.toStdString();
  ASSERT_EQ(copy.lineCount, 2);
  for (int i : {1, 2}) {
    EXPECT_EQ(copy.lines[i].name, expected.lines[i].name);
    EXPECT_EQ(ItemsAmount(copy.lines[i]), ItemsAmount(expected.lines[i]));
  }
}

}  // namespace
