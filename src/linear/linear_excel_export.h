#pragma once

#include <array>
#include <string>

#include "app/xl_export_file.h"
#include "linear/linear_project.h"

class CLinearTables;
class CPrintHelperLauncher;
class CProfile;
struct CLinearColumnFormulas;

// What the spreadsheet export of a linear project reads besides the project.
struct CLinearExportContext {
  std::array<bool, kLinearGroupCount> enabled{true, true, true, true};  // groups shown
  std::array<bool, 8> columnsShown{true, true, true, true, true, false, false, false};
  const CProfile* profile = nullptr;  // [User] Name, Dept, Phone, Fax, Email
  CLinearTables* tables = nullptr;    // open tables, for the weights; null: no weights
};

// The project's weight: each line's weight column is priced again and its LineWeight set
// to the column total x 0.001 x its number of identical lines; the sum of those. Without
// open tables every LineWeight is 0.
double SumLineTotals(CLinearProject& project, const CLinearExportContext& context);

// The exchange file of the project: the project fields, then per line its fields and its
// item table (variant 1 leaves the sale prices of the item rows out).
CXlExportFile WriteExcelExchangeFile(CLinearProject& project, int variant,
                                     const CLinearExportContext& context);

// What the export hands to the spreadsheet helper.
struct CLinearExcelJob {
  std::string exchangePath;  // "XlExport.txt" beside the settings file
  std::string modelPath;     // empty when no model ships: the helper ignores it anyway
  // The workbook to write: the user's choice when saveAs, else a temporary one that
  // the helper opens.
  std::string targetPath;
  bool saveAs = false;
};

// Writes the exchange file and starts the helper (mode 12 with saveAs, else 18). An
// existing target workbook is deleted, when saveAs, only once the helper is sure to
// start. Returns 1 when started, 0 when refused or when the exchange file cannot be
// written.
int ExportToExcel(const CXlExportFile& file, const CLinearExcelJob& job,
                  CPrintHelperLauncher& launcher);

// True when the folder holds a workbook (.xls or .xlsx, any letter case) to offer as
// the model.
bool HasModelWorkbooks(const std::string& folder);

// The workbook named after the project's file: its extension replaced by ".xlsx" (what
// the helper writes).
std::string WorkbookName(const std::string& fileTitle);
