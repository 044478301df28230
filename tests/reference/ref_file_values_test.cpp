#include "reference/ref_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/golden_file.h"
#include "reference/ref_project_lines.h"
#include "reference/ref_report.h"

namespace {

// One line of the given product kind with one priced item.
CRefProject OneLineProject(int productKind) {
  CRefProject project;
  project.lineCount = 1;
  project.lines[1].Assign(nullptr);
  project.lines[1].productKind = productKind;
  project.lines[1].AddItemNode({"R", "d", 10000, 3, 5, 1});
  return project;
}

CRefProject ReadBack(const CRefProject& written) {
  CRefProject project;
  EXPECT_EQ(ReadRefFileBytes(RefFileBytes(written), project, CRefLoadContext{}), 0);
  return project;
}

TEST(RefFileValuesTest, CoefficientsReadFromAFileAreFiniteAndSane) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const struct {
    const char* guards;
    double stored, read;
  } rows[] = {
      {"a usual coefficient", 0.85, 0.85},
      {"no coefficient", 0.0, 0.0},
      {"a large one still typed", 5.0, 5.0},
      {"a discount of 99.99 % typed in the panel", 1 - 99.99 * 0.01, 1 - 99.99 * 0.01},
      {"a tiny positive one", 1e-300, 1e-300},
      {"the smallest double", std::numeric_limits<double>::denorm_min(),
       std::numeric_limits<double>::denorm_min()},
      {"the largest kept", kRefLargestCoefficient, kRefLargestCoefficient},
      {"a negative one", -2.0, 1.0},
      {"an infinite one", kInf, 1.0},
      {"not a number", std::numeric_limits<double>::quiet_NaN(), 1.0},
      {"an absurdly large one", 1e300, 1.0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    CRefProject written = OneLineProject(1);
    written.priceSettings.productCoefs[1][0] = row.stored;
    const CRefProject project = ReadBack(written);
    EXPECT_EQ(project.priceSettings.productCoefs[1][0], row.read);
  }
}

TEST(RefFileValuesTest, TotalsHoldTheirQuotientOfANearZeroCoefficient) {
  // Set in memory, past the reader: the totals never cast a quotient beyond 64 bits.
  for (double coefficient : {1e-300, std::numeric_limits<double>::denorm_min(), 1e-12}) {
    SCOPED_TRACE(coefficient);
    CRefProject project = OneLineProject(1);
    project.priceSettings.productCoefs[1][0] = coefficient;
    ComputeLineTotals(project, {1});
    const double overall = std::stod(project.lines[0].comment);
    EXPECT_GE(overall, 0.0) << project.lines[0].comment;
    EXPECT_LT(overall, 1e-6) << project.lines[0].comment;
  }
}

TEST(RefFileValuesTest, TapOffSlotsKeepToTheirBitsAndChooseTheFormat) {
  const struct {
    const char* guards;
    int slot;
    std::int32_t stored, read;
    std::int32_t format;
  } rows[] = {
      {"units and protection code", 150, 3 | (54 << 16), 3 | (54 << 16), kRefFileFormatAllSlots},
      {"a negative value past slot 99", 150, -5, 0, kRefFileFormatAllSlots},
      {"a bit past the protection code", 150, 1 << 22, 0, kRefFileFormatAllSlots},
      {"the sign bit alone", 20, std::numeric_limits<std::int32_t>::min(), 0, kRefFileFormat},
      {"the largest value of the bits", 20, 0x3FFFFF, 0x3FFFFF, kRefFileFormat},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    CRefProject written = OneLineProject(1);
    written.lines[1].slots[static_cast<std::size_t>(row.slot)] = row.stored;
    // Whatever a line holds in slots 100-199 is saved with them, never dropped.
    EXPECT_EQ(RefFileFormat(written), row.format);
    const CRefProject project = ReadBack(written);
    EXPECT_EQ(project.lines[1].slots[static_cast<std::size_t>(row.slot)], row.read);
  }
}

// 210 items at the largest unit price and quantity: from the 200th on the sum passes 64
// bits, and the totals stop at the largest amount instead of wrapping negative.
TEST(RefFileValuesTest, TotalsOfHugeAmountsStopAtTheLargest) {
  CRefProject project;
  ASSERT_EQ(ReadRefFileBytes(ReadGoldenBytes("reference/huge_item_amounts.ref"), project,
                             CRefLoadContext{}),
            0);
  ASSERT_EQ(project.lineCount, 1);
  ASSERT_EQ(project.lines[1].Items().size(), 210u);
  constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(RefRecordAmount(project, 1), kLargest);
  CRefReportView view;
  view.project = &project;
  view.current = 1;
  view.selection = {1, 1};
  std::string text;
  EXPECT_EQ(WriteLineReport(view, kRefReportSelectionTotal, 5, text), kLargest);
  EXPECT_EQ(text.front(), '9') << text;
  ComputeLineTotals(project, {1, 1});
  EXPECT_EQ(project.lines[0].comment, "1");
}

}  // namespace
