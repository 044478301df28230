#include "reference/ref_report.h"

#include <gtest/gtest.h>

#include "app/message_text.h"
#include "linear_test_support.h"
#include "reference/ref_project_lines.h"
#include "ref_sample_config_support.h"

namespace {

struct FormatCase {
  const char* fault;
  std::int64_t value;
  char decimal;
  bool grouped;
  const char* unitPrice;
  const char* amount;
};

TEST(RefReportFormatTest, PricesAndAmountsPrintWithTheirDecimals) {
  const FormatCase cases[] = {
      {"a trailing zero drops to three decimals", 123450, ',', true, "12,345", "1 234,50"},
      {"four decimals with a grouped whole part", 12345678, ',', true, "1 234,5678", "123 456,78"},
      {"whole hundredths print as an amount", 120000, ',', false, "12,00", "1200,00"},
      {"an amount of millions groups twice", 123456789, ',', true, "12 345,6789", "1 234 567,89"},
      {"plain mode never groups", 123456789, '.', false, "12345.6789", "1234567.89"},
      {"small values keep their leading zeros", 5, '.', false, "0.0005", "0.05"},
      {"negative values keep their sign", -150, ',', false, "-0,015", "-1,50"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(FormatRefUnitPrice(c.value, c.decimal, c.grouped), c.unitPrice) << c.fault;
    EXPECT_EQ(FormatRefAmount(c.value, c.decimal, c.grouped), c.amount) << c.fault;
  }
}

TEST(RefReportFormatTest, AmountsRoundHalfUp) {
  const std::int32_t cases[][3] = {{50, 1, 1},  {49, 1, 0},        {149, 1, 1},
                                   {150, 1, 2}, {120000, 3, 3600}, {333, 3, 10}};
  for (const auto& c : cases)
    EXPECT_EQ(RefItemAmount({"R", "", c[0], c[1], 0, 0}), c[2]) << c[0] << " x " << c[1];
  // 64-bit products: a large price times a large quantity does not wrap.
  EXPECT_EQ(RefItemAmount({"R", "", 2000000000, 1000, 0, 0}), 20000000000LL);
}

class RefReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CRefLine& line = project.lines[1];
    line = MakeProjectLine(2, 3, "qda");
    line.lineQuantity = 2;
    line.AddItemNode({"QDB-FIX\n\r / SECOND", "fixing", 115000, 6, 15, 5});
    line.AddItemNode({"QDA-FEED", "feed", 1595600, 2, 60, 0});
    line.AddItemNode({"QDA-LEN", "length", 1407900, 12, 56, 1});
    project.lines[2] = MakeProjectLine(2, 4, "qpa", 2295000, 1);
    source.project = &project;
    source.config = &sample.config;
    source.current = 1;
    source.selection = kRefCodeProject;
    source.decimal = ',';
  }
  std::string Cell(int row, int column, int flags = kRefReportScreen,
                   std::int64_t* code = nullptr) {
    std::string text;
    const std::int64_t result = WriteLineReport(source, row, column, text, flags);
    if (code) *code = result;
    return text;
  }
  CEnglishTexts texts;
  CRefSampleConfig sample;
  CRefProject project;
  CRefReportSource source;
};

TEST_F(RefReportTest, EachKindHasItsLabelRowBeforeItsItems) {
  std::string text;
  EXPECT_EQ(WriteLineReport(source, kRefReportRowCount, 0, text, 0), 6);
  const std::int64_t labels[] = {-10, -1, -11, -1, -15, -1};  // items give their designation
  for (int row = 1; row <= 6; ++row) {
    std::int64_t code = 0;
    Cell(row, 2, kRefReportScreen, &code);
    EXPECT_EQ(code, labels[row - 1]) << row;
  }
  EXPECT_EQ(Cell(1, 2), "** " + StringText(32012) + " **");
  EXPECT_EQ(Cell(3, 2), "** " + StringText(32018) + " **");
  EXPECT_EQ(Cell(6, 0), "QDB-FIX");
  EXPECT_EQ(Cell(7, 0), "");  // after the last row
}

