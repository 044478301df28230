#include "model/props/dimension.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/case_table.h"
#include "model/props/length_unit.h"

namespace {

TEST(CDimensionTest, FormatsMixedMetricUnits) {
  const CDimension metric = CDimension::Metric();
  // The last unit is not truncated but rounded by its format (1234.6); truncated
  // centimetres leave 9.6, written as 10 (999.6); non-finite values are not split.
  const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
  const struct {
    double value;
    const char* text;
  } cases[] = {{1234, "1m 23cm 4mm"},   {2000, "2m "},        {0, "0mm"},    {-15, "-1cm 5mm"},
               {1234.6, "1m 23cm 5mm"}, {999.6, "99cm 10mm"}, {5, "5mm"},    {10, "1cm "},
               {1000000, "1000m "},     {inf, "infmm"},       {nan, "nanmm"}};
  for (const auto& c : cases) EXPECT_EQ(metric.Format(c.value), c.text) << c.value;
}

TEST(CDimensionTest, ZeroAndSingleUnitFormsFollowTheSuffixFlag) {
  CDimension metric = CDimension::Metric();
  EXPECT_EQ(metric.FormatUnit(1234.4), "1234mm");
  metric.SetSuffixFlag(false);
  EXPECT_EQ(metric.FormatUnit(1234.4), "1234");
  EXPECT_EQ(metric.Format(0), "0");
  EXPECT_EQ(metric.Format(1234), "1m 23cm 4mm");  // the mixed form always names its units
}

TEST(CDimensionTest, ScaleDividesForDisplayAndMultipliesForParsing) {
  CDimension inches(25.4);
  const double input[] = {12, 1};
  const double output[] = {12, 1};
  ASSERT_TRUE(inches.AddInputUnits("%f|ft|%f|in", input));
  ASSERT_TRUE(inches.AddOutputUnits("%.0f|' |%.1f|\"", output));
  EXPECT_DOUBLE_EQ(inches.ScaleValue(254), 10);
  EXPECT_DOUBLE_EQ(inches.Unscale(10), 254);
  EXPECT_EQ(inches.FormatScaled(1000), "3' 3.4\"");
  EXPECT_EQ(inches.FormatLength(254), "10.0\"");
  EXPECT_DOUBLE_EQ(inches.Parse("1ft 2in"), 14 * 25.4);
  EXPECT_THROW(CDimension(0.0), std::invalid_argument);
  EXPECT_THROW(CDimension(-1.0), std::invalid_argument);
  EXPECT_THROW(CDimension(std::nan("")), std::invalid_argument);
}

TEST(CDimensionTest, WithoutUnitsFormatsNothing) {
  const CDimension empty;
  EXPECT_EQ(empty.Format(12), "");
  EXPECT_EQ(empty.Format(-12), "-");
  EXPECT_EQ(empty.FormatUnit(12), "");
  CDimension noBase;
  const double factors[] = {1000};
  ASSERT_TRUE(noBase.AddOutputUnits("%.1f|m", factors));
  EXPECT_EQ(noBase.Format(0), "");
  EXPECT_EQ(noBase.FormatUnit(5), "");
  EXPECT_EQ(noBase.Format(1500), "1.5m");
}

TEST(CDimensionTest, ParsesTypedLengths) {
  const CDimension metric = CDimension::Metric();
  // Runs of blanks separate like one; a decimal comma is typed on a French desktop. In
  // texts that are not lengths: "34" is taken as the unit of 12, letter case counts, a
  // malformed number's leading part counts; the lenient parse's value, and refused.
  for (const CCaseRow& row : ReadCaseTable("model/dimension_parse.tsv", 3)) {
    SCOPED_TRACE(row.where + " \"" + row[0] + '"');
    EXPECT_DOUBLE_EQ(metric.Parse(row[0]), row.Number(1));
    const std::optional<double> checked = metric.TryParse(row[0]);
    EXPECT_EQ(checked.has_value(), row.Flag(2));
    if (checked) {
      EXPECT_DOUBLE_EQ(*checked, row.Number(1));
    }
  }
}

TEST(CDimensionTest, AddUnitsSplitsPairsAndChecksFactors) {
  CDimension dimension;
  const double two[] = {10, 1};
  ASSERT_TRUE(dimension.AddInputUnits("%f|cm|%f", two));  // last format without suffix
  ASSERT_EQ(dimension.GetInputUnits().size(), 2u);
  EXPECT_EQ(dimension.GetInputUnits()[1].suffix, "");
  const double one[] = {1000};
  ASSERT_TRUE(dimension.AddInputUnits("%f|m", one));  // inserted in front
  EXPECT_EQ(dimension.GetInputUnits()[0].suffix, "m");
  EXPECT_EQ(dimension.GetInputUnits()[1].suffix, "cm");

  const double zero[] = {1000, 0};
  const double nan[] = {std::nan("")};
  EXPECT_FALSE(dimension.AddInputUnits("%f|m|%f|mm", one));   // a factor missing
  EXPECT_FALSE(dimension.AddInputUnits("%f|m|%f|mm", zero));  // a zero factor
  EXPECT_FALSE(dimension.AddOutputUnits("%f|m", nan));
  EXPECT_FALSE(dimension.AddOutputUnits("%s|m", one));  // a format from a table
  EXPECT_FALSE(dimension.AddOutputUnits("%.0f%n|m", one));
  EXPECT_TRUE(dimension.GetOutputUnits().empty());
  EXPECT_EQ(dimension.GetInputUnits().size(), 3u);
}

TEST(CDimensionTest, OutputUnitsReplaceByPosition) {
  CDimension dimension = CDimension::Metric();
  const double factors[] = {100};
  ASSERT_TRUE(dimension.AddOutputUnits("%.0f|dm ", factors));
  ASSERT_EQ(dimension.GetOutputUnits().size(), 3u);
  EXPECT_EQ(dimension.Format(1234), "12dm 3cm 4mm");
}

TEST(CDimensionTest, DoesNotDependOnTheUserLocale) {
  const CDimension metric = CDimension::Metric();
  CDimension precise;
  const double factors[] = {1};
  ASSERT_TRUE(precise.AddOutputUnits("%.2f|mm", factors));
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "fr_FR.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.utf8") &&
      !std::setlocale(LC_ALL, "de_DE.UTF-8")) {
    GTEST_SKIP() << "no decimal-comma locale on this machine";
  }
  struct Restore {
    std::string name;
    ~Restore() { std::setlocale(LC_ALL, name.c_str()); }
  } restore{saved};
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  EXPECT_EQ(precise.FormatUnit(1.5), "1.50mm");
  EXPECT_EQ(metric.Format(1234.6), "1m 23cm 5mm");
  EXPECT_DOUBLE_EQ(metric.Parse("1.5m"), 1500);
  EXPECT_DOUBLE_EQ(metric.Parse("1,5 m"), 1500);
}

