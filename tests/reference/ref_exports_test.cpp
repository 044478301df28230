#include "reference/ref_exports.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <map>
#include <sstream>
#include <cstdio>
#include <memory>
#include <thread>

#include "app/external_process.h"
#include "linear_test_support.h"
#include "ref_test_support.h"
#include "reference/ref_catalogue.h"
#include "reference/ref_report.h"
#include "support/golden_file.h"
#include "support/command_output.h"
#include "support/temp_folder.h"

namespace {

std::string Joined(const CXlExportFile& file) {
  std::string text;
  for (const std::string& line : file.Lines()) text += line + "\n";
  return text;
}

bool HasLine(const CXlExportFile& file, const std::string& line) {
  return std::find(file.Lines().begin(), file.Lines().end(), line) != file.Lines().end();
}

// Two priced lines: a QFP line of group 3 and a QYX line of group 0 with a comment.
CRefProject ExportProject() {
  CRefProject project;
  project.SetProperty("NumAff", "88");
  project.SetProperty("Name", "Hall \"B\"; east");
  project.SetProperty("Comment", "\nsecond");
  project.priceSettings.listName = "List 1";
  project.priceSettings.currency = "EUR";
  project.priceSettings.productCoefs[0][0] = 0.85;
  project.priceSettings.productCoefs[6][0] = 1.0;
  project.lineCount = 2;
  CRefLine& qfp = project.lines[1];
  qfp.Assign(nullptr);
  qfp.name = "Lights; <north> & 'co'", qfp.group = 3, qfp.productKind = 0, qfp.rating = 25;
  qfp.conductors = 1, qfp.length = 30, qfp.lineQuantity = 2;
  qfp.slots[0] = 3 | (5 << 16);
  qfp.AddItemNode({"QFP25ED", "Lighting length", 123450, 30, 12, 1});
  qfp.AddItemNode({"QFP25ER", "Feed \"unit\"", 120000, 2, 60, 0});
  qfp.AddItemNode({"SHARED", "Hanger", 1000, 1, 5, 4});
  CRefLine& qyx = project.lines[2];
  qyx.Assign(nullptr);
  qyx.name = "Track", qyx.comment = "a\r\nb", qyx.group = 0, qyx.productKind = 6;
  qyx.rating = 40, qyx.conductors = 0, qyx.length = 12, qyx.components[36] = 150;
  qyx.AddItemNode({"SHARED", "Hanger", 1000, 3, 5, 4});
  qyx.AddItemNode({"QYX40ED", "Track length", 99999, 4, 30, 1});
  return project;
}

// What an independent reader (a Python script of the sources) says of the file once saved.
std::string ReadBack(const CXlExportFile& file, const std::string& name,
                     const std::string& script) {
  CTempFolder folder("refexport");
  if (!file.Save(folder.File(name))) return "not saved";
  return CommandOutput("/usr/bin/python3 " TVR_SOURCE_DIR "/" + script + " '" + folder.File(name) +
                       "' 2>&1");
}

CRefExportContext Context(bool summary = false) {
  CRefExportContext context;
  context.selection = {1, 2};
  context.summary = summary;
  return context;
}

TEST(RefExportsTest, XmlEscapeReplacesEachSpecialCharacterOnce) {
  struct Case {
    const char* text;
    const char* escaped;
  } cases[] = {{"a<b & c", "a&lt;b &amp; c"},
               {"&amp;", "&amp;amp;"},
               {"\"x\" 'y' >", "&quot;x&quot; &apos;y&apos; &gt;"},
               {"plain é", "plain é"},
               {"", ""}};
  for (const Case& c : cases) EXPECT_EQ(XmlEscape(c.text), c.escaped) << c.text;
}

TEST(RefExportsTest, TheProgramNameOfTheRootIsEscaped) {
  EXPECT_EQ(XmlRootLine("A&B \"x\""),
            "<SectionConfiguration Code=\"Morquin\" NomConfigurateur=\"A&amp;B &quot;x&quot;\" "
            "Version=\"3.0.0\">");
}

TEST(RefExportsTest, ExportNamesFollowTheProjectFile) {
  struct Case {
    const char* title;
    const char* extension;
    const char* name;
  } cases[] = {{"Job.REF", ".csv", "Job.csv"}, {"Job.ref", ".xml", "Job.xml"},
               {"Job", ".csv", "Job.csv"},     {"Job.lin", ".xml", "Job.lin.xml"},
               {".ref", ".csv", ".csv"},       {"ref", ".csv", "ref.csv"}};
  for (const Case& c : cases) EXPECT_EQ(RefExportFileName(c.title, c.extension), c.name);
}

TEST(RefExportsTest, TheExchangeFileOfTheSelectedLines) {
  const CEnglishTexts texts;
  CRefProject project = ExportProject();
  const CXlExportFile file = WriteXlExchangeFile(project, Context());
  ExpectGolden("reference/xl_exchange_lines.txt", Joined(file));
  // A comment starting with a line feed has an empty first piece.
  EXPECT_TRUE(HasLine(file, R"("Comment1","@"," ")"));
  EXPECT_TRUE(HasLine(file, R"("Comment2","@","second")"));
  for (const char* remark : {R"("Remark","a")", R"("Remark1","a")", R"("Remark2","b")",
                             R"("Remark3"," ")", R"("Remark4"," ")"})
    EXPECT_TRUE(HasLine(file, remark)) << remark;
  EXPECT_TRUE(HasLine(file, R"("Length",12.50)")) << "QYX extra length";
  EXPECT_TRUE(HasLine(file, R"("Tapoff",3)"));
  EXPECT_TRUE(HasLine(file, "2")) << "two lines";
}

TEST(RefExportsTest, ASummaryWithPackagingHasNoLabourTimes) {
  const CEnglishTexts texts;
  CRefProject project = ExportProject();
  CRefExportContext context = Context(true);
  context.packaging = true;
  context.treeCode = -2003;
  const CXlExportFile file = WriteXlExchangeFile(project, context);
  ExpectGolden("reference/xl_exchange_summary.txt", Joined(file));
  EXPECT_TRUE(HasLine(file, R"("TotalLabourTime","",0)"));
  EXPECT_TRUE(HasLine(file, R"("Compil","",#TRUE#)"));
  EXPECT_TRUE(HasLine(file, "1"));
  EXPECT_TRUE(HasLine(file, "\"Lighting\""));
  for (const std::string& line : file.Lines())
    EXPECT_EQ(line.find("LineLabourTime"), std::string::npos);
  EXPECT_EQ(project.lines[0].Items().size(), 4u) << "the shared hanger merged";
}

TEST(RefExportsTest, SummaryTitlesFollowTheTreeSelection) {
  const CEnglishTexts texts;
  CRefProject project = ExportProject();
  struct Case {
    int code;
    const char* title;
  } cases[] = {{kRefTreeProject, "\"Prices\""},
               {-2001, "\"Rising mains\""},
               {-1036, "\"Lighting - QYX\""},
               {1, "\"Transport lines - QYX - Track\""},
               {2, "\"\""},
               {-500, "\"\""}};
  for (const Case& c : cases) {
    CRefExportContext context = Context(true);
    context.treeCode = c.code;
    const CXlExportFile file = WriteXlExchangeFile(project, context);
    EXPECT_TRUE(HasLine(file, std::string("\"Line\",") + c.title)) << c.code;
  }
}

TEST(RefExportsTest, WeightsComeFromTheCatalogueMasses) {
  const CEnglishTexts texts;
  CRefPriceSettings settings;
  CRefCatalogue catalogue;
  ASSERT_TRUE(catalogue.OpenRefCatalogue(SampleRefSetup(), settings));
  CRefProject project;
  project.lineCount = 1;
  project.lines[1].AddItemNode({"QDA63ED430", "d", 1, 12, 0, 1});
  project.lines[1].AddItemNode({"QDA63ER41\n\r / R2", "d", 1, 2, 0, 0});
  project.lines[1].AddItemNode({"NOT-IN-TABLE", "d", 1, 5, 0, 0});
  CRefExportContext context;
  context.selection = {1};
  context.catalogue = &catalogue;
  const CRefArticles::Article* straight = catalogue.Articles().Find("QDA63ED430");
  const CRefArticles::Article* feed = catalogue.Articles().Find("QDA63ER41");
  ASSERT_TRUE(straight && feed);
  ASSERT_GT(straight->mass, 0);
  const double expected = straight->mass * 0.001 * 12 + feed->mass * 0.001 * 2;
  EXPECT_DOUBLE_EQ(ComputeLineWeights(project, context), expected);
  EXPECT_DOUBLE_EQ(project.lines[1].weight, expected);
  context.catalogue = nullptr;
  EXPECT_EQ(ComputeLineWeights(project, context), 0.0);
  EXPECT_EQ(project.lines[1].weight, 0.0);
}

TEST(RefExportsTest, TheHelperWritesAWorkbookWhoseNumbersMatchTheReport) {
  const CEnglishTexts texts;
  CTempFolder folder("refxl");
  CRefProject project = ExportProject();
  const CXlExportFile file = WriteXlExchangeFile(project, Context());
  // (An old workbook is kept when the helper cannot start: the linear export's test.)
  const CXlExportJob job{folder.File("XlExport.txt"), "", folder.File("out.xlsx"), true};
  CPrintHelperLauncher launcher(TVR_PROGRAM_DIR);
  ASSERT_EQ(ExportToExcel(file, job, launcher), 1);
  WaitForHelper(launcher);
  const std::string cells =
      CommandOutput("/usr/bin/python3 " TVR_SOURCE_DIR "/tests/data/linear/dump_workbook.py '" +
                    job.targetPath + "'");
  ASSERT_FALSE(cells.empty()) << "openpyxl could not read the workbook";
  // Every amount of the report stands in the workbook as a number, and so do the totals.
  std::map<std::string, std::string> byCell;
  std::vector<double> numbers;
  std::istringstream lines(cells);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    byCell[line.substr(0, equals)] = line.substr(equals + 1);
    if (line.compare(equals + 1, 2, "n:") == 0)
      numbers.push_back(std::stod(line.substr(equals + 3)));
  }
  auto hasNumber = [&](double value) {
    return std::any_of(numbers.begin(), numbers.end(),
                       [&](double n) { return std::abs(n - value) < 1e-9; });
  };
  const CRefReportView view{&project, 1, {1, 2}, false, false, '.', 0, ""};
  std::string text;
  for (int row = 1; row <= WriteLineReport(view, kRefReportRowCount, 0, text); ++row) {
    const std::int64_t amount = WriteLineReport(view, row, 5, text);
    if (amount < 0) continue;
    EXPECT_TRUE(hasNumber(amount / 100.0)) << text;
  }
  const std::int64_t total = WriteLineReport(view, kRefReportSelectionTotal, 5, text);
  EXPECT_EQ(byCell["Project!A29"], "s:TotalPrice");
  EXPECT_EQ(byCell["Project!B29"],
            "n:" + std::to_string(total / 100) + "." + std::to_string(total % 100));
  EXPECT_NE(cells.find("=n:30.0"), std::string::npos) << "the QFP length as a number";
  EXPECT_NE(cells.find("=s:QFP25ED"), std::string::npos);
}

