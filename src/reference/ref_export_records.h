#pragma once

#include <string>
#include <vector>

#include "reference/ref_exports.h"
#include "reference/ref_report.h"

// What the workbook, CSV and XML exports of a reference project share: the records they
// walk, the report they read and the titles they give.

// The records exported: the selected lines, or the working record (0) in a summary.
std::vector<int> ExportedRecords(const CRefExportContext& context);

// A summary's working record: the merged items of the selection (ComputeLineTotals).
void ComputeSummary(CRefProject& project, const CRefExportContext& context);

// The plain report ('.' decimals, no grouping) of a record; in a summary the selection's
// sums read the working record.
CRefReportView ExportReportView(const CRefProject& project, const CRefExportContext& context,
                                int record);

// The report cell's text (the code it returns goes to code when asked for).
std::string ReportText(const CRefReportView& view, int row, int column,
                       std::int64_t* code = nullptr);

// The name of a group 0..3 (empty for others) and a product code in capitals.
std::string RefGroupName(int group);
std::string UpperProductCode(int kind);

// The title of a summary after the selected tree item (empty for an unknown one).
std::string SummaryTitle(const CRefProject& project, int treeCode);
