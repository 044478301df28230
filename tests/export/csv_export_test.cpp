#include "export/csv_export.h"

#include "export/part_number_link.h"
#include "export/price_update.h"
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/undo/undo_actions.h"
#include "model/undo/undo_files.h"
#include "model/undo/undo_manager.h"
#include "platform/text_encoding.h"
#include "ranges/range_test_support.h"
#include "support/golden_file.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

TEST(CsvCellTest, CellTextsCannotSplitARecordOrAField) {
  const std::pair<const char*, const char*> cases[] = {{"a;b", "a.b"},
                                                       {"line\r\nnext", "line next"},
                                                       {"one\ntwo", "one two"},
                                                       {"", ""},
                                                       {"plain", "plain"}};
  for (const auto& [text, clean] : cases) EXPECT_EQ(CleanCellText(text, ';'), clean) << text;
  EXPECT_EQ(CleanCellText("1,5", ','), "1.5");
}

// Texts are searched several bytes at a time: a CR, LF or separator is found at either
// end of such a stretch, across the boundary between two, after a clean start of any
// length, and among bytes that are not plain letters (UTF-8, bytes just above and below
// the ones searched for).
TEST(CsvCellTest, EveryMarkIsCleanedWhereverItStandsInALongText) {
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij";  // 36 bytes
  const std::pair<char, char> marks[] = {{';', '.'}, {'\n', ' '}, {'\r', '\0'}};
  for (std::size_t at = 0; at < letters.size(); ++at) {
    for (const auto& [mark, becomes] : marks) {
      std::string text = letters;
      text[at] = mark;
      std::string clean = letters;
      if (becomes == '\0') clean.erase(at, 1);
      else clean[at] = becomes;
      EXPECT_EQ(CleanCellText(text, ';'), clean) << "mark " << int(mark) << " at " << at;
    }
  }
  const std::pair<const char*, const char*> cases[] = {
      {"\xC3\xA9l\xC3\xA9ment droit 2 m;;", "\xC3\xA9l\xC3\xA9ment droit 2 m.."},
      {"\x0B\x0C\x0E:<=\x09\x3A\x3C ab cd ef\r\n", "\x0B\x0C\x0E:<=\x09\x3A\x3C ab cd ef "},
      {"\r\r\r\r\r\r\r\r\r", ""},
      {"12345678;12345678\n", "12345678.12345678 "}};
  for (const auto& [text, clean] : cases) EXPECT_EQ(CleanCellText(text, ';'), clean) << text;
  EXPECT_EQ(CleanCellText("a long text, with commas, in it", ','),
            "a long text. with commas. in it");
}

TEST(CsvCellTest, OnlyWholeNumbersTakeTheDecimalMark) {
  const std::pair<const char*, const char*> cases[] = {
      {"133.20", "133,20"},   {"0.0", "0,0"}, {"-2.5", "-2,5"}, {"3.2A-X", "3.2A-X"},
      {"1.2.3", "1.2.3"},     {"", ""},       {"12", "12"},     {" 4.5", " 4,5"},
      {"QDA40.1", "QDA40.1"}, {".", "."}};
  for (const auto& [text, local] : cases) EXPECT_EQ(LocalizeDecimal(text, ','), local) << text;
}

TEST(CsvCellTest, TextCellsSplitBeforeTheirOptions) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"QDA40EF4SM L=2500", "QDA40EF4SM", "L=2500"},
      {"A B L=1 W=2", "A B", "L=1 W=2"},  // the last blank before the first '='
      {"QDA40ED430", "QDA40ED430", ""},
      {"L=2500", "L=2500", ""}};
  for (const auto& [text, item, options] : cases) {
    const auto [gotItem, gotOptions] = SplitOptionPart(text);
    EXPECT_EQ(gotItem, item) << text;
    EXPECT_EQ(gotOptions, options) << text;
  }
}

TEST(CsvCellTest, TheFileIsNamedAfterTheDocument) {
  EXPECT_EQ(CsvFileName("Plant.run"), "Plant.csv");
  EXPECT_EQ(CsvFileName("Plant.RUN"), "Plant.csv");
  EXPECT_EQ(CsvFileName("Plant"), "Plant.csv");
  EXPECT_EQ(CsvFileName("Plant.txt"), "Plant.txt.csv");
}

