// The numbers and pages of the comparison, the input it takes from a line, and its
// sample table as an independent reader sees it.
#include "reference/ref_comparison_view.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "platform/dbf_table.h"
#include "reference/ref_compl_pages.h"
#include "reference/ref_line.h"
#include "support/command_output.h"

namespace {

TEST(RefComparisonViewTest, NumbersAreFormattedWithTheirDecimalsAndGroups) {
  const struct {
    std::int64_t value;
    char decimal;
    bool fourDecimals, grouped;
    const char* text;
  } cases[] = {
      {-1, ',', false, true, "### ###,##"},
      {123450, ',', true, false, "12,345"},
      {12345678, ',', true, true, "1 234,5678"},
      {120000, ',', true, false, "12,00"},
      {123456789, '.', false, true, "1 234 567.89"},
      {123456789, '.', false, false, "1234567.89"},
      {5, '.', false, true, "0.05"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatGroupedNumber(c.value, c.decimal, c.fourDecimals, c.grouped), c.text)
        << c.value;
}

TEST(RefComparisonViewTest, PercentsCompareWithTheReferenceSumUnlessItIsZero) {
  const struct {
    std::int64_t sum, reference;
    const char* text;
  } cases[] = {{150, 100, "+50%"}, {50, 100, "-50%"}, {100, 100, "+0%"},
               {100, 0, "-"},      {0, 0, "-"},       {-300, 100, "-400%"}};
  for (const auto& c : cases) EXPECT_EQ(CompPercentText(c.sum, c.reference), c.text) << c.sum;
}

TEST(RefComparisonViewTest, TheChartStepGrowsByTwoAndAHalfTwoAndTwo) {
  const struct {
    std::int64_t largest, step, end;
  } cases[] = {{0, 1000, 1000},        {7999, 1000, 8000},     {8000, 2500, 10000},
               {19999, 2500, 20000},   {20000, 5000, 25000},   {40000, 10000, 50000},
               {80000, 25000, 100000}, {200000, 50000, 250000}};
  for (const auto& c : cases) {
    EXPECT_EQ(CompChartStep(c.largest), c.step) << c.largest;
    EXPECT_EQ(CompChartEnd(c.largest), c.end) << c.largest;
  }
}

TEST(RefComparisonViewTest, ComplementaryItemsArePagedByTwelve) {
  const struct {
    std::size_t listed;
    int pages;
  } counts[] = {{0, 1}, {1, 1}, {12, 1}, {13, 2}, {24, 2}, {25, 3}};
  for (const auto& c : counts) EXPECT_EQ(ComplPageCount(c.listed), c.pages) << c.listed;
  CRefComparison comparison;
  for (int n = 1; n <= 13; ++n)
    comparison.items[static_cast<std::size_t>(n)].state = n % 2 == 0 ? 2 : 1;
  const std::vector<int> all = ComplListedItems(comparison, false);
  const std::vector<int> used = ComplListedItems(comparison, true);
  EXPECT_EQ(all.size(), 13u);
  EXPECT_EQ(used, (std::vector<int>{2, 4, 6, 8, 10, 12}));
  const std::array<int, kComplRowsPerPage> second{13};
  EXPECT_EQ(ComplPageRows(all, 2), second);
  EXPECT_EQ(ComplPageRows(all, 9), second);  // beyond the count: the last page
  EXPECT_EQ(ComplPageRows(used, 1)[5], 12);
  EXPECT_EQ(ComplPageRows(used, 1)[6], 0);
}

TEST(RefComparisonViewTest, TypedValuesAreRoundedToTheirDecimals) {
  const struct {
    const char* text;
    int decimals;
    std::optional<std::int64_t> value;
  } cases[] = {{"1,23456", 4, 12346}, {"0,125", 2, 13},          {"12", 2, 1200},
               {" 3.5 ", 4, 35000},   {"-3,5", 4, -35000},       {"abc", 2, std::nullopt},
               {"", 2, std::nullopt}, {"1e20", 4, std::nullopt}, {"2x", 2, std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(ReadRoundedValue(c.text, c.decimals), c.value) << c.text;
}

CRefLine Line(int kind, int lineMode, int connection) {
  CRefLine line;
  line.Assign(nullptr);
  line.productKind = kind, line.lineMode = lineMode, line.connection = connection;
  line.rating = 25, line.conductors = 1, line.fixingSpacing = 250;
  return line;
}

TEST(RefComparisonViewTest, TheLineGivesTheProductCodeAndTheFigures) {
  EXPECT_EQ(RefCompProductCode(Line(1, 1, 0)), "QYA");
  EXPECT_EQ(RefCompProductCode(Line(0, 1, 0)), "QFP1");
  EXPECT_EQ(RefCompProductCode(Line(0, 11, 7)), "QFP3x");
  CRefLine single = Line(1, 3, 0);
  single.conductors = 0;
  EXPECT_EQ(RefCompConductorText(single, 0), "L+N+PE");
  EXPECT_EQ(RefCompConductorText(Line(1, 1, 0), 0), "3L+N+PE");
  const CRefCompFigures plain = RefCompFiguresOf(Line(1, 3, 0), 12000, 6);
  EXPECT_EQ(plain.length, 9999);
  EXPECT_EQ(plain.tapOffs, 6);
  EXPECT_EQ(plain.lamps, 6);
  EXPECT_EQ(plain.lampFix, 1);
  EXPECT_EQ(plain.stepCm, 250);
  CRefLine sections = Line(0, 10, 0);
  CRefLineSection first, second;
  first.values[0] = 2, first.values[1] = 1, first.values[2] = 3;
  second.values[0] = 1, second.values[1] = 3, second.values[2] = 2;
  sections.sections = {first, second};
  const CRefCompFigures mode10 = RefCompFiguresOf(sections, 40, 0);
  EXPECT_EQ(mode10.tapOffs, 5);
  EXPECT_EQ(mode10.lamps, 17);
  EXPECT_EQ(mode10.tes, 7);  // (2 - 1) x 3 + (3 - 1) x 2
  EXPECT_EQ(mode10.lampFix, 2);
  sections.lineMode = 1;
  EXPECT_EQ(RefCompFiguresOf(sections, 40, 0).tes, 5);  // 3 + 2
}

TEST(RefComparisonViewTest, ValidatingOffersTheComparisonForItsProducts) {
  const struct {
    int kind, rating, connection, specialMode;
    bool offered;
  } cases[] = {{1, 25, 0, 0, true}, {1, 40, 0, 0, false}, {1, 25, 1, 0, false},
               {1, 25, 2, 2, true}, {1, 25, 3, 2, false}, {0, 0, 0, 0, true},
               {0, 0, 1, 0, false}, {3, 25, 0, 0, false}};
  for (const auto& c : cases) {
    CRefLine line = Line(c.kind, 1, 0);
    line.rating = c.rating;
    EXPECT_EQ(RefCompOffered(line, c.connection, c.specialMode), c.offered)
        << c.kind << " " << c.rating << " " << c.connection;
  }
}

TEST(RefComparisonViewTest, DbfDumpReadsTheSampleComparisonTable) {
  const std::string path = std::string(TVR_PROGRAM_DIR) + "/DBF/REF_COMP.DBF";
  if (!std::filesystem::exists("/usr/bin/dbfdump")) GTEST_SKIP() << "dbfdump is not installed";
  const std::string dump = CommandOutput("/usr/bin/dbfdump -m -r '" + path + "' 2>&1");
  tvr::platform::CDbfTable table;
  ASSERT_TRUE(table.Open(path)) << table.Error();
  std::size_t records = 0;
  for (std::size_t at = dump.find("Record: "); at != std::string::npos;
       at = dump.find("Record: ", at + 1))
    ++records;
  EXPECT_EQ(records, table.RecordCount());
  EXPECT_GE(records, 12u);
  for (const char* text :
       {"LIB: IT01cbl", "PARAM: 3LNPE", "QTE: [Length]*1,15+2=%", "VAL: QYB0000CL10/10",
        "VAL: Step=1,5", "VAL: IT04", "SOLUTION: S1 S2 S3"})
    EXPECT_NE(dump.find(text), std::string::npos) << text << "\n" << dump;
}

}  // namespace
