#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <thread>

#include "app/external_process.h"
#include "linear/linear_excel_export.h"
#include "linear/linear_price_table.h"
#include "linear/linear_pricing.h"
#include "linear/linear_test_support.h"
#include "support/temp_folder.h"

namespace {

// A priced project: 25 m of QMA 800 A (two identical lines) and 40 m of QWA 400 A.
CLinearProject PricedProject(CLinearTables& tables) {
  CLinearProject project;
  project.SetProperty("Name", "Plant \"B\", east");
  project.SetProperty("Comment", "first\nsecond");
  EXPECT_TRUE(tables.OpenLinearTables(SampleFolders(), project.settings, 0));
  for (int kind = 0; kind < 2; ++kind) {
    project.lines.BeginNewLine(kind);
    CLinearLine& line = project.lines.Working();
    line.Product = kind == 0 ? kProductQMA : kProductQWA, line.Rating = kind == 0 ? 800 : 400;
    line.Conductors = 13, line.IpDegree = kind == 0 ? 55 : 52;
    line.Slots[1 + kind] = 1, line.Slots[5] = 2500 + 1500 * kind, line.Slots[7] = 2 - 2 * kind;
    line.Slots[29] = 2 - kind, line.Comment = kind == 0 ? "a\nb" : "";
    ComputeLinearItem(line, 0, CLinearColumnFormulas::Parse(project.settings.columnFormulas),
                      tables, project.settings);
    project.lines.SaveWorkingAsNew(kind == 0 ? "Hall \"A\"" : "Riser");
  }
  return project;
}

bool HasLine(const CXlExportFile& file, const std::string& line) {
  return std::find(file.Lines().begin(), file.Lines().end(), line) != file.Lines().end();
}

TEST(LinearExcelExportTest, ExchangeFileOfAPricedProject) {
  const CEnglishTexts texts;
  CLinearTables tables;
  CLinearProject project = PricedProject(tables);
  const CLinearExportContext context{
      {true, true, true, true}, {true, true, true, true, true}, nullptr, &tables};
  const CXlExportFile file = WriteExcelExchangeFile(project, 0, context);
  for (const char* line :
       {R"("Title","@","Plant ""B"", east")",
        R"("Comment2","@","second")",
        R"("Comment3","@"," ")",
        R"("TotalPrice","",14 618)",
        R"("TotalWeight","",900.00)",
        "-,-,-",
        "2",
        R"("Hall ""A""")",
        R"("Line","Transport lines - Hall ""A"" - QMA 800 A - 3L+N+PE")",
        R"("LineTotal",9 642)",
        R"("Remark","a")",
        R"("Remark2","b")",
        R"("Remark3"," ")",
        R"("Length",25)",
        R"("Elbow",2)",
        R"("LineWeight",506.88)",
        "-,-",
        "7,5",
        R"("Designation","Quantity    ","Gross price","Sale price","Labour time")",
        "c14,c1,c3,c17,c11",
        "#FALSE#,#FALSE#,#TRUE#,#TRUE#,#TRUE#",
        R"("Rising",#TRUE#)"})
    EXPECT_TRUE(HasLine(file, line)) << line;
  EXPECT_EQ(SumLineTotals(project, {}), 0.0) << "without tables no weight";
  const CXlExportFile detail = WriteExcelExchangeFile(project, 1, context);
  EXPECT_TRUE(HasLine(detail, "#FALSE#,#FALSE#,#FALSE#,#FALSE#,#FALSE#"));
  EXPECT_TRUE(HasLine(detail, R"(" - Transformer connection                    ","2",1 228,,)"));
  CLinearProject empty;
  const CXlExportFile none = WriteExcelExchangeFile(empty, 0, {});
  EXPECT_EQ(std::vector<std::string>(none.Lines().end() - 2, none.Lines().end()),
            (std::vector<std::string>{"-,-,-", "0"}));
}

TEST(LinearExcelExportTest, LengthOfALine) {
  CLinearProject project;
  project.lines.BeginNewLine(1);
  CLinearLine& line = project.lines.Working();
  line.Slots[5] = 250, line.Slots[6] = 150, line.Slots[9] = 3, line.Slots[10] = 320;
  project.lines.SaveWorkingAsNew("l");
  EXPECT_TRUE(HasLine(WriteExcelExchangeFile(project, 0, {}), R"("Length",13.60)"));
  project.lines.Line(0).Slots[10] = 300;
  EXPECT_TRUE(HasLine(WriteExcelExchangeFile(project, 0, {}), R"("Length",13)"));
}

TEST(LinearExcelExportTest, HugeStoredLengthsAndElbowsAreAddedWithoutWrapping) {
  CLinearProject project;
  project.lines.BeginNewLine(0);
  CLinearLine& line = project.lines.Working();
  constexpr std::int32_t kTop = std::numeric_limits<std::int32_t>::max();
  line.Slots[5] = kTop, line.Slots[6] = kTop, line.Slots[7] = kTop, line.Slots[8] = kTop;
  project.lines.SaveWorkingAsNew("l");
  const CXlExportFile file = WriteExcelExchangeFile(project, 0, {});
  EXPECT_TRUE(HasLine(file, R"("Length",42949672.94)"));
  EXPECT_TRUE(HasLine(file, R"("Elbow",4294967294)"));
}

// Every quantity slot of a line at the top of its range, priced, tabled and exported:
// sums are held at the top, never wrapped to negative numbers.
TEST(LinearExcelExportTest, ALineOfHugeStoredValuesIsPricedWithoutWrapping) {
  const CEnglishTexts texts;
  CLinearTables tables;
  CLinearProject project;
  ASSERT_TRUE(tables.OpenLinearTables(SampleFolders(), project.settings, 0));
  constexpr std::int32_t kTop = std::numeric_limits<std::int32_t>::max();
  for (int product : {kProductQMA, kProductQPA}) {
    project.lines.BeginNewLine(1);
    CLinearLine& line = project.lines.Working();
    line.Product = product, line.Rating = product == kProductQMA ? 800 : 250;
    line.Conductors = 13, line.IpDegree = 54;
    line.Slots.fill(kTop);
    ComputeLinearItem(line, 0, CLinearColumnFormulas::Parse(project.settings.columnFormulas),
                      tables, project.settings);
    for (std::int32_t total : line.TotalValues) EXPECT_GE(total, 0) << product;
    project.lines.SaveWorkingAsNew("huge");
  }
  const CLinearExportContext context{
      {true, true, true, true}, {true, true, true, true, true, true, true, true}, nullptr, &tables};
  const CXlExportFile file = WriteExcelExchangeFile(project, 0, context);
  EXPECT_FALSE(std::any_of(file.Lines().begin(), file.Lines().end(), [](const std::string& line) {
    return line.find(",-") != std::string::npos && line.find("-,-") == std::string::npos;
  })) << "no negative number in the exchange file";
}

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

TEST(LinearExcelExportTest, TheHelperWritesAWorkbookThatReadsBack) {
  const CEnglishTexts texts;
  CTempFolder folder("xlsx");
  CLinearTables tables;
  CLinearProject project = PricedProject(tables);
  const CLinearExportContext context{
      {true, true, true, true}, {true, true, true, true, true}, nullptr, &tables};
  const CXlExportFile file = WriteExcelExchangeFile(project, 0, context);
  const CXlExportJob job{folder.File("XlExport.txt"), "", folder.WriteFile("out.xlsx", "old"),
                         true};
  CPrintHelperLauncher missing(folder.Path(), "NoSuchHelper.exe");
  EXPECT_EQ(ExportToExcel(file, job, missing), 0);
  EXPECT_EQ(folder.ReadFile("out.xlsx"), "old") << "kept when the helper cannot start";
  CPrintHelperLauncher launcher(TVR_PROGRAM_DIR);
  ASSERT_EQ(ExportToExcel(file, job, launcher), 1);
  WaitForHelper(launcher);
  const std::vector<std::string> cells = DumpWorkbook(job.targetPath);
  ASSERT_FALSE(cells.empty()) << "openpyxl could not read the workbook";
  auto has = [&](const std::string& cell) {
    return std::find(cells.begin(), cells.end(), cell) != cells.end();
  };
  EXPECT_TRUE(has("Project!B9=s:Plant \"B\", east"));
  EXPECT_TRUE(has("Lines!A1=s:Hall \"A\""));
  // Every money cell of the tables is a number, and the sale prices add up to the total.
  double sum = 0;
  for (int i = 0; i < project.lines.LineCount(); ++i) {
    const CLinearPriceTable table(project.lines.Line(i),
                                  {10.0, '.', false, {true, true, true, true}});
    std::string text;
    for (int row = 1; row <= table.FormatDesignation(CLinearPriceTable::kCountRows, 0, text);
         ++row) {
      const int value = table.FormatDesignation(row, 3, text);
      if (value < 0) continue;
      sum += value;
      const auto found = std::find_if(cells.begin(), cells.end(), [&](const std::string& cell) {
        return cell.rfind("Lines!D", 0) == 0 &&
               cell.ends_with("=n:" + std::to_string(value) + ".0");
      });
      EXPECT_NE(found, cells.end()) << "sale price " << value;
    }
  }
  EXPECT_EQ(sum, 9642 + 4976);
  EXPECT_TRUE(std::any_of(cells.begin(), cells.end(), [](const std::string& cell) {
    return cell.rfind("Lines!B", 0) == 0 && cell.ends_with("=n:14618.0");
  })) << "the project total";
}

}  // namespace
