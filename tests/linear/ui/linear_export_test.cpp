// The spreadsheet exports of the linear window as the user runs them: the commands of
// the menu, the files asked for, the helper, the workbook read back with openpyxl, and
// what is left behind.

#include <gtest/gtest.h>

#include <QThread>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/external_process.h"
#include "app/ui/command_ids.h"
#include "linear/ui/linear_wnd.h"
#include "linear_ui_test_support.h"
#include "support/environment_guard.h"

namespace {

std::vector<std::string> DumpWorkbook(const std::string& path) {
  const std::string command = "/usr/bin/python3 " + std::string(TVR_SOURCE_DIR) +
                              "/tests/data/linear/dump_workbook.py '" + path + "'";
  std::vector<std::string> cells;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return cells;
  char buffer[1024];
  while (fgets(buffer, sizeof buffer, pipe)) {
    std::string line(buffer);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    cells.push_back(line);
  }
  pclose(pipe);
  return cells;
}

// The sample model of linear costing that the build puts beside the program.
QString LinearModel() { return QStringLiteral(TVR_PROGRAM_DIR "/MODELS/Tavrilon_Lineaire.xlsx"); }

// A cell of the model's first sheet, where the data go below its header.
bool HasCell(const std::vector<std::string>& cells, const std::string& column,
             const std::string& value) {
  return std::any_of(cells.begin(), cells.end(), [&](const std::string& cell) {
    return cell.rfind("Nomenclature!" + column, 0) == 0 && cell.ends_with("=" + value);
  });
}

// Lets the window's events run until the exchange file is gone (the helper ended).
bool WaitForTheHelper(const std::string& exchange) {
  for (int i = 0; i < 200; ++i) {
    ProcessEvents();
    if (!std::filesystem::exists(exchange)) return true;
    QThread::msleep(50);
  }
  return false;
}

class LinearExportTest : public testing::Test {
 protected:
  void SetUp() override {
    setup.environment.printHelper = &launcher;
    window = std::make_unique<CLinearWnd>(setup.environment);
    window->resize(1000, 700);
    ASSERT_TRUE(window->CheckConfig());
    window->show();
    ASSERT_EQ(AddLine(*window, 0, 800, {{5, "25"}, {7, "4"}}, "P1"), 0);
  }
  std::string Exchange() const { return setup.folder.File("XlExport.txt"); }

