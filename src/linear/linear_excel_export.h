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

// The keys FolderNo .. Modification: the project's number, follower, the user's settings
// ([User] Name, Dept, Phone, Fax, Email; none without a profile), dates, title and the
// comment in three pieces.
void WriteXlProjectHeadKeys(CXlExportFile& file, const CProjectFields& project,
                            const CProfile* profile);

// The keys FolderNo .. ProductLine that linear and reference projects give their exchange
// files: the project's properties, the user's settings ([User] Name, Dept, Phone, Fax,
// Email; none without a profile) and the price list.
void WriteXlProjectKeys(CXlExportFile& file, const CProjectFields& project, const CProfile* profile,
                        const std::string& listName, const std::string& currency);

// The project's weight: each line's weight column is priced again and its LineWeight set
// to the column total x 0.001 x its number of identical lines; the sum of those. Without
// open tables every LineWeight is 0.
double SumLineTotals(CLinearProject& project, const CLinearExportContext& context);

// The exchange file of the project: the project fields, then per line its fields and its
// item table (variant 1 leaves the sale prices of the item rows out).
CXlExportFile WriteExcelExchangeFile(CLinearProject& project, int variant,
                                     const CLinearExportContext& context);
