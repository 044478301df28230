#pragma once

#include "app/xl_export_file.h"

#include <string>
#include <string_view>

class CBOMGrid;
class CDorneDoc;

// The bill of materials as a CSV list for spreadsheets: one title line, then the lines of
// every exported grid, fields separated by ";", written as the exchange file is (UTF-16LE
// with its mark, CR LF).

// The text with CR dropped, LF turned into a blank (a line break would split the record)
// and the separator turned into a point.
std::string CleanCellText(std::string_view text, char separator);

// A whole number (trimmed: sign, digits, one point) with its point replaced by the
// decimal mark; any other text unchanged ("3.2A-X" stays as it is).
std::string LocalizeDecimal(std::string_view text, char decimalMark);

// A text column's cell split before the last blank ahead of its first "=": the item and
// its options ("QDA L=2500" gives "QDA" and "L=2500"); no options without such a blank.
std::pair<std::string, std::string> SplitOptionPart(std::string_view text);

// The columns that an export writes: not column 0, a positive export width, and neither
// transient nor without content.
bool IsCsvColumn(const CBOMGrid& grid, int column);

// allRuns: every run in document order; else the page the view shows (the totals page
// when it is shown, else the current run).
CXlExportFile WriteCsvList(CDorneDoc& document, bool allRuns, char decimalMark);

// "<title>.csv", a ".run" ending (any case) replaced.
std::string CsvFileName(std::string_view title);
