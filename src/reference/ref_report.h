#pragma once

#include <cstdint>
#include <string>

class CRefArticles;
class CRefConfig;
struct CRefItemNode;
class CRefLine;
struct CRefProject;

// Column headings, group labels and the total rows of the report.
inline constexpr int kRefReportColumns = 7;
inline constexpr int kRefReportNoCell = -3;
inline constexpr int kRefReportHidden = -4;
inline constexpr int kRefReportRowCount = 10000;  // asks for the number of rows
inline constexpr int kRefRowLineTotal = -1;
inline constexpr int kRefRowSelectionTotal = -2;

// What the report of the configurator reads: the project and its option lists, the
// current record, the selected tree item (for the selection's total), the decimal
// character, and whether the sums of the selection come from the working record (the
// totals page with "RefGrp").
struct CRefReportSource {
  const CRefProject* project = nullptr;
  const CRefConfig* config = nullptr;
  int current = 0;
  int selection = 0;
  char decimal = '.';
  bool totalsFromWorkingRecord = false;
};

// Flags of WriteLineReport: on screen (thousands grouped), plain, plain with the sums
// of the selection read from the working record.
enum RefReportFlags : int { kRefReportScreen = 0, kRefReportPlain = 1, kRefReportPlainTotals = 2 };

// An item's amount in hundredths: unit (ten-thousandths) x quantity / 100, half up.
std::int64_t RefItemAmount(const CRefItemNode& item);
std::int64_t RefLineAmount(const CRefLine& line);
std::int64_t RefLineLabour(const CRefLine& line);

// A unit price in ten-thousandths: four decimals, three when the last is 0, two when
// the last two are; a blank between the thousands when grouped.
std::string FormatRefUnitPrice(std::int64_t value, char decimal, bool grouped);
// An amount in hundredths, with two decimals; blanks between the thousands when grouped.
std::string FormatRefAmount(std::int64_t value, char decimal, bool grouped);

// The text of one cell of the report and its code: -3 no cell, -4 a hidden column, -2
// a heading, -1 a text cell or a total's title, -10 - kind a group label (-9 its other
// columns); numbers return their value (a unit price in hundredths). Row 0 is the
// header, -1 the current line's total, -2 the selection's, rows from 1 the labels and
// items of the current record; row 10000 returns the number of those rows.
std::int64_t WriteLineReport(const CRefReportSource& source, int row, int column, std::string& text,
                             int flags);

// Gathers the items of the selected lines into the working record (kinds complemented)
// and writes the overall coefficient, "%.3g", into its comment; the coefficient is
// returned. With articles, quantities are raised to their pack multiples.
double ComputeLineTotals(CRefProject& project, const CRefConfig& config, int selection,
                         const CRefArticles* packQuantities = nullptr);