  CLinearTestSetup setup;
  CPrintHelperLauncher launcher{TVR_PROGRAM_DIR};
  std::unique_ptr<CLinearWnd> window;
};

TEST_F(LinearExportTest, TheSavedWorkbookHoldsNumbersAndNothingIsLeftBehind) {
  const std::string target = setup.folder.File("P1.xlsx");
  setup.dialogs.filesToOpen.push_back(LinearModel());
  setup.dialogs.filesToSave.push_back(QString::fromStdString(target));
  // 32976 saves the project's workbook, on the model chosen, under a name.
  ASSERT_TRUE(window->OnCommand(kIdExportExcelBomOpen));
  EXPECT_TRUE(setup.dialogs.filesToOpen.empty()) << "the model was asked for";
  ASSERT_EQ(setup.dialogs.saveSuggestions.size(), 1);
  EXPECT_TRUE(setup.dialogs.saveSuggestions[0].endsWith(QStringLiteral(".xlsx")));
  ASSERT_TRUE(WaitForTheHelper(Exchange())) << "the exchange file stays";
  EXPECT_EQ(launcher.TakeExitCode(), -1) << "the ended helper was reaped";
  EXPECT_TRUE(setup.dialogs.messages.isEmpty()) << setup.dialogs.messages.join('\n').toStdString();
  const std::vector<std::string> cells = DumpWorkbook(target);
  ASSERT_FALSE(cells.empty()) << "openpyxl could not read the workbook";
  EXPECT_EQ(cells.front(), "Nomenclature!A1=s:Tavrilon") << "the model's title block stays";
  EXPECT_TRUE(HasCell(cells, "B", "n:25.0")) << "25 m of straight lengths, as a number";
  EXPECT_TRUE(HasCell(cells, "B", "n:4.0")) << "4 elbows, as a number";
  const CLinearLine& line = window->Project().lines.Line(0);
  EXPECT_TRUE(HasCell(cells, "D", "n:" + std::to_string(line.ExtraValues[2]) + ".0"))
      << "the services value";
  EXPECT_TRUE(HasCell(cells, "D", "n:" + std::to_string(line.ItemValues[2][5]) + ".0"))
      << "the sale price of the lengths";
}

TEST_F(LinearExportTest, AWorkbookThatNothingOpensIsToldAndGoesWithTheWindow) {
  const CEnvironmentGuard guard{"PATH"};
  guard.Set("PATH", setup.folder.Path());  // no xdg-open there
  setup.dialogs.filesToOpen.push_back(LinearModel());
  ASSERT_TRUE(window->OnCommand(kIdExportExcelOpen));
  ASSERT_TRUE(WaitForTheHelper(Exchange()));
  ASSERT_EQ(setup.dialogs.messages.size(), 1);
  const QString message = setup.dialogs.messages[0];
  const qsizetype start = message.indexOf(QLatin1Char('/'));
  const qsizetype end = message.indexOf(QStringLiteral(".xlsx"));
  ASSERT_TRUE(start >= 0 && end > start) << message.toStdString();
  const std::string workbook = message.mid(start, end + 5 - start).toStdString();
  EXPECT_TRUE(std::filesystem::exists(workbook)) << workbook;
  window.reset();
  EXPECT_FALSE(std::filesystem::exists(workbook)) << "the temporary workbook stays";
}

// The model is asked for every time. Cancel ends the export before anything is written;
// an Excel 97-2003 model is refused by name at once; a damaged one is told by name once
// the helper has ended, with no workbook written.
TEST_F(LinearExportTest, AModelCancelledOrUnreadableEndsTheExportAndIsToldByName) {
  const std::string old = setup.folder.WriteFile("old.xls", "x");
  const std::string damaged = setup.folder.WriteFile("damaged.xlsx", "no zip");
  const std::string target = setup.folder.File("P1.xlsx");
  struct Case {
    std::string model;  // empty: the dialog is cancelled
    bool asksTheName;
    bool told;
  };
  const Case cases[] = {{"", false, false}, {old, false, true}, {damaged, true, true}};
  for (const Case& c : cases) {
    setup.dialogs.messages.clear();
    setup.dialogs.saveSuggestions.clear();
    setup.dialogs.filesToOpen = {QString::fromStdString(c.model)};
    setup.dialogs.filesToSave = {QString::fromStdString(target)};
    window->OnCommand(kIdExportExcelBomOpen);
    EXPECT_EQ(setup.dialogs.saveSuggestions.size(), c.asksTheName ? 1 : 0) << c.model;
    EXPECT_TRUE(WaitForTheHelper(Exchange())) << c.model;
    ASSERT_EQ(setup.dialogs.messages.size(), c.told ? 1 : 0) << c.model;
    if (c.told) {
      EXPECT_TRUE(setup.dialogs.messages[0].contains(QString::fromStdString(c.model)))
          << setup.dialogs.messages[0].toStdString();
    }
    EXPECT_FALSE(std::filesystem::exists(target)) << c.model << ": nothing half-written";
  }
}

TEST(LinearExportHelperTest, AHelperThatCannotStartIsToldBeforeAnythingIsAsked) {
  CLinearTestSetup setup;
  CPrintHelperLauncher missing(setup.folder.Path(), "NoSuchHelper.exe");
  setup.environment.printHelper = &missing;
  CLinearWnd window(setup.environment);
  ASSERT_TRUE(window.CheckConfig());
  window.Project().lines.BeginNewLine(0);
  window.Project().lines.SaveWorkingAsNew("P1");
  EXPECT_EQ(window.ExportToExcel(true, 0), 0);
  EXPECT_TRUE(setup.dialogs.saveSuggestions.isEmpty()) << "no name asked for in vain";
  ASSERT_EQ(setup.dialogs.messages.size(), 1);
  EXPECT_TRUE(setup.dialogs.messages[0].contains(QStringLiteral("XlPrint.exe")));
  EXPECT_FALSE(std::filesystem::exists(setup.folder.File("XlExport.txt")));
}

// The two commands of each pair: one opens the workbook, the other asks for its name.
TEST_F(LinearExportTest, OnlyTheSaveCommandsAskForAName) {
  const CEnvironmentGuard guard{"PATH"};
  guard.Set("PATH", setup.folder.Path());  // nothing opens the workbooks
  for (const auto& [command, asks] : {std::pair{kIdExportExcelOpen, false},
                                      {kIdExportExcelBomOpen, true},
                                      {kIdLinearExcelSummaryOpen, false},
                                      {kIdLinearExcelSummary, true}}) {
    setup.dialogs.saveSuggestions.clear();
    setup.dialogs.filesToOpen.push_back(LinearModel());
    window->OnCommand(command);
    EXPECT_EQ(setup.dialogs.saveSuggestions.size(), asks ? 1 : 0) << command;
    WaitForTheHelper(Exchange());
  }
}

}  // namespace