CUnitEntry Entry(std::string idd, std::string inputText, std::string inputCoef,
                 std::string outputText, std::string outputCoef, std::string baseCoef) {
  CUnitEntry entry;
  entry.idd = std::move(idd);
  entry.idl = "X";
  entry.label = "unit";
  entry.inputText = std::move(inputText);
  entry.inputCoef = std::move(inputCoef);
  entry.outputText = std::move(outputText);
  entry.outputCoef = std::move(outputCoef);
  entry.baseCoef = std::move(baseCoef);
  return entry;
}

std::vector<CUnitEntry> SampleUnits() {
  return {
      Entry("0", "%f|km|%f|m|%f|cm|%f|mm", "1000000|1000|10|1", "%.0f|m |%.0f|cm |%.0f|mm",
            "1000|10|1", "1"),
      Entry("2", "%f|m|%f|cm|%f|mm", "100|1|0.1", "%.1f|cm", "1", "10"),
      Entry("4", "%f|ft|%f|'|%f|in|%f|\"|%f|mm", "12|12|1|1|0.0393700787", "%.0f|' |%.1f|\"",
            "12|1", "25.4"),
      Entry("7", "%f|mm", "1", "%.0f|mm", "1", "0"),           // zero scale
      Entry("8", "%f|mm", "1", "%.0f|mm", "1", "abc"),         // scale not a number
      Entry("9", "%f|mm", "1", "%s|mm", "1", "1"),             // format injected by the table
      Entry("10", "%f|m|%f|mm", "1000", "%.0f|mm", "1", "1"),  // coefficient missing
  };
}

TEST(LengthUnitTest, BuildsTheRecordOfTheIdentifier) {
  const auto units = SampleUnits();
  const CLengthUnit cm = BuildLengthUnit(units, 2);
  EXPECT_EQ(cm.unitId, 2);
  EXPECT_TRUE(cm.refusal.empty());
  EXPECT_EQ(cm.dimension.FormatLength(1234), "123.4cm");
  EXPECT_DOUBLE_EQ(cm.dimension.Parse("1m 5mm"), 1005);

  const CLengthUnit feet = BuildLengthUnit(units, 4);
  EXPECT_EQ(feet.unitId, 4);
  EXPECT_EQ(feet.dimension.FormatScaled(1000), "3' 3.4\"");
  EXPECT_DOUBLE_EQ(feet.dimension.Parse("3' 3.4\""), 1000.76);
}

TEST(LengthUnitTest, FallsBackToMetric) {
  const auto units = SampleUnits();
  const struct {
    const char* fault;
    int id;
    bool refused;
  } cases[] = {
      {"absent identifier", 3, false},   {"zero scale", 7, true},
      {"scale not a number", 8, true},   {"format from the table", 9, true},
      {"coefficient missing", 10, true}, {"metric asked by id", -1, false},
  };
  for (const auto& c : cases) {
    const CLengthUnit unit = BuildLengthUnit(units, c.id);
    EXPECT_EQ(unit.unitId, -1) << c.fault;
    EXPECT_EQ(!unit.refusal.empty(), c.refused) << c.fault;
    EXPECT_EQ(unit.dimension.FormatScaled(1234), "1m 23cm 4mm") << c.fault;
    EXPECT_DOUBLE_EQ(unit.dimension.Parse("1km"), 1000000) << c.fault;
  }
}

TEST(LengthUnitTest, TakesAtMostTwentyCoefficients) {
  std::string texts, coefficients;
  for (int i = 0; i < 21; ++i) {
    texts += (i ? "|" : "") + std::string("%f|u") + std::to_string(i);
    coefficients += (i ? "|" : "") + std::to_string(i + 1);
  }
  const std::vector<CUnitEntry> units = {Entry("5", texts, coefficients, "%.0f|mm", "1", "1")};
  const CLengthUnit unit = BuildLengthUnit(units, 5);
  EXPECT_EQ(unit.unitId, -1);  // the 21st unit has no coefficient
  EXPECT_FALSE(unit.refusal.empty());
}

}  // namespace