TEST(RefExportsTest, CsvRowsReadBackThroughPythonAndLibreOffice) {
  const CEnglishTexts texts;
  CRefProject project = ExportProject();
  const CXlExportFile file = WriteCsvFile(project, Context());
  ExpectGolden("reference/csv_lines.txt", Joined(file));
  EXPECT_EQ(ReadBack(file, "job.csv", "tests/export/read_csv.py"), "rows=13 columns=6 readers=2\n")
      << "both readers agree";
  CRefExportContext summary = Context(true);
  summary.packaging = true;
  const CXlExportFile packed = WriteCsvFile(project, summary);
  ASSERT_FALSE(packed.Lines().empty());
  EXPECT_EQ(std::count(packed.Lines()[0].begin(), packed.Lines()[0].end(), ';'), 4)
      << "five columns without the labour time";
}

TEST(RefExportsTest, XmlOrderFileParsesWithItsElements) {
  const CEnglishTexts texts;
  CRefProject project = ExportProject();
  const CXlExportFile file = WriteXmlFile(project, Context());
  ExpectGolden("reference/xml_lines.txt", Joined(file));
  ExpectGolden("reference/xml_lines_parsed.txt",
               ReadBack(file, "job.xml", "tests/data/reference/read_order_xml.py"));
  CRefExportContext summary = Context(true);
  const CXlExportFile merged = WriteXmlFile(project, summary);
  // The hanger: 1 of the QFP line at 0.85, 3 of the QYX line at 1.0 -> 0.9625.
  EXPECT_TRUE(HasLine(merged, "\t\t\t\t\t<Discount>962</Discount>")) << Joined(merged);
  EXPECT_TRUE(HasLine(merged, "\t\t\t\t\t<Discount>850</Discount>"));
}

}  // namespace
