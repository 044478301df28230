#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "reference/ref_project.h"

class CRefArticles;

// What the report of a reference project reads: the current record and the selection.
struct CRefReportView {
  const CRefProject* project = nullptr;
  int current = 0;             // index of the current record in project->lines
  std::vector<int> selection;  // indexes of the selected lines, in tree order
  bool grouped = true;         // a blank between thousands (the screen's cells)
  // The selection's sums read the working record (the merged items ComputeLineTotals
  // left there) instead of the selected lines.
  bool workingSums = false;
  char decimal = '.';
  int refs = 0;  // [Ref] "Refs": bit 0 shows the second reference instead of the unit price
  std::string selectionName;  // the selected tree item's name, for the selection's total
};

// Rows of the report beside the item rows.
inline constexpr int kRefReportHeader = 0;
inline constexpr int kRefReportLineTotal = -1;
inline constexpr int kRefReportSelectionTotal = -2;
inline constexpr int kRefReportRowCount = 10000;

// Return codes of the report: no such cell, a hidden column, a text cell, a heading,
// and the cells of a group label row (its title cell returns kRefReportLabel - kind).
inline constexpr std::int64_t kRefReportNoCell = -3;
inline constexpr std::int64_t kRefReportHidden = -4;
inline constexpr std::int64_t kRefReportText = -1;
inline constexpr std::int64_t kRefReportHeading = -2;
inline constexpr std::int64_t kRefReportLabelCell = -9;
inline constexpr std::int64_t kRefReportLabel = -10;

// One cell of the report of the current record: columns 0 reference, 1 second
// reference, 2 designation, 3 unit price, 4 quantity, 5 amount, 6 labour time. Row 0 is
// the header, -1 the current line's total, -2 the selection's, rows from 1 the group
// label rows and item rows; row 10000 returns the number of rows. Fills text and
// returns the cell's value (the price in hundredths, the quantity, the amount, the
// labour time) or one of the codes above.
std::int64_t WriteLineReport(const CRefReportView& view, int row, int column, std::string& text);

// An item's amount in hundredths: unit (ten-thousandths) x quantity / 100, half up.
std::int64_t RefItemAmount(const CRefItemNode& item);

// Money in hundredths as the report prints it ("%d%c%02d", a blank between thousands
// when grouped); unit prices in ten-thousandths keep three or four decimals when they
// have them.
std::string RefHundredthsText(std::int64_t value, char decimal, bool grouped);
std::string RefUnitPriceText(std::int64_t value, char decimal, bool grouped);

// Fills the working record (line 0) with the merged items of the selected lines, their
// kinds complemented, and writes the overall coefficient (raw amounts over amounts
// divided by their products' coefficients, "%.3g") into its comment. With articles, the
// pack quantities are applied to it.
void ComputeLineTotals(CRefProject& project, const std::vector<int>& selection,
                       const CRefArticles* individualQuantities = nullptr);