class CsvExportTest : public RangeTest {
 protected:
  void SetUp() override {
    RangeTest::SetUp();
    CRunEnvironment::Instance().SetArticleFolder(TVR_PROGRAM_DIR "/BD/");
    const CDocFileResult opened =
        m_document.OnOpenDocument(TVR_PROGRAM_DIR "/examples/qd_sample.run");
    ASSERT_TRUE(opened.ok) << opened.text;
    CPartNumberSettings settings;
    settings.articleFolder = TVR_PROGRAM_DIR "/BD/";
    CPartNumberLink link;
    link.Init(settings);
    UpdatePrices(m_document, link, {});
  }
  // The readers' verdict: "rows=.. columns=.. readers=..", empty when they disagree.
  static std::string ReadBack(const std::string& path) {
    const std::string command =
        "/usr/bin/python3 " TVR_SOURCE_DIR "/tests/export/read_csv.py '" + path + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    char buffer[512];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) output += buffer;
    return output;
  }

  void TearDown() override {
    m_owned.reset();  // the runs go before the range tables they lease
    CUndoFiles::ResetForTests();
    RangeTest::TearDown();
  }

  // Undo steps are written into a folder of the test's own.
  static CDocEnvironment UndoEnvironment(const CTempFolder& folder) {
    CUndoFiles::ResetForTests();
    CDocEnvironment environment;
    environment.settingsFolder = folder.Folder();
    return environment;
  }

  CTempFolder m_undoFolder{"csv_undo"};
  std::unique_ptr<CDorneDoc> m_owned = std::make_unique<CDorneDoc>(UndoEnvironment(m_undoFolder));
  CDorneDoc& m_document = *m_owned;
};

TEST_F(CsvExportTest, AllRunsGiveOneTitleLineThenEveryLine) {
  const CXlExportFile file = WriteCsvList(m_document, true, '.');
  int lines = 1;
  for (CRun* run : m_document.GetRuns()) lines += run->GetBOM().GetLineCount() - 1;
  ASSERT_EQ(static_cast<int>(file.Lines().size()), lines);
  const std::string& title = file.Lines().front();
  for (std::size_t i = 1; i < file.Lines().size(); ++i)
    EXPECT_NE(file.Lines()[i], title) << "the title line stands once";
  const std::string bytes = file.Bytes();
  EXPECT_TRUE(bytes.starts_with("\xFF\xFE"));
  EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string("\r\0\n\0", 4));
}

TEST_F(CsvExportTest, TheShownRunAloneWhenNotAllRuns) {
  CRun* second = m_document.GetRuns().at(1);
  m_document.SetCurrentRun(second);
  m_document.SetBomPage(2);
  const CXlExportFile file = WriteCsvList(m_document, false, '.');
  EXPECT_EQ(static_cast<int>(file.Lines().size()), second->GetBOM().GetLineCount());
}

TEST_F(CsvExportTest, PythonAndLibreOfficeReadTheSameCells) {
  CTempFolder folder("csv");
  const std::string path = folder.File("qd sample.csv");
  ASSERT_TRUE(WriteCsvList(m_document, true, ',').Save(path));
  int lines = 1;
  for (CRun* run : m_document.GetRuns()) lines += run->GetBOM().GetLineCount() - 1;
  const std::string verdict = ReadBack(path);
  EXPECT_TRUE(verdict.starts_with("rows=" + std::to_string(lines) + " ")) << verdict;
  EXPECT_NE(verdict.find("readers=2"), std::string::npos)
      << "LibreOffice (libreoffice-calc-nogui) should read the file too: " << verdict;
}

// The field under the title in every data line of the list (the title line found by the
// title), as a spreadsheet reads them.
std::vector<std::string> FieldUnder(const CXlExportFile& file, std::string_view title) {
  const auto split = [](const std::string& line) {
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (std::size_t at = line.find(';'); at != std::string::npos; at = line.find(';', from)) {
      fields.push_back(line.substr(from, at - from));
      from = at + 1;
    }
    fields.push_back(line.substr(from));
    return fields;
  };
  const std::vector<std::string> titles = split(file.Lines().front());
  const auto column = std::find(titles.begin(), titles.end(), title);
  if (column == titles.end()) return {};
  std::vector<std::string> fields;
  for (std::size_t i = 1; i < file.Lines().size(); ++i)
    fields.push_back(split(file.Lines()[i]).at(static_cast<std::size_t>(column - titles.begin())));
  return fields;
}

