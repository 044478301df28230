#include "export/layout_xl_export.h"

#include "app/external_process.h"
#include "export/part_number_link.h"
#include "export/price_update.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_page_host.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "platform/text_conversions.h"
#include "ranges/range_test_support.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <memory>
#include <thread>

namespace {

TEST(LayoutXlTextTest, CommentsTakeThreeLinesCutAtLineFeeds) {
  using Lines = std::vector<std::string>;
  const std::pair<const char*, Lines> cases[] = {
      {"one", {"one", " ", " "}},
      {"a\r\nb\nc\nd", {"a", "b", "c"}},  // a CR is dropped only where there is one
      {"a\nb", {"a", "b", " "}},
      {"", {" ", " ", " "}},
      {"\nx", {"\nx", " ", " "}},  // a line feed first is no line end
  };
  for (const auto& [comment, lines] : cases) EXPECT_EQ(CommentLines(comment), lines) << comment;
}

TEST(LayoutXlTextTest, RatingsOfTheHeading) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"QJF", "26", "2200"},
      {"QJF", "48", "4500"},
      {"QJF", "99", "99"},
      {"QDA", "12", "125"},
      {"QDA", "40", "400"},
      {"QMA", "25", "2500"},
      {"QMC", "31", "3150"},
      // "99" is 100 with its "0", as the 3D export reads it
      {"QPA", "99", "1000"},
      {"QMA", "99", "10000"},
      // QD codes name their amperes as the run's ratings do
      {"QDA", "06", "63"},
      {"QDA", "04", "40"},
      {"QDT", "10", "100"},
      {"QDA", "16", "160"},
      {"QDA", "99", "1000"},
      {"QDA", "6x", "6x0"}};
  for (const auto& [catalog, code, rating] : cases)
    EXPECT_EQ(RatingText(catalog, code), rating) << catalog << " " << code;
}

class LayoutXlExportTest : public RangeTest {
 protected:
  void SetUp() override {
    RangeTest::SetUp();
    CRunEnvironment::Instance().SetArticleFolder(TVR_PROGRAM_DIR "/BD/");
    ASSERT_TRUE(m_document->OnOpenDocument(TVR_PROGRAM_DIR "/examples/qd_sample.run").ok);
    CPartNumberSettings settings;
    settings.articleFolder = TVR_PROGRAM_DIR "/BD/";
    CPartNumberLink link;
    link.Init(settings);
    UpdatePrices(*m_document, link, {"Tarif public 2026", "EUR"});
  }
  void TearDown() override {
    m_document.reset();
    RangeTest::TearDown();
  }
  static std::vector<std::string> DumpWorkbook(const std::string& path) {
    const std::string command =
        "/usr/bin/python3 " TVR_SOURCE_DIR "/tests/data/linear/dump_workbook.py '" + path + "'";
    std::vector<std::string> cells;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    char buffer[1024];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) {
      std::string line(buffer);
      if (!line.empty() && line.back() == '\n') line.pop_back();
      cells.push_back(line);
    }
    return cells;
  }
  std::unique_ptr<CDorneDoc> m_document = std::make_unique<CDorneDoc>();
};

TEST_F(LayoutXlExportTest, EveryRunHasItsBlockAndTable) {
  m_document->GetRuns().front()->SetPropValue("SUPP", "7/1234");
  const CXlExportFile file = WriteLayoutExchangeFile(*m_document, true, {});
  const std::vector<std::string>& lines = file.Lines();
  const auto end = std::find(lines.begin(), lines.end(), "-,-,-");
  ASSERT_NE(end, lines.end());
  EXPECT_TRUE(lines.front().starts_with("\"FolderNo\",\"@\",\"")) << lines.front();
  EXPECT_NE(std::find(lines.begin(), end, "\"PriceList\",\"@\",\"Tarif public 2026\""), end);
  EXPECT_NE(std::find(lines.begin(), end, "\"Compil\",\"\",#FALSE#"), end);
  EXPECT_EQ(*(end + 1), std::to_string(m_document->GetRunCount()));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "-,-"), m_document->GetRunCount());
  // The support count is the number that SUPP begins with, not its text.
  EXPECT_NE(std::find(lines.begin(), lines.end(), "\"Support\",7"), lines.end());
}