TEST_F(RefReportTest, ItemCellsGiveTextAndValue) {
  std::int64_t code = 0;
  EXPECT_EQ(Cell(4, 3, kRefReportScreen, &code), "140,79");
  EXPECT_EQ(code, 14079);
  EXPECT_EQ(Cell(4, 4), "12");
  EXPECT_EQ(Cell(4, 5, kRefReportScreen, &code), "1 689,48");
  EXPECT_EQ(code, 168948);
  EXPECT_EQ(Cell(4, 5, kRefReportPlain), "1689,48");
  EXPECT_EQ(Cell(4, 6), "6,72");
  Cell(6, 1, kRefReportScreen, &code);
  EXPECT_EQ(code, kRefReportHidden);  // the second reference shows only with "Refs" odd
}

TEST_F(RefReportTest, TotalsSumTheLineAndTheSelection) {
  std::int64_t line = 0, selection = 0;
  EXPECT_EQ(Cell(kRefRowLineTotal, 4), "Total times 2");
  Cell(kRefRowLineTotal, 5, kRefReportPlain, &line);
  EXPECT_EQ(line, RefLineAmount(project.lines[1]));
  Cell(kRefRowSelectionTotal, 5, kRefReportPlain, &selection);
  EXPECT_EQ(selection, RefLineAmount(project.lines[1]) + RefLineAmount(project.lines[2]));
  EXPECT_NE(Cell(kRefRowSelectionTotal, 4).find(StringText(31005)), std::string::npos);
  source.selection = RefProductNodeCode(2, 4);
  Cell(kRefRowSelectionTotal, 5, kRefReportPlain, &selection);
  EXPECT_EQ(selection, 22950);
  std::int64_t code = 0;
  Cell(kRefRowLineTotal, 2, kRefReportScreen, &code);
  EXPECT_EQ(code, kRefReportNoCell);
}

TEST_F(RefReportTest, TheTotalsMergeTheSelectionIntoTheWorkingRecord) {
  project.lines[3] = MakeProjectLine(2, 4, "qpa", 2295000, 3);  // line 2's item: merged
  project.lines[3].name = "qpa2";
  const double coefficient = ComputeLineTotals(project, sample.config, kRefCodeProject);
  const CRefLine& total = project.lines[0];
  EXPECT_DOUBLE_EQ(coefficient, 1.0);  // the sample's coefficients are 1
  EXPECT_EQ(total.comment, "1");
  ASSERT_EQ(total.Items().size(), 4u);
  for (const CRefItemNode& item : total.Items()) EXPECT_LT(item.kind, 0) << item.reference;
  std::int64_t sum = 0;
  for (int index = 1; index <= 3; ++index)
    sum += RefLineAmount(project.lines[static_cast<std::size_t>(index)]);
  EXPECT_EQ(RefLineAmount(total), sum);
  source.current = 0;
  std::string text;
  EXPECT_EQ(WriteLineReport(source, kRefReportRowCount, 0, text, 0), 4);  // no labels
  std::int64_t fromWorking = 0;
  Cell(kRefRowSelectionTotal, 5, kRefReportPlainTotals, &fromWorking);
  EXPECT_EQ(fromWorking, sum);
}

TEST_F(RefReportTest, QfpLengthsCarryTheirUnit) {
  CRefLine& line = project.lines[1];
  line.FreeItemNodes();
  line.AddItemNode({"QFP-LEN", "length", 100, 12, 0, 1});
  line.AddItemNode({"QFP-LONG", "length", 100, 1200, 0, 1});
  line.AddItemNode({"QDA-LEN", "length", 100, 12, 0, 1});
  EXPECT_EQ(Cell(2, 4), "12 m");
  EXPECT_EQ(Cell(3, 4), "1200m");
  EXPECT_EQ(Cell(4, 4), "12");
}

TEST_F(RefReportTest, BadRowsAndColumnsHaveNoCell) {
  const int cells[][2] = {{-3, 0}, {0, -1}, {0, 8}, {1, 7}, {99, 0}};
  for (const auto& cell : cells) {
    std::int64_t code = 0;
    Cell(cell[0], cell[1], kRefReportScreen, &code);
    EXPECT_EQ(code, kRefReportNoCell) << cell[0] << "," << cell[1];
  }
  source.current = 101;
  std::int64_t code = 0;
  Cell(1, 0, kRefReportScreen, &code);
  EXPECT_EQ(code, kRefReportNoCell);
}

}  // namespace