// A document-wide discount or coefficient typed into one run's bill changes the rate of
// the whole document but refreshes that bill alone: the list still gives every run's
// lines the rate typed and the unit sale prices it makes, and what they were before once
// the edit is undone.
TEST_F(CsvExportTest, ADocumentWideRateTypedIntoOneBillReachesEveryRunsLines) {
  struct Case {
    int kind;
    const char* typed;
    const char* listed;  // a percentage is no number: it keeps its point
  };
  const Case cases[] = {{kBOMKindGlobalDiscount, "20", "20.0%"},
                        {kBOMKindGlobalCoefficient, "1.25", "1,250"}};
  // The columns keep their kinds' titles, as the stored bills give them back.
  const std::string unitSale = BOMDefaultTitle(kBOMKindUnitSalesPrice);
  ASSERT_GE(m_document.GetRunCount(), 2);
  for (const Case& rate : cases) {
    const std::string title = BOMDefaultTitle(rate.kind);
    SCOPED_TRACE(title);
    for (CRun* run : m_document.GetRuns()) {
      CBOMGrid& grid = run->GetBOM();
      ASSERT_TRUE(grid.InsertColumn(grid.GetColumnCount() - 1, kBOMKindUnitSalesPrice, unitSale));
      ASSERT_TRUE(grid.InsertColumn(grid.GetColumnCount() - 1, rate.kind, title));
    }
    const CXlExportFile listed = WriteCsvList(m_document, true, ',');
    const std::vector<std::string> rates = FieldUnder(listed, title);
    const std::vector<std::string> sales = FieldUnder(listed, unitSale);
    ASSERT_EQ(rates.size(), listed.Lines().size() - 1);
    ASSERT_EQ(rates, std::vector<std::string>(rates.size(), rates.front()));
    ASSERT_NE(rates.front(), rate.listed);

    ASSERT_EQ(m_document.GetUndo().SaveUndoState(undo_actions::kEditBOM, true), 1);
    CBOMGrid& typedInto = m_document.GetRuns().front()->GetBOM();
    const int column = typedInto.GetColumnCount() - 1;
    ASSERT_TRUE(typedInto.CanEditCell(1, column));
    typedInto.SetCellText(1, column, rate.typed, 0, false);
    typedInto.OnCellEdited(1, column, true);
    const CBOMGrid& other = m_document.GetRuns().back()->GetBOM();
    ASSERT_NE(other.GetCellText(1, column), typedInto.GetCellText(1, column))
        << "the other bills are expected to show the rate before until they are refreshed";

    const CXlExportFile changed = WriteCsvList(m_document, true, ',');
    EXPECT_EQ(FieldUnder(changed, title), std::vector<std::string>(rates.size(), rate.listed));
    const std::vector<std::string> changedSales = FieldUnder(changed, unitSale);
    ASSERT_EQ(changedSales.size(), sales.size());
    for (std::size_t line = 0; line < sales.size(); ++line)
      EXPECT_NE(changedSales[line], sales[line]) << "line " << line + 1;

    ASSERT_EQ(m_document.GetUndo().Undo(), 1);
    const CXlExportFile undone = WriteCsvList(m_document, true, ',');
    EXPECT_EQ(FieldUnder(undone, title), rates);
    EXPECT_EQ(FieldUnder(undone, unitSale), sales);
  }
}

// Listing every run gives the title line once, then each run's lines in document order,
// as each run listed alone gives them, whichever run is current.
TEST_F(CsvExportTest, EveryRunListedGivesEachRunsOwnListingInTurn) {
  ASSERT_GE(m_document.GetRunCount(), 3);
  m_document.SetBomPage(1);
  for (CRun* current : {m_document.GetRuns().front(), m_document.GetRuns().back()}) {
    m_document.SetCurrentRun(current);
    const CXlExportFile every = WriteCsvList(m_document, true, ',');
    std::vector<std::string> inTurn;
    for (CRun* run : m_document.GetRuns()) {
      m_document.SetCurrentRun(run);
      const CXlExportFile listed = WriteCsvList(m_document, false, ',');
      const std::vector<std::string>& alone = listed.Lines();
      ASSERT_FALSE(alone.empty());
      if (inTurn.empty()) inTurn.push_back(alone.front());
      EXPECT_EQ(alone.front(), inTurn.front()) << "every run has the same title line";
      inTurn.insert(inTurn.end(), alone.begin() + 1, alone.end());
    }
    m_document.SetCurrentRun(current);
    EXPECT_EQ(every.Lines(), inTurn);
  }
}

