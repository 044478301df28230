#include "model/length_unit.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

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
