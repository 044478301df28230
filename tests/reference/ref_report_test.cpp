#include "reference/ref_report.h"

#include <gtest/gtest.h>

#include "linear_test_support.h"

namespace {

TEST(RefReportTest, PricesAndAmountsAsTheReportPrintsThem) {
  struct Case {
    std::int64_t value;
    bool unitPrice;
    bool grouped;
    const char* text;
  } cases[] = {
      {123450, true, true, "12,345"},        // three decimals when the fourth is 0
      {12345678, true, true, "1 234,5678"},  // four, and grouped
      {12345678, true, false, "1234,5678"},  // plain
      {120000, true, true, "12,00"},         // whole hundredths keep two
      {50, true, true, "0,005"},
      {123456789, false, true, "1 234 567,89"},
      {123456789, false, false, "1234567,89"},
      {99999, false, true, "999,99"},
      {100000, false, true, "1 000,00"},
      {-1234, false, true, "-12,34"},
      {7, false, true, "0,07"},
  };
  for (const Case& c : cases) {
    const std::string text = c.unitPrice ? RefUnitPriceText(c.value, ',', c.grouped)
                                         : RefHundredthsText(c.value, ',', c.grouped);
    EXPECT_EQ(text, c.text) << c.value;
  }
}

TEST(RefReportTest, AmountsAreRoundedHalfUp) {
  struct Case {
    std::int32_t unit, quantity;
    std::int64_t amount;
  } cases[] = {{50, 1, 1}, {49, 1, 0}, {149, 1, 1}, {150, 1, 2}, {2000000000, 3, 60000000}};
  for (const Case& c : cases)
    EXPECT_EQ(RefItemAmount({"R", "", c.unit, c.quantity, 0, 0}), c.amount) << c.unit;
}

CRefProject TwoLineProject() {
  CRefProject project;
  project.lineCount = 2;
  CRefLine& first = project.lines[1];
  first.Assign(nullptr);
  first.productKind = 0, first.group = 3, first.lineQuantity = 3;
  first.AddItemNode({"QFP25ED\n\r / R2-1", "Length", 1234500, 12, 150, 1});
  first.AddItemNode({"FEED", "Feed unit", 120000, 1, 60, 0});
  first.AddItemNode({"FIX", "Hanger", 1005, 1200, 5, 4});
  first.AddItemNode({"QFP25L", "Long length", 100, 1200, 0, 1});
  CRefLine& second = project.lines[2];
  second.Assign(nullptr);
  second.productKind = 3, second.group = 1;
  second.AddItemNode({"TAP", "Tap-off", 50, 1, 100, 3});
  return project;
}

std::vector<std::string> Column(const CRefReportView& view, int column) {
  std::string text;
  const std::int64_t rows = WriteLineReport(view, kRefReportRowCount, 0, text);
  std::vector<std::string> cells;
  for (int row = 1; row <= rows; ++row) {
    WriteLineReport(view, row, column, text);
    cells.push_back(text);
  }
  return cells;
}

TEST(RefReportTest, GroupLabelsStandBeforeTheFirstItemOfEachKind) {
  const CEnglishTexts texts;
  const CRefProject project = TwoLineProject();
  CRefReportView view{&project, 1, {1, 2}, true, false, ',', 0, ""};
  EXPECT_EQ(Column(view, 2),
            (std::vector<std::string>{"** Feed **", "Feed unit", "** Lighting line **", "Length",
                                      "Long length", "** Fixing **", "Hanger"}));
  EXPECT_EQ(Column(view, 0),
            (std::vector<std::string>{"", "FEED", "", "QFP25ED", "QFP25L", "", "FIX"}));
  EXPECT_EQ(Column(view, 4), (std::vector<std::string>{"", "1", "", "12 m", "1200m", "", "1200"}))
      << "a QFP length is in metres";
  std::string text;
  EXPECT_EQ(WriteLineReport(view, 1, 2, text), kRefReportLabel - 0);
  EXPECT_EQ(WriteLineReport(view, 6, 2, text), kRefReportLabel - 4);
  EXPECT_EQ(WriteLineReport(view, 1, 5, text), kRefReportLabelCell);
  EXPECT_EQ(WriteLineReport(view, 8, 0, text), kRefReportNoCell);
  EXPECT_EQ(WriteLineReport(view, 4, 3, text), 12345);
  EXPECT_EQ(text, "123,45");
  EXPECT_EQ(WriteLineReport(view, 4, 5, text), 148140);
  EXPECT_EQ(text, "1 481,40");
  view.current = 2;
  EXPECT_EQ(Column(view, 2), (std::vector<std::string>{"** Tap-off unit **", "Tap-off"}))
      << "tap-off units of a group 1 line";
}

TEST(RefReportTest, TheRefsSettingSwapsUnitPriceAndSecondReference) {
  const CEnglishTexts texts;
  const CRefProject project = TwoLineProject();
  struct Case {
    int refs;
    std::int64_t secondReference, unitPrice;
  } cases[] = {{0, kRefReportHidden, 12345},
               {2, kRefReportHidden, 12345},
               {1, kRefReportText, kRefReportHidden},
               {11, kRefReportText, kRefReportHidden}};
  for (const Case& c : cases) {
    CRefReportView view{&project, 1, {1}, false, false, '.', c.refs, ""};
    std::string text;
    EXPECT_EQ(WriteLineReport(view, 4, 1, text), c.secondReference) << c.refs;
    if (c.secondReference == kRefReportText) {
      EXPECT_EQ(text, "R2-1");
    }
    EXPECT_EQ(WriteLineReport(view, 4, 3, text), c.unitPrice) << c.refs;
    EXPECT_EQ(WriteLineReport(view, 0, 1, text),
              c.secondReference == kRefReportText ? kRefReportHeading : kRefReportHidden);
  }
}

TEST(RefReportTest, TotalsOfTheLineAndOfTheSelection) {
  const CEnglishTexts texts;
  CRefProject project = TwoLineProject();
  CRefReportView view{&project, 1, {1, 2}, false, false, '.', 0, "Prices"};
  std::string text;
  const std::int64_t first = 1200 + 148140 + 12060 + 1200;
  EXPECT_EQ(WriteLineReport(view, kRefReportLineTotal, 5, text), first);
  EXPECT_EQ(WriteLineReport(view, kRefReportSelectionTotal, 5, text), first + 1);
  EXPECT_EQ(text, "1626.01");
  EXPECT_EQ(WriteLineReport(view, kRefReportSelectionTotal, 6, text), 60 + 1800 + 6000 + 100);
  EXPECT_EQ(WriteLineReport(view, kRefReportLineTotal, 4, text), kRefReportText);
  EXPECT_EQ(text, "Total times 3");
  EXPECT_EQ(WriteLineReport(view, kRefReportSelectionTotal, 4, text), kRefReportText);
  EXPECT_EQ(text, "Total for Prices lines");
  EXPECT_EQ(WriteLineReport(view, kRefReportLineTotal, 2, text), kRefReportNoCell);
  EXPECT_EQ(WriteLineReport(view, -3, 5, text), kRefReportNoCell);
  EXPECT_EQ(WriteLineReport(view, 1, 8, text), kRefReportNoCell);
  view.workingSums = true;
  EXPECT_EQ(WriteLineReport(view, kRefReportSelectionTotal, 5, text), 0) << "nothing merged yet";
  ComputeLineTotals(project, {1, 2});
  EXPECT_EQ(WriteLineReport(view, kRefReportSelectionTotal, 5, text), first + 1);
}

TEST(RefReportTest, TheTotalsMergeTheSelectionWithTheirOverallCoefficient) {
  struct Case {
    double first, second;
    const char* coefficient;
  } cases[] = {
      {1.0, 1.0, "1"},
      {0.0, -1.0, "1"},  // coefficients that are not above 0 leave the amounts as they are
      {0.5, 0.5, "0.5"},
      {2.0, 1.0, "1.83"},  // 1000 / 2 and 100 / 1: 1100 / 600
  };
  for (const Case& c : cases) {
    CRefProject project;
    project.lineCount = 2;
    for (int i : {1, 2}) {
      project.lines[i].Assign(nullptr);
      project.lines[i].productKind = i;
      project.lines[i].AddItemNode({"SAME", "d", 10000, i == 1 ? 10 : 1, 5, 1});
    }
    project.priceSettings.productCoefs[1][0] = c.first;
    project.priceSettings.productCoefs[2][0] = c.second;
    ComputeLineTotals(project, {1, 2});
    const CRefLine& working = project.lines[0];
    EXPECT_EQ(working.comment, c.coefficient) << c.first << " " << c.second;
    ASSERT_EQ(working.Items().size(), 1u);
    EXPECT_EQ(working.Items()[0].quantity, 11);
    EXPECT_EQ(working.Items()[0].kind, ~1) << "merged kinds are complemented";
  }
}

}  // namespace