// A list refreshes a bill only when something it shows changed since its last refresh:
// each change below leaves the bill it touches (or every bill) to be refreshed, and the
// list then gives what refreshing every bill first gives.
TEST_F(CsvExportTest, ABillIsRefreshedForAListOnlyWhenSomethingItShowsChanged) {
  ASSERT_GE(m_document.GetRunCount(), 2);
  CRun& run = *m_document.GetRuns().back();
  CBOMGrid& bill = run.GetBOM();
  const CBOMGrid& other = m_document.GetRuns().front()->GetBOM();
  const auto firstRecordOfLine = [&run, &bill]() -> CDev& {
    const std::string reference = bill.GetLine(1)->reference;
    for (CDev* device : run.GetDevices())
      if (device->GetReference() == reference) return *device;
    for (CDev* record : run.GetLengthRecords())
      if (record->GetReference() == reference) return *record;
    throw std::logic_error("no record of the first line");
  };
  struct Change {
    const char* what;
    std::function<void()> make;
    bool everyBill;
  };
  const Change changes[] = {
      {"a record's property",
       [&] { firstRecordOfLine().SetPropValue("HBv2_Designation", "changed"); }, false},
      {"a record's comment", [&] { firstRecordOfLine().SetComment("new comment"); }, false},
      {"a line's quantity", [&] { bill.AddHeldQuantity(bill.GetLine(1)->reference, 3); }, false},
      {"a cell written over", [&] { bill.SetCellText(1, 2, "typed", 0, false); }, false},
      {"two lines swapped", [&] { bill.MoveLine(1, 2); }, false},
      {"the sales rate", [&] { m_document.SetSalesCoefficient(0.5f); }, true},
      {"the numbering switch", [&] { bill.NumberLines(-1); }, true},
      {"the numbering switch back", [&] { bill.NumberLines(-1); }, true}};
  for (const Change& change : changes) {
    WriteCsvList(m_document, true, ',');
    for (const CRun* each : m_document.GetRuns()) ASSERT_TRUE(each->GetBOM().AreCellsFresh());
    change.make();
    EXPECT_FALSE(bill.AreCellsFresh()) << change.what;
    EXPECT_EQ(other.AreCellsFresh(), !change.everyBill) << change.what;
    const std::string listed = WriteCsvList(m_document, true, ',').Bytes();
    for (CRun* each : m_document.GetRuns()) each->GetBOM().NumberLines(1);
    EXPECT_EQ(listed, WriteCsvList(m_document, true, ',').Bytes()) << change.what;
  }
}

// A list copies what it made of a bill unchanged since: a cell typed into, a column's
// export options and the bill's lines changed after a list all show in the next one, as
// a list of freshly refreshed bills gives them.
TEST_F(CsvExportTest, ChangesAfterAListShowInTheNextList) {
  CBOMGrid& bill = m_document.GetRuns().back()->GetBOM();
  int designation = -1;
  for (int column = 2; column < bill.GetColumnCount(); ++column)
    if (bill.GetColumn(column)->kind == kBOMKindDesignation) designation = column;
  ASSERT_GE(designation, 2);
  ASSERT_GE(bill.GetLineCount(), 3);
  const auto type = [&bill](int row, int column, const char* text) {
    ASSERT_TRUE(bill.CanEditCell(row, column));
    bill.SetCellText(row, column, text, 0, false);
    bill.OnCellEdited(row, column, true);
  };
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"a designation typed", [&] { type(1, designation, "typed designation"); }},
      {"a column left out", [&] { bill.ApplyColumnOptions(designation, "0", false, true); }},
      {"the column back", [&] { bill.ApplyColumnOptions(designation, "150", false, true); }},
      {"a quantity added", [&] { bill.AddHeldQuantity(bill.GetLine(1)->reference, 2); }},
      {"a line gone",
       [&] { bill.RemoveRefQuantity(bill.GetLine(2)->reference, bill.GetLineQuantity(2)); }}};
  for (const auto& [what, change] : changes) {
    const std::string before = WriteCsvList(m_document, true, ',').Bytes();
    change();
    const std::string listed = WriteCsvList(m_document, true, ',').Bytes();
    EXPECT_TRUE(listed != before) << what;
    for (CRun* each : m_document.GetRuns()) each->GetBOM().NumberLines(1);
    EXPECT_TRUE(listed == WriteCsvList(m_document, true, ',').Bytes()) << what;
  }
}

// The sample's every run with the decimal comma, byte for byte as written before the
// lines were put together in place (tests/data/export/qd_sample_comma.csv).
TEST_F(CsvExportTest, TheSampleGivesItsKnownBytes) {
  ExpectGolden("export/qd_sample_comma.csv", WriteCsvList(m_document, true, ',').Bytes());
}

}  // namespace
