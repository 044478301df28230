// Starts the real program under a virtual X server on the QD sample, updates its prices
// from the Run menu's command, exports the bill as CSV and as a workbook (the TVR_SCRIPT_FILE
// hook of main.cpp stands in for the file dialogs), and reads both files back with
// independent readers: Python's csv and LibreOffice, and openpyxl.

#include <gtest/gtest.h>

#include <QImage>
#include <QStandardPaths>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>

#include "shell_test_support.h"
#include "support/program_run.h"
#include "support/command_output.h"

namespace {

TEST(LayoutExportsEndToEndTest, PricesUpdatedThenCsvAndWorkbookReadBack) {
  if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
    GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\nCurrentCat=1\n"
               "[Design]\nInfos=0\n[Language]\nID=044\n");
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/layout_exports_";
  const std::string csv = folder.Path("qd_sample.csv");
  const std::string workbook = folder.Path("qd_sample.xlsx");
  const std::string script = "open " TVR_PROGRAM_DIR
                             "/examples/qd_sample.run\ncommand 32875\nshot " +
                             shot + "1_prices.png\ncsv all " + csv + "\nworkbook " + workbook +
                             "\nsave " + folder.Path("priced.run") + "\n";
  const CProgramRun program = RunProgram(folder.Path(), {}, script);
  ASSERT_TRUE(program.finished) << program.output.toStdString();
  ASSERT_FALSE(program.dump.isEmpty()) << program.output.toStdString();
  const QString text = program.dump;
  EXPECT_TRUE(text.contains("\nfailed=\n")) << text.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot + "1_prices.png")).isNull());
  const std::string verdict = CommandOutput(
      "/usr/bin/python3 " TVR_SOURCE_DIR "/tests/export/read_csv.py '" + csv + "' 2>&1");
  EXPECT_TRUE(verdict.starts_with("rows=")) << verdict;
  EXPECT_NE(verdict.find("readers=2"), std::string::npos) << verdict;
  for (int i = 0; i < 200 && !std::filesystem::exists(workbook); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const std::string cells = CommandOutput(
      "/usr/bin/python3 " TVR_SOURCE_DIR "/tests/data/linear/dump_workbook.py '" + workbook + "'");
  // Each run is headed with its rating as the screen and the bill name it.
  EXPECT_NE(cells.find("QDA 63 A"), std::string::npos) << cells;
  EXPECT_EQ(cells.find("QDA 060 A"), std::string::npos) << cells;
  // The sale total of the priced document is a number in the workbook.
  EXPECT_NE(cells.find("=s:TotalPrice\nProject!B"), std::string::npos) << cells;
  const std::size_t total = cells.find("=s:TotalPrice\n");
  ASSERT_NE(total, std::string::npos) << cells;
  const std::string next = cells.substr(total + 14, cells.find('\n', total + 14) - total - 14);
  EXPECT_NE(next.find("=n:"), std::string::npos) << next;
  EXPECT_EQ(next.find("=n:0.0"), std::string::npos) << "priced: " << next;
}

}  // namespace