// The totals block says the installation time the screen shows, and the totals page,
// exported as a compilation, is the whole job: the length and supports of every run.
TEST_F(LayoutXlExportTest, TheTotalsAndACompilationAreTheWholeJob) {
  m_document->ComputeRunTotals(false);
  const CDorneDoc::CTotals* job = m_document->GetTotals(0);
  ASSERT_NE(job, nullptr);
  ASSERT_GT((*job)[3], 0);
  char labour[64];
  std::snprintf(labour, sizeof labour, "\"TotalLabourTime\",\"\",%.2f", (*job)[3]);
  long long length = 0, supports = 0;
  for (CRun* run : m_document->GetRuns()) {
    run->SetPropValue("SUPP", "3/100");
    length += run->GetQuotationStats(false).bookedLength;
    supports += 3;
  }
  ASSERT_GT(m_document->GetRunCount(), 1);
  // The view's total page, shown.
  struct CTotalsShown : CBOMPageHost {
    CBOMGrid page;
    void RecomputeTotals(int, int) override {}
    CBOMGrid* GetFirstPage() const override { return const_cast<CBOMGrid*>(&page); }
  } view;
  CRun& current = *m_document->GetRuns().back();
  m_document->SetCurrentRun(&current);
  current.GetBOM().SetView(&view);
  m_document->SetBomPage(0);
  const CXlExportFile file = WriteLayoutExchangeFile(*m_document, false, {});
  current.GetBOM().SetView(nullptr);
  const std::vector<std::string>& lines = file.Lines();
  auto has = [&](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  EXPECT_TRUE(has(labour)) << labour;
  EXPECT_TRUE(has("\"Compil\",\"\",#TRUE#"));
  EXPECT_TRUE(has("\"Length\"," + std::to_string(length)));
  EXPECT_TRUE(has("\"Support\"," + std::to_string(supports)));
}

TEST_F(LayoutXlExportTest, PicturesGoWithTheDocumentAndTheirRun) {
  CLayoutXlContext context;
  context.documentPictures = {"/jobs/Plant-notes.jpg"};
  context.runPictures = {{"/jobs/Plant - B.jpg"}};
  const CXlExportFile file = WriteLayoutExchangeFile(*m_document, true, context);
  const std::vector<std::string>& lines = file.Lines();
  const auto header = std::find(lines.begin(), lines.end(), "-,-,-");
  const auto picture =
      std::find(lines.begin(), lines.end(), "\"IMG1\",\"@\",\"/jobs/Plant-notes.jpg\"");
  EXPECT_LT(picture, header);
  const auto runPicture = std::find(lines.begin(), lines.end(), "\"IMG1\",\"/jobs/Plant - B.jpg\"");
  ASSERT_NE(runPicture, lines.end());
  EXPECT_EQ(std::find(header, runPicture, "-,-"), runPicture) << "in the first run's head";
}

TEST_F(LayoutXlExportTest, TheHelperWritesAWorkbookWhoseTotalsMatchTheBill) {
  CTempFolder folder("layout-xlsx");
  const CXlExportFile file = WriteLayoutExchangeFile(*m_document, true, {});
  CXlExportJob job;
  job.exchangePath = folder.File("XlExport.txt");
  job.targetPath = folder.File("Plant.xlsx");
  job.saveAs = true;
  CPrintHelperLauncher launcher(TVR_PROGRAM_DIR);
  ASSERT_EQ(ExportToExcel(file, job, launcher), 1);
  for (int i = 0; i < 200 && launcher.PreviousStillRuns(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const std::vector<std::string> cells = DumpWorkbook(job.targetPath);
  ASSERT_FALSE(cells.empty()) << "openpyxl could not read the workbook";
  m_document->ComputeRunTotals(false);
  double total = 0;
  double lineTotals = 0;
  int numbers = 0;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const std::string& cell = cells[i];
    if (cell.ends_with("=s:TotalPrice") && i + 1 < cells.size() &&
        cells[i + 1].find("=n:") != std::string::npos)
      total = TextToDouble(cells[i + 1].substr(cells[i + 1].find("=n:") + 3));
    if (cell.ends_with("=s:LineTotal") && i + 1 < cells.size()) {
      ASSERT_NE(cells[i + 1].find("=n:"), std::string::npos) << cells[i + 1];
      lineTotals += TextToDouble(cells[i + 1].substr(cells[i + 1].find("=n:") + 3));
    }
    if (cell.starts_with("Lines!") && cell.find("=n:") != std::string::npos) ++numbers;
  }
  EXPECT_NEAR(total, (*m_document->GetTotals(0))[4], 0.005);
  EXPECT_NEAR(lineTotals, total, 0.01 * m_document->GetRunCount());
  // Per run: its total, length, elbows, tap-offs, weight, flags and supports.
  EXPECT_GE(numbers, 7 * m_document->GetRunCount()) << "the figures are numbers";
}

}  // namespace

// Under a decimal-comma locale the exchange's amounts keep their point: a comma would
// split the amount into two cells of the comma-separated line.
TEST_F(LayoutXlExportTest, AmountsKeepTheirPointUnderADecimalCommaLocale) {
  std::array<std::vector<std::string>, 2> totals;
  for (std::size_t i = 0; i < totals.size(); ++i) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, i == 0 ? "C" : "fr_FR.UTF-8") == nullptr)
      GTEST_SKIP() << "no French locale";
    const CXlExportFile file = WriteLayoutExchangeFile(*m_document, true, {});
    std::setlocale(LC_ALL, saved.c_str());
    for (const std::string& line : file.Lines())
      if (line.starts_with("\"Total")) totals[i].push_back(line);
  }
  ASSERT_FALSE(totals[0].empty());
  EXPECT_EQ(totals[1], totals[0]);
}
