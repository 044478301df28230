#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "reference/ref_comparison.h"

// The numbers of the comparison: in ten-thousandths with fourDecimals (three or four
// decimals when it has them, else two), else in hundredths; a blank between thousands
// when grouped. A negative value gives "### ###" with two '#' decimals.
std::string FormatGroupedNumber(std::int64_t value, char decimal, bool fourDecimals, bool grouped);

// The difference of a solution's sum to the reference solution's in percent with a sign
// ("+12%", "-3%"); "-" when the reference sum is 0, where there is nothing to compare.
std::string CompPercentText(std::int64_t sum, std::int64_t referenceSum);

// The step of the chart's axis for the largest sum (hundredths): the first of 1000,
// 2500, 5000, 10000, 25000 ... (x2.5, x2, x2 in turn) with largest / step below 8.
std::int64_t CompChartStep(std::int64_t largest);
// The axis end: one step above the largest sum.
std::int64_t CompChartEnd(std::int64_t largest);

// One column of the overview: a solution's name and its five cells (time, labour,
// material, their sum, the difference to the reference solution).
struct CRefCompColumn {
  int solution = 0;
  std::string head;
  std::array<std::string, 5> cells;
  std::int64_t labour = 0, material = 0;
};
// The row labels of the overview.
std::array<std::string, 5> CompOverviewLabels();
std::vector<CRefCompColumn> CompOverview(const CRefComparison& comparison, char decimal);

// The name of solution k (1..10): in the list, the text before its first '/'; as a
// column head, the text after it (the whole text when it has none).
std::string CompSolutionListName(int solution);
std::string CompSolutionHead(int solution);

// The detail of one solution as rows of seven cells: label, quantity with its unit,
// unit price, amount, unit time, time amount, labour amount.
struct CRefCompDetailRow {
  enum Kind { kHeader, kGroup, kItem, kTotal, kSummary };
  Kind kind = kItem;
  std::array<std::string, 7> cells;
};
std::vector<CRefCompDetailRow> CompDetailRows(const CRefComparison& comparison, int solution,
                                              int length, std::int64_t labourRate, char decimal);
